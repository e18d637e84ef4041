// glasswind-render's command line: what each one asks for, the exact refusals, and the
// --help text and the parser knowing the same options.
#include "render_option_table.h"
#include "render_options.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

ParsedArgs parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "glasswind-render");
    return parseRenderArgs(static_cast<int>(args.size()), args.data());
}

// What a command line asks for: the mode, then "name=value" for each field that is
// not RenderOptions' default, and the video format --video settled on.
std::string describe(const RenderOptions& o)
{
    const char* const modeNames[] = {"help",  "version", "still",      "frames", "video",
                                     "sound", "bench",   "shot-table", "moments"};
    const RenderOptions unset;
    std::ostringstream text;
    text << modeNames[static_cast<int>(o.mode)];
    const auto word = [&text](const char* name, const auto& value, const auto& unsetValue) {
        if (value != unsetValue) {
            text << ' ' << name << '=' << value;
        }
    };
    word("at", o.atMs, unset.atMs);
    word("from", o.fromMs, unset.fromMs);
    word("to", o.toMs, unset.toMs);
    word("fps", o.fps, unset.fps);
    if (o.width != unset.width || o.height != unset.height) {
        text << " size=" << o.width << 'x' << o.height;
    }
    word("frames", o.benchFrames, unset.benchFrames);
    word("samples", o.samples, unset.samples);
    word("blur", o.motionBlur, unset.motionBlur);
    word("png", o.pngLevel, unset.pngLevel);
    word("jobs", o.jobs, unset.jobs);
    word("out", o.output, unset.output);
    word("moments", o.momentsFile, unset.momentsFile);
    if (o.video.codec != nullptr) {
        text << " codec=" << o.video.codec->name << " quality=" << o.video.quality << " chroma=" << o.video.chroma;
    }
    return text.str();
}

TEST(RenderArgs, EachModeGetsItsDefaultsAndEveryValueItsField)
{
    struct Case {
        std::vector<const char*> args;
        const char* options;
    };
    const Case cases[] = {
        {{"--at", "61880", "-o", "shot.png"}, "still at=61880 fps=60 out=shot.png"},
        {{"--video", "demo.mp4", "--size", "1280x720"},
         "video to=196000 fps=60 size=1280x720 out=demo.mp4 codec=h264 quality=18 chroma=420"},
        {{"--from", "100", "--to", "200", "--fps", "25", "-o", "out"}, "frames from=100 to=200 fps=25 out=out"},
        {{"--bench", "--frames", "7"}, "bench fps=60 frames=7"},
        {{"--bench", "--from", "150000", "--to", "160000", "--fps", "30"}, "bench from=150000 to=160000 fps=30"},
        {{"--help"}, "help"},
        {{"-h"}, "help"},
        {{"--at", "5", "--bench", "--help"}, "help"}, // help is given whatever the rest would mean
        {{"--version"}, "version"},
        {{"--video", "v.mp4", "--version"}, "version"}, // so is the version, but for help
        {{"--version", "-h"}, "help"},
        {{"--shot-table"}, "shot-table"},
        {{"--audio", "cut.FLAC", "--from", "4000", "--to", "6000", "--fps", "24"},
         "sound from=4000 to=6000 fps=24 out=cut.FLAC"},
        {{"--audio", "all.wav"}, "sound to=196000 fps=60 out=all.wav"},
        {{"--moments", "list.txt", "--size", "320x180", "-o", "out"},
         "moments fps=60 size=320x180 out=out moments=list.txt"},
        // Each number at the ends of its range, into its own field.
        {{"--at", "196000", "--samples", "0", "--png-level", "9", "--motion-blur", "16", "-o", "x.png"},
         "still at=196000 fps=60 samples=0 blur=16 png=9 out=x.png"},
        {{"--from", "0", "--to", "1", "--jobs", "auto", "--png-level", "0", "-o", "d"},
         "frames to=1 fps=60 png=0 jobs=0 out=d"},
        {{"--from", "1", "--to", "2", "--fps", "500", "--motion-blur", "2", "-o", "d"},
         "frames from=1 to=2 fps=500 blur=2 out=d"},
        {{"--video", "v.mov", "--codec", "prores", "--quality", "9", "--chroma", "444", "--jobs", "64", "--fps",
          "1000"},
         "video to=196000 fps=1000 jobs=64 out=v.mov codec=prores quality=9 chroma=444"},
        {{"--bench", "--samples", "64", "--size", "16384x1", "--frames", "100000"},
         "bench fps=60 size=16384x1 frames=100000 samples=64"},
        {{"--bench", "--size", "1x16384", "--frames", "1", "--samples", "2"},
         "bench fps=60 size=1x16384 frames=1 samples=2"},
    };
    for (const Case& c : cases) {
        const ParsedArgs parsed = parse(c.args);
        EXPECT_TRUE(parsed.ok) << c.options << ": " << parsed.error;
        EXPECT_EQ(describe(parsed.options), c.options);
    }
}

