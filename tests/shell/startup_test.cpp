// Start-up: the order of the platform calls, the window position and the game-mode text.
#include "app/startup.h"
#include "platform/dialog.h"
#include "recording_platform.h"
#include "view/projection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> runStartup(int answer)
{
    recording().dialogAnswer = answer;
    char name[] = "glasswind";
    char* argv[] = {name, nullptr};
    try {
        runDemo(1, argv);
    } catch (const ProcessExit&) {
    }
    return recording().calls;
}

const std::vector<std::string> audioStart = {
    "audio.getVersion",
    "audio.init -1 44100 0 0 null",
    "audio.streamCreateFile 0 data/glasswind.mp3 0 0 4",
};

const std::vector<std::string> callbacks = {
    "setupRenderState", "reshapeFunc onReshape", "displayFunc displayLiveFrame",
    "idleFunc onIdle",  "keyboardFunc onKey",    "mainLoop",
};

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The held display connection spans the question and lasts until the windowing
// library has its own: a resetting server never sees its last client leave.
const std::vector<std::string> question = {
    "screen.hold",
    "askYesNo Run in fullscreen mode? | NQL-004 \"Glasswind\"",
    "screen.readPlayMonitor",
};

// The refused game mode runs on two 1920x1080 monitors side by side, the primary on
// the right: the mode is named by the monitor, and the fallback window covers that
// monitor alone. A failing audio device ends before the windowing library starts.
TEST(Startup, EachPathMakesItsCallsInOrder)
{
    const std::string window = "createWindow NQL-004 \"Glasswind\"";
    const std::vector<std::string> display = {"init", "screen.release", "initDisplayMode 146"};
    const std::vector<std::string> gameMode = {"gameModeString 1920x1080:32@60", "enterGameMode"};
    const std::vector<std::string> fallback = {"initWindowSize 1920 1080", "initWindowPosition 1920 0", window,
                                               "fullScreen"};
    const std::vector<std::string> noDevice = {audioStart[0], audioStart[1], "audio.errorGetCode",
                                               "showMessage Error none", "exit 0"};
    struct Case {
        const char* what;
        int answer;
        MonitorRect monitor;
        int gameModeResult;
        int audioInitResult;
        std::vector<std::string> expected;
    };
    const MonitorRect single = {0, 0, 1920, 1080};
    const MonitorRect right = {1920, 0, 1920, 1080};
    const std::vector<std::string> centred = {"initWindowSize 800 450", "initWindowPosition 560 315", window};
    const std::vector<std::string> noCursor = {"setCursor 101"};
    const Case cases[] = {
        {"window", dialogAnswerNo, single, 1, 1, concat({question, audioStart, display, centred, callbacks})},
        {"game mode", dialogAnswerYes, single, 1, 1,
         concat({question, audioStart, display, gameMode, noCursor, callbacks})},
        {"refused game mode", dialogAnswerYes, right, 0, 1,
         concat({question, audioStart, display, gameMode, fallback, noCursor, callbacks})},
        {"no audio device", dialogAnswerYes, single, 1, 0, concat({question, noDevice})},
    };
    for (const Case& c : cases) {
        PlatformRecorder recorder;
        recording().monitor = c.monitor;
        recording().gameModeResult = c.gameModeResult;
        recording().audioInitResult = c.audioInitResult;
        EXPECT_EQ(runStartup(c.answer), c.expected) << c.what;
    }
}

TEST(Startup, AnyAnswerButYesOpensAWindow)
{
    for (int answer : {dialogAnswerNo, dialogAnswerNone, -1, 2}) {
        PlatformRecorder recorder;
        const auto calls = runStartup(answer);
        EXPECT_NE(std::find(calls.begin(), calls.end(), "createWindow NQL-004 \"Glasswind\""), calls.end())
            << "answer " << answer;
    }
}

