// The message boxes in the browser: the question is asked by the page before the
// demo starts (its click is also the gesture sound needs), so askYesNo returns that
// answer; other messages appear in the page.
#include "platform/dialog.h"
#include "platform/web/web_answer.h"
#include "platform/web/web_page.h"

namespace {

int askYesNo(const char*, const char*) { return pageAnswer(); }
void showMessage(const char* text, const char* title, DialogIcon) { showPageMessage(text, title); }

} // namespace

const DialogApi pageDialogs = {askYesNo, showMessage};
DialogApi dialogs = pageDialogs;
