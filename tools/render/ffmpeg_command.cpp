// Builds the ffmpeg argument list and finds ffmpeg on the PATH.
#include "ffmpeg_command.h"

#include "app/startup.h"
#include "sound_track.h"

#include <sys/stat.h>
#include <unistd.h>

const char* const ffmpegPackage = "ffmpeg";

namespace {

// Visually clean for a party screen and still a reasonable size.
const char* const videoQuality = "18";
const char* const videoPreset = "medium";
const char* const audioBitrate = "192k";

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

std::vector<std::string> ffmpegArguments(const VideoJob& job)
{
    std::vector<std::string> args = {
        job.ffmpegPath, "-hide_banner", "-loglevel", "error", "-y",
        // The frames, exactly as rendered.
        "-f", "rawvideo", "-pix_fmt", "rgb24",
        "-video_size", std::to_string(job.width) + "x" + std::to_string(job.height),
        "-framerate", std::to_string(job.fps), "-i", "pipe:0",
        // The sound track, already placed, looped and cut.
        "-f", "s16le", "-ar", std::to_string(soundTrackRate),
        "-ac", std::to_string(soundTrackChannels), "-i", job.audioPath,
        "-map", "0:v:0", "-map", "1:a:0",
        "-c:v", "libx264", "-preset", videoPreset, "-crf", videoQuality, "-pix_fmt", "yuv420p",
        "-c:a", "aac", "-b:a", audioBitrate,
        "-metadata", std::string("title=") + demoTitle,
    };
    // Players can start an MP4 before it has fully arrived.
    if (endsWith(job.outputPath, ".mp4") || endsWith(job.outputPath, ".mov") ||
        endsWith(job.outputPath, ".m4v")) {
        args.push_back("-movflags");
        args.push_back("+faststart");
    }
    args.push_back(job.outputPath);
    return args;
}

bool findOnPath(const std::string& name, const std::string& searchPath, std::string* found)
{
    size_t start = 0;
    while (start <= searchPath.size()) {
        size_t end = searchPath.find(':', start);
        if (end == std::string::npos) {
            end = searchPath.size();
        }
        // An empty entry means the current directory.
        const std::string dir = end > start ? searchPath.substr(start, end - start) : ".";
        const std::string candidate = dir + "/" + name;
        struct stat info;
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            *found = candidate;
            return true;
        }
        start = end + 1;
    }
    return false;
}
