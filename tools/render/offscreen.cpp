// Framebuffer objects behind a hidden window: draw multisampled, resolve by blit, read back.
#include "offscreen.h"

#include "sample_counts.h"
#include "tool_system.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int hiddenWindowSide = 16;
constexpr int rgbBytesPerPixel = 3;
constexpr int bgraBytesPerPixel = 4;
const char* const toolName = "glasswind-render";

PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC renderbufferStorageMultisample = nullptr;
PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
PFNGLGETINTERNALFORMATIVPROC getInternalformativ = nullptr; // OpenGL 4.2; may be missing
PFNGLGENBUFFERSPROC genBuffers = nullptr;
PFNGLBINDBUFFERPROC bindBuffer = nullptr;
PFNGLBUFFERDATAPROC bufferData = nullptr;
PFNGLMAPBUFFERPROC mapBuffer = nullptr;
PFNGLUNMAPBUFFERPROC unmapBuffer = nullptr;

int pictureWidth = 0;
int pictureHeight = 0;
int samples = 0;
GLuint drawFramebuffer = 0;     // what the demo draws into
GLuint resolvedFramebuffer = 0; // what is read back (the same one without multisampling)

// Pictures are copied into pixel buffers in turn, so the copy of one runs while the
// next is drawn; each is mapped only when its picture is wanted.
constexpr int pixelBufferCount = 2;
GLuint pixelBuffers[pixelBufferCount] = {0, 0};
int64_t readsQueued = 0;
int64_t readsTaken = 0;

template <typename Proc> bool load(Proc* proc, const char* name)
{
    *proc = reinterpret_cast<Proc>(glutGetProcAddress(name));
    return *proc != nullptr;
}

bool loadFramebufferCalls()
{
    return load(&genFramebuffers, "glGenFramebuffers") && load(&bindFramebuffer, "glBindFramebuffer") &&
           load(&genRenderbuffers, "glGenRenderbuffers") && load(&bindRenderbuffer, "glBindRenderbuffer") &&
           load(&renderbufferStorage, "glRenderbufferStorage") &&
           load(&renderbufferStorageMultisample, "glRenderbufferStorageMultisample") &&
           load(&framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           load(&checkFramebufferStatus, "glCheckFramebufferStatus") && load(&blitFramebuffer, "glBlitFramebuffer") &&
           load(&genBuffers, "glGenBuffers") && load(&bindBuffer, "glBindBuffer") &&
           load(&bufferData, "glBufferData") && load(&mapBuffer, "glMapBuffer") && load(&unmapBuffer, "glUnmapBuffer");
}

GLuint attachBuffer(GLenum attachment, GLenum format, int sampleCount)
{
    GLuint buffer = 0;
    genRenderbuffers(1, &buffer);
    bindRenderbuffer(GL_RENDERBUFFER, buffer);
    if (sampleCount > 0) {
        renderbufferStorageMultisample(GL_RENDERBUFFER, sampleCount, format, pictureWidth, pictureHeight);
    } else {
        renderbufferStorage(GL_RENDERBUFFER, format, pictureWidth, pictureHeight);
    }
    framebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, buffer);
    return buffer;
}

// A framebuffer with colour and, when asked, depth; 0 if the driver refuses it.
GLuint makeFramebuffer(int sampleCount, bool withDepth)
{
    GLuint framebuffer = 0;
    genFramebuffers(1, &framebuffer);
    bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    attachBuffer(GL_COLOR_ATTACHMENT0, GL_RGBA8, sampleCount);
    if (withDepth) {
        attachBuffer(GL_DEPTH_ATTACHMENT, GL_DEPTH_COMPONENT24, sampleCount);
    }
    if (checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        return 0;
    }
    return framebuffer;
}

// The multisample counts the driver offers for the colour buffer; without the query,
// every power of two up to its maximum.
std::vector<int> offeredSampleCounts()
{
    std::vector<int> counts;
    load(&getInternalformativ, "glGetInternalformativ");
    GLint listed = 0;
    if (getInternalformativ != nullptr) {
        getInternalformativ(GL_RENDERBUFFER, GL_RGBA8, GL_NUM_SAMPLE_COUNTS, 1, &listed);
    }
    if (listed > 0) {
        std::vector<GLint> values(static_cast<size_t>(listed));
        getInternalformativ(GL_RENDERBUFFER, GL_RGBA8, GL_SAMPLES, listed, values.data());
        counts.assign(values.begin(), values.end());
        return counts;
    }
    GLint maxSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    for (int count = 2; count <= maxSamples; count *= 2) {
        counts.push_back(count);
    }
    return counts;
}