// The option words ("-o", "--fps") anywhere in a text, each once.
std::set<std::string> optionWords(const std::string& text)
{
    static const std::regex word("(^|[\\s(\\[|,])(--?[a-z][a-z-]*)");
    std::set<std::string> words;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), word); it != std::sregex_iterator(); ++it) {
        words.insert((*it)[2]);
    }
    return words;
}

TEST(RenderArgs, TheHelpNamesEveryOptionOfTheTableAndTheParserTakesEveryOptionItNames)
{
    const std::string usage = renderUsage();
    const std::set<std::string> named = optionWords(usage);
    for (size_t i = 0; i < renderOptionCount; ++i) {
        EXPECT_EQ(named.count(renderOptionTable[i].name), 1u) << renderOptionTable[i].name << " is not in --help";
    }
    EXPECT_EQ(named.size(), renderOptionCount); // no word in the help outside the table
    for (const std::string& option : named) {
        EXPECT_EQ(parse({option.c_str()}).error.rfind("unknown option", 0), std::string::npos) << option;
    }
    // An option shown with a value demands one, and one shown bare takes none.
    std::istringstream lines(usage);
    int optionLines = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  -", 0) != 0) {
            continue;
        }
        ++optionLines;
        std::istringstream shown(line.substr(2, line.find("  ", 2) - 2));
        std::string option;
        std::string value;
        shown >> option >> value;
        EXPECT_EQ(parse({option.c_str()}).error == option + " needs a value", !value.empty()) << line;
    }
    EXPECT_EQ(optionLines, 21); // counted by hand: -h shares the line of --help
}

TEST(RenderArgs, HelpLinesUpEachOptionWithItsValueLimitsAndLaterLines)
{
    const std::string usage = renderUsage();
    EXPECT_EQ(usage.rfind("Usage: glasswind-render --at MS [--size WxH] -o FILE.png\n", 0), 0u);
    const char* const lines[] = {
        "\n  --at MS       the frame the demo shows at demo time MS (0 to 196000)\n",
        "\n  --motion-blur K  each frame the average of K sub-frames (2 to 16) over its\n"
        "                interval, from a run at K x fps (--at, ranges, --moments, --video)\n",
        "\n  --bench       time each scene: median and worst ms per frame, fps\n",
        "\n  --shot-table  print the camera's cuts: row, from ms, to ms, shot\n",
        "\n  -o PATH       the PNG file (--at) or the folder for numbered frames\n",
    };
    for (const char* line : lines) {
        EXPECT_NE(usage.find(line), std::string::npos) << line;
    }
}

TEST(RenderArgs, MomentListTakesOneTimeALineWithComments)
{
    struct Case {
        const char* text;
        std::vector<int32_t> moments; // empty: refused
    };
    const Case cases[] = {
        {"16\n2500  # row 1\n\n# a comment line\n  196000\r\n0", {16, 2500, 196000, 0}},
        {"5000", {5000}},
        {"# nothing but comments\n\n", {}},
        {"", {}},
        {"12\n196001\n", {}},
        {"12ms\n", {}},
        {"-5\n", {}},
        {"1 2\n", {}},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> moments;
        std::string error;
        const bool ok = parseMomentList(c.text, &moments, &error);
        EXPECT_EQ(ok, !c.moments.empty()) << c.text << ": " << error;
        if (ok) {
            EXPECT_EQ(moments, c.moments) << c.text;
        } else {
            EXPECT_EQ(error.find('\n'), std::string::npos) << c.text;
        }
    }
}

