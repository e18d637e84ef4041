// Writes the smallest well-formed MOD and XM files: the headers each tracker wrote,
// one 8-bit sample of a square wave, and a pattern of a few rows with two notes,
// so that a mutation of any field reaches the module loaders.
#include "module_bytes.h"
#include "module_seed_bytes.h"

using namespace module_seed;

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
        b.u16be(0); // loop start
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

namespace {

namespace xm {

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

void header(Bytes& b)
{
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
}

void pattern(Bytes& b)
{
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
}

void instrument(Bytes& b)
{
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
}

} // namespace xm

} // namespace

std::vector<unsigned char> tinyXm()
{
    Bytes b;
    xm::header(b);
    xm::pattern(b);
    xm::instrument(b);
    return b.out;
}
