// The hostile music files and what the decoder makes of each.
#include "hostile_music_cases.h"

#include "platform/audio.h"
#include "platform/audio_decode.h"
#include "test_sounds.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <random>

Maker sound(int format, int rate, int channels, int frames)
{
    return [=](const std::string& path) {
        return writeSoundFile(path, format, rate, channels, testSignal(frames, rate, channels));
    };
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

namespace {

Maker bytes(const std::string& data)
{
    return [=](const std::string& path) { return writeTextFile(path, data); };
}

Maker randomBytes(size_t count)
{
    return [=](const std::string& path) {
        std::mt19937 random(7);
        std::string data(count, '\0');
        for (char& c : data) c = static_cast<char>(random());
        return writeTextFile(path, data);
    };
}

// A one-second MP3 cut to eighths of its length.
Maker truncatedMp3(int eighths)
{
    return [=](const std::string& path) {
        if (!sound(SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, testRate, 2, testRate)(path)) return false;
        const std::string whole = readAll(path);
        return writeTextFile(path, whole.substr(0, whole.size() * eighths / 8));
    };
}

// The same MP3 behind a 16 MiB ID3v2 tag of padding (its size in 7-bit bytes).
Maker mp3WithHugeTag()
{
    return [](const std::string& path) {
        if (!sound(SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, testRate, 2, testRate)(path)) return false;
        const uint32_t tagBytes = 16u << 20;
        std::string tag = "ID3";
        tag += {'\x04', '\x00', '\x00'};
        for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>((tagBytes >> shift) & 0x7f);
        tag += std::string(tagBytes, '\0');
        return writeTextFile(path, tag + readAll(path));
    };
}

// A WAV header for 8-bit mono at 8 kHz whose data chunk says dataBytes, followed by fileBytes of silence.
Maker wav8BitClaiming(uint32_t dataBytes, uint32_t fileBytes)
{
    return [=](const std::string& path) {
        auto le = [](uint32_t v, int n) {
            std::string out;
            for (int i = 0; i < n; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
            return out;
        };
        const uint32_t rate = 8000;
        std::string wav = "RIFF" + le(36 + dataBytes, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(rate, 4) +
                          le(rate, 4) + le(1, 2) + le(8, 2) + "data" + le(dataBytes, 4);
        return writeTextFile(path, wav + std::string(fileBytes, '\x80'));
    };
}

// A file of the given size that holds nothing: a sparse hole.
Maker sparse(uint64_t size)
{
    return [=](const std::string& path) {
        return writeTextFile(path, "") && truncate(path.c_str(), static_cast<off_t>(size)) == 0;
    };
}

// A short WAV nobody may read (but root, who reads any file).
Maker unreadable()
{
    return [](const std::string& path) { return sound(pcm16, testRate, 2, 100)(path) && chmod(path.c_str(), 0) == 0; };
}

Maker module(ModuleShape shape)
{
    return [=](const std::string& path) { return writeTestModule(path, shape); };
}

// 31 minutes of 8-bit mono at 8 kHz is 14 880 000 bytes, one minute over the bound.
constexpr uint32_t thirtyOneMinutesAt8k = 31 * 60 * 8000;

} // namespace

extern const HostileCase hostileCases[] = {
    {"empty", bytes(""), audioErrorFileFormat, 0},
    {"random bytes", randomBytes(4096), audioErrorFileFormat, 0},
    {"text", bytes("not music at all\n"), audioErrorFileFormat, 0},
    {"mp3 cut at 0/8", truncatedMp3(0), audioErrorFileFormat, 0},
    {"mp3 cut at 1/8", truncatedMp3(1), audioOk, refusedOrPlays},
    {"mp3 cut at 2/8", truncatedMp3(2), audioOk, refusedOrPlays},
    {"mp3 cut at 3/8", truncatedMp3(3), audioOk, refusedOrPlays},
    {"mp3 cut at 4/8", truncatedMp3(4), audioOk, refusedOrPlays},
    {"mp3 cut at 5/8", truncatedMp3(5), audioOk, refusedOrPlays},
    {"mp3 cut at 6/8", truncatedMp3(6), audioOk, refusedOrPlays},
    {"mp3 cut at 7/8", truncatedMp3(7), audioOk, refusedOrPlays},
    {"mp3 behind a 16 MiB tag", mp3WithHugeTag(), audioOk, playsAnyLength},
    // One frame lasts 44100 / rate output frames, rounded: nothing left from 96 kHz up.
    {"1 frame at 8 kHz", sound(pcm16, 8000, 2, 1), audioOk, 6},
    {"1 frame at 11025 Hz", sound(pcm16, 11025, 2, 1), audioOk, 4},
    {"1 frame at 16 kHz", sound(pcm16, 16000, 2, 1), audioOk, 3},
    {"1 frame at 22050 Hz", sound(pcm16, 22050, 2, 1), audioOk, 2},
    {"1 frame at 32 kHz", sound(pcm16, 32000, 2, 1), audioOk, 1},
    {"1 frame at 44100 Hz", sound(pcm16, 44100, 2, 1), audioOk, 1},
    {"1 frame at 48 kHz", sound(pcm16, 48000, 2, 1), audioOk, 1},
    {"1 frame at 88200 Hz", sound(pcm16, 88200, 2, 1), audioOk, 1},
    {"1 frame at 96 kHz", sound(pcm16, 96000, 2, 1), audioErrorFileFormat, 0},
    {"1 frame at 176400 Hz", sound(pcm16, 176400, 2, 1), audioErrorFileFormat, 0},
    {"1 frame at 192 kHz", sound(pcm16, 192000, 2, 1), audioErrorFileFormat, 0},
    // Rates beyond what any real file has are refused before the resampler sees them.
    {"1 s at 1000 Hz", sound(pcm16, 1000, 2, 1000), audioOk, 44100},
    {"2 Hz", sound(pcm16, 2, 2, 4), audioErrorFileFormat, 0},
    {"4.2 MHz", sound(pcm16, 4200000, 2, 4200), audioErrorFileFormat, 0},
    // Half a second in each shape: 22 050 frames once converted.
    {"mono wav", sound(pcm16, 22050, 1, 11025), audioOk, 22050},
    {"6-channel wav", sound(pcm16, 22050, 6, 11025), audioOk, 22050},
    {"8-channel wav", sound(pcm16, 22050, 8, 11025), audioOk, 22050},
    // More channels than the converter takes; 256 once crashed it (a count of 0 to SDL).
    {"9-channel wav", sound(pcm16, 22050, 9, 100), audioErrorFileFormat, 0},
    {"256-channel wav", sound(pcm16, 22050, 256, 100), audioErrorFileFormat, 0},
    {"8-bit wav", sound(SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 22050, 2, 11025), audioOk, 22050},
    {"24-bit wav", sound(SF_FORMAT_WAV | SF_FORMAT_PCM_24, 22050, 2, 11025), audioOk, 22050},
    {"float wav", sound(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 22050, 2, 11025), audioOk, 22050},
    {"8 kHz wav", sound(pcm16, 8000, 2, 4000), audioOk, 22050},
    {"8 kHz flac", sound(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 8000, 2, 4000), audioOk, 22050},
    {"8 kHz ogg", sound(SF_FORMAT_OGG | SF_FORMAT_VORBIS, 8000, 1, 4000), audioOk, 22050},
    {"31 minutes", wav8BitClaiming(thirtyOneMinutesAt8k, thirtyOneMinutesAt8k), audioErrorTooLong, 0},
    // A header that claims 2 GB over 8000 bytes of data: the data is what plays.
    {"wav claiming more than it holds", wav8BitClaiming(2000000000u, 8000), audioOk, 44100},
    {"module with 0 orders", module({0, true, false}), audioOk, refusedOrPlays},
    {"module with 0 samples", module({1, false, false}), audioOk, playsAnyLength},
    {"module that loops for ever", module({1, true, true}), audioOk, playsAnyLength},
    // Not a readable regular file: refused at once, a FIFO with no writer included.
    {"missing", [](const std::string&) { return true; }, audioErrorFileOpen, 0},
    {"a directory", [](const std::string& p) { return mkdir(p.c_str(), 0755) == 0; }, audioErrorFileOpen, 0},
    {"a FIFO", [](const std::string& p) { return mkfifo(p.c_str(), 0644) == 0; }, audioErrorFileOpen, 0},
    {"unreadable", unreadable(), geteuid() == 0 ? audioOk : audioErrorFileOpen, geteuid() == 0 ? 100 : 0},
    // Too big to be music: refused by its size, never read.
    {"3 GiB sparse", sparse(uint64_t{3} << 30), audioErrorTooLong, 0},
    {"256 MiB and a byte", sparse(longestEncodedBytes + 1), audioErrorTooLong, 0},
};
const size_t hostileCaseCount = std::size(hostileCases);
