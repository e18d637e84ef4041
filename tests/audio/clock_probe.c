/* Preloaded into the demo by the end-to-end tests: logs, on one monotonic
 * clock, the windowing library's start, its elapsed-time answers, every block
 * the disk audio driver writes (so the music's first sample can be set against
 * demo time 5 000) and every finished frame with the demo time it was drawn
 * for, with the process's CPU time then. The log goes to the file named by
 * GLASSWIND_CLOCK_LOG. */
#define _GNU_SOURCE
#include <GL/freeglut.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static int logFd = -2;
static FILE* recordingFile;
static long long recordedBytes;
/* The first elapsed-time answer since the last swap: the time the idle
 * callback gave the frame being drawn. */
static int frameTimeMs = -1;

static double clockMs(clockid_t clock)
{
    struct timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static double nowMs(void) { return clockMs(CLOCK_MONOTONIC); }

/* The CPU time the whole process has used, every thread (llvmpipe's included). */
static double cpuMs(void) { return clockMs(CLOCK_PROCESS_CPUTIME_ID); }

static int logFile(void)
{
    if (logFd == -2) {
        const char* path = getenv("GLASSWIND_CLOCK_LOG");
        logFd = path ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644) : -1;
    }
    return logFd;
}

/* Whether this stream is the disk driver's recording file. */
static int isRecording(FILE* stream)
{
    if (stream == recordingFile) return 1;
    const char* want = getenv("SDL_DISKAUDIOFILE");
    if (want == NULL || recordingFile != NULL) return 0;
    char link[64];
    char target[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fileno(stream));
    const ssize_t n = readlink(link, target, sizeof target - 1);
    if (n <= 0) return 0;
    target[n] = '\0';
    char* resolved = realpath(want, NULL);
    const int same = resolved != NULL && strcmp(resolved, target) == 0;
    free(resolved);
    if (same) recordingFile = stream;
    return same;
}

size_t fwrite(const void* data, size_t size, size_t count, FILE* stream)
{
    static size_t (*realFwrite)(const void*, size_t, size_t, FILE*);
    if (realFwrite == NULL) realFwrite = (size_t(*)(const void*, size_t, size_t, FILE*))dlsym(RTLD_NEXT, "fwrite");
    const size_t written = realFwrite(data, size, count, stream);
    if (logFile() >= 0 && isRecording(stream)) {
        recordedBytes += (long long)(written * size);
        dprintf(logFd, "write %.3f %lld\n", nowMs(), recordedBytes);
    }
    return written;
}

void glutInit(int* argc, char** argv)
{
    static void (*realInit)(int*, char**);
    if (realInit == NULL) realInit = (void (*)(int*, char**))dlsym(RTLD_NEXT, "glutInit");
    const double before = nowMs();
    realInit(argc, argv);
    if (logFile() >= 0) dprintf(logFd, "init %.3f %.3f\n", before, nowMs());
}

int glutGet(GLenum query)
{
    static int (*realGet)(GLenum);
    if (realGet == NULL) realGet = (int (*)(GLenum))dlsym(RTLD_NEXT, "glutGet");
    const int value = realGet(query);
    if (query == GLUT_ELAPSED_TIME && logFile() >= 0) dprintf(logFd, "clock %.3f %d\n", nowMs(), value);
    if (query == GLUT_ELAPSED_TIME && frameTimeMs < 0) frameTimeMs = value;
    return value;
}

void glutSwapBuffers(void)
{
    static void (*realSwap)(void);
    if (realSwap == NULL) realSwap = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    realSwap();
    if (logFile() >= 0) dprintf(logFd, "swap %.3f %d %.3f\n", nowMs(), frameTimeMs, cpuMs());
    frameTimeMs = -1;
}
