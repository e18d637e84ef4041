// Parses and checks the command line by the option table; every refusal is one line
// naming the option.
#include "render_options.h"

#include "app/clock.h"
#include "app/steady_clock.h"
#include "render_option_table.h"
#include "sound_file.h"

#include <cerrno>
#include <cstdlib>
#include <set>

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

bool parseSize(const std::string& text, long min, long max, int* width, int* height)
{
    const size_t cross = text.find('x');
    long w = 0;
    long h = 0;
    if (cross == std::string::npos || !parseWhole(text.substr(0, cross), min, max, &w) ||
        !parseWhole(text.substr(cross + 1), min, max, &h)) {
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

const std::string timeRange = " needs a demo time in ms from 0 to " + std::to_string(demoEndMs);

bool takesValue(const OptionRow& row) { return row.placeholder[0] != '\0'; }

// What an option's value must be, as its refusal says it.
std::string needed(const OptionValue& v)
{
    std::string text = v.what;
    if (v.kind == ValueKind::number || v.kind == ValueKind::size) {
        text += " from " + optionLimits(v);
    }
    if (v.word != nullptr) {
        text += std::string(" or ") + v.word;
    }
    return text;
}

// Stores one option's value where its table row says; the refusal, or empty.
std::string takeValue(const OptionRow& row, const std::string& value, RenderOptions* options, VideoAsk* ask)
{
    const OptionValue& v = row.value;
    const std::string refusal = std::string(row.name) + " needs " + needed(v) + ", not '" + value + "'";
    long number = 0;
    switch (v.kind) {
    case ValueKind::number:
        if (v.word != nullptr && value == v.word) {
            number = v.wordValue;
        } else if (!parseWhole(value, v.min, v.max, &number)) {
            return refusal;
        }
        if (v.time != nullptr) {
            options->*v.time = static_cast<int32_t>(number);
        } else {
            options->*v.whole = static_cast<int>(number);
        }
        return "";
    case ValueKind::videoNumber:
        if (!parseWhole(value, v.min, v.max, &number)) {
            return refusal;
        }
        ask->*v.videoNumber = static_cast<int>(number);
        return "";
    case ValueKind::size: return parseSize(value, v.min, v.max, &options->width, &options->height) ? "" : refusal;
    case ValueKind::codec: ask->codec = value; return "";
    case ValueKind::file:
    case ValueKind::soundFile:
        if (value.empty() || value[0] == '-') {
            return refusal;
        }
        options->*v.text = value;
        if (v.kind == ValueKind::soundFile && !isSoundFileName(value)) {
            return std::string(row.name) + " writes .wav or .flac files, not '" + value + "'";
        }
        return "";
    case ValueKind::none:
    case ValueKind::help:
    case ValueKind::version: break;
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
        options->toMs = demoEndMs;
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
    bool wantsVersion = false;
    VideoAsk ask;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const OptionRow* row = findRenderOption(option);
        if (row == nullptr) {
            return refuse("unknown option '" + option + "' (try --help)");
        }
        if (row->value.kind == ValueKind::help) {
            wantsHelp = true;
            continue;
        }
        if (row->value.kind == ValueKind::version) {
            wantsVersion = true;
            continue;
        }
        if (!seen.insert(option).second) {
            return refuse(option + " given twice");
        }
        const bool hasValue = takesValue(*row);
        if (hasValue && i + 1 >= argc) {
            return refuse(option + " needs a value");
        }
        const std::string refusal = hasValue ? takeValue(*row, argv[++i], &options, &ask) : "";
        if (!refusal.empty()) {
            return refuse(refusal);
        }
    }
    if (wantsHelp) {
        return accept(RenderMode::help);
    }
    if (wantsVersion) {
        return accept(RenderMode::version);
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
        if (!parseWhole(content, 0, demoEndMs, &number)) {
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
