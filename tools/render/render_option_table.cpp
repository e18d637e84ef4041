// The table of glasswind-render's options and the --help text made from it, so the
// parser and the help always list the same options with the same limits.
#include "render_option_table.h"

#include "app/clock.h"
#include "app/steady_clock.h"
#include "render_jobs.h"

#include "tool_system.h"

#include <cstring>

namespace {

constexpr OptionValue noValue() { return OptionValue{}; }

// A value of kind, described for refusals by what, with a number's range; the
// builders below add where it goes.
constexpr OptionValue valueOf(ValueKind kind, const char* what = "", long min = 0, long max = 0)
{
    OptionValue v;
    v.kind = kind;
    v.what = what;
    v.min = min;
    v.max = max;
    return v;
}

constexpr OptionValue helpRequest() { return valueOf(ValueKind::help); }

constexpr OptionValue versionRequest() { return valueOf(ValueKind::version); }

constexpr OptionValue wholeNumber(long min, long max, WholeField field, const char* what = "a whole number")
{
    OptionValue v = valueOf(ValueKind::number, what, min, max);
    v.whole = field;
    return v;
}

// A whole number, or a word standing for wordValue.
constexpr OptionValue wholeOrWord(long min, long max, WholeField field, const char* word, int wordValue)
{
    OptionValue v = wholeNumber(min, max, field);
    v.word = word;
    v.wordValue = wordValue;
    return v;
}

constexpr OptionValue demoTime(TimeField field)
{
    OptionValue v = valueOf(ValueKind::number, "a demo time in ms", 0, demoEndMs);
    v.time = field;
    return v;
}

// --quality and --chroma: any whole number here, the codec's own range once --video knows it.
constexpr OptionValue videoNumber(VideoNumberField field)
{
    OptionValue v = valueOf(ValueKind::videoNumber, "a whole number", 0, maxSide);
    v.videoNumber = field;
    return v;
}

constexpr OptionValue pictureSize() { return valueOf(ValueKind::size, "WIDTHxHEIGHT, each", minSide, maxSide); }

constexpr OptionValue codecName() { return valueOf(ValueKind::codec); }

constexpr OptionValue fileName(TextField field, ValueKind kind = ValueKind::file)
{
    OptionValue v = valueOf(kind, "a file name");
    v.text = field;
    return v;
}

} // namespace

extern const OptionRow renderOptionTable[] = {
    {"--at", "MS", demoTime(&RenderOptions::atMs), "the frame the demo shows at demo time MS ({limits})"},
    {"--from", "MS", demoTime(&RenderOptions::fromMs), "the start of a range of demo time in ms"},
    {"--to", "MS", demoTime(&RenderOptions::toMs), "the end of the range, excluded"},
    {"--fps", "N", wholeNumber(minFps, maxFps, &RenderOptions::fps),
     "frames per second of the range or video (default 60)"},
    {"--size", "WxH", pictureSize(), "the picture size (default 800x450)"},
    {"--samples", "N", wholeNumber(0, maxSamples, &RenderOptions::samples),
     "multisampling, samples per pixel: 0 (none) or a count the OpenGL\n"
     "driver offers (default 4, as the demo asks; llvmpipe offers 4)"},
    {"--video", "FILE", fileName(&RenderOptions::output), "a video with the music, through ffmpeg on the PATH"},
    {"--codec", "C", codecName(),
     "h264 (default, .mp4 .mkv .mov), hevc (.mp4 .mkv .mov),\n"
     "ffv1 (lossless, .mkv, 4:4:4) or prores (422 HQ, .mov, PCM sound)"},
    {"--quality", "N", videoNumber(&VideoAsk::quality),
     "the codec's own scale: h264 and hevc CRF 0-51 (default 18, 20),\n"
     "prores qscale 1-32 (default: the profile's rate)"},
    {"--chroma", "N", videoNumber(&VideoAsk::chroma),
     "444 for full colour resolution (h264, hevc, prores 4444),\n"
     "420 for ffv1; colours are BT.709 from 1280 wide, BT.601 below"},
    {"--audio", "FILE", fileName(&RenderOptions::output, ValueKind::soundFile),
     "the sound track alone, 16-bit 44.1 kHz stereo, as long as a\n"
     "video of the same range and rate, placed where a run starts it"},
    {"--motion-blur", "K",
     wholeNumber(minMotionBlur, maxMotionBlur, &RenderOptions::motionBlur, "a whole number of sub-frames"),
     "each frame the average of K sub-frames ({limits}) over its\n"
     "interval, from a run at K x fps (--at, ranges, --moments, --video)"},
    {"--png-level", "N", wholeNumber(fastestPngLevel, smallestPngLevel, &RenderOptions::pngLevel, "zlib's level"),
     "zlib's compression for the PNG files: 1 fastest, 9 smallest,\n"
     "0 none (default 6); the pixels are the same at every level"},
#ifndef _WIN32 // split renders fork
    {"--jobs", "N", wholeOrWord(1, maxJobs, &RenderOptions::jobs, "auto", jobsAuto),
     "split a range or video over N processes (auto: one a core);\n"
     "the output is the same as from one"},
#endif
    {"--bench", "", noValue(), "time each scene: median and worst ms per frame, fps"},
    {"--frames", "N", wholeNumber(minBenchFrames, maxBenchFrames, &RenderOptions::benchFrames),
     "frames drawn per scene by --bench (default 120); with a range,\n"
     "--bench draws its frames in order and gives their drawing time"},
    {"--moments", "FILE", fileName(&RenderOptions::momentsFile),
     "draw each demo time listed in FILE (one a line, '#' comments)\n"
     "as --at would, into DIR/MMMMMM.png (the time, six digits)"},
    {"--shot-table", "", noValue(), "print the camera's cuts: row, from ms, to ms, shot"},
    {"-o", "PATH", fileName(&RenderOptions::output), "the PNG file (--at) or the folder for numbered frames"},
    {"--version", "", versionRequest(), "the tool's name and version"},
    {"--help", "", helpRequest(), "this text (-h for short)"},
    {"-h", "", helpRequest(), nullptr},
};
extern const size_t renderOptionCount = sizeof renderOptionTable / sizeof renderOptionTable[0];

