// The desktop's dialog tools without starting one: which tool each desktop gets,
// the arguments of each box, the tool's environment, and what each end answers.
#include "platform/dialog_tools.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using Strings = std::vector<std::string>;

struct Desktop {
    const char* display;
    const char* currentDesktop;
    bool hasZenity;
    bool hasKdialog;
    DialogTool expected;
};

TEST(DialogTools, ToolChosenForEachDesktop)
{
    const Desktop table[] = {
        {":0", "GNOME", true, true, DialogTool::zenity},
        {":0", "ubuntu:GNOME", true, true, DialogTool::zenity},
        {":0", "X-Cinnamon", true, false, DialogTool::zenity},
        {":0", nullptr, true, true, DialogTool::zenity},
        {":0", "KDE", true, true, DialogTool::kdialog},
        {":1", "kde", true, true, DialogTool::kdialog},
        {":0", "XFCE:KDE", true, true, DialogTool::kdialog}, // any entry of the list
        {":0", "LXDE", true, true, DialogTool::zenity},      // a name that merely ends in DE
        {":0", "KDE4", true, true, DialogTool::zenity},
        {":0", "KDE", true, false, DialogTool::zenity}, // only the other tool is installed
        {":0", "GNOME", false, true, DialogTool::kdialog},
        {":0", "", false, true, DialogTool::kdialog},
        {":0", "KDE", false, false, DialogTool::none},
        {nullptr, "GNOME", true, true, DialogTool::none}, // no display, as over SSH
        {"", "KDE", true, true, DialogTool::none},
    };
    for (const Desktop& d : table) {
        SCOPED_TRACE(std::string(d.display == nullptr ? "(unset)" : d.display) + " " +
                     (d.currentDesktop == nullptr ? "(unset)" : d.currentDesktop));
        EXPECT_EQ(chooseDialogTool({d.display, d.currentDesktop, d.hasZenity, d.hasKdialog}), d.expected);
    }
}

struct Box {
    DialogTool tool;
    DialogBox box;
    const char* text;
    const char* title;
    Strings arguments;
};

TEST(DialogTools, ArgumentsOfEachBoxForEachTool)
{
    const char* question = "Run in fullscreen mode?";
    const char* title = "NQL-004 \"Glasswind\"";
    const char* noDevice = "Can't initialize device\n(error code: 3)";
    const char* version = "An incorrect version of BASS.DLL was loaded";
    const Box table[] = {
        {DialogTool::zenity,
         DialogBox::question,
         question,
         title,
         {"zenity", "--question", "--title=NQL-004 \"Glasswind\"", "--text=Run in fullscreen mode?", "--no-markup"}},
        {DialogTool::zenity,
         messageBox(DialogIcon::none),
         noDevice,
         "Error",
         {"zenity", "--info", "--title=Error", "--text=Can't initialize device\n(error code: 3)", "--no-markup"}},
        {DialogTool::zenity,
         messageBox(DialogIcon::error),
         version,
         "Error",
         {"zenity", "--error", "--title=Error", "--text=An incorrect version of BASS.DLL was loaded", "--no-markup"}},
        {DialogTool::kdialog,
         DialogBox::question,
         question,
         title,
         {"kdialog", "--title", "NQL-004 \"Glasswind\"", "--yesno", "Run in fullscreen mode?"}},
        {DialogTool::kdialog,
         messageBox(DialogIcon::none),
         noDevice,
         "Error",
         {"kdialog", "--title", "Error", "--msgbox", "Can't initialize device\n(error code: 3)"}},
        {DialogTool::kdialog,
         messageBox(DialogIcon::error),
         version,
         "Error",
         {"kdialog", "--title", "Error", "--error", "An incorrect version of BASS.DLL was loaded"}},
        // Markup and escapes stay text: zenity is told to read no markup, and the
        // backslashes kdialog reads as escapes are doubled.
        {DialogTool::zenity,
         DialogBox::question,
         "<b>1 & 2</b> \\n $HOME",
         "a\\b",
         {"zenity", "--question", "--title=a\\b", "--text=<b>1 & 2</b> \\n $HOME", "--no-markup"}},
        {DialogTool::kdialog,
         DialogBox::question,
         "1 < 2 & \\n \\\\ $HOME",
         "a\\b",
         {"kdialog", "--title", "a\\b", "--yesno", "1 < 2 & \\\\n \\\\\\\\ $HOME"}},
    };
    for (const Box& b : table) {
        SCOPED_TRACE(std::string(dialogToolName(b.tool)) + " " + b.text);
        EXPECT_EQ(dialogToolArguments(b.tool, b.box, b.text, b.title), b.arguments);
    }
}

