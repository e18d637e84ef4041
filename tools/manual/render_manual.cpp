// Writes the manual page glasswind-render(1) from the tool's own synopsis, description
// and option table, the ones its --help shows, so the two always agree.
// Usage: render_manual <installed data folder>   (the page goes to standard output)
#include "render_option_table.h"
#include "render_modes.h"
#include "render_options.h"

#include <cstdio>
#include <string>

namespace {

// Text for roff: backslashes and hyphens escaped, lines apart by '\n' made one line.
std::string roff(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else if (c == '\n') {
            out += ' ';
        } else {
            out += c;
        }
    }
    // A line may not start with a control character.
    return !out.empty() && (out[0] == '.' || out[0] == '\'') ? "\\&" + out : out;
}

void writeSynopsis()
{
    std::puts(".SH SYNOPSIS");
    const std::string program = "glasswind-render ";
    for (size_t i = 0; i < renderSynopsisCount; ++i) {
        const std::string line = renderSynopsis[i];
        std::printf(".SY glasswind\\-render\n%s\n.YS\n", roff(line.substr(program.size())).c_str());
    }
}

void writeOptions()
{
    std::puts(".SH OPTIONS");
    for (size_t i = 0; i < renderOptionCount; ++i) {
        const OptionRow& row = renderOptionTable[i];
        if (row.help == nullptr) {
            continue;
        }
        std::printf(".TP\n.B %s", roff(row.name).c_str());
        if (row.placeholder[0] != '\0') {
            std::printf(" \\fI%s\\fR", roff(row.placeholder).c_str());
        }
        std::printf("\n%s\n", roff(optionHelp(row)).c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_manual <installed data folder>\n");
        return 2;
    }
    const std::string dataFolder = argv[1];
    std::printf(".TH GLASSWIND\\-RENDER 1 \"\" \"%s\" \"User Commands\"\n", roff(renderVersion()).c_str());
    std::puts(".SH NAME\nglasswind\\-render \\- draw the Glasswind demo offscreen into pictures, videos or timings");
    writeSynopsis();
    std::printf(".SH DESCRIPTION\n%s\n", roff(renderAbout).c_str());
    std::printf(".PP\nInstalled, the folder that holds data/ is\n.IR %s ,\n", roff(dataFolder).c_str());
    std::puts("which only root may write: run the tool there and give it an output path in your own folders.");
    std::puts(".PP\nVideos need\n.BR ffmpeg (1)\non the PATH. It needs an X display with OpenGL; on a machine");
    std::puts("without one, run it under\n.BR xvfb\\-run (1).");
    writeOptions();
    std::printf(".SH EXIT STATUS\n0 when the work is done, %d when it failed and %d for a command line it "
                "refuses;\nin both, one line on standard error says why.\n",
                exitFailure, exitBadArguments);
    std::printf(".SH EXAMPLES\n.EX\ncd %s\n", roff(dataFolder).c_str());
    std::puts("glasswind\\-render \\-\\-at 61880 \\-o ~/flash.png");
    std::puts("glasswind\\-render \\-\\-video ~/glasswind.mp4 \\-\\-size 1920x1080\n.EE");
    std::printf(".SH FILES\n.TP\n.I %s/data/\nthe images and the music the demo and the tool read\n",
                roff(dataFolder).c_str());
    std::puts(".SH SEE ALSO\n.BR glasswind (6),\n.BR ffmpeg (1)");
    return 0;
}
