// Whole-file decoding: libsndfile for sampled sound, libopenmpt for modules,
// SDL's audio stream for resampling and for spreading channels to stereo.
#include "platform/audio_decode.h"

#include "platform/audio.h"

#include <SDL.h>
#include <libopenmpt/libopenmpt.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

namespace {

constexpr size_t decodeBlockFrames = 4096;
constexpr size_t resamplerTailFrames = 4096;
constexpr float int16Scale = 32768.0f;
constexpr long int16Max = 32767;
constexpr long int16Min = -32768;
constexpr int moduleRampDefault = -1; // libopenmpt's recommended ramping
constexpr int moduleRampOff = 0;

// The encoded bytes as libsndfile's virtual file.
struct MemoryFile {
    const unsigned char* data;
    sf_count_t size;
    sf_count_t position;
};

sf_count_t memoryLength(void* user) { return static_cast<MemoryFile*>(user)->size; }

sf_count_t memorySeek(sf_count_t offset, int whence, void* user)
{
    MemoryFile* file = static_cast<MemoryFile*>(user);
    sf_count_t target = offset;
    if (whence == SEEK_CUR) target += file->position;
    if (whence == SEEK_END) target += file->size;
    if (target < 0 || target > file->size) return -1;
    file->position = target;
    return target;
}

sf_count_t memoryRead(void* out, sf_count_t count, void* user)
{
    MemoryFile* file = static_cast<MemoryFile*>(user);
    const sf_count_t left = file->size - file->position;
    const sf_count_t taken = count < left ? count : left;
    if (taken > 0) {
        SDL_memcpy(out, file->data + file->position, static_cast<size_t>(taken));
        file->position += taken;
    }
    return taken;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t memoryTell(void* user) { return static_cast<MemoryFile*>(user)->position; }

int16_t floatToInt16(float value)
{
    // Scaled by 32768 so 16-bit sources come back bit for bit; louder peaks clip.
    long scaled = std::lrint(value * int16Scale);
    if (scaled > int16Max) scaled = int16Max;
    if (scaled < int16Min) scaled = int16Min;
    return static_cast<int16_t>(scaled);
}

uint64_t longestFrames(uint32_t rate) { return static_cast<uint64_t>(rate) * longestDecodedSeconds; }

// Brings interleaved 16-bit sound of any channel count and rate to stereo at
// outputRate. SDL copies mono to both sides at full level.
bool toOutputFormat(std::vector<int16_t>* samples, int channels, uint32_t rate, uint32_t outputRate,
                    int* errorCode)
{
    if (channels == audioOutputChannels && rate == outputRate) {
        return true;
    }
    SDL_AudioStream* stream = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(channels),
                                                 static_cast<int>(rate), AUDIO_S16SYS,
                                                 audioOutputChannels, static_cast<int>(outputRate));
    if (stream == nullptr) {
        *errorCode = audioErrorFileFormat;
        return false;
    }
    const uint64_t inFrames = samples->size() / static_cast<size_t>(channels);
    const uint64_t outFrames = (inFrames * outputRate + rate / 2) / rate;
    std::vector<int16_t> converted;
    // SDL's resampler keeps its last frames back even when flushed, so a tail
    // of silence pushes them out and the sound is cut back to its own length.
    const std::vector<int16_t> tail(resamplerTailFrames * static_cast<size_t>(channels), 0);
    int16_t outBlock[decodeBlockFrames * audioOutputChannels];
    bool ok = true;
    try {
        converted.reserve((outFrames + decodeBlockFrames) * audioOutputChannels);
        // Fed a block at a time and drained as it goes, so SDL never holds more
        // than a block of its own.
        const size_t blockSamples = decodeBlockFrames * static_cast<size_t>(channels);
        bool last = false;
        for (size_t start = 0; ok && !last; start += blockSamples) {
            last = start + blockSamples >= samples->size();
            const size_t count = last ? samples->size() - start : blockSamples;
            ok = SDL_AudioStreamPut(stream, samples->data() + start,
                                    static_cast<int>(count * sizeof(int16_t))) == 0;
            if (ok && last) {
                ok = SDL_AudioStreamPut(stream, tail.data(),
                                        static_cast<int>(tail.size() * sizeof(int16_t))) == 0 &&
                     SDL_AudioStreamFlush(stream) == 0;
            }
            int got = 0;
            while (ok && (got = SDL_AudioStreamGet(stream, outBlock, sizeof outBlock)) > 0) {
                converted.insert(converted.end(), outBlock,
                                 outBlock + static_cast<size_t>(got) / sizeof(int16_t));
            }
            ok = ok && got == 0;
        }
    } catch (const std::bad_alloc&) {
        SDL_FreeAudioStream(stream);
        *errorCode = audioErrorMemory;
        return false;
    }
    if (converted.size() > outFrames * audioOutputChannels) {
        converted.resize(outFrames * audioOutputChannels);
    }
    SDL_FreeAudioStream(stream);
    if (!ok) {
        *errorCode = audioErrorFileFormat;
        return false;
    }
    samples->swap(converted);
    return true;
}

} // namespace

