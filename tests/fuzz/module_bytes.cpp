// Writes the smallest well-formed MOD, XM, S3M and IT files: the headers each
// tracker wrote, one 8-bit sample of a square wave, and a pattern of a few rows
// with two notes, so that a mutation of any field reaches the module loaders.
#include "module_bytes.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// The sample every module plays: a square wave, half a period high, half low.
constexpr size_t sampleBytes = 64;
constexpr size_t squareHalfPeriod = 8;
constexpr int squareLevel = 96;
constexpr unsigned unsignedSampleOffset = 128;
// The pattern: notes on these rows, and (where patterns have a fixed length) a break after them.
constexpr unsigned firstNoteRow = 0;
constexpr unsigned secondNoteRow = 2;
constexpr unsigned breakRow = 3;
constexpr unsigned shortPatternRows = 4;
constexpr unsigned fixedPatternRows = 64;
// Shared module settings.
constexpr unsigned fullSampleVolume = 64;
constexpr unsigned initialSpeed = 6;
constexpr unsigned initialTempo = 125;
constexpr unsigned c2SampleRate = 8363;
constexpr unsigned dosEndOfFile = 0x1A;
constexpr unsigned endOfSongOrder = 255;
constexpr char songName[] = "glasswind fuzz seed";

class Bytes {
public:
    void u8(unsigned value) { out.push_back(static_cast<unsigned char>(value & 0xFF)); }
    void u16le(unsigned value) { u8(value); u8(value >> 8); }
    void u16be(unsigned value) { u8(value >> 8); u8(value); }
    void u32le(uint32_t value) { u16le(value & 0xFFFF); u16le(value >> 16); }
    void zeros(size_t count) { out.insert(out.end(), count, 0); }
    // A zero-padded text field of exactly width bytes.
    void text(const char* value, size_t width)
    {
        const size_t length = std::strlen(value) < width ? std::strlen(value) : width;
        out.insert(out.end(), value, value + length);
        zeros(width - length);
    }
    void alignTo(size_t unit) { zeros((unit - out.size() % unit) % unit); }
    void patch16le(size_t at, unsigned value)
    {
        out[at] = static_cast<unsigned char>(value & 0xFF);
        out[at + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
    }
    void patch32le(size_t at, uint32_t value)
    {
        patch16le(at, value & 0xFFFF);
        patch16le(at + 2, value >> 16);
    }
    size_t size() const { return out.size(); }
    std::vector<unsigned char> out;
};

int squareSample(size_t i)
{
    return (i / squareHalfPeriod) % 2 == 0 ? squareLevel : -squareLevel;
}

bool isNoteRow(unsigned row) { return row == firstNoteRow || row == secondNoteRow; }

void signedSampleData(Bytes* bytes)
{
    for (size_t i = 0; i < sampleBytes; ++i) bytes->u8(static_cast<unsigned>(squareSample(i)));
}

} // namespace

std::vector<unsigned char> tinyMod()
{
    constexpr size_t titleBytes = 20;
    constexpr size_t sampleNameBytes = 22;
    constexpr unsigned sampleSlots = 31;
    constexpr unsigned noLoopWords = 1;
    constexpr unsigned restartByte = 127;
    constexpr size_t orderSlots = 128;
    constexpr unsigned channels = 4;
    constexpr unsigned periodOfC = 428; // C-2 in ProTracker's period table
    constexpr unsigned patternBreak = 0xD;
    Bytes b;
    b.text(songName, titleBytes);
    for (unsigned slot = 0; slot < sampleSlots; ++slot) {
        const bool used = slot == 0;
        b.text(used ? "square" : "", sampleNameBytes);
        b.u16be(used ? sampleBytes / 2 : 0); // length in words
        b.u8(0);                             // finetune
        b.u8(used ? fullSampleVolume : 0);
        b.u16be(0);                          // loop start
        b.u16be(noLoopWords);
    }
    b.u8(1); // one order
    b.u8(restartByte);
    b.zeros(orderSlots); // order 0 plays pattern 0
    b.text("M.K.", 4);
    for (unsigned row = 0; row < fixedPatternRows; ++row) {
        for (unsigned channel = 0; channel < channels; ++channel) {
            const bool note = channel == 0 && isNoteRow(row);
            const bool stop = channel == 0 && row == breakRow;
            b.u8(note ? periodOfC >> 8 : 0);
            b.u8(note ? periodOfC & 0xFF : 0);
            b.u8(note ? 1 << 4 : stop ? patternBreak : 0); // sample 1, or the effect
            b.u8(0);
        }
    }
    signedSampleData(&b);
    return b.out;
}

