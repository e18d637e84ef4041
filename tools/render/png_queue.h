// PNG files written on a thread of their own, so the next frame is drawn while the
// last one is compressed and written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Starts the writer thread.
void startPngQueue(int width, int height, int level);
// Hands a frame to the thread, first waiting until the one before it is written; false,
// with the first error so far, once a write has failed.
bool queuePng(const std::string& path, std::vector<uint8_t>* rgb, std::string* error);
// Waits for the last frame and ends the thread; false with the first error.
bool finishPngQueue(std::string* error);
