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

namespace {

// What --video was asked for, resolved against the file name once the mode is known.
struct VideoAsk {
    std::string codec;
    int quality = qualityNotGiven;
    int chroma = chromaNotGiven;
};

// The options that take a whole number into a field of RenderOptions.
struct NumberOption {
    const char* name;
    long min;
    long max;
    const char* what; // "a whole number" or its meaning, for the refusal
    int RenderOptions::*field;
};
const NumberOption numberOptions[] = {
    {"--fps", minFps, maxFps, "a whole number", &RenderOptions::fps},
    {"--frames", minBenchFrames, maxBenchFrames, "a whole number", &RenderOptions::benchFrames},
    {"--samples", 0, maxSamples, "a whole number", &RenderOptions::samples},
    {"--png-level", fastestPngLevel, smallestPngLevel, "zlib's level", &RenderOptions::pngLevel},
    {"--motion-blur", minMotionBlur, maxMotionBlur, "a whole number of sub-frames", &RenderOptions::motionBlur},
};

const char* const valueOptions[] = {"--at",     "--from",    "--to",          "--fps",  "--size",     "--frames",
                                    "--video",  "--audio",   "--moments",     "-o",     "--codec",    "--quality",
                                    "--chroma", "--samples", "--motion-blur", "--jobs", "--png-level"};

bool takesValue(const std::string& option)
{
    for (const char* name : valueOptions) {
        if (option == name) {
            return true;
        }
    }
    return false;
}

std::string numberRange(const NumberOption& n)
{
    return std::string(n.what) + " from " + std::to_string(n.min) + " to " + std::to_string(n.max);
}

// Stores one option's value; the refusal, or empty.
std::string takeValue(const std::string& option, const std::string& value, RenderOptions* options, VideoAsk* ask)
{
    long number = 0;
    for (const NumberOption& n : numberOptions) {
        if (option == n.name) {
            if (!parseWhole(value, n.min, n.max, &number)) {
                return option + " needs " + numberRange(n) + ", not '" + value + "'";
            }
            options->*n.field = static_cast<int>(number);
            return "";
        }
    }
    if (option == "--at" || option == "--from" || option == "--to") {
        if (!parseWhole(value, 0, lastShownMs, &number)) {
            return option + timeRange + ", not '" + value + "'";
        }
        *(option == "--at"     ? &options->atMs
          : option == "--from" ? &options->fromMs
                               : &options->toMs) = static_cast<int32_t>(number);
    } else if (option == "--quality" || option == "--chroma") {
        if (!parseWhole(value, 0, maxSide, &number)) {
            return option + " needs a whole number, not '" + value + "'";
        }
        (option == "--quality" ? ask->quality : ask->chroma) = static_cast<int>(number);
    } else if (option == "--jobs") {
        if (value != "auto" && !parseWhole(value, 1, maxJobs, &number)) {
            return "--jobs needs a whole number from 1 to " + std::to_string(maxJobs) + " or auto, not '" + value + "'";
        }
        options->jobs = value == "auto" ? jobsAuto : static_cast<int>(number);
    } else if (option == "--codec") {
        ask->codec = value;
    } else if (option == "--size") {
        if (!parseSize(value, &options->width, &options->height)) {
            return "--size needs WIDTHxHEIGHT, each from " + std::to_string(minSide) + " to " +
                   std::to_string(maxSide) + ", not '" + value + "'";
        }
    } else {
        if (value.empty() || value[0] == '-') {
            return option + " needs a file name, not '" + value + "'";
        }
        (option == "--moments" ? options->momentsFile : options->output) = value;
        if (option == "--audio" && !isSoundFileName(value)) {
            return "--audio writes .wav or .flac files, not '" + value + "'";
        }
    }
    return "";
}

// The modes the options name, each true when given.
struct Named {
    bool at, from, to, video, sound, bench, output, moments;
};

Named namedIn(const std::set<std::string>& seen)
{
    const auto has = [&seen](const char* option) { return seen.count(option) > 0; };
    return {has("--at"),    has("--from"),  has("--to"), has("--video"),
            has("--audio"), has("--bench"), has("-o"),   has("--moments")};
}

// Refuses options that do not belong with the mode asked for; empty when all fit.
std::string checkWhatApplies(const std::set<std::string>& seen, const Named& n, const RenderOptions& options)
{
    const bool ranged = n.video || n.sound || n.bench;
    if (int(n.at) + int(n.video) + int(n.sound) + int(n.bench) + int(n.moments) + int(n.from && !ranged) > 1) {
        return "choose one of --at, --from/--to, --video, --audio, --moments and --bench";
    }
    if (n.from != n.to) {
        return n.from ? "--from needs --to" : "--to needs --from";
    }
    if (n.from && options.fromMs >= options.toMs) {
        return "--to must be later than --from";
    }
    if (seen.count("--fps") && (n.at || (n.bench && !n.from) || n.moments)) {
        return std::string("--fps does not apply to ") + (n.at ? "--at" : n.moments ? "--moments" : "--bench");
    }
    if (seen.count("--frames") && (!n.bench || n.from)) {
        return n.from ? "--frames does not apply to a --from/--to range" : "--frames applies only to --bench";
    }
    if (seen.count("--png-level") && (n.video || n.sound || n.bench)) {
        return "--png-level applies only to the PNG files of --at, --from/--to and --moments";
    }
    if (seen.count("--jobs") && !(n.video || (n.from && !n.sound && !n.bench))) {
        return "--jobs applies only to --video and --from/--to";
    }
    if (seen.count("--motion-blur") && (n.bench || n.sound)) {
        return std::string("--motion-blur does not apply to ") + (n.bench ? "--bench" : "--audio");
    }
    for (const char* videoOnly : {"--codec", "--quality", "--chroma"}) {
        if (seen.count(videoOnly) && !n.video) {
            return std::string(videoOnly) + " applies only to --video";
        }
    }
    for (const char* pictureOnly : {"--size", "--samples"}) {
        if (seen.count(pictureOnly) && n.sound) {
            return std::string(pictureOnly) + " does not apply to --audio";
        }
    }
    return "";
}

// Sets the mode and its defaults; the refusal, or empty.
std::string chooseMode(const Named& n, const VideoAsk& ask, RenderOptions* options)
{
    const bool wholeDemo = (n.video || n.sound) && !n.from;
    if (wholeDemo) {
        options->fromMs = 0;
        options->toMs = lastShownMs;
    }
    struct Mode {
        bool asked;
        RenderMode mode;
        bool needsOutput; // -o DIR or FILE; the others must not have it
        const char* refusal;
    };
    const Mode modes[] = {
        {n.at, RenderMode::still, true, "--at needs -o FILE.png"},
        {n.video, RenderMode::video, false, "--video names its file itself; drop -o"},
        {n.sound, RenderMode::sound, false, "--audio names its file itself; drop -o"},
        {n.moments, RenderMode::moments, true, "--moments needs -o DIR for the pictures"},
        {n.bench, RenderMode::bench, false, "--bench writes no file; drop -o"},
        {n.from, RenderMode::frames, true, "--from/--to needs -o DIR for the numbered frames"},
    };
    for (const Mode& m : modes) {
        if (m.asked) {
            if (n.output != m.needsOutput) {
                return m.refusal;
            }
            options->mode = m.mode;
            std::string error;
            if (m.mode == RenderMode::video &&
                !chooseVideoFormat(ask.codec, ask.quality, ask.chroma, options->output, options->width, options->height,
                                   &options->video, &error)) {
                return error;
            }
            return "";
        }
    }
    return "nothing to do: give --at, --from/--to, --video, --audio, --moments or --bench (try --help)";
}

ParsedArgs accept(RenderMode mode, const RenderOptions& options = RenderOptions{})
{
    ParsedArgs parsed;
    parsed.ok = true;
    parsed.options = options;
    parsed.options.mode = mode;
    return parsed;
}

} // namespace