std::vector<unsigned char> tinyXm()
{
    constexpr size_t nameBytes = 20;
    constexpr size_t sampleNameBytes = 22;
    constexpr unsigned version = 0x0104;
    constexpr uint32_t headerBytes = 276; // from the size field to the end of the order table
    constexpr unsigned channels = 2;
    constexpr unsigned linearSlides = 1;
    constexpr size_t orderSlots = 256;
    constexpr uint32_t patternHeaderBytes = 9;
    constexpr unsigned packedCell = 0x80;
    constexpr unsigned packedNoteAndInstrument = packedCell | 0x01 | 0x02;
    constexpr unsigned noteC4 = 49;
    constexpr uint32_t instrumentHeaderBytes = 263;
    constexpr uint32_t sampleHeaderBytes = 40;
    constexpr size_t keymapAndEnvelopeBytes = 96 + 48 + 48;
    constexpr size_t envelopeSettingsBytes = 14 + 2; // points, loops, vibrato; fade-out
    constexpr unsigned centrePan = 128;
    Bytes b;
    b.text("Extended Module: ", 17);
    b.text(songName, nameBytes);
    b.u8(dosEndOfFile);
    b.text("glasswind seeds", nameBytes);
    b.u16le(version);
    b.u32le(headerBytes);
    b.u16le(1); // song length in orders
    b.u16le(0); // restart position
    b.u16le(channels);
    b.u16le(1); // patterns
    b.u16le(1); // instruments
    b.u16le(linearSlides);
    b.u16le(initialSpeed);
    b.u16le(initialTempo);
    b.zeros(orderSlots);

    b.u32le(patternHeaderBytes);
    b.u8(0); // packing type
    b.u16le(shortPatternRows);
    const size_t packedSizeAt = b.size();
    b.u16le(0);
    const size_t dataStart = b.size();
    for (unsigned row = 0; row < shortPatternRows; ++row) {
        for (unsigned channel = 0; channel < channels; ++channel) {
            if (channel == 0 && isNoteRow(row)) {
                b.u8(packedNoteAndInstrument);
                b.u8(noteC4);
                b.u8(1);
            } else {
                b.u8(packedCell);
            }
        }
    }
    b.patch16le(packedSizeAt, static_cast<unsigned>(b.size() - dataStart));

    const size_t instrumentStart = b.size();
    b.u32le(instrumentHeaderBytes);
    b.text("square", sampleNameBytes);
    b.u8(0);    // type
    b.u16le(1); // samples
    b.u32le(sampleHeaderBytes);
    b.zeros(keymapAndEnvelopeBytes + envelopeSettingsBytes);
    b.zeros(instrumentHeaderBytes - (b.size() - instrumentStart));
    b.u32le(sampleBytes);
    b.u32le(0); // loop start
    b.u32le(0); // loop length
    b.u8(fullSampleVolume);
    b.u8(0); // finetune
    b.u8(0); // 8-bit, no loop
    b.u8(centrePan);
    b.u8(0); // relative note
    b.u8(0); // reserved
    b.text("square", sampleNameBytes);
    // XM stores each sample as the difference from the one before.
    int previous = 0;
    for (size_t i = 0; i < sampleBytes; ++i) {
        b.u8(static_cast<unsigned>(squareSample(i) - previous));
        previous = squareSample(i);
    }
    return b.out;
}

