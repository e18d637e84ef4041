// A stand-in for ffmpeg.exe, so the Windows render tool's video pipe can be tested
// under Wine: it reads its standard input to the end, writes "arguments N, input
// BYTES bytes, title TITLE" (the argument after -metadata, as it arrived) to the file
// named by STAND_IN_REPORT and a line to its last argument (the output file), and
// ends with 0. With STAND_IN_FAIL set it says that on its
// standard error instead and ends with 1, as a failing ffmpeg does.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t readSize = 65536;
constexpr int failed = 1;

} // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdin), _O_BINARY);
    static char buffer[readSize];
    unsigned long long bytes = 0;
    for (size_t got = 0; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) {
        bytes += got;
    }
    if (const char* message = std::getenv("STAND_IN_FAIL")) {
        std::fprintf(stderr, "%s\n", message);
        return failed;
    }
    const char* title = "";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-metadata") == 0) {
            title = argv[i + 1];
        }
    }
    if (const char* reportPath = std::getenv("STAND_IN_REPORT")) {
        if (std::FILE* report = std::fopen(reportPath, "w")) {
            std::fprintf(report, "arguments %d, input %llu bytes, %s\n", argc - 1, bytes, title);
            std::fclose(report);
        }
    }
    if (std::FILE* output = std::fopen(argv[argc - 1], "wb")) {
        std::fputs("stand-in video\n", output);
        std::fclose(output);
    }
    return 0;
}