struct End {
    ToolEnd end;
    int answer;
    const char* words;
};

TEST(DialogTools, AnswerOfEachWayAToolEnds)
{
    const End table[] = {
        {{ToolEndKind::exited, 0}, dialogAnswerYes, "ended with exit code 0"},
        {{ToolEndKind::exited, 1}, dialogAnswerNo, "ended with exit code 1"},
        {{ToolEndKind::exited, 2}, dialogAnswerNone, "ended with exit code 2"}, // Escape, or the box closed
        {{ToolEndKind::exited, 3}, toolGaveNoAnswer, "ended with exit code 3"},
        {{ToolEndKind::exited, 5}, toolGaveNoAnswer, "ended with exit code 5"},     // zenity's time-out
        {{ToolEndKind::exited, 127}, toolGaveNoAnswer, "ended with exit code 127"}, // could not be run
        {{ToolEndKind::exited, 255}, toolGaveNoAnswer, "ended with exit code 255"}, // zenity's own error
        {{ToolEndKind::killed, 11}, toolGaveNoAnswer, "was killed by signal 11"},
        {{ToolEndKind::killed, 6}, toolGaveNoAnswer, "was killed by signal 6"},
        {{ToolEndKind::showedNoWindow, 0}, toolGaveNoAnswer, "showed no window within 5 s"},
        {{ToolEndKind::failed, ENOENT}, toolGaveNoAnswer, "could not be run: No such file or directory"},
    };
    for (const End& e : table) {
        SCOPED_TRACE(e.words);
        EXPECT_EQ(answerFromToolEnd(e.end), e.answer);
        EXPECT_EQ(describeToolEnd(e.end), e.words);
    }
}

TEST(DialogTools, EnvironmentHoldsTheToolToX11AndTellsEscapeApart)
{
    const char* ours[] = {"PATH=/usr/bin",
                          "GDK_BACKEND=wayland",
                          "ZENITY_ESCAPE=1",
                          "QT_QPA_PLATFORM=wayland",
                          "HOME=/home/viewer",
                          "ZENITY_ESC=1",
                          nullptr};
    EXPECT_EQ(dialogToolEnvironment(ours), (Strings{"PATH=/usr/bin", "ZENITY_ESCAPE=1", "HOME=/home/viewer",
                                                    "GDK_BACKEND=x11", "QT_QPA_PLATFORM=xcb", "ZENITY_ESC=2"}));
    EXPECT_EQ(dialogToolEnvironment(nullptr), (Strings{"GDK_BACKEND=x11", "QT_QPA_PLATFORM=xcb", "ZENITY_ESC=2"}));
}

TEST(DialogTools, ProgramLookedForAlongThePath)
{
    EXPECT_EQ(programCandidates("/usr/local/bin:/usr/bin", "zenity"),
              (Strings{"/usr/local/bin/zenity", "/usr/bin/zenity"}));
    // Empty entries would be the working directory: skipped.
    EXPECT_EQ(programCandidates(":/opt/kde/bin::/usr/bin:", "kdialog"),
              (Strings{"/opt/kde/bin/kdialog", "/usr/bin/kdialog"}));
    EXPECT_EQ(programCandidates("", "zenity"), Strings{});
    EXPECT_EQ(programCandidates(nullptr, "zenity"), (Strings{"/bin/zenity", "/usr/bin/zenity"}));
}

} // namespace
