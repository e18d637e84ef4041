// The desktop's own dialog tools (zenity, kdialog): which one asks, with what
// arguments and environment, and what the way it ended answers.
#pragma once

#include "platform/dialog.h"

#include <string>
#include <vector>

enum class DialogTool { none, zenity, kdialog };
enum class DialogBox { question, notice, error };

// What start-up knows of the desktop: DISPLAY and XDG_CURRENT_DESKTOP as the
// environment holds them (null when unset) and which tools the PATH holds.
struct DialogDesktop {
    const char* display;
    const char* currentDesktop; // a colon-separated list, such as "ubuntu:GNOME"
    bool hasZenity;
    bool hasKdialog;
};

// kdialog on KDE, zenity elsewhere, the other when only that one is installed;
// none without a display.
DialogTool chooseDialogTool(const DialogDesktop& desktop);
const char* dialogToolName(DialogTool tool);

// The box that carries a message with this icon: the error box, or the plain notice.
DialogBox messageBox(DialogIcon icon);

// The tool's whole argument list, its name first. Texts reach the tool as they are.
std::vector<std::string> dialogToolArguments(DialogTool tool, DialogBox box, const char* text, const char* title);

// The tool's environment: ours, with the tool held to X11, where its window is
// watched for, and zenity's Escape told apart from its No button.
std::vector<std::string> dialogToolEnvironment(const char* const* environment);

// Where to look for a program, in order, by the PATH variable (null when unset).
std::vector<std::string> programCandidates(const char* searchPath, const char* name);

// A tool that shows no window this long after it was started counts as hung.
constexpr int dialogToolWindowLimitMs = 5000;

// How a tool ended: its exit code, the signal that killed it, ended by us because
// no window of it had appeared in time, or failed to start or to be followed.
enum class ToolEndKind { exited, killed, showedNoWindow, failed };
struct ToolEnd {
    ToolEndKind kind;
    int number; // the exit code, the signal, or for failed the errno
};

// Yes, No or dialogAnswerNone (Escape or the window closed) from a tool's end, or
// toolGaveNoAnswer when it failed and SDL's box must ask instead. A message box's
// OK is Yes.
constexpr int toolGaveNoAnswer = -1;
int answerFromToolEnd(const ToolEnd& end);

// The end in words, for the line that says why SDL's box asks instead.
std::string describeToolEnd(const ToolEnd& end);
