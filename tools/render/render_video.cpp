// --video and --audio: the sound track placed under the frames, ffmpeg fed through a
// pipe, and a split render joined from segments without encoding them again.
#include "render_modes.h"

#include "app/music.h"
#include "atomic_file.h"
#include "ffmpeg_command.h"
#include "app/steady_clock.h"
#include "platform/audio_decode.h"
#include "sound_file.h"
#include "sound_track.h"
#include "tool_system.h"
#include "video_pipe.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool writeSoundTrack(const std::vector<int16_t>& track, PendingFile* file, std::string* error)
{
    if (!openScratch("glasswind-render-sound.raw", file, error)) {
        return false;
    }
    // 16-bit little-endian, whatever this machine's byte order.
    constexpr size_t bytesPerSample = 2;
    constexpr unsigned lowByte = 0xFF;
    constexpr unsigned bitsPerByte = 8;
    std::vector<uint8_t> bytes(track.size() * bytesPerSample);
    for (size_t i = 0; i < track.size(); ++i) {
        const uint16_t sample = static_cast<uint16_t>(track[i]);
        bytes[bytesPerSample * i] = static_cast<uint8_t>(sample & lowByte);
        bytes[bytesPerSample * i + 1] = static_cast<uint8_t>(sample >> bitsPerByte);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file->stream) == bytes.size();
    const bool closed = std::fclose(file->stream) == 0;
    file->stream = nullptr;
    if (!written || !closed) {
        *error = "cannot write the sound track to '" + file->tempPath + "'";
        abandonPending(file);
        return false;
    }
    return true;
}

std::vector<int16_t> decodedMusic()
{
    std::vector<int16_t> music;
    int errorCode = 0;
    if (!decodeMusicFile(musicFilePath, soundTrackRate, &music, &errorCode)) {
        std::fprintf(stderr,
                     "glasswind-render: %s did not decode (audio error %d); the sound track is "
                     "silent\n",
                     musicFilePath, errorCode);
        music.clear();
    }
    return music;
}

// The sound under the frames of the range, placed where a steady run starts the music.
std::vector<int16_t> soundForRange(const RenderOptions& options, int64_t frames)
{
    // With motion blur the run goes at the sub-frame rate, and so does the music's start.
    const MusicStart musicStart = findMusicStart(options.toMs, options.fps * options.motionBlur);
    return placeSoundTrack(decodedMusic(), musicStart, firstIdleCallFrom(options.fromMs, options.fps), frames,
                           options.fps, soundTrackRate);
}

// ffmpeg's messages name the temporary file; the user knows the final name.
std::string namingFinal(std::string message, const PendingFile& output)
{
    for (size_t at = message.find(output.tempPath); at != std::string::npos;
         at = message.find(output.tempPath, at + output.finalPath.size())) {
        message.replace(at, output.tempPath.size(), output.finalPath);
    }
    return message;
}

std::string findFfmpeg()
{
    std::string found;
    const char* searchPath = std::getenv("PATH");
    if (!findOnPath(ffmpegProgram, searchPath != nullptr ? searchPath : searchPathWithoutPath, &found)) {
        fail(exitFailure, std::string(ffmpegProgram) + " was not found on the PATH; " + ffmpegMissingAdvice);
    }
    return found;
}

// Draws the chunk into a running ffmpeg, or ends the tool with ffmpeg's reason.
void encodeChunk(const RenderOptions& options, const FrameChunk& chunk, const VideoJob& job, const PendingFile& output)
{
    std::string error;
    if (!startVideoPipe(job, &error)) {
        fail(exitFailure, error);
    }
    drawChunk(options, chunk, [&output](int64_t, const std::vector<uint8_t>& rgb) {
        std::string sendError;
        if (!sendVideoFrame(rgb, &sendError)) {
            fail(exitFailure, namingFinal(sendError, output));
        }
    });
    if (!finishVideoPipe(&error)) {
        fail(exitFailure, namingFinal(error, output));
    }
}

// Each job encodes its chunk alone into a segment; one more ffmpeg run joins them in
// order, copying the video as it is, and adds the sound.
void encodeInJobs(const RenderOptions& options, const std::vector<FrameChunk>& chunks, int64_t total, VideoJob job,
                  const PendingFile& output)
{
    std::string error;
    std::vector<PendingFile> segments(chunks.size());
    PendingFile list;
    if (!openScratch("glasswind-render-segments.txt", &list, &error)) {
        fail(exitFailure, error);
    }
    for (size_t i = 0; i < chunks.size(); ++i) {
        if (!openScratch("glasswind-render-segment-" + std::to_string(i + 1) + ".mkv", &segments[i], &error)) {
            fail(exitFailure, error);
        }
        std::fclose(segments[i].stream);
        segments[i].stream = nullptr;
        std::fprintf(list.stream, "file '%s'\n", segments[i].tempPath.c_str());
    }
    std::fclose(list.stream);
    list.stream = nullptr;

    drawInJobs(chunks, total, [&](const FrameChunk& chunk, size_t number) {
        VideoJob segment = job;
        segment.segment = true;
        segment.outputPath = segments[number].tempPath;
        encodeChunk(options, chunk, segment, output);
    });

    job.segmentList = list.tempPath;
    if (!startVideoPipe(job, &error) || !finishVideoPipe(&error)) {
        fail(exitFailure, namingFinal(error, output));
    }
    for (PendingFile& segment : segments) {
        abandonPending(&segment);
    }
    abandonPending(&list);
}

} // namespace

// The sound track alone, as long as a video of the same range and rate; no picture
// is drawn, so no display is needed.
void renderSound(const RenderOptions& options)
{
    std::string error;
    PendingFile output;
    if (!openPending(options.output, &output, &error)) {
        fail(exitFailure, error);
    }
    useSteadyClock(nullptr);
    const FrameChunk range = rangeFrames(options);
    const std::vector<int16_t> track = soundForRange(options, range.end - range.first);
    if (!writeSoundFile(track, &output, &error) || !commitPending(&output, &error)) {
        fail(exitFailure, error);
    }
}

void renderVideo(const RenderOptions& options)
{
    std::string error;
    VideoJob job;
    job.ffmpegPath = findFfmpeg();
    PendingFile output;
    if (!openPending(options.output, &output, &error)) {
        fail(exitFailure, error);
    }
    std::fclose(output.stream); // ffmpeg writes it
    output.stream = nullptr;

    // The sound first, with no picture open yet, so the jobs can start from a clean slate.
    useSteadyClock(nullptr);
    const FrameChunk range = rangeFrames(options);
    const int64_t total = range.end - range.first;
    PendingFile sound;
    if (!writeSoundTrack(soundForRange(options, total), &sound, &error)) {
        fail(exitFailure, error);
    }

    job.outputPath = output.tempPath;
    job.audioPath = sound.tempPath;
    job.width = options.width;
    job.height = options.height;
    job.fps = options.fps;
    job.format = options.video;
    const std::vector<FrameChunk> chunks = rangeChunks(options);
    if (chunks.size() > 1) {
        encodeInJobs(options, chunks, total, job, output);
    } else {
        encodeChunk(options, range, job, output);
    }
    abandonPending(&sound);
    if (!commitPending(&output, &error)) {
        fail(exitFailure, error);
    }
}
