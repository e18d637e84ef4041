// Makes the audio tests' sound files and reads the disk driver's recordings.
#include "test_sounds.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr double twoPi = 6.283185307179586;
constexpr float int16Scale = 32768.0f;

// The noise: a 64-bit linear congruential generator (Knuth's MMIX constants)
// through two one-pole low-pass filters at noiseCutoffHz.
constexpr uint64_t lcgMultiplier = 6364136223846793005ULL;
constexpr uint64_t lcgIncrement = 1442695040888963407ULL;
constexpr int lcgShift = 40;            // keep the generator's 24 best bits
constexpr double lcgRange = 16777216.0; // 2^24
constexpr double noiseCutoffHz = 3000.0;
constexpr double noiseLevel = 20000.0;

// ProTracker layout.
constexpr int modTitleBytes = 20;
constexpr int modSampleCount = 31;
constexpr int modSampleNameBytes = 22;
constexpr int modOrderBytes = 128;
constexpr int modRows = 64;
constexpr int modChannels = 4;
constexpr int modRestartByte = 127;
constexpr int modFullVolume = 64;
constexpr int modSquareBytes = 64; // one period of the square wave
constexpr int modSquareLevel = 80; // signed 8-bit
constexpr int modPeriodC3 = 214;
constexpr int modPeriodG3 = 143;
constexpr int modBreakRow = 3;
constexpr int modEffectBreak = 0xD;
constexpr int modEffectJump = 0xB;
constexpr int modEffectExtended = 0xE;
constexpr int modPatternLoopRow = 0x60; // E6x: loop back to the loop start (row 0) x times

void putBigEndian16(std::vector<unsigned char>* out, int value)
{
    out->push_back(static_cast<unsigned char>((value >> 8) & 0xff));
    out->push_back(static_cast<unsigned char>(value & 0xff));
}

void putCell(unsigned char* cell, int sample, int period, int effect, int parameter)
{
    cell[0] = static_cast<unsigned char>((sample & 0xf0) | ((period >> 8) & 0x0f));
    cell[1] = static_cast<unsigned char>(period & 0xff);
    cell[2] = static_cast<unsigned char>(((sample & 0x0f) << 4) | (effect & 0x0f));
    cell[3] = static_cast<unsigned char>(parameter);
}

} // namespace

std::vector<int16_t> testSignal(int frames, int rate, int channels)
{
    std::vector<int16_t> samples;
    samples.reserve(static_cast<size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        // 200 Hz rising by 900 Hz a second.
        const double chirp = std::sin(twoPi * (200.0 * t + 450.0 * t * t));
        const double tones = 0.6 * std::sin(twoPi * 331.0 * t + 0.5) + 0.4 * std::sin(twoPi * 97.3 * t + 1.0);
        for (int c = 0; c < channels; ++c) {
            const double value = c % 2 == 0 ? chirp : tones;
            samples.push_back(static_cast<int16_t>(std::lrint(value * 9000.0 / (1 + c / 2))));
        }
    }
    return samples;
}

std::vector<int16_t> noiseSignal(int frames, int rate, int channels)
{
    std::vector<int16_t> samples(static_cast<size_t>(frames) * channels);
    const double smooth = 1.0 - std::exp(-twoPi * noiseCutoffHz / rate);
    for (int c = 0; c < channels; ++c) {
        uint64_t state = static_cast<uint64_t>(c) + 1;
        double first = 0, second = 0;
        for (int i = 0; i < frames; ++i) {
            state = state * lcgMultiplier + lcgIncrement;
            const double white = static_cast<double>(state >> lcgShift) / lcgRange * 2.0 - 1.0;
            first += smooth * (white - first);
            second += smooth * (first - second);
            samples[static_cast<size_t>(i) * channels + c] = static_cast<int16_t>(std::lrint(second * noiseLevel));
        }
    }
    return samples;
}

std::vector<int16_t> sineSignal(int frames, int rate, int channels, double hz, double amplitude)
{
    std::vector<int16_t> samples;
    for (int i = 0; i < frames; ++i) {
        const int16_t value = static_cast<int16_t>(std::lrint(amplitude * std::sin(twoPi * hz * i / rate)));
        for (int c = 0; c < channels; ++c) samples.push_back(value);
    }
    return samples;
}

