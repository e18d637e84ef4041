// The real audio layer on SDL's disk driver: what it plays lands in a file,
// which must be silence and then exactly the decoded sound from the position on.
#include "app/music.h"
#include "platform/audio.h"
#include "platform/audio_decode.h"
#include "platform/audio_mixer.h"
#include "recording_platform.h"
#include "test_sounds.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

constexpr uint64_t demoStartPosition = 5001; // a byte position past a whole frame
// 5001 bytes are frame 1250, heard at the call. What the disk driver has taken
// is written already, so the sound starts with the next buffer it asks for, as
// far in as the time since the buffer before it began: under one 1 024-frame buffer.
constexpr size_t demoStartFrame = 1250;
constexpr size_t diskBufferFrames = 1024;
constexpr int recordMs = 500; // the recording runs on past the call
constexpr uint32_t streamLoop = audioSampleLoop;
constexpr uint32_t moduleFlags = audioMusicRamp | audioSampleLoop;
constexpr int pcm16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
constexpr uint64_t noPosition = ~uint64_t{0}; // played alone: the sound starts from its beginning

std::vector<int16_t> decoded(const std::string& path)
{
    std::vector<int16_t> sound;
    int error = audioOk;
    EXPECT_TRUE(decodeMusicFile(path.c_str(), testRate, &sound, &error)) << path << " code " << error;
    return sound;
}

struct DiskAudio : ::testing::Test {
    std::string dir;
    std::string recordingPath;

    void SetUp() override
    {
        dir = makeTempDirectory();
        ASSERT_FALSE(dir.empty());
        recordingPath = dir + "/recording.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", recordingPath.c_str(), 1);
    }

    void TearDown() override
    {
        audio.free();
        removeDirectory(dir);
    }

    std::string path(const char* name) const { return dir + "/" + name; }

    // Plays the sound, from the byte position unless noPosition, for a while and returns what was heard.
    std::vector<int16_t> record(uint32_t handle, uint64_t position, int ms = recordMs)
    {
        audio.channelPlay(handle, 0);
        if (position != noPosition) audio.channelSetPosition(handle, position, audioPosByte);
        SDL_Delay(ms);
        audio.free(); // closes the recording file
        return readRecording(recordingPath);
    }
};

// The recording is silence, then the decoded sound from a frame between `from`
// and `from + lead` on (wrapping when looping, silence after its end when not),
// for at least minFrames.
void expectPlayedFrom(const std::vector<int16_t>& recording, const std::vector<int16_t>& decoded, size_t from,
                      bool loop, size_t minFrames, size_t lead = diskBufferFrames)
{
    const size_t frames = recording.size() / 2;
    const size_t onset = firstSoundFrame(recording);
    ASSERT_LT(onset, frames) << "nothing was heard";
    size_t soundStart = firstSoundFrame(decoded, from);
    size_t matched = 0;
    for (size_t start = soundStart; start <= from + lead && start < decoded.size() / 2; ++start) {
        const size_t matching = matchingFrames(recording, onset, decoded, start, loop);
        if (matching > matched) {
            matched = matching;
            soundStart = start;
        }
    }
    const size_t heard = frames - onset;
    EXPECT_GE(heard, minFrames);
    if (loop) {
        EXPECT_EQ(matched, heard) << "differs " << matched << " frames after the onset";
        return;
    }
    const size_t soundLeft = decoded.size() / 2 - soundStart;
    EXPECT_EQ(matched, std::min(heard, soundLeft)) << "differs " << matched << " frames after the onset";
    EXPECT_EQ(firstSoundFrame(recording, onset + soundLeft), frames) << "sound after the end";
}

double rms(const std::vector<int16_t>& samples)
{
    double sum = 0;
    for (int16_t s : samples) sum += static_cast<double>(s) * s;
    return std::sqrt(sum / std::max<size_t>(1, samples.size()));
}

// A sound file of the test signal, played through the layer: lossless files decode
// exactly, lossy ones close to the source. A loop wraps to its start, a one-shot ends
// in silence, and a play without a position starts from the beginning.
struct PlaybackCase {
    const char* label;
    const char* name;
    int format;
    int frames;
    double allowedError; // RMS of decoded minus source, relative to the source's RMS
    bool loop;
    uint64_t position;
    size_t minFrames; // heard at least, in the recordMs recording
};

class DiskAudioFiles : public DiskAudio, public ::testing::WithParamInterface<PlaybackCase> {};