std::vector<unsigned char> tinyS3m()
{
    constexpr size_t titleBytes = 28;
    constexpr unsigned moduleType = 16;
    constexpr unsigned trackerVersion = 0x1320;
    constexpr unsigned unsignedSamples = 2;
    constexpr unsigned globalVolume = 64;
    constexpr unsigned stereoMasterVolume = 0x80 | 48;
    constexpr size_t channelSettings = 32;
    constexpr unsigned leftChannel = 0;
    constexpr unsigned rightChannel = 8;
    constexpr unsigned unusedChannel = 255;
    constexpr size_t paragraph = 16;
    constexpr unsigned sampleType = 1;
    constexpr size_t fileNameBytes = 12;
    constexpr size_t internalBytes = 12;
    constexpr unsigned noteAndInstrument = 0x20;
    constexpr unsigned effectFollows = 0x80;
    constexpr unsigned noteC4 = 0x40; // octave in the high nibble
    constexpr unsigned patternBreak = 3; // effect C
    Bytes b;
    b.text(songName, titleBytes);
    b.u8(dosEndOfFile);
    b.u8(moduleType);
    b.zeros(2);
    b.u16le(2); // orders: pattern 0, then the end
    b.u16le(1); // instruments
    b.u16le(1); // patterns
    b.u16le(0); // flags
    b.u16le(trackerVersion);
    b.u16le(unsignedSamples);
    b.text("SCRM", 4);
    b.u8(globalVolume);
    b.u8(initialSpeed);
    b.u8(initialTempo);
    b.u8(stereoMasterVolume);
    b.zeros(2 + 8 + 2); // click removal, no pan table; reserved; special
    for (size_t channel = 0; channel < channelSettings; ++channel) {
        b.u8(channel == 0 ? leftChannel : channel == 1 ? rightChannel : unusedChannel);
    }
    b.u8(0);
    b.u8(endOfSongOrder);
    const size_t instrumentPointerAt = b.size();
    b.u16le(0);
    const size_t patternPointerAt = b.size();
    b.u16le(0);

    b.alignTo(paragraph);
    b.patch16le(instrumentPointerAt, static_cast<unsigned>(b.size() / paragraph));
    b.u8(sampleType);
    b.text("square.smp", fileNameBytes);
    const size_t dataPointerAt = b.size();
    b.zeros(3); // where the sample data lies, in paragraphs
    b.u32le(sampleBytes);
    b.u32le(0); // loop start
    b.u32le(0); // loop end
    b.u8(fullSampleVolume);
    b.zeros(3); // reserved, packing, flags
    b.u32le(c2SampleRate);
    b.zeros(internalBytes);
    b.text("square", titleBytes);
    b.text("SCRS", 4);

    b.alignTo(paragraph);
    b.patch16le(patternPointerAt, static_cast<unsigned>(b.size() / paragraph));
    const size_t patternStart = b.size();
    b.u16le(0);
    for (unsigned row = 0; row < fixedPatternRows; ++row) {
        if (isNoteRow(row)) {
            b.u8(noteAndInstrument);
            b.u8(noteC4);
            b.u8(1);
        } else if (row == breakRow) {
            b.u8(effectFollows);
            b.u8(patternBreak);
            b.u8(0);
        }
        b.u8(0); // end of row
    }
    b.patch16le(patternStart, static_cast<unsigned>(b.size() - patternStart));

    b.alignTo(paragraph);
    const size_t dataParagraph = b.size() / paragraph;
    b.out[dataPointerAt] = static_cast<unsigned char>(dataParagraph >> 16);
    b.patch16le(dataPointerAt + 1, static_cast<unsigned>(dataParagraph & 0xFFFF));
    for (size_t i = 0; i < sampleBytes; ++i) {
        b.u8(static_cast<unsigned>(squareSample(i) + static_cast<int>(unsignedSampleOffset)));
    }
    return b.out;
}

