// The question and the audio notices through Win32's MessageBoxA, modal boxes
// with no owner window, usable before any window exists.
#include "platform/dialog.h"

#include <windows.h>

namespace {

// Yes answers Yes; No, Escape and the close button (IDNO, IDCANCEL) answer No.
int askYesNo(const char* text, const char* title)
{
    return MessageBoxA(nullptr, text, title, MB_YESNO | MB_ICONQUESTION) == IDYES ? dialogAnswerYes : dialogAnswerNo;
}

void showMessage(const char* text, const char* title, DialogIcon icon)
{
    MessageBoxA(nullptr, text, title, icon == DialogIcon::error ? MB_ICONERROR : MB_OK);
}

} // namespace

const DialogApi messageBoxDialogs = {askYesNo, showMessage};
DialogApi dialogs = messageBoxDialogs;
