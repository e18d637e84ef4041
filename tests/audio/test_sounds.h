// Sound files made by the audio tests, and reading back what the disk driver recorded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int testRate = 44100;

// Interleaved 16-bit samples that never repeat over a test's length: a rising
// chirp on the left, two unrelated tones on the right (the same on every
// channel but scaled per channel when there are more than two).
std::vector<int16_t> testSignal(int frames, int rate, int channels);

// Noise low-passed to a few kHz, different on every channel, that never repeats
// over a test's length: it matches itself only where it lines up exactly.
std::vector<int16_t> noiseSignal(int frames, int rate, int channels);

// A sine of the given frequency on every channel.
std::vector<int16_t> sineSignal(int frames, int rate, int channels, double hz, double amplitude);

// Writes samples with libsndfile; format is a libsndfile major|minor format.
bool writeSoundFile(const std::string& path, int format, int rate, int channels, const std::vector<int16_t>& samples);

// A four-channel ProTracker module: one pattern, two looping square-wave notes
// from row 0, a pattern break on row 3 that ends the song (about 0.48 s). A shape
// bends it: its order count, its one sample emptied, or a jump back to the start
// with a pattern loop on row 0 instead of the song's end.
struct ModuleShape {
    int orders = 1;
    bool withSample = true;
    bool loopsForever = false;
};
bool writeTestModule(const std::string& path, const ModuleShape& shape = ModuleShape{});

bool writeTextFile(const std::string& path, const std::string& text);

// The disk driver's raw output: interleaved 16-bit stereo.
std::vector<int16_t> readRecording(const std::string& path);

// The first frame at or after from in which either side is not zero, or the frame count.
size_t firstSoundFrame(const std::vector<int16_t>& stereo, size_t from = 0);

// How many frames of recording from recordingFrame on equal sound from
// soundFrame on, continuing from the sound's start when looping.
size_t matchingFrames(const std::vector<int16_t>& recording, size_t recordingFrame, const std::vector<int16_t>& sound,
                      size_t soundFrame, bool loop);

// A fresh directory under TMPDIR, removed with removeDirectory.
std::string makeTempDirectory();
void removeDirectory(const std::string& path);
