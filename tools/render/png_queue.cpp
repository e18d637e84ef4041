// One frame in flight: the drawing thread fills the slot, the writer empties it.
#include "png_queue.h"

#include "png_output.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

struct PngQueue {
    std::mutex lock;
    std::condition_variable changed;
    std::thread writer;
    bool full = false;
    bool closing = false;
    std::string path;
    std::vector<uint8_t> rgb;
    std::string error; // the first failure
    int width = 0;
    int height = 0;
    int level = 0;
};

// Never destroyed: a tool that ends early must not wait for, or trip over, its thread.
PngQueue& queue = *new PngQueue;

void writeQueued()
{
    std::unique_lock<std::mutex> held(queue.lock);
    while (true) {
        queue.changed.wait(held, [] { return queue.full || queue.closing; });
        if (!queue.full) {
            return;
        }
        const std::string path = queue.path;
        std::vector<uint8_t> rgb;
        rgb.swap(queue.rgb);
        held.unlock();
        std::string error;
        const bool ok = savePng(path, queue.width, queue.height, rgb, &error, queue.level);
        held.lock();
        if (!ok && queue.error.empty()) {
            queue.error = error;
        }
        queue.full = false;
        queue.changed.notify_all();
    }
}

} // namespace

void startPngQueue(int width, int height, int level)
{
    queue.width = width;
    queue.height = height;
    queue.level = level;
    queue.full = false;
    queue.closing = false;
    queue.error.clear();
    queue.writer = std::thread(writeQueued);
}

bool queuePng(const std::string& path, std::vector<uint8_t>* rgb, std::string* error)
{
    std::unique_lock<std::mutex> held(queue.lock);
    queue.changed.wait(held, [] { return !queue.full; });
    if (!queue.error.empty()) {
        *error = queue.error;
        return false;
    }
    queue.path = path;
    queue.rgb.swap(*rgb);
    queue.full = true;
    queue.changed.notify_all();
    return true;
}

bool finishPngQueue(std::string* error)
{
    {
        std::unique_lock<std::mutex> held(queue.lock);
        queue.changed.wait(held, [] { return !queue.full; });
        queue.closing = true;
        queue.changed.notify_all();
    }
    queue.writer.join();
    *error = queue.error;
    return queue.error.empty();
}
