// Writes the audio fuzzer's seed corpus: tiny sampled files of every kind libsndfile
// writes here, and tiny tracker modules, each checked to open before it is kept.
#include "module_bytes.h"

#include <libopenmpt/libopenmpt.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr sf_count_t seedFrames = 1024;
constexpr double toneHz = 440.0;
constexpr double toneLevel = 0.5;
constexpr double channelPhaseStep = 0.7; // radians between channels, so they differ
constexpr double twoPi = 6.283185307179586;
constexpr long largestSeedBytes = 16 * 1024;
constexpr int cdRate = 44100;
constexpr int videoRate = 48000;
constexpr int phoneRate = 8000;
constexpr int stereo = 2;
constexpr int mono = 1;
constexpr int surround = 6;

struct SampledSeed {
    const char* name;
    int format;
    int channels;
    int rate;
};

const SampledSeed sampledSeeds[] = {
    {"pcm16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, stereo, cdRate},
    {"pcm8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, stereo, cdRate},
    {"pcm24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, stereo, cdRate},
    {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, stereo, cdRate},
    {"mono.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, mono, cdRate},
    {"surround.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, surround, videoRate},
    {"phone.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, mono, phoneRate},
    {"pcm16.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, stereo, cdRate},
    {"vorbis.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, stereo, cdRate},
    {"layer3.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, stereo, cdRate},
};

struct ModuleSeed {
    const char* name;
    const char* type; // libopenmpt's "type" metadata for the format
    std::vector<unsigned char> (*write)();
};

const ModuleSeed moduleSeeds[] = {
    {"tiny.mod", "mod", tinyMod},
    {"tiny.xm", "xm", tinyXm},
    {"tiny.s3m", "s3m", tinyS3m},
    {"tiny.it", "it", tinyIt},
};

long fileSize(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<long>(in.tellg()) : -1;
}

bool smallEnough(const std::string& path)
{
    const long size = fileSize(path);
    if (size <= 0 || size > largestSeedBytes) {
        std::fprintf(stderr, "%s: %ld bytes, not a tiny seed\n", path.c_str(), size);
        return false;
    }
    return true;
}

// Writes a few milliseconds of a tone; true also when the format cannot be written here.
bool writeSampled(const std::string& dir, const SampledSeed& seed)
{
    SF_INFO info = {};
    info.samplerate = seed.rate;
    info.channels = seed.channels;
    info.format = seed.format;
    if (!sf_format_check(&info)) {
        std::printf("%s: this libsndfile cannot write the format, seed skipped\n", seed.name);
        return true;
    }
    const std::string path = dir + "/" + seed.name;
    SNDFILE* out = sf_open(path.c_str(), SFM_WRITE, &info);
    if (out == nullptr) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    std::vector<float> frames(static_cast<size_t>(seedFrames) * seed.channels);
    for (sf_count_t frame = 0; frame < seedFrames; ++frame) {
        for (int channel = 0; channel < seed.channels; ++channel) {
            const double phase = twoPi * toneHz * frame / seed.rate + channel * channelPhaseStep;
            frames[frame * seed.channels + channel] = static_cast<float>(toneLevel * std::sin(phase));
        }
    }
    const bool written = sf_writef_float(out, frames.data(), seedFrames) == seedFrames;
    sf_close(out);
    // Read back, so a seed the decoder cannot open fails the build rather than the fuzzer.
    SF_INFO back = {};
    SNDFILE* in = sf_open(path.c_str(), SFM_READ, &back);
    const bool readable = in != nullptr && back.channels == seed.channels && back.frames > 0;
    if (in != nullptr) sf_close(in);
    if (!written || !readable) {
        std::fprintf(stderr, "%s: written %d, read back %d\n", path.c_str(), written, readable);
        return false;
    }
    return smallEnough(path);
}

bool writeModule(const std::string& dir, const ModuleSeed& seed)
{
    const std::vector<unsigned char> bytes = seed.write();
    openmpt_module* module =
        openmpt_module_create_from_memory2(bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr,
                                           openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
    if (module == nullptr) {
        std::fprintf(stderr, "%s: libopenmpt does not open it\n", seed.name);
        return false;
    }
    const char* type = openmpt_module_get_metadata(module, "type");
    const bool sameType = type != nullptr && std::string(type) == seed.type;
    // MOD has room for 31 samples in every file; the others hold just the one.
    const bool plays = openmpt_module_get_duration_seconds(module) > 0.0 &&
                       openmpt_module_get_num_samples(module) >= 1 && openmpt_module_get_num_patterns(module) == 1;
    std::fprintf(sameType && plays ? stdout : stderr, "%s: opens as '%s', %.3f s\n", seed.name, type ? type : "?",
                 openmpt_module_get_duration_seconds(module));
    openmpt_free_string(type);
    openmpt_module_destroy(module);
    if (!sameType || !plays) {
        return false;
    }
    const std::string path = dir + "/" + seed.name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out.good() && smallEnough(path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s seed-directory\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;
    for (const SampledSeed& seed : sampledSeeds) ok = writeSampled(dir, seed) && ok;
    for (const ModuleSeed& seed : moduleSeeds) ok = writeModule(dir, seed) && ok;
    return ok ? 0 : 1;
}
