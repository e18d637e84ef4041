// One short libpulse connection at start-up that reads the server's name. The
// main loop is run by hand with a deadline, so a server that hangs cannot hold
// the demo's start.
#include "platform/pulse_server.h"

#include <pulse/pulseaudio.h>

#include <chrono>

namespace {

// A local server answers in a few ms; past this the answer is taken as unknown.
constexpr std::chrono::milliseconds answerLimit{300};

struct Asking {
    bool done = false;
    SoundServer server = SoundServer::unknown;
};

void onServerInfo(pa_context*, const pa_server_info* info, void* data)
{
    auto* asking = static_cast<Asking*>(data);
    if (info != nullptr) asking->server = soundServerNamed(info->server_name);
    asking->done = true;
}

void onContextState(pa_context* context, void* data)
{
    auto* asking = static_cast<Asking*>(data);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY: {
        pa_operation* operation = pa_context_get_server_info(context, onServerInfo, asking);
        if (operation == nullptr)
            asking->done = true;
        else
            pa_operation_unref(operation);
        break;
    }
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED: asking->done = true; break;
    default: break;
    }
}

// Runs the loop until the answer comes, the connection fails or the time is up.
void runUntilAnswered(pa_mainloop* loop, const Asking& asking)
{
    const auto deadline = std::chrono::steady_clock::now() + answerLimit;
    while (!asking.done) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        if (pa_mainloop_prepare(loop, static_cast<int>(left.count())) < 0 || pa_mainloop_poll(loop) < 0 ||
            pa_mainloop_dispatch(loop) < 0) {
            return;
        }
    }
}

} // namespace

const char* const pulseClientName = "Glasswind";

SoundServer askPulseServer()
{
    Asking asking;
    pa_mainloop* loop = pa_mainloop_new();
    if (loop == nullptr) return asking.server;
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), pulseClientName);
    if (context != nullptr) {
        pa_context_set_state_callback(context, onContextState, &asking);
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) runUntilAnswered(loop, asking);
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_mainloop_free(loop);
    return asking.server;
}
