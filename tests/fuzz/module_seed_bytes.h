// What the tiny module writers share: a little-endian byte writer, the one sample
// they all play and the few rows of their pattern.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace module_seed {

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
    void u16le(unsigned value)
    {
        u8(value);
        u8(value >> 8);
    }
    void u16be(unsigned value)
    {
        u8(value >> 8);
        u8(value);
    }
    void u32le(uint32_t value)
    {
        u16le(value & 0xFFFF);
        u16le(value >> 16);
    }
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

inline int squareSample(size_t i) { return (i / squareHalfPeriod) % 2 == 0 ? squareLevel : -squareLevel; }

inline bool isNoteRow(unsigned row) { return row == firstNoteRow || row == secondNoteRow; }

inline void signedSampleData(Bytes* bytes)
{
    for (size_t i = 0; i < sampleBytes; ++i) bytes->u8(static_cast<unsigned>(squareSample(i)));
}

} // namespace module_seed
