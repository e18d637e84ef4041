// Whole-file decoding: libsndfile for sampled sound, libopenmpt for modules,
// SDL's audio stream for resampling and for spreading channels to stereo.
#include "platform/audio_decode.h"

#include "platform/audio.h"
#include "platform/file_read.h"

#include <SDL.h>
#include <libopenmpt/libopenmpt.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
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

bool refuse(int code, std::vector<int16_t>* stereoSamples, int* errorCode)
{
    std::vector<int16_t>().swap(*stereoSamples);
    *errorCode = code;
    return false;
}

// Brings interleaved 16-bit blocks of any channel count and rate to stereo at
// outputRate as they are decoded, so only the output is ever held whole. SDL
// copies mono to both sides at full level.
struct Converter {
    SDL_AudioStream* stream; // null when the sound is already stereo at outputRate
    int channels;
    uint32_t rate;
    uint32_t outputRate;
    uint64_t inFrames;
    std::vector<int16_t>* out;
};

bool openConverter(Converter* converter, int channels, uint32_t rate, uint32_t outputRate, std::vector<int16_t>* out)
{
    *converter = Converter{nullptr, channels, rate, outputRate, 0, out};
    for (uint32_t r : {rate, outputRate}) {
        if (r < lowestSoundRate || r > highestSoundRate) return false;
    }
    if (channels < 1 || channels > mostSoundChannels) return false;
    if (channels == audioOutputChannels && rate == outputRate) return true;
    converter->stream = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(channels), static_cast<int>(rate),
                                           AUDIO_S16SYS, audioOutputChannels, static_cast<int>(outputRate));
    return converter->stream != nullptr;
}

void closeConverter(Converter* converter)
{
    if (converter->stream != nullptr) SDL_FreeAudioStream(converter->stream);
    converter->stream = nullptr;
}

// Moves what SDL has converted so far to the output. May throw std::bad_alloc.
bool drainConverter(Converter* converter)
{
    int16_t block[decodeBlockFrames * audioOutputChannels];
    int got = 0;
    while ((got = SDL_AudioStreamGet(converter->stream, block, sizeof block)) > 0) {
        converter->out->insert(converter->out->end(), block, block + static_cast<size_t>(got) / sizeof(int16_t));
    }
    return got == 0;
}

// Adds frames of the sound. May throw std::bad_alloc.
bool convertBlock(Converter* converter, const int16_t* samples, size_t frames)
{
    const size_t count = frames * static_cast<size_t>(converter->channels);
    converter->inFrames += frames;
    if (converter->stream == nullptr) {
        converter->out->insert(converter->out->end(), samples, samples + count);
        return true;
    }
    return SDL_AudioStreamPut(converter->stream, samples, static_cast<int>(count * sizeof(int16_t))) == 0 &&
           drainConverter(converter);
}

// The last frames. SDL's resampler keeps some back even when flushed, so a tail
// of silence pushes them out and the sound is cut back to its own length.
bool finishConverter(Converter* converter)
{
    if (converter->stream == nullptr) return true;
    const std::vector<int16_t> tail(resamplerTailFrames * static_cast<size_t>(converter->channels), 0);
    const bool ok =
        SDL_AudioStreamPut(converter->stream, tail.data(), static_cast<int>(tail.size() * sizeof(int16_t))) == 0 &&
        SDL_AudioStreamFlush(converter->stream) == 0 && drainConverter(converter);
    const uint64_t outFrames = (converter->inFrames * converter->outputRate + converter->rate / 2) / converter->rate;
    if (converter->out->size() > outFrames * audioOutputChannels) {
        converter->out->resize(outFrames * audioOutputChannels);
    }
    return ok;
}

// Room for the whole output when its length is known and within the bound.
void reserveOutput(Converter* converter, uint64_t frames)
{
    if (frames == 0 || frames > longestFrames(converter->rate)) return;
    converter->out->reserve((frames * converter->outputRate / converter->rate + decodeBlockFrames) *
                            audioOutputChannels);
}

// The result of a decode loop: the output, or the code that says why not.
bool finishDecode(Converter* converter, bool ok, bool tooLong, int* errorCode)
{
    try {
        ok = ok && !tooLong && finishConverter(converter);
    } catch (const std::bad_alloc&) {
        closeConverter(converter);
        return refuse(audioErrorMemory, converter->out, errorCode);
    }
    closeConverter(converter);
    if (tooLong) return refuse(audioErrorTooLong, converter->out, errorCode);
    if (!ok || converter->out->empty()) return refuse(audioErrorFileFormat, converter->out, errorCode);
    return true;
}