bool writeSoundFile(const std::string& path, int format, int rate, int channels, const std::vector<int16_t>& samples)
{
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    bool ok = false;
    if ((format & SF_FORMAT_SUBMASK) <= SF_FORMAT_PCM_U8) {
        ok = sf_writef_short(file, samples.data(), frames) == frames;
    } else {
        // Encoders get floats: libsndfile 1.2.0 garbles 16-bit input to its MP3 encoder.
        std::vector<float> floats(samples.size());
        for (size_t i = 0; i < samples.size(); ++i) floats[i] = samples[i] / int16Scale;
        ok = sf_writef_float(file, floats.data(), frames) == frames;
    }
    return sf_close(file) == 0 && ok;
}

bool writeTestModule(const std::string& path, const ModuleShape& shape)
{
    std::vector<unsigned char> mod(modTitleBytes, 0);
    std::memcpy(mod.data(), "test tune", 9);
    for (int s = 0; s < modSampleCount; ++s) {
        mod.insert(mod.end(), modSampleNameBytes, 0);
        const bool square = s == 0 && shape.withSample;
        putBigEndian16(&mod, square ? modSquareBytes / 2 : 0); // length in words
        mod.push_back(0);                                      // finetune
        mod.push_back(square ? modFullVolume : 0);
        putBigEndian16(&mod, 0);                               // loop start
        putBigEndian16(&mod, square ? modSquareBytes / 2 : 1); // loop length
    }
    mod.push_back(static_cast<unsigned char>(shape.orders));
    mod.push_back(modRestartByte);
    mod.insert(mod.end(), modOrderBytes, 0);
    const char* tag = "M.K.";
    mod.insert(mod.end(), tag, tag + 4);

    std::vector<unsigned char> pattern(modRows * modChannels * 4, 0);
    putCell(&pattern[0], 1, modPeriodC3, 0, 0);
    putCell(&pattern[4], 1, modPeriodG3, 0, 0);
    if (shape.loopsForever) {
        // Jumps back to the first order and loops row 0 on another channel.
        putCell(&pattern[(modBreakRow * modChannels) * 4], 0, 0, modEffectJump, 0);
        putCell(&pattern[2 * 4], 0, 0, modEffectExtended, modPatternLoopRow | 1);
    } else {
        putCell(&pattern[(modBreakRow * modChannels) * 4], 0, 0, modEffectBreak, 0);
    }
    mod.insert(mod.end(), pattern.begin(), pattern.end());

    for (int i = 0; i < modSquareBytes; ++i) {
        const int level = i < modSquareBytes / 2 ? modSquareLevel : -modSquareLevel;
        mod.push_back(static_cast<unsigned char>(static_cast<signed char>(level)));
    }
    return writeTextFile(path, std::string(mod.begin(), mod.end()));
}

bool writeTextFile(const std::string& path, const std::string& text)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && ok;
}

std::vector<int16_t> readRecording(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Whole stereo frames only.
    std::vector<int16_t> samples(bytes.size() / (2 * sizeof(int16_t)) * 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(int16_t));
    return samples;
}

size_t firstSoundFrame(const std::vector<int16_t>& stereo, size_t from)
{
    const size_t frames = stereo.size() / 2;
    for (size_t f = from; f < frames; ++f) {
        if (stereo[2 * f] != 0 || stereo[2 * f + 1] != 0) return f;
    }
    return frames;
}

size_t matchingFrames(const std::vector<int16_t>& recording, size_t recordingFrame, const std::vector<int16_t>& sound,
                      size_t soundFrame, bool loop)
{
    const size_t soundFrames = sound.size() / 2;
    size_t matched = 0;
    for (size_t r = recordingFrame; r < recording.size() / 2; ++r, ++soundFrame, ++matched) {
        if (soundFrame >= soundFrames) {
            if (!loop) break;
            soundFrame = 0;
        }
        if (recording[2 * r] != sound[2 * soundFrame] || recording[2 * r + 1] != sound[2 * soundFrame + 1]) {
            break;
        }
    }
    return matched;
}

std::string makeTempDirectory()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/glasswind-audio.XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    return mkdtemp(name.data()) != nullptr ? std::string(name.data()) : std::string();
}

void removeDirectory(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}
