// The desktop's own dialog tools: the choice of tool, its arguments and
// environment, and the answer its end gives, without starting anything.
#include "platform/dialog_tools.h"

#include <cstring>
#include <strings.h>

namespace {

// Both tools end with 0 for Yes (or OK) and 1 for No; kdialog ends with 2 when
// Escape or the window's close button dismissed it, and zenity does too once
// ZENITY_ESC says so (it would otherwise give 1, as its No button does).
constexpr int toolExitYes = 0;
constexpr int toolExitNo = 1;
constexpr int toolExitDismissed = 2;

// glibc's search path for a program when PATH is unset.
const char* const defaultSearchPath = "/bin:/usr/bin";
// What separates the entries of PATH and of XDG_CURRENT_DESKTOP.
constexpr char listSeparator = ':';

constexpr int msPerSecond = 1000;

struct Variable {
    std::string name;
    std::string value;
};

// The tool draws through X11 (GTK and Qt would pick Wayland where it is there, out
// of sight of the X display the window is watched on), and zenity tells Escape apart.
std::vector<Variable> toolVariables()
{
    return {{"GDK_BACKEND", "x11"}, {"QT_QPA_PLATFORM", "xcb"}, {"ZENITY_ESC", std::to_string(toolExitDismissed)}};
}

// The non-empty entries of a colon-separated list.
std::vector<std::string> listEntries(const std::string& list)
{
    std::vector<std::string> entries;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(listSeparator, start);
        if (end == std::string::npos) end = list.size();
        if (end > start) entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

bool namesKde(const char* currentDesktop)
{
    if (currentDesktop == nullptr) return false;
    for (const std::string& desktop : listEntries(currentDesktop)) {
        if (strcasecmp(desktop.c_str(), "KDE") == 0) return true;
    }
    return false;
}

// kdialog reads "\n" and "\\" in its texts as escapes: a backslash is doubled to
// stay one. (Qt would show a text that begins with an HTML tag as rich text; none
// of the demo's does.)
std::string kdialogText(const char* text)
{
    std::string escaped;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\\') escaped += '\\';
        escaped += *c;
    }
    return escaped;
}

// Each box's option in each tool, a row a DialogBox in its order.
struct BoxOptions {
    const char* zenity;
    const char* kdialog;
};
const BoxOptions boxOptions[] = {
    {"--question", "--yesno"}, // question
    {"--info", "--msgbox"},    // notice
    {"--error", "--error"},    // error
};

const BoxOptions& optionsOf(DialogBox box) { return boxOptions[static_cast<int>(box)]; }

} // namespace

DialogTool chooseDialogTool(const DialogDesktop& desktop)
{
    if (desktop.display == nullptr || desktop.display[0] == '\0') return DialogTool::none;
    if (namesKde(desktop.currentDesktop) && desktop.hasKdialog) return DialogTool::kdialog;
    if (desktop.hasZenity) return DialogTool::zenity;
    if (desktop.hasKdialog) return DialogTool::kdialog;
    return DialogTool::none;
}

const char* dialogToolName(DialogTool tool)
{
    switch (tool) {
    case DialogTool::zenity: return "zenity";
    case DialogTool::kdialog: return "kdialog";
    case DialogTool::none: break;
    }
    return "none";
}

DialogBox messageBox(DialogIcon icon) { return icon == DialogIcon::error ? DialogBox::error : DialogBox::notice; }

std::vector<std::string> dialogToolArguments(DialogTool tool, DialogBox box, const char* text, const char* title)
{
    if (tool == DialogTool::kdialog) {
        return {"kdialog", "--title", title, optionsOf(box).kdialog, kdialogText(text)};
    }
    // zenity reads its text as Pango markup unless told otherwise.
    return {"zenity", optionsOf(box).zenity, std::string("--title=") + title, std::string("--text=") + text,
            "--no-markup"};
}

std::vector<std::string> dialogToolEnvironment(const char* const* environment)
{
    const std::vector<Variable> variables = toolVariables();
    std::vector<std::string> result;
    for (const char* const* entry = environment; entry != nullptr && *entry != nullptr; ++entry) {
        bool replaced = false;
        for (const Variable& variable : variables) {
            const std::string prefix = variable.name + "=";
            replaced = replaced || std::strncmp(*entry, prefix.c_str(), prefix.size()) == 0;
        }
        if (!replaced) result.emplace_back(*entry);
    }
    for (const Variable& variable : variables) result.push_back(variable.name + "=" + variable.value);
    return result;
}

std::vector<std::string> programCandidates(const char* searchPath, const char* name)
{
    std::vector<std::string> candidates;
    // An empty entry would mean the working directory: not a place to run a tool from.
    for (const std::string& directory : listEntries(searchPath == nullptr ? defaultSearchPath : searchPath)) {
        candidates.push_back(directory + "/" + name);
    }
    return candidates;
}

int answerFromToolEnd(const ToolEnd& end)
{
    if (end.kind != ToolEndKind::exited) return toolGaveNoAnswer;
    switch (end.number) {
    case toolExitYes: return dialogAnswerYes;
    case toolExitNo: return dialogAnswerNo;
    case toolExitDismissed: return dialogAnswerNone;
    default: return toolGaveNoAnswer;
    }
}

std::string describeToolEnd(const ToolEnd& end)
{
    switch (end.kind) {
    case ToolEndKind::exited: return "ended with exit code " + std::to_string(end.number);
    case ToolEndKind::killed: return "was killed by signal " + std::to_string(end.number);
    case ToolEndKind::showedNoWindow:
        return "showed no window within " + std::to_string(dialogToolWindowLimitMs / msPerSecond) + " s";
    case ToolEndKind::failed: break;
    }
    return std::string("could not be run: ") + std::strerror(end.number);
}