// The encoded file's bytes, read with a bound: a regular file only (a FIFO or a
// device would block or never end), at most longestEncodedBytes.
bool readFileBytes(const char* path, uint64_t offset, uint64_t length, std::vector<unsigned char>* bytes,
                   int* errorCode)
{
    uint64_t size = 0;
    const int file = openRegularFile(path, &size);
    if (file < 0) {
        *errorCode = audioErrorFileOpen;
        return false;
    }
    const uint64_t available = size > offset ? size - offset : 0;
    const uint64_t wanted = length == 0 ? available : length;
    if (wanted > longestEncodedBytes) {
        closeFile(file);
        *errorCode = audioErrorTooLong;
        return false;
    }
    // A file that grows while it is read is read up to the bound and one byte more.
    const uint64_t limit = length == 0 ? longestEncodedBytes + 1 : length;
    bool ok = true;
    try {
        bytes->reserve(static_cast<size_t>(std::min(wanted, limit)));
        unsigned char block[65536];
        uint64_t at = offset;
        while (ok && bytes->size() < limit) {
            const size_t want = static_cast<size_t>(std::min<uint64_t>(sizeof block, limit - bytes->size()));
            const int64_t got = readFileAt(file, block, want, at);
            ok = got >= 0;
            if (got <= 0) break;
            bytes->insert(bytes->end(), block, block + got);
            at += static_cast<uint64_t>(got);
        }
    } catch (const std::bad_alloc&) {
        closeFile(file);
        bytes->clear();
        *errorCode = audioErrorMemory;
        return false;
    }
    closeFile(file);
    if (ok && length == 0 && bytes->size() > longestEncodedBytes) {
        bytes->clear();
        *errorCode = audioErrorTooLong;
        return false;
    }
    if (!ok) *errorCode = audioErrorFileOpen;
    return ok;
}