TEST(RenderArgs, RefusesWhatCannotBeDoneWithOneLineNamingTheOption)
{
    struct Case {
        std::vector<const char*> args;
        const char* error;
    };
    // One row a way to refuse: the parser's loop, each kind of value (and a number's
    // first character, trailing letters and both bounds), each case of each rule of
    // which options go together, each mode's output, and the video and clock limits.
    const Case cases[] = {
        {{}, "nothing to do: give --at, --from/--to, --video, --audio, --moments or --bench (try --help)"},
        {{"--bogus"}, "unknown option '--bogus' (try --help)"},
        {{"-h", "--bogus"}, "unknown option '--bogus' (try --help)"},
        {{"--shot-table", "--at", "5"}, "--shot-table takes no other option"},
        {{"--at", "1", "--at", "2", "-o", "x.png"}, "--at given twice"},
        {{"--at"}, "--at needs a value"},
        {{"--at", "196001", "-o", "x.png"}, "--at needs a demo time in ms from 0 to 196000, not '196001'"},
        {{"--at", "12ms", "-o", "x.png"}, "--at needs a demo time in ms from 0 to 196000, not '12ms'"},
        {{"--fps", "0", "--video", "v.mp4"}, "--fps needs a whole number from 1 to 1000, not '0'"},
        {{"--fps", "1001", "--video", "v.mp4"}, "--fps needs a whole number from 1 to 1000, not '1001'"},
        {{"--jobs", "some", "--video", "v.mp4"}, "--jobs needs a whole number from 1 to 64 or auto, not 'some'"},
        // Each other number's own bound, from the option table.
        {{"--samples", "65", "--bench"}, "--samples needs a whole number from 0 to 64, not '65'"},
        {{"--jobs", "0", "--video", "v.mp4"}, "--jobs needs a whole number from 1 to 64 or auto, not '0'"},
        {{"--png-level", "10", "--at", "5", "-o", "x.png"}, "--png-level needs zlib's level from 0 to 9, not '10'"},
        {{"--frames", "0", "--bench"}, "--frames needs a whole number from 1 to 100000, not '0'"},
        {{"--motion-blur", "17", "--at", "5", "-o", "x.png"},
         "--motion-blur needs a whole number of sub-frames from 2 to 16, not '17'"},
        {{"--quality", "x", "--video", "v.mp4"}, "--quality needs a whole number, not 'x'"},
        {{"--size", "800x", "--bench"}, "--size needs WIDTHxHEIGHT, each from 1 to 16384, not '800x'"},
        {{"--size", "0x450", "--bench"}, "--size needs WIDTHxHEIGHT, each from 1 to 16384, not '0x450'"},
        {{"--video", "--fps"}, "--video needs a file name, not '--fps'"},
        {{"--audio", "sound.mp3"}, "--audio writes .wav or .flac files, not 'sound.mp3'"},
        {{"--at", "5", "--bench"}, "choose one of --at, --from/--to, --video, --audio, --moments and --bench"},
        {{"--to", "10", "-o", "d"}, "--to needs --from"},
        {{"--from", "10", "-o", "d"}, "--from needs --to"},
        {{"--from", "20", "--to", "20", "-o", "d"}, "--to must be later than --from"},
        {{"--moments", "list.txt", "--fps", "30", "-o", "d"}, "--fps does not apply to --moments"},
        {{"--at", "5", "--fps", "30", "-o", "x.png"}, "--fps does not apply to --at"},
        {{"--frames", "5", "--at", "1", "-o", "x.png"}, "--frames applies only to --bench"},
        {{"--bench", "--from", "0", "--to", "100", "--frames", "5"}, "--frames does not apply to a --from/--to range"},
        {{"--png-level", "1", "--video", "v.mp4"},
         "--png-level applies only to the PNG files of --at, --from/--to and --moments"},
        {{"--from", "0", "--to", "10", "--png-level", "3", "--bench"},
         "--png-level applies only to the PNG files of --at, --from/--to and --moments"},
        {{"--jobs", "2", "--audio", "s.wav"}, "--jobs applies only to --video and --from/--to"},
        {{"--jobs", "2", "--at", "5", "-o", "x.png"}, "--jobs applies only to --video and --from/--to"},
        {{"--motion-blur", "4", "--bench"}, "--motion-blur does not apply to --bench"},
        {{"--motion-blur", "4", "--audio", "s.wav"}, "--motion-blur does not apply to --audio"},
        {{"--audio", "sound.wav", "--codec", "ffv1"}, "--codec applies only to --video"},
        {{"--quality", "5", "--bench"}, "--quality applies only to --video"},
        {{"--chroma", "444", "--at", "5", "-o", "x.png"}, "--chroma applies only to --video"},
        {{"--audio", "sound.wav", "--samples", "2"}, "--samples does not apply to --audio"},
        {{"--at", "5"}, "--at needs -o FILE.png"},
        {{"--bench", "-o", "x"}, "--bench writes no file; drop -o"},
        {{"--video", "v.mp4", "--size", "801x450"},
         "--codec h264 in 4:2:0 needs an even width and height; try --chroma 444 or another --size"},
        {{"--motion-blur", "2", "--fps", "501", "--from", "1", "--to", "2", "-o", "d"},
         "--motion-blur 2 at 501 fps makes a run of 1002 idle calls a second; the demo's clock allows 1000"},
    };
    for (const Case& c : cases) {
        const ParsedArgs parsed = parse(c.args);
        EXPECT_FALSE(parsed.ok) << c.error;
        EXPECT_EQ(parsed.error, c.error);
    }
}

} // namespace
