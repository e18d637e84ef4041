// Entry point of the demo: everything happens in the start-up sequence and the event loop.
#include "app/startup.h"
#include "platform/stop_signals.h"

#include <cstdlib>

int main(int argc, char** argv)
{
    endOnStopSignals();
    // The demo writes no files, so Mesa keeps no shader cache on disk for it
    // (unless the user asks for one). Its cache thread runs at the lowest
    // priority, and on a busy machine the process could not end until that
    // thread got a turn: Ctrl-C took up to 4.5 s instead of 0.2 s.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    return runDemo(argc, argv);
}
