// The music file through POSIX calls: opened non-blocking, so a FIFO with no writer
// returns at once, and read with pread.
#include "platform/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

int openRegularFile(const char* path, uint64_t* size)
{
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status = {};
    if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (fd >= 0) close(fd);
        return -1;
    }
    *size = static_cast<uint64_t>(status.st_size);
    return fd;
}

int64_t readFileAt(int file, unsigned char* buffer, size_t count, uint64_t offset)
{
    ssize_t got = 0;
    do {
        got = pread(file, buffer, count, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    return got;
}

void closeFile(int file) { close(file); }
