// Entry point of the demo: everything happens in the start-up sequence and the event loop.
#include "app/startup.h"

int main(int argc, char** argv)
{
    return runDemo(argc, argv);
}