// Which monitor a desktop's list gives; the whole screen is 3840x1080 unless noted.
TEST(PlayMonitor, ThePrimaryThenTheOneAtTheOriginThenTheWholeScreen)
{
    const MonitorInfo left = {{0, 0, 1920, 1080}, false};
    const MonitorInfo right = {{1920, 0, 1920, 1080}, false};
    const MonitorInfo rightPrimary = {{1920, 0, 1920, 1080}, true};
    const MonitorInfo leftPrimary = {{0, 0, 1920, 1080}, true};
    const MonitorInfo above = {{0, -1080, 1920, 1080}, false};
    struct Case {
        const char* name;
        std::vector<MonitorInfo> list;
        MonitorRect want;
    };
    const Case cases[] = {
        {"primary on the right", {left, rightPrimary}, {1920, 0, 1920, 1080}},
        {"primary on the left", {right, leftPrimary}, {0, 0, 1920, 1080}},
        {"no primary: the one holding the origin", {right, left}, {0, 0, 1920, 1080}},
        {"a monitor ending at the origin does not hold it", {above, right}, {0, 0, 3840, 1080}},
        {"no monitors listed", {}, {0, 0, 3840, 1080}},
    };
    for (const Case& c : cases) {
        const MonitorRect got = choosePlayMonitor(c.list.data(), static_cast<int>(c.list.size()), 3840, 1080);
        EXPECT_EQ(std::vector<int>({got.x, got.y, got.width, got.height}),
                  std::vector<int>({c.want.x, c.want.y, c.want.width, c.want.height}))
            << c.name;
    }
}

TEST(Startup, WindowIsCentredOnThePlayMonitorWithTruncationTowardZero)
{
    struct Case {
        MonitorRect monitor;
        int x, y;
    };
    const Case cases[] = {
        {{0, 0, 1366, 768}, 283, 159},
        {{0, 0, 1365, 768}, 282, 159},
        {{0, 0, 799, 450}, 0, 0},
        {{0, 0, 640, 480}, -80, 15},
        // A monitor right of the primary, one below, one left of the origin.
        {{1920, 0, 1920, 1080}, 2480, 315},
        {{0, 1080, 1280, 720}, 240, 1215},
        {{-1280, 0, 1280, 720}, -1040, 135},
        // Truncation happens before the origin is added: 282.5 gives 1282, not 1283.
        {{1000, 0, 1365, 768}, 1282, 159},
    };
    for (const Case& c : cases) {
        const WindowPosition p = centredWindowPosition(c.monitor);
        EXPECT_EQ(p.x, c.x) << c.monitor.x << "," << c.monitor.y << " " << c.monitor.width;
        EXPECT_EQ(p.y, c.y) << c.monitor.x << "," << c.monitor.y << " " << c.monitor.height;
    }
}

TEST(Startup, GameModeTextNamesTheDesktopResolution)
{
    char text[gameModeTextSize];
    formatGameModeText(text, gameModeTextSize, 2560, 1440);
    EXPECT_STREQ(text, "2560x1440:32@60");
    // A tiny buffer is cut, never overrun.
    char small[6];
    formatGameModeText(small, sizeof small, 1920, 1080);
    EXPECT_STREQ(small, "1920x");
}

TEST(Keys, EscapeAloneLeavesGameModeAndExitsWithZero)
{
    for (int key = 0; key < 256; ++key) {
        PlatformRecorder recorder;
        const bool escape = key == 27;
        bool exited = false;
        try {
            onKey(static_cast<unsigned char>(key), 10, 10);
        } catch (const ProcessExit& exit) {
            exited = exit.code == 0;
        }
        EXPECT_EQ(exited, escape) << "key " << key;
        const std::vector<std::string> expected = {"leaveGameMode", "exit 0"};
        EXPECT_EQ(recording().calls, escape ? expected : std::vector<std::string>{}) << "key " << key;
    }
}

TEST(Reshape, StoresTheSizeEvenWhenZero)
{
    PlatformRecorder recorder;
    onReshape(1024, 0);
    EXPECT_EQ(windowWidth, 1024);
    EXPECT_EQ(windowHeight, 0);
}

} // namespace
