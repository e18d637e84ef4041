// Modal message boxes: the start-up question and the audio failure notices.
#pragma once

// Answers of askYesNo, numbered as the classic Win32 box numbers them.
constexpr int dialogAnswerYes = 6;
constexpr int dialogAnswerNo = 7;
constexpr int dialogAnswerNone = 0; // the box could not be shown or was closed

enum class DialogIcon { none, error };

struct DialogApi {
    // Yes (the Return-key default) or No (the Escape-key default).
    int (*askYesNo)(const char* text, const char* title);
    // A single OK button.
    void (*showMessage)(const char* text, const char* title, DialogIcon icon);
};

// Starts out as the desktop's own dialogs.
extern DialogApi dialogs;
// The desktop's dialog tool (zenity, or kdialog on KDE) where one is installed and
// a display is there, and SDL's box where there is none or it fails.
extern const DialogApi desktopDialogs;
// SDL2's own message boxes.
extern const DialogApi sdlDialogs;
