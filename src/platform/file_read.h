// The music file as the decoder reads it, through the system's own file calls: a
// regular file only (a FIFO or a device would block or never end), read at offsets.
#pragma once

#include <cstddef>
#include <cstdint>

// A regular file opened for reading, with its length in bytes; -1 when it is missing,
// unreadable or not a regular file. Opening never waits (on a FIFO with no writer).
int openRegularFile(const char* path, uint64_t* size);

// Up to count bytes from offset on: the number read, 0 at the end, -1 on an error.
int64_t readFileAt(int file, unsigned char* buffer, size_t count, uint64_t offset);

void closeFile(int file);
