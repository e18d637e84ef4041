// Synthesises the demo's music from its score and writes it as WAV and as MP3.
// Usage: content_music <out.mp3> <out.wav>
#include "beat_grid.h"
#include "loudness.h"
#include "mixdown.h"
#include "score.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int channels = 2;
constexpr int bitsPerSample = 16;
constexpr int mp3KilobitsPerSecond = 192;
constexpr int lameQuality = 2; // 0 best .. 9 fastest

void putLe32(std::vector<unsigned char>* out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void putLe16(std::vector<unsigned char>* out, uint16_t v)
{
    out->push_back(static_cast<unsigned char>(v));
    out->push_back(static_cast<unsigned char>(v >> 8));
}

bool writeFile(const char* path, const std::vector<unsigned char>& bytes)
{
    FILE* f = std::fopen(path, "wb");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<unsigned char> wavBytes(const std::vector<int16_t>& pcm)
{
    constexpr uint32_t formatChunkSize = 16;
    constexpr uint16_t pcmFormat = 1;
    constexpr uint32_t headerRest = 36;
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * sizeof(int16_t));
    std::vector<unsigned char> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    putLe32(&out, headerRest + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe32(&out, formatChunkSize);
    putLe16(&out, pcmFormat);
    putLe16(&out, channels);
    putLe32(&out, sampleRate);
    putLe32(&out, sampleRate * channels * bitsPerSample / 8);
    putLe16(&out, channels * bitsPerSample / 8);
    putLe16(&out, bitsPerSample);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    putLe32(&out, dataBytes);
    for (int16_t s : pcm) putLe16(&out, static_cast<uint16_t>(s));
    return out;
}

// Constant-bit-rate MP3 with a LAME info tag in its first frame, which tells decoders
// the encoder's delay and padding so they can return the sound sample-exact. No ID3 tag.
bool mp3Bytes(const std::vector<int16_t>& pcm, std::vector<unsigned char>* out)
{
    constexpr int chunkFrames = 8192;
    lame_global_flags* lame = lame_init();
    if (!lame) return false;
    lame_set_in_samplerate(lame, sampleRate);
    lame_set_out_samplerate(lame, sampleRate);
    lame_set_num_channels(lame, channels);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, mp3KilobitsPerSecond);
    lame_set_quality(lame, lameQuality);
    lame_set_bWriteVbrTag(lame, 1);
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return false;
    }
    const int frames = static_cast<int>(pcm.size() / channels);
    std::vector<unsigned char> buffer(static_cast<size_t>(1.25 * chunkFrames + 7200));
    out->clear();
    for (int done = 0; done < frames; done += chunkFrames) {
        const int count = std::min(chunkFrames, frames - done);
        const int n = lame_encode_buffer_interleaved(lame, const_cast<short*>(pcm.data() + done * channels), count,
                                                     buffer.data(), static_cast<int>(buffer.size()));
        if (n < 0) {
            lame_close(lame);
            return false;
        }
        out->insert(out->end(), buffer.begin(), buffer.begin() + n);
    }
    const int n = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
    if (n < 0) {
        lame_close(lame);
        return false;
    }
    out->insert(out->end(), buffer.begin(), buffer.begin() + n);
    // The encoder left room for the tag in the first frame; fill it in now that the
    // stream's length and padding are known.
    std::vector<unsigned char> tag(buffer.size());
    const size_t tagSize = lame_get_lametag_frame(lame, tag.data(), tag.size());
    lame_close(lame);
    if (tagSize == 0 || tagSize > out->size()) return false;
    std::memcpy(out->data(), tag.data(), tagSize);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <out.mp3> <out.wav>\n", argv[0]);
        return 2;
    }
    const std::vector<NoteEvent> score = buildScore();
    StereoBuffer mix = mixScore(score, trackSamples, musicSeed);
    masterTrack(&mix, targetLoudnessLufs, peakCeilingDb);
    const double loudness = integratedLoudness(mix.left.data(), mix.right.data(), trackSamples, sampleRate);
    const double peak = truePeak(mix.left.data(), mix.right.data(), trackSamples);
    std::printf("%zu notes, %.3f s, %.2f LUFS, true peak %.2f dBTP\n", score.size(),
                static_cast<double>(trackSamples) / sampleRate, loudness, 20.0 * std::log10(peak));
    const std::vector<int16_t> pcm = toPcm16(mix);
    if (!writeFile(argv[2], wavBytes(pcm))) return 1;
    std::vector<unsigned char> mp3;
    if (!mp3Bytes(pcm, &mp3)) {
        std::fprintf(stderr, "MP3 encoding failed\n");
        return 1;
    }
    return writeFile(argv[1], mp3) ? 0 : 1;
}