ParsedArgs parseRenderArgs(int argc, const char* const* argv)
{
    RenderOptions options;
    std::set<std::string> seen;
    bool wantsHelp = false;
    VideoAsk ask;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "-h" || option == "--help") {
            wantsHelp = true;
            continue;
        }
        const bool hasValue = takesValue(option);
        if (!hasValue && option != "--bench" && option != "--shot-table") {
            return refuse("unknown option '" + option + "' (try --help)");
        }
        if (!seen.insert(option).second) {
            return refuse(option + " given twice");
        }
        if (hasValue && i + 1 >= argc) {
            return refuse(option + " needs a value");
        }
        const std::string refusal = hasValue ? takeValue(option, argv[++i], &options, &ask) : "";
        if (!refusal.empty()) {
            return refuse(refusal);
        }
    }
    if (wantsHelp) {
        return accept(RenderMode::help);
    }
    if (seen.count("--shot-table")) {
        return seen.size() > 1 ? refuse("--shot-table takes no other option") : accept(RenderMode::shotTable);
    }
    const Named named = namedIn(seen);
    std::string refusal = checkWhatApplies(seen, named, options);
    if (refusal.empty()) {
        refusal = chooseMode(named, ask, &options);
    }
    if (!refusal.empty()) {
        return refuse(refusal);
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
    return accept(options.mode, options);
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
