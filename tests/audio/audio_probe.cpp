// Test probe for the end-to-end music tests:
//   audio_probe make-music OUT.mp3 SECONDS   writes a test music (sound from its first frame)
//   audio_probe find-music MUSIC RECORDING   finds the music in a disk-driver recording and
//     prints "onset_frame music_frame matched_frames heard_frames recorded_frames";
//     exits 0 only when everything heard is the music, played on from music_frame.
//   audio_probe make-hostile DIR            writes each file of the hostile music table
//     into DIR, named by its label, for the Windows build to decode the same
#include "hostile_music_cases.h"
#include "platform/audio_decode.h"
#include "test_sounds.h"

#include <sndfile.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Frames compared when looking for where in the music the recording starts.
constexpr size_t searchFrames = 256;

int makeMusic(const char* path, double seconds)
{
    const int frames = static_cast<int>(seconds * testRate);
    if (!writeSoundFile(path, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, testRate, 2,
                        testSignal(frames, testRate, 2))) {
        std::fprintf(stderr, "cannot write %s: %s\n", path, sf_strerror(nullptr));
        return 1;
    }
    return 0;
}

int findMusic(const char* musicPath, const char* recordingPath)
{
    std::vector<int16_t> music;
    int error = 0;
    if (!decodeMusicFile(musicPath, testRate, &music, &error)) {
        std::fprintf(stderr, "cannot decode %s (code %d)\n", musicPath, error);
        return 1;
    }
    const std::vector<int16_t> recording = readRecording(recordingPath);
    const size_t frames = recording.size() / 2;
    const size_t onset = firstSoundFrame(recording);
    if (onset == frames) {
        std::printf("%zu -1 0 0 %zu\n", onset, frames);
        return 1;
    }
    // The music frame the recording starts with: the one that matches longest.
    size_t bestFrame = 0;
    size_t bestMatch = 0;
    for (size_t m = 0; m < music.size() / 2 && bestMatch < searchFrames; ++m) {
        const size_t matched = matchingFrames(recording, onset, music, m, true);
        if (matched > bestMatch) {
            bestMatch = matched;
            bestFrame = m;
        }
    }
    const size_t matched = matchingFrames(recording, onset, music, bestFrame, true);
    const size_t heard = frames - onset;
    std::printf("%zu %zu %zu %zu %zu\n", onset, bestFrame, matched, heard, frames);
    return matched == heard ? 0 : 1;
}

int makeHostile(const std::string& dir)
{
    for (size_t i = 0; i < hostileCaseCount; ++i) {
        std::string name;
        for (const char* c = hostileCases[i].label; *c != '\0'; ++c) {
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        }
        if (!hostileCases[i].make(dir + "/" + name + ".mp3")) {
            std::fprintf(stderr, "cannot make the hostile file '%s'\n", hostileCases[i].label);
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "make-music") == 0) {
        return makeMusic(argv[2], std::atof(argv[3]));
    }
    if (argc == 4 && std::strcmp(argv[1], "find-music") == 0) {
        return findMusic(argv[2], argv[3]);
    }
    if (argc == 3 && std::strcmp(argv[1], "make-hostile") == 0) {
        return makeHostile(argv[2]);
    }
    std::fprintf(stderr, "usage: audio_probe make-music OUT.mp3 SECONDS | find-music MUSIC RECORDING | "
                         "make-hostile DIR\n");
    return 2;
}
