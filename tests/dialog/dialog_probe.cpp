// Asks one box through the demo's dialog layer, as start-up does, and prints what
// came of it: "yes", "no" or "none" for the question, "dismissed" for a message.
//   dialog_probe question|notice|error TEXT TITLE
#include "platform/dialog.h"
#include "platform/stop_signals.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int argumentCount = 4;
constexpr int usageExitCode = 2;

const char* answerWord(int answer)
{
    if (answer == dialogAnswerYes) return "yes";
    if (answer == dialogAnswerNo) return "no";
    return "none";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != argumentCount) {
        std::fprintf(stderr, "usage: %s question|notice|error TEXT TITLE\n", argv[0]);
        return usageExitCode;
    }
    endOnStopSignals();
    const char* kind = argv[1];
    if (std::strcmp(kind, "question") == 0) {
        std::printf("%s\n", answerWord(dialogs.askYesNo(argv[2], argv[3])));
    } else {
        dialogs.showMessage(argv[2], argv[3], std::strcmp(kind, "error") == 0 ? DialogIcon::error : DialogIcon::none);
        std::printf("dismissed\n");
    }
    return 0;
}