// The framebuffer the demo draws into, multisampled as asked, and the one read back.
bool makeFramebuffers(int wantedSamples, std::string* error)
{
    if (!chooseSampleCount(wantedSamples, offeredSampleCounts(), &samples, error)) {
        return false;
    }
    if (samples > 1) {
        resolvedFramebuffer = makeFramebuffer(0, false);
        drawFramebuffer = resolvedFramebuffer != 0 ? makeFramebuffer(samples, true) : 0;
    }
    if (drawFramebuffer == 0 && samples > 1 && wantedSamples != samplesAsTheDemoAsks) {
        *error = "the OpenGL driver refused " + std::to_string(samples) + " samples at " +
                 std::to_string(pictureWidth) + "x" + std::to_string(pictureHeight) + "; try fewer with --samples";
        return false;
    }
    if (drawFramebuffer == 0) {
        samples = 0;
        drawFramebuffer = makeFramebuffer(0, true);
        resolvedFramebuffer = drawFramebuffer;
    }
    if (drawFramebuffer == 0) {
        *error = "the OpenGL driver refused a " + std::to_string(pictureWidth) + "x" + std::to_string(pictureHeight) +
                 " framebuffer";
        return false;
    }
    return true;
}

} // namespace

bool openOffscreen(int width, int height, int wantedSamples, std::string* error)
{
    if (!holdDisplay(error)) {
        return false;
    }

    int argc = 1;
    char name[] = "glasswind-render";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    releaseDisplay();
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
    glutInitWindowSize(hiddenWindowSide, hiddenWindowSide);
    glutCreateWindow(toolName);
    glutHideWindow();

    if (!loadFramebufferCalls()) {
        *error = "the OpenGL driver offers no framebuffer or pixel buffer objects";
        return false;
    }
    GLint maxSide = 0;
    GLint maxViewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSide);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxViewport);
    const int limitWidth = std::min(maxSide, maxViewport[0]);
    const int limitHeight = std::min(maxSide, maxViewport[1]);
    if (width > limitWidth || height > limitHeight) {
        *error = "--size " + std::to_string(width) + "x" + std::to_string(height) +
                 " is larger than the OpenGL driver draws (" + std::to_string(limitWidth) + "x" +
                 std::to_string(limitHeight) + ")";
        return false;
    }
    pictureWidth = width;
    pictureHeight = height;

    if (!makeFramebuffers(wantedSamples, error)) {
        return false;
    }
    genBuffers(pixelBufferCount, pixelBuffers);
    for (GLuint buffer : pixelBuffers) {
        bindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        bufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(pictureWidth) * pictureHeight * bgraBytesPerPixel,
                   nullptr, GL_STREAM_READ);
    }
    bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    bindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer);
    return true;
}

void resolveOffscreen()
{
    if (resolvedFramebuffer == drawFramebuffer) {
        return;
    }
    bindFramebuffer(GL_READ_FRAMEBUFFER, drawFramebuffer);
    bindFramebuffer(GL_DRAW_FRAMEBUFFER, resolvedFramebuffer);
    blitFramebuffer(0, 0, pictureWidth, pictureHeight, 0, 0, pictureWidth, pictureHeight, GL_COLOR_BUFFER_BIT,
                    GL_NEAREST);
    bindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer);
}

void waitForPicture() { glFinish(); }

void queuePictureRead()
{
    // BGRA is the layout llvmpipe keeps, so the driver copies rows as they are.
    bindFramebuffer(GL_READ_FRAMEBUFFER, resolvedFramebuffer);
    bindBuffer(GL_PIXEL_PACK_BUFFER, pixelBuffers[readsQueued % pixelBufferCount]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, pictureWidth, pictureHeight, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    bindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer);
    ++readsQueued;
}

void takePictureRead(std::vector<uint8_t>* rgb)
{
    const size_t pixels = static_cast<size_t>(pictureWidth) * pictureHeight;
    rgb->resize(pixels * rgbBytesPerPixel);
    bindBuffer(GL_PIXEL_PACK_BUFFER, pixelBuffers[readsTaken % pixelBufferCount]);
    ++readsTaken;
    const auto* bottomUp = static_cast<const uint8_t*>(mapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY));
    if (bottomUp == nullptr) {
        bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        std::fill(rgb->begin(), rgb->end(), 0);
        return;
    }
    // The rows are turned top first and the bytes to RGB here.
    uint8_t* out = rgb->data();
    for (int row = pictureHeight - 1; row >= 0; --row) {
        const uint8_t* in = bottomUp + static_cast<size_t>(row) * pictureWidth * bgraBytesPerPixel;
        for (int x = 0; x < pictureWidth; ++x, in += bgraBytesPerPixel, out += rgbBytesPerPixel) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    unmapBuffer(GL_PIXEL_PACK_BUFFER);
    bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

void readOffscreenRgb(std::vector<uint8_t>* rgb)
{
    queuePictureRead();
    takePictureRead(rgb);
}