bool readSoundBytes(bool fromMemory, const void* file, uint64_t offset, uint64_t length,
                    std::vector<unsigned char>* bytes, int* errorCode)
{
    bytes->clear();
    if (file == nullptr) {
        *errorCode = audioErrorFileOpen;
        return false;
    }
    if (fromMemory) {
        // In memory the length is the size of the data and must be given.
        const unsigned char* data = static_cast<const unsigned char*>(file) + offset;
        bytes->assign(data, data + length);
        return true;
    }
    std::FILE* in = std::fopen(static_cast<const char*>(file), "rb");
    if (in == nullptr) {
        *errorCode = audioErrorFileOpen;
        return false;
    }
    bool ok = std::fseek(in, static_cast<long>(offset), SEEK_SET) == 0;
    unsigned char block[65536];
    while (ok && (length == 0 || bytes->size() < length)) {
        size_t want = sizeof block;
        if (length != 0 && length - bytes->size() < want) want = static_cast<size_t>(length - bytes->size());
        const size_t got = std::fread(block, 1, want, in);
        bytes->insert(bytes->end(), block, block + got);
        if (got < want) {
            ok = !std::ferror(in);
            break;
        }
    }
    std::fclose(in);
    if (!ok) {
        *errorCode = audioErrorFileOpen;
        return false;
    }
    return true;
}

bool decodeSampledSound(const std::vector<unsigned char>& bytes, uint32_t outputRate,
                        std::vector<int16_t>* stereoSamples, int* errorCode)
{
    stereoSamples->clear();
    MemoryFile file = {bytes.data(), static_cast<sf_count_t>(bytes.size()), 0};
    SF_VIRTUAL_IO io = {memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SF_INFO info = {};
    SNDFILE* sound = bytes.empty() ? nullptr : sf_open_virtual(&io, SFM_READ, &info, &file);
    if (sound == nullptr) {
        *errorCode = audioErrorFileFormat;
        return false;
    }
    if (info.channels <= 0 || info.samplerate <= 0) {
        sf_close(sound);
        *errorCode = audioErrorFileFormat;
        return false;
    }
    const size_t channels = static_cast<size_t>(info.channels);
    const uint32_t rate = static_cast<uint32_t>(info.samplerate);
    std::vector<float> block(decodeBlockFrames * channels);
    bool tooLong = false;
    try {
        if (info.frames > 0 && static_cast<uint64_t>(info.frames) <= longestFrames(rate)) {
            stereoSamples->reserve(static_cast<size_t>(info.frames) * channels);
        }
        sf_count_t got = 0;
        while ((got = sf_readf_float(sound, block.data(), decodeBlockFrames)) > 0) {
            for (size_t i = 0; i < static_cast<size_t>(got) * channels; ++i) {
                stereoSamples->push_back(floatToInt16(block[i]));
            }
            if (stereoSamples->size() / channels > longestFrames(rate)) {
                tooLong = true;
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        tooLong = true;
    }
    sf_close(sound);
    if (tooLong) {
        std::vector<int16_t>().swap(*stereoSamples);
        *errorCode = audioErrorMemory;
        return false;
    }
    if (stereoSamples->empty()) {
        *errorCode = audioErrorFileFormat;
        return false;
    }
    return toOutputFormat(stereoSamples, info.channels, rate, outputRate, errorCode);
}

bool decodeModuleSound(const std::vector<unsigned char>& bytes, uint32_t renderRate,
                       bool rampVolume, bool loop, uint32_t outputRate,
                       std::vector<int16_t>* stereoSamples, int* errorCode)
{
    stereoSamples->clear();
    if (bytes.empty()) {
        *errorCode = audioErrorFileFormat;
        return false;
    }
    // Silent: libopenmpt would otherwise report its probing on standard error.
    openmpt_module* module = openmpt_module_create_from_memory2(
        bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore,
        nullptr, nullptr, nullptr, nullptr);
    if (module == nullptr) {
        *errorCode = audioErrorFileFormat;
        return false;
    }
    openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_VOLUMERAMPING_STRENGTH,
                                    rampVolume ? moduleRampDefault : moduleRampOff);
    // Played once through; looping replays the rendered sound from its start.
    openmpt_module_set_repeat_count(module, 0);
    const double songSeconds = openmpt_module_get_duration_seconds(module);
    bool tooLong = songSeconds > longestDecodedSeconds;
    // Rendered as floats and rounded here, like the sampled sounds: libopenmpt's
    // own 16-bit output is dithered, so two renderings would differ.
    float block[decodeBlockFrames * audioOutputChannels];
    try {
        size_t got = 0;
        while (!tooLong && (got = openmpt_module_read_interleaved_float_stereo(
                                module, static_cast<int32_t>(renderRate), decodeBlockFrames, block)) > 0) {
            for (size_t i = 0; i < got * audioOutputChannels; ++i) {
                stereoSamples->push_back(floatToInt16(block[i]));
            }
            tooLong = stereoSamples->size() / audioOutputChannels > longestFrames(renderRate);
        }
    } catch (const std::bad_alloc&) {
        tooLong = true;
    }
    openmpt_module_destroy(module);
    const size_t songFrames = static_cast<size_t>(std::llround(songSeconds * renderRate));
    if (loop && songFrames > 0 && stereoSamples->size() > songFrames * audioOutputChannels) {
        stereoSamples->resize(songFrames * audioOutputChannels);
    }
    if (tooLong) {
        std::vector<int16_t>().swap(*stereoSamples);
        *errorCode = audioErrorMemory;
        return false;
    }
    if (stereoSamples->empty()) {
        *errorCode = audioErrorFileFormat;
        return false;
    }
    return toOutputFormat(stereoSamples, audioOutputChannels, renderRate, outputRate, errorCode);
}

bool decodeMusicFile(const char* path, uint32_t outputRate, std::vector<int16_t>* stereoSamples,
                     int* errorCode)
{
    std::vector<unsigned char> bytes;
    if (!readSoundBytes(false, path, 0, 0, &bytes, errorCode)) {
        stereoSamples->clear();
        return false;
    }
    if (decodeSampledSound(bytes, outputRate, stereoSamples, errorCode)) {
        return true;
    }
    return decodeModuleSound(bytes, outputRate, true, true, outputRate, stereoSamples, errorCode);
}
