// Builds the ffmpeg argument list and finds ffmpeg on the PATH.
#include "ffmpeg_command.h"

#include "app/startup.h"
#include "sound_track.h"
#include "tool_system.h"

namespace {

void add(std::vector<std::string>* args, std::initializer_list<std::string> more) { args->insert(args->end(), more); }

// Converts the full-range RGB frames with the matrix of the colour standard, into TV
// range, and says so in the stream, so a player converts back with the same matrix.
// The tags go on the frames themselves: ffmpeg 7 takes an encoder's colour tags from
// its frames and ignores the -color_primaries and -color_trc output options.
void addColour(std::vector<std::string>* args, const VideoFormat& format)
{
    const ColourTags& colour = format.colour;
    add(args, {"-vf", std::string("scale=out_color_matrix=") + colour.matrix + ":out_range=tv,format=" +
                          format.pixelFormat + ",setparams=range=tv:color_primaries=" + colour.primaries +
                          ":color_trc=" + colour.transfer + ":colorspace=" + colour.space});
}

void addVideoCodec(std::vector<std::string>* args, const VideoFormat& format)
{
    const VideoCodec& codec = *format.codec;
    add(args, {"-c:v", codec.encoder, "-pix_fmt", format.pixelFormat});
    if (format.profile >= 0) {
        add(args, {"-profile:v", std::to_string(format.profile)});
    }
    if (codec.qualityOption != nullptr && format.quality != qualityNotGiven) {
        add(args, {codec.qualityOption, std::to_string(format.quality)});
    }
    const std::string encoder = codec.encoder;
    if (codec.preset != nullptr) {
        add(args, {"-preset", codec.preset});
    }
    if (encoder == "libx265") {
        // Without it, x265 prints its settings on standard error; players on Apple
        // systems want the hvc1 tag.
        add(args, {"-x265-params", "log-level=error", "-tag:v", "hvc1"});
    }
    if (encoder == "prores_ks") {
        // The encoder leaves its frame headers untagged; this filter writes the tags in.
        const ColourTags& colour = format.colour;
        add(args, {"-bsf:v", std::string("prores_metadata=color_primaries=") + colour.primaries +
                                 ":color_trc=" + colour.transfer + ":colorspace=" + colour.space});
    }
    if (encoder == "ffv1") {
        // Version 3 with slice checksums, the archival settings.
        add(args, {"-level", "3", "-slicecrc", "1"});
    }
}

// The sound and what goes around it in the final file.
void addSoundAndFile(std::vector<std::string>* args, const VideoJob& job)
{
    const VideoFormat& format = job.format;
    add(args, {"-c:a", format.codec->audioEncoder});
    if (format.codec->audioBitrate != nullptr) {
        add(args, {"-b:a", format.codec->audioBitrate});
    }
    add(args, {"-metadata", std::string("title=") + demoTitle});
    // Players can start an MP4 or MOV before it has fully arrived.
    const std::string container = format.container;
    if (container == "mp4" || container == "mov") {
        add(args, {"-movflags", "+faststart"});
    }
    add(args, {"-f", container, job.outputPath});
}

const char* const segmentMuxer = "matroska";

} // namespace

std::vector<std::string> ffmpegArguments(const VideoJob& job)
{
    const VideoFormat& format = job.format;
    std::vector<std::string> args = {job.ffmpegPath, "-hide_banner", "-loglevel", "error", "-y"};
    const std::vector<std::string> sound = {
        // The sound track, already placed, looped and cut.
        "-f", "s16le",       "-ar", std::to_string(soundTrackRate), "-ac", std::to_string(soundTrackChannels),
        "-i", job.audioPath,
    };
    if (!job.segmentList.empty()) {
        add(&args, {"-nostdin", "-f", "concat", "-safe", "0", "-i", job.segmentList});
        args.insert(args.end(), sound.begin(), sound.end());
        add(&args, {"-map", "0:v:0", "-map", "1:a:0", "-c:v", "copy"});
        if (std::string(format.codec->encoder) == "libx265") {
            add(&args, {"-tag:v", "hvc1"});
        }
        addSoundAndFile(&args, job);
        return args;
    }
    add(&args, {
                   // The frames, exactly as rendered.
                   "-f",
                   "rawvideo",
                   "-pix_fmt",
                   "rgb24",
                   "-video_size",
                   std::to_string(job.width) + "x" + std::to_string(job.height),
                   "-framerate",
                   std::to_string(job.fps),
                   "-i",
                   "pipe:0",
               });
    if (!job.segment) {
        args.insert(args.end(), sound.begin(), sound.end());
        add(&args, {"-map", "0:v:0", "-map", "1:a:0"});
    }
    addColour(&args, format);
    addVideoCodec(&args, format);
    if (job.segment) {
        add(&args, {"-f", segmentMuxer, job.outputPath});
        return args;
    }
    addSoundAndFile(&args, job);
    return args;
}

bool findOnPath(const std::string& name, const std::string& searchPath, std::string* found)
{
    size_t start = 0;
    while (start <= searchPath.size()) {
        size_t end = searchPath.find(pathListSeparator, start);
        if (end == std::string::npos) {
            end = searchPath.size();
        }
        // An empty entry means the current directory.
        const std::string dir = end > start ? searchPath.substr(start, end - start) : ".";
        const std::string candidate = dir + "/" + name;
        if (isRunnableFile(candidate)) {
            *found = candidate;
            return true;
        }
        start = end + 1;
    }
    return false;
}
