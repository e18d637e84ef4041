// Entry point of the browser build: the demo once the page's question is answered
// (--answer yes|no), or one still of the steady run (--at MS --size WxH).
#include "app/music.h"
#include "app/render_state.h"
#include "app/startup.h"
#include "app/steady_clock.h"
#include "assets/texture_set.h"
#include "platform/dialog.h"
#include "platform/web/web_answer.h"
#include "platform/web/web_page.h"
#include "platform/web/webgl_backend.h"
#include "platform/windowing.h"

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int stillSamples = 4;
constexpr int exitBadArguments = 2;
const char* const canvasSelector = "#canvas";

int answer = dialogAnswerNone;

struct Arguments {
    bool still = false;
    int atMs = 0;
    int width = 0;
    int height = 0;
    int answer = dialogAnswerNo;
};

bool readArguments(int argc, char** argv, Arguments* arguments)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const char* name = argv[i];
        const char* value = argv[i + 1];
        if (std::strcmp(name, "--at") == 0) {
            arguments->still = true;
            arguments->atMs = std::atoi(value);
        } else if (std::strcmp(name, "--size") == 0) {
            if (std::sscanf(value, "%dx%d", &arguments->width, &arguments->height) != 2) {
                return false;
            }
        } else if (std::strcmp(name, "--answer") == 0) {
            arguments->answer = std::strcmp(value, "yes") == 0 ? dialogAnswerYes : dialogAnswerNo;
        } else {
            return false;
        }
    }
    return !arguments->still || (arguments->width > 0 && arguments->height > 0);
}

// As glasswind-render --at draws it: the steady run's history up to the moment, then its frame.
int drawStill(const Arguments& arguments)
{
    setKeepCanvasPictures(true);
    setCanvasSize(arguments.width, arguments.height);
    installSteadyClock(presentWebGl, glutWindowing.exitProcess);
    if (!openWebGl(canvasSelector, stillSamples, true, true)) {
        showNoWebGlMessage();
        return EXIT_FAILURE;
    }
    onReshape(arguments.width, arguments.height);
    setupRenderState();
    drawMoment(arguments.atMs, 1, nullptr);
    markFrameReady(arguments.atMs);
    return EXIT_SUCCESS;
}

} // namespace

void setPageAnswer(int given) { answer = given; }
int pageAnswer() { return answer; }

// The files the page puts in place before main: the images, then the music.
extern "C" EMSCRIPTEN_KEEPALIVE const char* glasswindDataFile(int index)
{
    if (index < textureSlotCount) {
        return textureFiles[index];
    }
    return index == textureSlotCount ? musicFilePath : nullptr;
}

int main(int argc, char** argv)
{
    Arguments arguments;
    if (!readArguments(argc, argv, &arguments)) {
        std::fputs("usage: glasswind [--answer yes|no] | --at MS --size WxH\n", stderr);
        return exitBadArguments;
    }
    if (arguments.still) {
        return drawStill(arguments);
    }
    setPageAnswer(arguments.answer);
    return runDemo(1, argv);
}
