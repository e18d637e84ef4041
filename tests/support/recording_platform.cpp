// Recording stand-ins: every platform call becomes a line in a log.
#include "recording_platform.h"

#include "app/clock.h"
#include "app/idle.h"
#include "app/music.h"
#include "app/render_state.h"
#include "app/startup.h"
#include "app/warm_up.h"
#include "direction/timeline.h"
#include "platform/audio.h"
#include "platform/dialog.h"
#include "platform/screen.h"
#include "platform/windowing.h"
#include "view/projection.h"

#include <GL/freeglut.h>

namespace {

RecordingPlatform* current = nullptr;

void log(const std::string& line) { current->calls.push_back(line); }

void init(int*, char**) { log("init"); }
void initDisplayMode(unsigned int mode) { log("initDisplayMode " + std::to_string(mode)); }
void gameModeString(const char* text) { log(std::string("gameModeString ") + text); }
int enterGameMode()
{
    log("enterGameMode");
    return current->gameModeResult;
}
void leaveGameMode() { log("leaveGameMode"); }
void setCursor(int cursor) { log("setCursor " + std::to_string(cursor)); }
void initWindowSize(int w, int h) { log("initWindowSize " + std::to_string(w) + " " + std::to_string(h)); }
void initWindowPosition(int x, int y) { log("initWindowPosition " + std::to_string(x) + " " + std::to_string(y)); }
int createWindow(const char* title)
{
    log(std::string("createWindow ") + title);
    return 1;
}
void fullScreen() { log("fullScreen"); }
void reshapeFunc(void (*cb)(int, int)) { log(cb == onReshape ? "reshapeFunc onReshape" : "reshapeFunc ?"); }
void displayFunc(void (*cb)()) { log(cb == displayLiveFrame ? "displayFunc displayLiveFrame" : "displayFunc ?"); }
void idleFunc(void (*cb)()) { log(cb == onIdle ? "idleFunc onIdle" : "idleFunc ?"); }
void keyboardFunc(void (*cb)(unsigned char, int, int)) { log(cb == onKey ? "keyboardFunc onKey" : "keyboardFunc ?"); }
void mainLoop() { log("mainLoop"); }
int get(unsigned int query)
{
    if (query == GLUT_ELAPSED_TIME) {
        if (current->nextElapsedMs.empty()) {
            return current->elapsedMs;
        }
        const int answer = current->nextElapsedMs.front();
        current->nextElapsedMs.pop_front();
        return answer;
    }
    log("get " + std::to_string(query));
    return 0;
}
void postRedisplay() { log("postRedisplay"); }
void swapBuffers() { log("swapBuffers"); }
void exitProcess(int code)
{
    log("exit " + std::to_string(code));
    throw ProcessExit{code};
}

int askYesNo(const char* text, const char* title)
{
    log(std::string("askYesNo ") + text + " | " + title);
    return current->dialogAnswer;
}
void showMessage(const char* text, const char* title, DialogIcon icon)
{
    log(std::string("showMessage ") + title + (icon == DialogIcon::error ? " error" : " none"));
    current->messages.push_back(text);
}

void holdScreen() { log("screen.hold"); }
void readPlayMonitor(MonitorRect* monitor)
{
    log("screen.readPlayMonitor");
    *monitor = current->monitor;
}
void releaseScreen() { log("screen.release"); }

uint32_t audioGetVersion()
{
    log("audio.getVersion");
    return current->audioVersion;
}
int audioInit(int device, uint32_t freq, uint32_t flags, void* win, const void* cls)
{
    log("audio.init " + std::to_string(device) + " " + std::to_string(freq) + " " + std::to_string(flags) + " " +
        (win ? "window" : "0") + " " + (cls ? "class" : "null"));
    return current->audioInitResult;
}
int audioErrorGetCode()
{
    log("audio.errorGetCode");
    return current->audioErrorCode;
}
uint32_t audioStreamCreateFile(int mem, const void* file, uint64_t offset, uint64_t length, uint32_t flags)
{
    log("audio.streamCreateFile " + std::to_string(mem) + " " + static_cast<const char*>(file) + " " +
        std::to_string(offset) + " " + std::to_string(length) + " " + std::to_string(flags));
    if (current->streamHandle == 0) {
        current->audioErrorCode = current->streamErrorCode;
    }
    return current->streamHandle;
}
uint32_t audioMusicLoad(int mem, const void* file, uint64_t offset, uint32_t length, uint32_t flags, uint32_t freq)
{
    log("audio.musicLoad " + std::to_string(mem) + " " + static_cast<const char*>(file) + " " + std::to_string(offset) +
        " " + std::to_string(length) + " " + std::to_string(flags) + " " + std::to_string(freq));
    if (current->moduleHandle == 0) {
        current->audioErrorCode = current->moduleErrorCode;
    }
    return current->moduleHandle;
}
int audioChannelPlay(uint32_t handle, int restart)
{
    log("audio.channelPlay " + std::to_string(handle) + " " + std::to_string(restart));
    return 1;
}
int audioChannelSetPosition(uint32_t handle, uint64_t pos, uint32_t mode)
{
    log("audio.channelSetPosition " + std::to_string(handle) + " " + std::to_string(pos) + " " + std::to_string(mode));
    return 1;
}
int audioFree()
{
    log("audio.free");
    return 1;
}

void renderStateRecorder() { log("setupRenderState"); }

const WindowingApi recordingWindowing = {
    init,        initDisplayMode, gameModeString,     enterGameMode, leaveGameMode,
    setCursor,   initWindowSize,  initWindowPosition, createWindow,  fullScreen,
    reshapeFunc, displayFunc,     idleFunc,           keyboardFunc,  mainLoop,
    get,         postRedisplay,   swapBuffers,        exitProcess,
};
const DialogApi recordingDialogs = {askYesNo, showMessage};
const ScreenApi recordingScreen = {holdScreen, readPlayMonitor, releaseScreen};
const AudioApi recordingAudio = {
    audioGetVersion, audioInit,        audioErrorGetCode,       audioStreamCreateFile,
    audioMusicLoad,  audioChannelPlay, audioChannelSetPosition, audioFree,
};

void resetDemoState()
{
    resetClock();
    shotIndex = 0;
    musicChannel = 0;
    windowWidth = 0;
    windowHeight = 0;
}

} // namespace

PlatformRecorder::PlatformRecorder()
{
    static RecordingPlatform instance;
    instance = RecordingPlatform{};
    current = &instance;
    windowing = recordingWindowing;
    dialogs = recordingDialogs;
    screen = recordingScreen;
    audio = recordingAudio;
    setupRenderStateStep = renderStateRecorder;
    resetDemoState();
}

PlatformRecorder::~PlatformRecorder()
{
    windowing = glutWindowing;
    dialogs = desktopDialogs;
    screen = xlibScreen;
    audio = systemAudio;
    setupRenderStateStep = setupRenderState;
    resetDemoState();
    current = nullptr;
}

RecordingPlatform& PlatformRecorder::platform() { return *current; }

RecordingPlatform& recording() { return *current; }
