// Entry point of the demo: everything happens in the start-up sequence and the event loop.
#include "app/startup.h"
#include "platform/stop_signals.h"

int main(int argc, char** argv)
{
    endOnStopSignals();
    return runDemo(argc, argv);
}
