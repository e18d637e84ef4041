// The music file through the C runtime's Windows calls: opened binary (the runtime
// would otherwise turn line ends into text), read at an offset after a seek.
#include "platform/file_read.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <climits>
#include <cstdio>

int openRegularFile(const char* path, uint64_t* size)
{
    const int fd = _open(path, _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    struct _stat64 status = {};
    if (fd < 0 || _fstat64(fd, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
        if (fd >= 0) _close(fd);
        return -1;
    }
    *size = static_cast<uint64_t>(status.st_size);
    return fd;
}

int64_t readFileAt(int file, unsigned char* buffer, size_t count, uint64_t offset)
{
    if (offset > static_cast<uint64_t>(LLONG_MAX) || _lseeki64(file, static_cast<long long>(offset), SEEK_SET) < 0) {
        return -1;
    }
    return _read(file, buffer, static_cast<unsigned int>(count < UINT_MAX ? count : UINT_MAX));
}

void closeFile(int file) { _close(file); }