std::vector<unsigned char> tinyIt()
{
    constexpr size_t nameBytes = 26;
    constexpr unsigned rowHighlight = 0x1004;
    constexpr unsigned trackerVersion = 0x0214;
    constexpr unsigned stereoLinearSlides = 0x01 | 0x08;
    constexpr unsigned globalVolume = 128;
    constexpr unsigned mixVolume = 48;
    constexpr unsigned separation = 128;
    constexpr size_t channelSlots = 64;
    constexpr unsigned centrePan = 32;
    constexpr unsigned channelDisabled = 0x80;
    constexpr unsigned fullChannelVolume = 64;
    constexpr size_t fileNameBytes = 12;
    constexpr unsigned sampleGlobalVolume = 64;
    constexpr unsigned hasSampleData = 0x01;
    constexpr unsigned signedData = 0x01;
    constexpr unsigned channelWithMask = 0x80 | 1; // channel 1, a mask byte follows
    constexpr unsigned noteAndInstrument = 0x01 | 0x02;
    constexpr unsigned noteC5 = 60;
    constexpr size_t patternReserved = 4;
    Bytes b;
    b.text("IMPM", 4);
    b.text(songName, nameBytes);
    b.u16le(rowHighlight);
    b.u16le(2); // orders: pattern 0, then the end
    b.u16le(0); // instruments: the patterns name samples
    b.u16le(1); // samples
    b.u16le(1); // patterns
    b.u16le(trackerVersion);
    b.u16le(trackerVersion);
    b.u16le(stereoLinearSlides);
    b.u16le(0); // special
    b.u8(globalVolume);
    b.u8(mixVolume);
    b.u8(initialSpeed);
    b.u8(initialTempo);
    b.u8(separation);
    b.u8(0);    // pitch wheel depth
    b.u16le(0); // message length
    b.u32le(0); // message offset
    b.u32le(0); // reserved
    for (size_t channel = 0; channel < channelSlots; ++channel) {
        b.u8(channel == 0 ? centrePan : centrePan | channelDisabled);
    }
    for (size_t channel = 0; channel < channelSlots; ++channel) b.u8(fullChannelVolume);
    b.u8(0);
    b.u8(endOfSongOrder);
    const size_t samplePointerAt = b.size();
    b.u32le(0);
    const size_t patternPointerAt = b.size();
    b.u32le(0);

    b.patch32le(samplePointerAt, static_cast<uint32_t>(b.size()));
    b.text("IMPS", 4);
    b.zeros(fileNameBytes + 1);
    b.u8(sampleGlobalVolume);
    b.u8(hasSampleData);
    b.u8(fullSampleVolume);
    b.text("square", nameBytes);
    b.u8(signedData);
    b.u8(0); // default pan off
    b.u32le(sampleBytes);
    b.u32le(0); // loop begin
    b.u32le(0); // loop end
    b.u32le(c2SampleRate);
    b.u32le(0); // sustain loop begin
    b.u32le(0); // sustain loop end
    const size_t dataPointerAt = b.size();
    b.u32le(0);
    b.zeros(4); // vibrato speed, depth, rate, type

    b.patch32le(patternPointerAt, static_cast<uint32_t>(b.size()));
    const size_t lengthAt = b.size();
    b.u16le(0);
    b.u16le(shortPatternRows);
    b.zeros(patternReserved);
    const size_t dataStart = b.size();
    for (unsigned row = 0; row < shortPatternRows; ++row) {
        if (isNoteRow(row)) {
            b.u8(channelWithMask);
            b.u8(noteAndInstrument);
            b.u8(noteC5);
            b.u8(1);
        }
        b.u8(0); // end of row
    }
    b.patch16le(lengthAt, static_cast<unsigned>(b.size() - dataStart));

    b.patch32le(dataPointerAt, static_cast<uint32_t>(b.size()));
    signedSampleData(&b);
    return b.out;
}