const OptionRow* findRenderOption(const std::string& name)
{
    for (size_t i = 0; i < renderOptionCount; ++i) {
        if (name == renderOptionTable[i].name) {
            return &renderOptionTable[i];
        }
    }
    return nullptr;
}

std::string renderVersion() { return std::string("glasswind-render ") + GLASSWIND_VERSION; }

std::string optionLimits(const OptionValue& value)
{
    return std::to_string(value.min) + " to " + std::to_string(value.max);
}

namespace {

const char* const usageLead = "Usage: ";
constexpr size_t synopsisColumn = 24; // where a long synopsis goes on, under its first option
const char* const limitsMark = "{limits}";

} // namespace

extern const char* const renderSynopsis[] = {
    "glasswind-render --at MS [--size WxH] -o FILE.png",
    "glasswind-render --from MS --to MS [--fps N] [--size WxH] -o DIR",
    "glasswind-render --video FILE [--codec C] [--quality N] [--chroma 444]\n"
    "[--fps N] [--size WxH] [--from MS --to MS]",
    "glasswind-render --audio FILE.wav|FILE.flac [--fps N] [--from MS --to MS]",
    "glasswind-render --bench [--size WxH] [--frames N | --from MS --to MS [--fps N]]",
    "glasswind-render --moments FILE [--size WxH] -o DIR",
    "glasswind-render --shot-table",
};
extern const size_t renderSynopsisCount = sizeof renderSynopsis / sizeof renderSynopsis[0];

extern const char* const renderAbout = "Renders the demo offscreen from a steady clock. Run it where the demo's\n"
                                       "data/ folder is (the repository root, or the installed data folder):\n"
                                       "it reads the images and music there, as the demo does.";

std::string optionHelp(const OptionRow& row)
{
    std::string help = row.help;
    const size_t mark = help.find(limitsMark);
    if (mark != std::string::npos) {
        help.replace(mark, std::strlen(limitsMark), optionLimits(row.value));
    }
    return help;
}

namespace {

// Text with each line after the first indented by column spaces.
std::string indentLater(const std::string& text, size_t column)
{
    std::string lines;
    for (char c : text) {
        lines += c;
        if (c == '\n') {
            lines.append(column, ' ');
        }
    }
    return lines;
}

constexpr size_t helpColumn = 16; // where an option's help starts, after "  --name VALUE"
constexpr size_t helpGap = 2;     // the least room between the option and its help

// The option, its value and its help, the help's later lines under its first.
std::string optionLines(const OptionRow& row)
{
    std::string lines = std::string("  ") + row.name;
    if (row.placeholder[0] != '\0') {
        lines += std::string(" ") + row.placeholder;
    }
    lines.append(lines.size() + helpGap <= helpColumn ? helpColumn - lines.size() : helpGap, ' ');
    return lines + indentLater(optionHelp(row), helpColumn) + '\n';
}

} // namespace

std::string renderUsage()
{
    std::string usage;
    for (size_t i = 0; i < renderSynopsisCount; ++i) {
        usage.append(i == 0 ? usageLead : std::string(std::strlen(usageLead), ' '));
        usage += indentLater(renderSynopsis[i], synopsisColumn) + '\n';
    }
    usage += std::string("\n") + renderAbout + "\n";
    for (size_t i = 0; i < renderOptionCount; ++i) {
        if (renderOptionTable[i].help != nullptr) {
            usage += optionLines(renderOptionTable[i]);
        }
    }
    return usage + notOnThisSystem;
}
