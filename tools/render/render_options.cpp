// Parses and checks the command line; every refusal is one line naming the option.
#include "render_options.h"

#include "frame_schedule.h"
#include "render_jobs.h"
#include "sound_file.h"

#include <cerrno>
#include <cstdlib>
#include <set>

const char* const renderUsage =
    "Usage: glasswind-render --at MS [--size WxH] -o FILE.png\n"
    "       glasswind-render --from MS --to MS [--fps N] [--size WxH] -o DIR\n"
    "       glasswind-render --video FILE [--codec C] [--quality N] [--chroma 444]\n"
    "                        [--fps N] [--size WxH] [--from MS --to MS]\n"
    "       glasswind-render --audio FILE.wav|FILE.flac [--fps N] [--from MS --to MS]\n"
    "       glasswind-render --bench [--size WxH] [--frames N | --from MS --to MS [--fps N]]\n"
    "       glasswind-render --moments FILE [--size WxH] -o DIR\n"
    "       glasswind-render --shot-table\n"
    "\n"
    "Renders the demo offscreen from a steady clock, from the repository root\n"
    "(it reads data/ like the demo does).\n"
    "  --at MS       the frame the demo shows at demo time MS (0 to 196000)\n"
    "  --from, --to  a range of demo time in ms, the end excluded\n"
    "  --fps N       frames per second of the range or video (default 60)\n"
    "  --size WxH    the picture size (default 800x450)\n"
    "  --samples N   multisampling, samples per pixel: 0 (none) or a count the OpenGL\n"
    "                driver offers (default 4, as the demo asks; llvmpipe offers 4)\n"
    "  --video FILE  a video with the music, through ffmpeg on the PATH\n"
    "  --codec C     h264 (default, .mp4 .mkv .mov), hevc (.mp4 .mkv .mov),\n"
    "                ffv1 (lossless, .mkv, 4:4:4) or prores (422 HQ, .mov, PCM sound)\n"
    "  --quality N   the codec's own scale: h264 and hevc CRF 0-51 (default 18, 20),\n"
    "                prores qscale 1-32 (default: the profile's rate)\n"
    "  --chroma N    444 for full colour resolution (h264, hevc, prores 4444),\n"
    "                420 for ffv1; colours are BT.709 from 1280 wide, BT.601 below\n"
    "  --audio FILE  the sound track alone, 16-bit 44.1 kHz stereo, as long as a\n"
    "                video of the same range and rate, placed where a run starts it\n"
    "  --motion-blur K  each frame the average of K sub-frames (2 to 16) over its\n"
    "                interval, from a run at K x fps (--at, ranges, --moments, --video)\n"
    "  --png-level N zlib's compression for the PNG files: 1 fastest, 9 smallest,\n"
    "                0 none (default 6); the pixels are the same at every level\n"
    "  --jobs N      split a range or video over N processes (auto: one a core);\n"
    "                the output is the same as from one\n"
    "  --bench       time each scene: median and worst ms per frame, fps\n"
    "  --frames N    frames drawn per scene by --bench (default 120); with a range,\n"
    "                --bench draws its frames in order and gives their drawing time\n"
    "  --moments FILE  draw each demo time listed in FILE (one a line, '#' comments)\n"
    "                as --at would, into DIR/MMMMMM.png (the time, six digits)\n"
    "  --shot-table  print the camera's cuts: row, from ms, to ms, shot\n"
    "  -o PATH       the PNG file (--at) or the folder for numbered frames\n";

namespace {

bool parseWhole(const std::string& text, long min, long max, long* value)
{
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < min || parsed > max) {
        return false;
    }
    *value = parsed;
    return true;
}

bool parseSize(const std::string& text, int* width, int* height)
{
    const size_t cross = text.find('x');
    long w = 0;
    long h = 0;
    if (cross == std::string::npos || !parseWhole(text.substr(0, cross), minSide, maxSide, &w) ||
        !parseWhole(text.substr(cross + 1), minSide, maxSide, &h)) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

ParsedArgs refuse(const std::string& error)
{
    ParsedArgs parsed;
    parsed.error = error;
    return parsed;
}

const std::string timeRange = " needs a demo time in ms from 0 to " + std::to_string(lastShownMs);

} // namespace

