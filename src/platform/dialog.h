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

// Starts out as SDL's native message boxes.
extern DialogApi dialogs;
extern const DialogApi sdlDialogs;
