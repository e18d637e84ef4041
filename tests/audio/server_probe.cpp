// Probe for the sound-server tests: makes a test music, dates a recording of a
// sink's monitor by when its bytes arrived, and follows the music through it.
//   server_probe make-music OUT.wav SECONDS   band-limited noise that never repeats
//   server_probe now                          the monotonic clock, in ms
//   server_probe stamp OUT LOG                copies stdin to OUT; LOG gets "T bytes" per read
//   server_probe follow MUSIC RECORDING RATE STAMPLOG CLOCKLOG   (see followMusic)
//   server_probe server-kind                  which server the audio layer finds, and how long it took
#include "platform/audio_decode.h"
#include "platform/pulse_server.h"
#include "recording_dating.h"
#include "test_sounds.h"

#include <sndfile.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

constexpr size_t stampBlockBytes = 1 << 16;
constexpr double msPerSecond = 1000.0;

double monotonicMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * msPerSecond + t.tv_nsec / 1e6;
}

int makeMusic(const char* path, double seconds)
{
    const int frames = static_cast<int>(seconds * testRate);
    if (!writeSoundFile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, testRate, 2, noiseSignal(frames, testRate, 2))) {
        std::fprintf(stderr, "cannot write %s: %s\n", path, sf_strerror(nullptr));
        return 1;
    }
    return 0;
}

// The arrival time of every read is logged right after it returns, on the
// clock the demo's clock probe uses, so recording frames can be dated.
int stamp(const char* outPath, const char* logPath)
{
    std::FILE* out = std::fopen(outPath, "wb");
    std::FILE* log = std::fopen(logPath, "w");
    if (out == nullptr || log == nullptr) return 1;
    static char block[stampBlockBytes];
    unsigned long long total = 0;
    ssize_t got = 0;
    while ((got = read(0, block, sizeof block)) > 0) {
        const double at = monotonicMs();
        std::fwrite(block, 1, static_cast<size_t>(got), out);
        total += static_cast<unsigned long long>(got);
        std::fprintf(log, "%.3f %llu\n", at, total);
        std::fflush(out);
        std::fflush(log);
    }
    std::fclose(out);
    std::fclose(log);
    return 0;
}

// Prints one line: "origin onset music0 unbroken_ms min_correlation worst_lag
// drift_ms recording_start break call stray" where origin is demo time 0 on the monotonic clock,
// onset when the first sound was heard, music0 the offset of music time 0 from
// demo time 5 000 (ms), worst_lag the farthest the music moved from one
// window to the next (frames), drift_ms how far music time 0 had moved by the last window
// that still followed the music, counted in the sink's own frames (a recorder that
// falls behind for a moment delays its reads, not the music), recording_start when the recording's frame 0 was,
// break what ended the run of music (none, dropout, jump, lost) and when, and
// call how long after demo time 5 000 the idle loop first read the clock past it
// and so started the music (ms), and stray how far the recorder's own stream strayed
// from its clock (ms): more than a little, and the server itself faltered.
int followMusic(const char* musicPath, const char* recordingPath, int rate, const char* stampPath,
                const char* clockPath)
{
    std::vector<int16_t> music;
    int error = 0;
    // At its own rate (the test music's): the layer plays it unconverted at 44.1 kHz.
    if (!decodeMusicFile(musicPath, testRate, &music, &error)) {
        std::fprintf(stderr, "cannot decode %s (code %d)\n", musicPath, error);
        return 1;
    }
    const Follow follow = followRecording(music, testRate, readRecording(recordingPath), rate);
    const std::vector<ArrivalStamp> stamps = readStamps(stampPath);
    DemoClockLog clock;
    if (!readDemoClock(clockPath, &clock) || stamps.empty()) {
        std::fprintf(stderr, "no clock log or no arrival stamps\n");
        return 1;
    }
    if (!follow.found) {
        std::printf("%.3f -1 0 0 0 0 0 %.3f lost@0 0 %.3f\n", clock.originMs, frameTimeMs(stamps, 0, rate),
                    recorderStrayMs(stamps, rate));
        return 1;
    }
    const double musicZero = frameTimeMs(stamps, follow.zeroFrame, rate);
    // How far music time 0 lies from where the first window put it, as seen from the
    // last window that followed the music.
    const double driftMs = (follow.endFrame - follow.zeroFrame - follow.endMusicFrame) * msPerSecond / rate;
    static const char* const kinds[] = {"none", "dropout", "jump", "lost"};
    const double breakMs = follow.breakFrame < 0 ? 0.0 : frameTimeMs(stamps, follow.breakFrame, rate) - clock.originMs;
    const double startMs = clock.originMs + demoMusicStartMs;
    std::printf("%.3f %.3f %.3f %.1f %.3f %lld %.3f %.3f %s@%.0f %.3f %.3f\n", clock.originMs,
                frameTimeMs(stamps, follow.onsetFrame, rate), musicZero - startMs,
                follow.unbrokenFrames * msPerSecond / rate, follow.worstCorrelation,
                static_cast<long long>(follow.worstLag), driftMs, frameTimeMs(stamps, 0, rate),
                kinds[static_cast<int>(follow.breakKind)], breakMs,
                clock.musicCallMs < 0 ? 0.0 : clock.musicCallMs - startMs, recorderStrayMs(stamps, rate));
    return 0;
}

// "pulseaudio", "pipewire" or "unknown", then the ms the asking took.
int serverKind()
{
    static const char* const names[] = {"unknown", "pulseaudio", "pipewire"};
    const double before = monotonicMs();
    const SoundServer server = askPulseServer();
    std::printf("%s %.1f\n", names[static_cast<int>(server)], monotonicMs() - before);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "make-music") == 0) return makeMusic(argv[2], std::atof(argv[3]));
    if (argc == 2 && std::strcmp(argv[1], "now") == 0) {
        std::printf("%.3f\n", monotonicMs());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "server-kind") == 0) return serverKind();
    if (argc == 4 && std::strcmp(argv[1], "stamp") == 0) return stamp(argv[2], argv[3]);
    if (argc == 7 && std::strcmp(argv[1], "follow") == 0) {
        return followMusic(argv[2], argv[3], std::atoi(argv[4]), argv[5], argv[6]);
    }
    std::fprintf(stderr, "usage: server_probe make-music OUT SECONDS | now | stamp OUT LOG |"
                         " follow MUSIC RECORDING RATE STAMPLOG CLOCKLOG | server-kind\n");
    return 2;
}
