// Recording stand-ins for the windowing, dialog, screen and audio tables.
// Each call is logged as one line ("init", "initDisplayMode 146", ...).
#pragma once

#include "platform/monitors.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// Thrown by the stand-in exit so a test can see the process would have ended.
struct ProcessExit {
    int code;
};

struct RecordingPlatform {
    std::vector<std::string> calls;

    // What the stand-ins answer.
    int dialogAnswer = 7;
    int gameModeResult = 1;
    MonitorRect monitor = {0, 0, 1280, 720};
    int elapsedMs = 0;
    // Answers to the next clock reads, one each in turn; elapsedMs once they run out.
    std::deque<int> nextElapsedMs;
    uint32_t audioVersion = 0x02040000;
    int audioInitResult = 1;
    uint32_t streamHandle = 11;
    uint32_t moduleHandle = 22;
    int audioErrorCode = 0;
    // Error code left by a failing stream or module attempt.
    int streamErrorCode = 41;
    int moduleErrorCode = 2;
    std::vector<std::string> messages; // text shown by showMessage
};

// Installs the stand-ins into every table and clears the log; restores the real
// tables and the start-up state of the demo's variables on destruction.
class PlatformRecorder {
public:
    PlatformRecorder();
    ~PlatformRecorder();
    RecordingPlatform& platform();
};

// The recorder currently installed.
RecordingPlatform& recording();