ParsedArgs parseRenderArgs(int argc, const char* const* argv)
{
    RenderOptions options;
    std::set<std::string> seen;
    bool wantsHelp = false;
    std::string codec;
    int quality = qualityNotGiven;
    int chroma = chromaNotGiven;

    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "-h" || option == "--help") {
            wantsHelp = true;
            continue;
        }
        const bool takesValue = option == "--at" || option == "--from" || option == "--to" ||
                                option == "--fps" || option == "--size" || option == "--frames" ||
                                option == "--video" || option == "--audio" || option == "--moments" ||
                                option == "-o" ||
                                option == "--codec" || option == "--quality" || option == "--chroma" ||
                                option == "--samples" || option == "--motion-blur" || option == "--jobs" ||
                                option == "--png-level";
        if (!takesValue && option != "--bench" && option != "--shot-table") {
            return refuse("unknown option '" + option + "' (try --help)");
        }
        if (!seen.insert(option).second) {
            return refuse(option + " given twice");
        }
        if (!takesValue) {
            continue;
        }
        if (i + 1 >= argc) {
            return refuse(option + " needs a value");
        }
        const std::string value = argv[++i];
        long number = 0;
        if (option == "--at" || option == "--from" || option == "--to") {
            if (!parseWhole(value, 0, lastShownMs, &number)) {
                return refuse(option + timeRange + ", not '" + value + "'");
            }
            int32_t* target =
                option == "--at" ? &options.atMs : option == "--from" ? &options.fromMs : &options.toMs;
            *target = static_cast<int32_t>(number);
        } else if (option == "--fps") {
            if (!parseWhole(value, minFps, maxFps, &number)) {
                return refuse("--fps needs a whole number from " + std::to_string(minFps) +
                              " to " + std::to_string(maxFps) + ", not '" + value + "'");
            }
            options.fps = static_cast<int>(number);
        } else if (option == "--frames") {
            if (!parseWhole(value, minBenchFrames, maxBenchFrames, &number)) {
                return refuse("--frames needs a whole number from " +
                              std::to_string(minBenchFrames) + " to " +
                              std::to_string(maxBenchFrames) + ", not '" + value + "'");
            }
            options.benchFrames = static_cast<int>(number);
        } else if (option == "--quality" || option == "--chroma") {
            if (!parseWhole(value, 0, maxSide, &number)) {
                return refuse(option + " needs a whole number, not '" + value + "'");
            }
            (option == "--quality" ? quality : chroma) = static_cast<int>(number);
        } else if (option == "--samples") {
            if (!parseWhole(value, 0, maxSamples, &number)) {
                return refuse("--samples needs a whole number from 0 to " + std::to_string(maxSamples) +
                              ", not '" + value + "'");
            }
            options.samples = static_cast<int>(number);
        } else if (option == "--png-level") {
            if (!parseWhole(value, fastestPngLevel, smallestPngLevel, &number)) {
                return refuse("--png-level needs zlib's level from " + std::to_string(fastestPngLevel) + " to " +
                              std::to_string(smallestPngLevel) + ", not '" + value + "'");
            }
            options.pngLevel = static_cast<int>(number);
        } else if (option == "--jobs") {
            if (value == "auto") {
                options.jobs = jobsAuto;
            } else if (!parseWhole(value, 1, maxJobs, &number)) {
                return refuse("--jobs needs a whole number from 1 to " + std::to_string(maxJobs) +
                              " or auto, not '" + value + "'");
            } else {
                options.jobs = static_cast<int>(number);
            }
        } else if (option == "--motion-blur") {
            if (!parseWhole(value, minMotionBlur, maxMotionBlur, &number)) {
                return refuse("--motion-blur needs a whole number of sub-frames from " +
                              std::to_string(minMotionBlur) + " to " + std::to_string(maxMotionBlur) +
                              ", not '" + value + "'");
            }
            options.motionBlur = static_cast<int>(number);
        } else if (option == "--codec") {
            codec = value;
        } else if (option == "--size") {
            if (!parseSize(value, &options.width, &options.height)) {
                return refuse("--size needs WIDTHxHEIGHT, each from " + std::to_string(minSide) +
                              " to " + std::to_string(maxSide) + ", not '" + value + "'");
            }
        } else {
            if (value.empty() || value[0] == '-') {
                return refuse(option + " needs a file name, not '" + value + "'");
            }
            (option == "--moments" ? options.momentsFile : options.output) = value;
            if (option == "--audio" && !isSoundFileName(value)) {
                return refuse("--audio writes .wav or .flac files, not '" + value + "'");
            }
        }
    }

    const bool at = seen.count("--at") > 0;
    const bool from = seen.count("--from") > 0;
    const bool to = seen.count("--to") > 0;
    const bool video = seen.count("--video") > 0;
    const bool sound = seen.count("--audio") > 0;
    const bool bench = seen.count("--bench") > 0;
    const bool output = seen.count("-o") > 0;
    const bool shotTable = seen.count("--shot-table") > 0;
    const bool moments = seen.count("--moments") > 0;

    if (wantsHelp) {
        ParsedArgs parsed;
        parsed.ok = true;
        parsed.options.mode = RenderMode::help;
        return parsed;
    }
    if (shotTable) {
        if (seen.size() > 1) {
            return refuse("--shot-table takes no other option");
        }
        ParsedArgs parsed;
        parsed.ok = true;
        parsed.options.mode = RenderMode::shotTable;
        return parsed;
    }
    const bool ranged = video || sound || bench;
    if (static_cast<int>(at) + static_cast<int>(video) + static_cast<int>(sound) + static_cast<int>(bench) +
            static_cast<int>(moments) + static_cast<int>(from && !ranged) > 1) {
        return refuse("choose one of --at, --from/--to, --video, --audio, --moments and --bench");
    }
    if (from != to) {
        return refuse(from ? "--from needs --to" : "--to needs --from");
    }
    if (from && options.fromMs >= options.toMs) {
        return refuse("--to must be later than --from");
    }
    if (seen.count("--fps") && (at || (bench && !from) || moments)) {
        return refuse(std::string("--fps does not apply to ") +
                      (at ? "--at" : moments ? "--moments" : "--bench"));
    }
    if (seen.count("--frames") && (!bench || from)) {
        return refuse(from ? "--frames does not apply to a --from/--to range" : "--frames applies only to --bench");
    }
    if (seen.count("--png-level") && (video || sound || bench)) {
        return refuse("--png-level applies only to the PNG files of --at, --from/--to and --moments");
    }
    if (seen.count("--jobs") && !(video || (from && !sound && !bench))) {
        return refuse("--jobs applies only to --video and --from/--to");
    }
    if (seen.count("--motion-blur") && (bench || sound)) {
        return refuse(std::string("--motion-blur does not apply to ") + (bench ? "--bench" : "--audio"));
    }
    for (const char* videoOnly : {"--codec", "--quality", "--chroma"}) {
        if (seen.count(videoOnly) && !video) {
            return refuse(std::string(videoOnly) + " applies only to --video");
        }
    }

    if (at) {
        if (!output) {
            return refuse("--at needs -o FILE.png");
        }
        options.mode = RenderMode::still;
    } else if (video) {
        if (output) {
            return refuse("--video names its file itself; drop -o");
        }
        options.mode = RenderMode::video;
        if (!from) {
            options.fromMs = 0;
            options.toMs = lastShownMs;
        }
        std::string error;
        if (!chooseVideoFormat(codec, quality, chroma, options.output, options.width, options.height,
                               &options.video, &error)) {
            return refuse(error);
        }
    } else if (sound) {
        if (output) {
            return refuse("--audio names its file itself; drop -o");
        }
        for (const char* pictureOnly : {"--size", "--samples"}) {
            if (seen.count(pictureOnly)) {
                return refuse(std::string(pictureOnly) + " does not apply to --audio");
            }
        }
        options.mode = RenderMode::sound;
        if (!from) {
            options.fromMs = 0;
            options.toMs = lastShownMs;
        }
    } else if (moments) {
        if (!output) {
            return refuse("--moments needs -o DIR for the pictures");
        }
        options.mode = RenderMode::moments;
    } else if (bench) {
        if (output) {
            return refuse("--bench writes no file; drop -o");
        }
        options.mode = RenderMode::bench;
    } else if (from) {
        if (!output) {
            return refuse("--from/--to needs -o DIR for the numbered frames");
        }
        options.mode = RenderMode::frames;
    } else {
        return refuse("nothing to do: give --at, --from/--to, --video, --audio, --moments or --bench (try --help)");
    }
    if (options.fps == 0) {
        options.fps = steadyFps;
    }
    // Sub-frames are idle calls of a faster run, and the demo's clock counts whole ms.
    if (options.motionBlur * options.fps > maxFps) {
        return refuse("--motion-blur " + std::to_string(options.motionBlur) + " at " + std::to_string(options.fps) +
                      " fps makes a run of " + std::to_string(options.motionBlur * options.fps) +
                      " idle calls a second; the demo's clock allows " + std::to_string(maxFps));
    }

    ParsedArgs parsed;
    parsed.ok = true;
    parsed.options = options;
    return parsed;
}

bool parseMomentList(const std::string& text, std::vector<int32_t>* moments, std::string* error)
{
    moments->clear();
    size_t start = 0;
    for (int line = 1; start < text.size(); ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string content = text.substr(start, end - start);
        start = end + 1;
        content = content.substr(0, content.find('#'));
        const size_t first = content.find_first_not_of(" \t\r");
        if (first == std::string::npos) {
            continue;
        }
        content = content.substr(first, content.find_last_not_of(" \t\r") - first + 1);
        long number = 0;
        if (!parseWhole(content, 0, lastShownMs, &number)) {
            *error = "line " + std::to_string(line) + timeRange + ", not '" + content + "'";
            return false;
        }
        moments->push_back(static_cast<int32_t>(number));
    }
    if (moments->empty()) {
        *error = "lists no demo time";
        return false;
    }
    return true;
}
