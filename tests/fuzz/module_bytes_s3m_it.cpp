// Writes the smallest well-formed S3M and IT files, as module_bytes.cpp does for
// MOD and XM: one sample, one pattern of a few rows with two notes.
#include "module_bytes.h"
#include "module_seed_bytes.h"

using namespace module_seed;

namespace {

namespace s3m {

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
constexpr unsigned noteC4 = 0x40;    // octave in the high nibble
constexpr unsigned patternBreak = 3; // effect C

// Where the header's pointers to the instrument and the pattern lie.
struct Pointers {
    size_t instrument;
    size_t pattern;
};

Pointers header(Bytes& b)
{
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
    Pointers at = {b.size(), b.size() + 2};
    b.zeros(4);
    return at;
}

// Returns where the pointer to the sample data lies.
size_t instrument(Bytes& b)
{
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
    return dataPointerAt;
}

void pattern(Bytes& b)
{
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
}

} // namespace s3m

namespace it {

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

// Where the header's offsets of the sample and the pattern lie.
struct Offsets {
    size_t sample;
    size_t pattern;
};

Offsets header(Bytes& b)
{
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
    Offsets at = {b.size(), b.size() + 4};
    b.zeros(8);
    return at;
}

// Returns where the offset of the sample data lies.
size_t sample(Bytes& b)
{
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
    return dataPointerAt;
}

void pattern(Bytes& b)
{
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
}

} // namespace it

} // namespace

std::vector<unsigned char> tinyS3m()
{
    Bytes b;
    const s3m::Pointers at = s3m::header(b);
    b.alignTo(s3m::paragraph);
    b.patch16le(at.instrument, static_cast<unsigned>(b.size() / s3m::paragraph));
    const size_t dataPointerAt = s3m::instrument(b);
    b.alignTo(s3m::paragraph);
    b.patch16le(at.pattern, static_cast<unsigned>(b.size() / s3m::paragraph));
    s3m::pattern(b);
    b.alignTo(s3m::paragraph);
    // A 24-bit paragraph number: its high byte first, then the low 16 bits.
    const size_t dataParagraph = b.size() / s3m::paragraph;
    b.out[dataPointerAt] = static_cast<unsigned char>(dataParagraph >> 16);
    b.patch16le(dataPointerAt + 1, static_cast<unsigned>(dataParagraph & 0xFFFF));
    for (size_t i = 0; i < sampleBytes; ++i) {
        b.u8(static_cast<unsigned>(squareSample(i) + static_cast<int>(unsignedSampleOffset)));
    }
    return b.out;
}

std::vector<unsigned char> tinyIt()
{
    Bytes b;
    const it::Offsets at = it::header(b);
    b.patch32le(at.sample, static_cast<uint32_t>(b.size()));
    const size_t dataPointerAt = it::sample(b);
    b.patch32le(at.pattern, static_cast<uint32_t>(b.size()));
    it::pattern(b);
    b.patch32le(dataPointerAt, static_cast<uint32_t>(b.size()));
    signedSampleData(&b);
    return b.out;
}
