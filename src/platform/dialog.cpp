// Message boxes through the desktop's dialog tool, or SDL2's own message box where
// there is none; both usable before any window exists.
#include "platform/dialog.h"

#include "platform/dialog_tool_run.h"
#include "platform/dialog_tools.h"

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A box that cannot be shown (no display, as over SSH) says its title, its text on one
// line and what follows from it on standard error, so the failure does not look like
// success; standard output is left to the demo's own line.
void sayUnshown(const char* title, const char* text, const char* outcome)
{
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    // With no display at all, SDL's last error is that of its last fallback (zenity's).
    const bool noDisplay = std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr;
    std::fprintf(stderr, "%s: %s%s (no message box could be shown: %s)\n", title, line.c_str(), outcome,
                 noDisplay ? "no display, DISPLAY is not set" : SDL_GetError());
}

int askYesNoSdl(const char* text, const char* title)
{
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, dialogAnswerYes, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, dialogAnswerNo, "No"},
    };
    SDL_MessageBoxData box = {};
    box.flags = SDL_MESSAGEBOX_INFORMATION;
    box.window = nullptr;
    box.title = title;
    box.message = text;
    box.numbuttons = SDL_arraysize(buttons);
    box.buttons = buttons;
    int answer = dialogAnswerNone;
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        sayUnshown(title, text, " No");
        return dialogAnswerNone;
    }
    // Closing the box through the window manager leaves -1.
    return answer == dialogAnswerYes || answer == dialogAnswerNo ? answer : dialogAnswerNone;
}

void showMessageSdl(const char* text, const char* title, DialogIcon icon)
{
    const SDL_MessageBoxButtonData okButton = {
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"};
    SDL_MessageBoxData box = {};
    // No type flag at all gives the plain box without an icon.
    box.flags = icon == DialogIcon::error ? SDL_MESSAGEBOX_ERROR : 0;
    box.title = title;
    box.message = text;
    box.numbuttons = 1;
    box.buttons = &okButton;
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        sayUnshown(title, text, "");
    }
}

// The first executable file of that name on the PATH; empty when there is none.
std::string findProgram(const char* name)
{
    for (const std::string& candidate : programCandidates(std::getenv("PATH"), name)) {
        struct stat file = {};
        if (stat(candidate.c_str(), &file) == 0 && S_ISREG(file.st_mode) && access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return "";
}

// Asks through the desktop's tool; toolGaveNoAnswer when there is none, or when it
// failed, which it then says on standard error.
int askThroughTool(DialogBox box, const char* text, const char* title)
{
    const std::string zenity = findProgram(dialogToolName(DialogTool::zenity));
    const std::string kdialog = findProgram(dialogToolName(DialogTool::kdialog));
    const DialogDesktop desktop = {std::getenv("DISPLAY"), std::getenv("XDG_CURRENT_DESKTOP"), !zenity.empty(),
                                   !kdialog.empty()};
    const DialogTool tool = chooseDialogTool(desktop);
    if (tool == DialogTool::none) return toolGaveNoAnswer;
    const ToolEnd end =
        runDialogTool(tool == DialogTool::zenity ? zenity : kdialog, dialogToolArguments(tool, box, text, title),
                      dialogToolEnvironment(environ), dialogToolWindowLimitMs);
    const int answer = answerFromToolEnd(end);
    if (answer == toolGaveNoAnswer) {
        std::fprintf(stderr, "glasswind: %s %s; SDL's message box asks instead\n", dialogToolName(tool),
                     describeToolEnd(end).c_str());
    }
    return answer;
}

int askYesNoDesktop(const char* text, const char* title)
{
    const int answer = askThroughTool(DialogBox::question, text, title);
    return answer == toolGaveNoAnswer ? askYesNoSdl(text, title) : answer;
}

void showMessageDesktop(const char* text, const char* title, DialogIcon icon)
{
    if (askThroughTool(messageBox(icon), text, title) == toolGaveNoAnswer) {
        showMessageSdl(text, title, icon);
    }
}

} // namespace

const DialogApi sdlDialogs = {askYesNoSdl, showMessageSdl};
const DialogApi desktopDialogs = {askYesNoDesktop, showMessageDesktop};
DialogApi dialogs = desktopDialogs;