TEST_P(DiskAudioFiles, PlayFromTheFrameOfThePosition)
{
    const PlaybackCase c = GetParam();
    const auto source = testSignal(c.frames, testRate, 2);
    const std::string file = path(c.name);
    ASSERT_TRUE(writeSoundFile(file, c.format, testRate, 2, source)) << sf_strerror(nullptr);

    const auto sound = decoded(file);
    ASSERT_EQ(sound.size(), source.size());
    std::vector<int16_t> difference(source.size());
    for (size_t i = 0; i < source.size(); ++i) difference[i] = static_cast<int16_t>(sound[i] - source[i]);
    EXPECT_LE(rms(difference), c.allowedError * rms(source));

    ASSERT_EQ(audio.init(audioDefaultDevice, testRate, 0, nullptr, nullptr), 1);
    const uint32_t handle = audio.streamCreateFile(0, file.c_str(), 0, 0, c.loop ? streamLoop : 0);
    ASSERT_NE(handle, 0u) << "code " << audio.errorGetCode();
    if (c.position == noPosition) {
        expectPlayedFrom(record(handle, c.position), sound, 0, c.loop, c.minFrames, 0);
    } else {
        expectPlayedFrom(record(handle, c.position), sound, demoStartFrame, c.loop, c.minFrames);
    }
}

constexpr int mp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
constexpr int ogg = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
constexpr int tenthFrames = testRate / 10;