// Opens the bytes with libsndfile (which keeps its own copy of io); null when it
// does not read them. file must outlive the handle.
SNDFILE* openSampled(const std::vector<unsigned char>& bytes, MemoryFile* file, SF_INFO* info)
{
    SF_VIRTUAL_IO io = {memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    *file = MemoryFile{bytes.data(), static_cast<sf_count_t>(bytes.size()), 0};
    *info = SF_INFO{};
    return bytes.empty() ? nullptr : sf_open_virtual(&io, SFM_READ, info, file);
}

// Whether the header says the sound is longer than the bound.
bool headerTooLong(const SF_INFO& info)
{
    return info.samplerate > 0 && info.frames > 0 &&
           static_cast<uint64_t>(info.frames) > longestFrames(static_cast<uint32_t>(info.samplerate));
}

// Whether libsndfile reads the bytes as a sound longer than the bound, from its
// header alone: the module attempt says so instead of "not a module".
bool sampledSoundTooLong(const std::vector<unsigned char>& bytes)
{
    MemoryFile file;
    SF_INFO info;
    SNDFILE* sound = openSampled(bytes, &file, &info);
    if (sound == nullptr) return false;
    sf_close(sound);
    return headerTooLong(info);
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
    if (!fromMemory) {
        return readFileBytes(static_cast<const char*>(file), offset, length, bytes, errorCode);
    }
    // In memory the length is the size of the data and must be given.
    if (length > longestEncodedBytes) {
        *errorCode = audioErrorTooLong;
        return false;
    }
    const unsigned char* data = static_cast<const unsigned char*>(file) + offset;
    try {
        bytes->assign(data, data + length);
    } catch (const std::bad_alloc&) {
        *errorCode = audioErrorMemory;
        return false;
    }
    return true;
}

bool decodeSampledSound(const std::vector<unsigned char>& bytes, uint32_t outputRate,
                        std::vector<int16_t>* stereoSamples, int* errorCode)
{
    stereoSamples->clear();
    MemoryFile file;
    SF_INFO info;
    SNDFILE* sound = openSampled(bytes, &file, &info);
    if (sound == nullptr) return refuse(audioErrorFileFormat, stereoSamples, errorCode);
    const uint32_t rate = static_cast<uint32_t>(info.samplerate);
    Converter converter = {};
    if (info.channels <= 0 || info.samplerate <= 0 ||
        !openConverter(&converter, info.channels, rate, outputRate, stereoSamples)) {
        sf_close(sound);
        return refuse(audioErrorFileFormat, stereoSamples, errorCode);
    }
    const size_t channels = static_cast<size_t>(info.channels);
    // A header that says the sound is too long is believed; one that says less is not.
    bool tooLong = headerTooLong(info);
    bool ok = true;
    try {
        reserveOutput(&converter, static_cast<uint64_t>(std::max<sf_count_t>(info.frames, 0)));
        std::vector<float> block(decodeBlockFrames * channels);
        std::vector<int16_t> samples(decodeBlockFrames * channels);
        sf_count_t got = 0;
        while (ok && !tooLong && (got = sf_readf_float(sound, block.data(), decodeBlockFrames)) > 0) {
            for (size_t i = 0; i < static_cast<size_t>(got) * channels; ++i) {
                samples[i] = floatToInt16(block[i]);
            }
            ok = convertBlock(&converter, samples.data(), static_cast<size_t>(got));
            tooLong = converter.inFrames > longestFrames(rate);
        }
    } catch (const std::bad_alloc&) {
        sf_close(sound);
        closeConverter(&converter);
        return refuse(audioErrorMemory, stereoSamples, errorCode);
    }
    sf_close(sound);
    return finishDecode(&converter, ok, tooLong, errorCode);
}

bool decodeModuleSound(const std::vector<unsigned char>& bytes, uint32_t renderRate, bool rampVolume, bool loop,
                       uint32_t outputRate, std::vector<int16_t>* stereoSamples, int* errorCode)
{
    stereoSamples->clear();
    if (bytes.empty()) return refuse(audioErrorFileFormat, stereoSamples, errorCode);
    // Silent: libopenmpt would otherwise report its probing on standard error.
    openmpt_module* module =
        openmpt_module_create_from_memory2(bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr,
                                           openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
    if (module == nullptr) {
        return refuse(sampledSoundTooLong(bytes) ? audioErrorTooLong : audioErrorFileFormat, stereoSamples, errorCode);
    }
    Converter converter = {};
    if (!openConverter(&converter, audioOutputChannels, renderRate, outputRate, stereoSamples)) {
        openmpt_module_destroy(module);
        return refuse(audioErrorFileFormat, stereoSamples, errorCode);
    }
    openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_VOLUMERAMPING_STRENGTH,
                                    rampVolume ? moduleRampDefault : moduleRampOff);
    // Played once through; looping replays the rendered sound from its start.
    openmpt_module_set_repeat_count(module, 0);
    const double songSeconds = openmpt_module_get_duration_seconds(module);
    bool tooLong = !(songSeconds <= longestDecodedSeconds);
    // A module rendered for looping stops at the song's end, before libopenmpt's fade-out.
    const uint64_t songFrames = tooLong ? 0 : static_cast<uint64_t>(std::llround(songSeconds * renderRate));
    bool ok = true;
    // Rendered as floats and rounded here, like the sampled sounds: libopenmpt's
    // own 16-bit output is dithered, so two renderings would differ.
    float block[decodeBlockFrames * audioOutputChannels];
    int16_t samples[decodeBlockFrames * audioOutputChannels];
    try {
        reserveOutput(&converter, songFrames);
        size_t want = decodeBlockFrames;
        size_t got = 0;
        while (ok && !tooLong && want > 0 &&
               (got = openmpt_module_read_interleaved_float_stereo(module, static_cast<int32_t>(renderRate), want,
                                                                   block)) > 0) {
            for (size_t i = 0; i < got * audioOutputChannels; ++i) {
                samples[i] = floatToInt16(block[i]);
            }
            ok = convertBlock(&converter, samples, got);
            tooLong = converter.inFrames > longestFrames(renderRate);
            if (loop && songFrames > 0) {
                want = static_cast<size_t>(
                    std::min<uint64_t>(decodeBlockFrames, songFrames - std::min(songFrames, converter.inFrames)));
            }
        }
    } catch (const std::bad_alloc&) {
        openmpt_module_destroy(module);
        closeConverter(&converter);
        return refuse(audioErrorMemory, stereoSamples, errorCode);
    }
    openmpt_module_destroy(module);
    return finishDecode(&converter, ok, tooLong, errorCode);
}

bool decodeMusicFile(const char* path, uint32_t outputRate, std::vector<int16_t>* stereoSamples, int* errorCode)
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