INSTANTIATE_TEST_SUITE_P(
    Sounds, DiskAudioFiles,
    ::testing::Values(
        PlaybackCase{"Wav", "pcm.wav", pcm16, testRate, 0.0, true, demoStartPosition, testRate / 5},
        PlaybackCase{"Mp3", "lossy.mp3", mp3, testRate, 0.3, true, demoStartPosition, testRate / 5},
        PlaybackCase{"Ogg", "lossy.ogg", ogg, testRate, 0.3, true, demoStartPosition, testRate / 5},
        // Several times round a 0.1 s sound, or once and then silence.
        PlaybackCase{"ShortLoop", "short.wav", pcm16, tenthFrames, 0.0, true, demoStartPosition, testRate / 4},
        PlaybackCase{"ShortOnce", "short.wav", pcm16, tenthFrames, 0.0, false, demoStartPosition, testRate / 4},
        PlaybackCase{"PlayAlone", "pcm.wav", pcm16, testRate, 0.0, true, noPosition, testRate / 10}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(DiskAudio, MonoAt22050HzPlaysAtItsSpeedOnBothSides)
{
    constexpr int halfRate = testRate / 2;
    constexpr double toneHz = 441.0;
    constexpr double amplitude = 12000.0;
    const std::string file = path("mono.wav");
    ASSERT_TRUE(writeSoundFile(file, pcm16, halfRate, 1, sineSignal(halfRate, halfRate, 1, toneHz, amplitude)));
    const auto sound = decoded(file);
    EXPECT_EQ(sound.size(), static_cast<size_t>(testRate) * 2) << "one second at the device rate";

    ASSERT_EQ(audio.init(audioDefaultDevice, testRate, 0, nullptr, nullptr), 1);
    const uint32_t handle = audio.streamCreateFile(0, file.c_str(), 0, 0, streamLoop);
    const auto heard = record(handle, demoStartPosition);
    expectPlayedFrom(heard, sound, demoStartFrame, true, testRate / 5);

    const size_t onset = firstSoundFrame(heard);
    size_t crossings = 0;
    int peak = 0;
    for (size_t f = onset; f < heard.size() / 2; ++f) {
        ASSERT_EQ(heard[2 * f], heard[2 * f + 1]) << "frame " << f;
        peak = std::max(peak, std::abs(static_cast<int>(heard[2 * f])));
        if (f > onset && (heard[2 * f] >= 0) != (heard[2 * f - 2] >= 0)) ++crossings;
    }
    const double seconds = static_cast<double>(heard.size() / 2 - onset) / testRate;
    EXPECT_NEAR(crossings / 2.0 / seconds, toneHz, toneHz * 0.02);
    EXPECT_NEAR(peak, amplitude, amplitude * 0.03);
}

TEST_F(DiskAudio, AModulePlaysFromFrame1250AndLoops)
{
    const std::string file = path("tune.mod");
    ASSERT_TRUE(writeTestModule(file));
    const auto sound = decoded(file); // the module path: no stream decoder reads it
    // Four rows at speed 6, 125 BPM: 0.48 s, cut at the song's end for looping.
    EXPECT_EQ(sound.size() / 2, static_cast<size_t>(0.48 * testRate));
    EXPECT_GT(rms(sound), 1000.0);

    ASSERT_EQ(audio.init(audioDefaultDevice, testRate, 0, nullptr, nullptr), 1);
    EXPECT_EQ(audio.streamCreateFile(0, file.c_str(), 0, 0, streamLoop), 0u);
    EXPECT_EQ(audio.errorGetCode(), audioErrorFileFormat);
    const uint32_t handle = audio.musicLoad(0, file.c_str(), 0, 0, moduleFlags, audioModuleAtDeviceRate);
    ASSERT_NE(handle, 0u) << "code " << audio.errorGetCode();
    EXPECT_EQ(audio.errorGetCode(), audioOk);
    // Long enough to go round once.
    expectPlayedFrom(record(handle, demoStartPosition, 700), sound, demoStartFrame, true, testRate / 2);
}

TEST(ModuleRendering, VolumeRampingSoftensTheNoteStarts)
{
    const std::string dir = makeTempDirectory();
    ASSERT_TRUE(writeTestModule(dir + "/tune.mod"));
    std::vector<unsigned char> bytes;
    int error = audioOk;
    ASSERT_TRUE(readSoundBytes(false, (dir + "/tune.mod").c_str(), 0, 0, &bytes, &error));
    removeDirectory(dir);
    std::vector<int16_t> ramped;
    std::vector<int16_t> hard;
    ASSERT_TRUE(decodeModuleSound(bytes, testRate, true, false, testRate, &ramped, &error));
    ASSERT_TRUE(decodeModuleSound(bytes, testRate, false, false, testRate, &hard, &error));
    ASSERT_EQ(ramped.size(), hard.size());
    // Over the first millisecond the ramped notes are still rising.
    const std::vector<int16_t> rampedStart(ramped.begin(), ramped.begin() + 2 * testRate / 1000);
    const std::vector<int16_t> hardStart(hard.begin(), hard.begin() + 2 * testRate / 1000);
    EXPECT_LT(rms(rampedStart), rms(hardStart));
    EXPECT_NE(ramped, hard);
}

TEST_F(DiskAudio, TheMixerRunningBetweenPlayAndPositionLetsNoEarlyFrameOut)
{
    // Three device buffers pass between the two calls, within the start hold. A
    // machine that stalls this thread past the hold rightly lets the start sound;
    // that try proves nothing, so it is made again.
    constexpr Uint32 threeDeviceBuffersMs = 70;
    constexpr int tries = 5;
    for (int attempt = 1; attempt <= tries; ++attempt) {
        const std::string file = path("music.wav");
        ASSERT_TRUE(writeSoundFile(file, pcm16, testRate, 2, testSignal(testRate, testRate, 2)));
        const auto sound = decoded(file);
        ASSERT_EQ(audio.init(audioDefaultDevice, testRate, 0, nullptr, nullptr), 1);
        const uint32_t handle = audio.streamCreateFile(0, file.c_str(), 0, 0, streamLoop);
        const Uint64 played = SDL_GetTicks64();
        audio.channelPlay(handle, 0);
        SDL_Delay(threeDeviceBuffersMs);
        const Uint64 positionedAfterMs = SDL_GetTicks64() - played;
        audio.channelSetPosition(handle, demoStartPosition, audioPosByte);
        SDL_Delay(recordMs);
        audio.free();
        if (positionedAfterMs < playStartHoldMs || attempt == tries) {
            ASSERT_LT(positionedAfterMs, playStartHoldMs) << "stalled past the hold on every try";
            expectPlayedFrom(readRecording(recordingPath), sound, demoStartFrame, true, testRate / 5);
            return;
        }
    }
}

TEST_F(DiskAudio, UnplayableMusicTakesTheCantPlayPathAndFreesTheDevice)
{
    struct Case {
        const char* name;
        const char* content; // nullptr: no music file at all
        int expectedCode;
    };
    const Case cases[] = {
        {"missing", nullptr, audioErrorFileOpen},
        {"empty", "", audioErrorFileFormat},
        {"text", "These are the liner notes, not the music.\nTrack 1: Glasswind\n", audioErrorFileFormat},
    };
    const std::filesystem::path before = std::filesystem::current_path();
    for (const Case& c : cases) {
        const std::string root = path(c.name);
        std::filesystem::create_directories(root + "/data");
        if (c.content != nullptr) {
            ASSERT_TRUE(writeTextFile(root + "/data/glasswind.mp3", c.content));
        }
        std::filesystem::current_path(root);
        {
            PlatformRecorder recorder;
            audio = systemAudio;
            int exitCode = -1;
            try {
                startAudio();
            } catch (const ProcessExit& exit) {
                exitCode = exit.code;
            }
            EXPECT_EQ(exitCode, 0) << c.name;
            EXPECT_EQ(
                recording().messages,
                (std::vector<std::string>{"Can't play file\n(error code: " + std::to_string(c.expectedCode) + ")"}))
                << c.name;
            // The device was released: freeing again finds nothing open.
            EXPECT_EQ(audio.free(), 0) << c.name;
            EXPECT_EQ(audio.errorGetCode(), audioErrorInit) << c.name;
        }
        std::filesystem::current_path(before);
    }
}

TEST(AudioDevice, NoDeviceAndNoInitGiveTheirCodes)
{
    EXPECT_EQ(audio.streamCreateFile(0, "data/glasswind.mp3", 0, 0, streamLoop), 0u);
    EXPECT_EQ(audio.errorGetCode(), audioErrorInit);
    EXPECT_EQ(audio.channelPlay(1, 0), 0);
    EXPECT_EQ(audio.errorGetCode(), audioErrorInit);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(audio.init(audioDefaultDevice, testRate, 0, nullptr, nullptr), 0);
    EXPECT_EQ(audio.errorGetCode(), audioErrorDevice);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(audio.init(audioDefaultDevice, testRate, 0, nullptr, nullptr), 1);
    EXPECT_EQ(audio.init(audioDefaultDevice, testRate, 0, nullptr, nullptr), 0);
    EXPECT_EQ(audio.errorGetCode(), audioErrorAlready);
    EXPECT_EQ(audio.free(), 1);
}

char exitRecordingPath[4096];

// Runs after the layer's own exit hook (hooks run last-registered first): by
// then the audio thread must have stopped, so the recording no longer grows.
void failWhenTheAudioThreadStillRuns()
{
    constexpr Uint32 twoDeviceBuffersMs = 60;
    constexpr int stillRunningCode = 3;
    const auto before = std::filesystem::file_size(exitRecordingPath);
    SDL_Delay(twoDeviceBuffersMs);
    if (std::filesystem::file_size(exitRecordingPath) != before) std::_Exit(stillRunningCode);
}

// The demo ends with exit(0) from its callbacks while the music plays.
TEST(AudioExit, ExitWhileTheMusicPlaysStopsTheAudioThreadFirst)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string dir = makeTempDirectory();
    const std::string file = dir + "/music.wav";
    ASSERT_TRUE(writeSoundFile(file, pcm16, testRate, 2, testSignal(testRate, testRate, 2)));
    const std::string recordingPath = dir + "/recording.raw";
    std::snprintf(exitRecordingPath, sizeof exitRecordingPath, "%s", recordingPath.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", recordingPath.c_str(), 1);
    for (int delayMs : {0, 3, 11, 29}) {
        EXPECT_EXIT(
            {
                std::atexit(failWhenTheAudioThreadStillRuns);
                audio.init(audioDefaultDevice, testRate, 0, nullptr, nullptr);
                const uint32_t handle = audio.streamCreateFile(0, file.c_str(), 0, 0, streamLoop);
                audio.channelPlay(handle, 0);
                audio.channelSetPosition(handle, demoStartPosition, audioPosByte);
                SDL_Delay(static_cast<Uint32>(delayMs));
                std::exit(0);
            },
            ::testing::ExitedWithCode(0), "")
            << "exit after " << delayMs << " ms";
    }
    removeDirectory(dir);
}

// Holds the lock of every device the layer may have opened (SDL numbers them
// from 2) and never lets go: the audio thread then blocks before its next callback.
void holdEveryDeviceLock()
{
    constexpr SDL_AudioDeviceID firstDevice = 2;
    constexpr SDL_AudioDeviceID lastDevice = 16;
    std::thread([] {
        for (SDL_AudioDeviceID id = firstDevice; id <= lastDevice; ++id) SDL_LockAudioDevice(id);
        for (;;) SDL_Delay(1000);
    }).detach();
}

// An audio thread that never comes back cannot hold the exit up: the process
// still ends, with its own status, soon after the wait limit.
TEST(AudioExit, AStuckAudioThreadCannotHoldTheExitUp)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    constexpr unsigned hangLimitSeconds = 5; // the child is killed if the exit hangs
    constexpr int exitStatus = 7;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EXIT(
        {
            alarm(hangLimitSeconds);
            audio.init(audioDefaultDevice, testRate, 0, nullptr, nullptr);
            holdEveryDeviceLock();
            SDL_Delay(100);
            std::exit(exitStatus);
        },
        ::testing::ExitedWithCode(exitStatus), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

} // namespace
