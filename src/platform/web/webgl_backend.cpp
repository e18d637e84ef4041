// WebGL 2 under the web layer: batches arrive lit and in clip space, so the shader
// only interpolates and modulates by the texture. Drawing goes into a multisampled
// picture; switching multisampling off (for the scanlines) resolves it onto the canvas.
// The sample picture instead draws 16 times the size and takes the 4 samples of each
// pixel from it: edges then land on llvmpipe's 1/256-pixel grid (WebGL's multisampling
// in SwiftShader snaps them to 1/16 of a pixel, on which the samples themselves lie).
#include "platform/web/webgl_backend.h"
#include "platform/web/webgl_shaders.h"

#include <emscripten/html5.h>
#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>

namespace {

constexpr int floatsPerVertex = 10;
constexpr int clipOffset = 0;
constexpr int colourOffset = 4;
constexpr int texCoordOffset = 8;
constexpr GLint clipSize = 4;
constexpr GLint colourSize = 4;
constexpr GLint texCoordSize = 2;
constexpr GLuint clipAttribute = 0;
constexpr GLuint colourAttribute = 1;
constexpr GLuint texCoordAttribute = 2;
constexpr GLint glClamp = 0x2900; // GL 1.x wrap mode: with nearest filters the same as clamp-to-edge
constexpr GLint componentsRgb = 3;
constexpr GLint componentsRgba = 4;
constexpr int fullScreenTriangle = 3;
constexpr int shaderLogSize = 1024;
constexpr int samplePictureScale = 16;
// Half a pixel of the sample picture: its pixel centres fall on the sample positions.
constexpr float samplePictureShift = 0.5f;

struct Backend {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    GLuint batchProgram = 0;
    GLint texturedUniform = -1;
    GLint sampleShiftUniform = -1;
    GLint pixelScaleUniform = -1;
    GLint pixelShiftUniform = -1;
    GLuint sampleMeanProgram = 0;
    bool samplePicture = false; // drawn at samplePictureScale, no multisampling
    GLuint samplePictureTexture = 0;
    GLint viewport[4] = {0, 0, 0, 0};
    std::array<float, 4> clearColour = {0.0f, 0.0f, 0.0f, 0.0f};
    GLuint copyProgram = 0;
    GLuint vertexArray = 0;
    GLuint copyVertexArray = 0; // no attributes: the copy makes its corners from the vertex number
    GLuint vertexBuffer = 0;
    GLuint pictureFramebuffer = 0; // multisampled
    GLuint pictureColour = 0;
    GLuint pictureDepth = 0;
    GLuint resolveFramebuffer = 0;
    GLuint resolveTexture = 0;
    int samples = 0;
    int width = 0;
    int height = 0;
    bool onCanvas = false;     // drawing straight onto the canvas (multisampling off)
    bool pictureDrawn = false; // the multisampled picture holds drawing not yet on the canvas
    GLuint boundTexture = 0;
    std::set<GLuint> texturesWithImages;
    bool depthTest = false;
    bool blend = false;
};

Backend gl;

GLuint compileShader(GLenum kind, const char* source)
{
    const GLuint shader = emscripten_glCreateShader(kind);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    GLint compiled = GL_FALSE;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        char log[shaderLogSize] = "";
        emscripten_glGetShaderInfoLog(shader, shaderLogSize, nullptr, log);
        std::fprintf(stderr, "glasswind: a shader does not compile: %s\n", log);
    }
    return shader;
}

GLuint linkProgram(const char* vertexSource, const char* fragmentSource)
{
    const GLuint program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, compileShader(GL_VERTEX_SHADER, vertexSource));
    emscripten_glAttachShader(program, compileShader(GL_FRAGMENT_SHADER, fragmentSource));
    emscripten_glLinkProgram(program);
    return program;
}

// The picture the frame is drawn into, of the canvas's size (multisampled), or of
// 16 times its size (the sample picture).
void makePicture()
{
    if (gl.pictureFramebuffer == 0) {
        emscripten_glGenFramebuffers(1, &gl.pictureFramebuffer);
        emscripten_glGenRenderbuffers(1, &gl.pictureColour);
        emscripten_glGenRenderbuffers(1, &gl.pictureDepth);
        emscripten_glGenFramebuffers(1, &gl.resolveFramebuffer);
        emscripten_glGenTextures(1, &gl.resolveTexture);
    }
    const int scale = gl.samplePicture ? samplePictureScale : 1;
    const int samples = gl.samplePicture ? 0 : gl.samples;
    emscripten_glBindRenderbuffer(GL_RENDERBUFFER, gl.pictureDepth);
    emscripten_glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT24, gl.width * scale,
                                                gl.height * scale);
    emscripten_glBindTexture(GL_TEXTURE_2D, gl.resolveTexture);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, gl.width * scale, gl.height * scale, 0, GL_RGBA,
                            GL_UNSIGNED_BYTE, nullptr);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    emscripten_glBindTexture(GL_TEXTURE_2D, gl.boundTexture);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, gl.pictureFramebuffer);
    if (gl.samplePicture) {
        emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, gl.resolveTexture, 0);
    } else {
        emscripten_glBindRenderbuffer(GL_RENDERBUFFER, gl.pictureColour);
        emscripten_glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, gl.width, gl.height);
        emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, gl.pictureColour);
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, gl.resolveFramebuffer);
        emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, gl.resolveTexture, 0);
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, gl.pictureFramebuffer);
    }
    emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, gl.pictureDepth);
    gl.onCanvas = false;
}

// Pixels of the current target per pixel of the canvas.
int targetScale() { return gl.samplePicture && !gl.onCanvas ? samplePictureScale : 1; }

void applyViewport()
{
    const int scale = targetScale();
    emscripten_glViewport(gl.viewport[0] * scale, gl.viewport[1] * scale, gl.viewport[2] * scale,
                          gl.viewport[3] * scale);
}

// The picture's samples averaged onto the canvas.
void resolvePicture()
{
    if (!gl.samplePicture) {
        emscripten_glBindFramebuffer(GL_READ_FRAMEBUFFER, gl.pictureFramebuffer);
        emscripten_glBindFramebuffer(GL_DRAW_FRAMEBUFFER, gl.resolveFramebuffer);
        emscripten_glBlitFramebuffer(0, 0, gl.width, gl.height, 0, 0, gl.width, gl.height, GL_COLOR_BUFFER_BIT,
                                     GL_NEAREST);
    }
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
    emscripten_glViewport(0, 0, gl.width, gl.height);
    emscripten_glDisable(GL_BLEND);
    emscripten_glDisable(GL_DEPTH_TEST);
    emscripten_glUseProgram(gl.samplePicture ? gl.sampleMeanProgram : gl.copyProgram);
    if (gl.samplePicture) {
        emscripten_glUniform1i(emscripten_glGetUniformLocation(gl.sampleMeanProgram, "scale"), samplePictureScale);
    }
    emscripten_glBindVertexArray(gl.copyVertexArray);
    emscripten_glBindTexture(GL_TEXTURE_2D, gl.resolveTexture);
    emscripten_glDrawArrays(GL_TRIANGLES, 0, fullScreenTriangle);
    emscripten_glBindTexture(GL_TEXTURE_2D, gl.boundTexture);
    emscripten_glBindVertexArray(gl.vertexArray);
    if (gl.blend) {
        emscripten_glEnable(GL_BLEND);
    }
    if (gl.depthTest) {
        emscripten_glEnable(GL_DEPTH_TEST);
    }
    gl.pictureDrawn = false;
}

// Draws from now on into the picture (multisampled) or straight onto the canvas.
void drawInto(bool multisample)
{
    const bool canvas = !multisample || gl.samples == 0;
    if (canvas == gl.onCanvas) {
        return;
    }
    if (canvas) {
        if (gl.pictureDrawn) {
            resolvePicture();
        }
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
    } else {
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, gl.pictureFramebuffer);
    }
    gl.onCanvas = canvas;
    applyViewport();
}

void setSwitch(GLenum capability, bool on, bool* current)
{
    if (*current != on) {
        *current = on;
        on ? emscripten_glEnable(capability) : emscripten_glDisable(capability);
    }
}

// One batch of the fixed pipeline's triangles, into the picture it asks for.
void drawWebGlBatch(const DrawBatch& batch)
{
    drawInto(batch.multisample);
    setSwitch(GL_DEPTH_TEST, batch.depthTest, &gl.depthTest);
    setSwitch(GL_BLEND, batch.blend, &gl.blend);
    const bool textured = batch.textured && gl.texturesWithImages.count(gl.boundTexture) > 0;
    emscripten_glUseProgram(gl.batchProgram);
    emscripten_glUniform1i(gl.texturedUniform, textured ? 1 : 0);
    const bool intoSamples = targetScale() > 1;
    const float scale = static_cast<float>(targetScale());
    const float shift = intoSamples ? samplePictureShift : 0.0f;
    // The shift in clip units: two per viewport width.
    emscripten_glUniform2f(gl.sampleShiftUniform, 2.0f * shift / (gl.viewport[2] * scale),
                           2.0f * shift / (gl.viewport[3] * scale));
    emscripten_glUniform1f(gl.pixelScaleUniform, scale);
    emscripten_glUniform1f(gl.pixelShiftUniform, shift);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, gl.vertexBuffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER, batch.count * sizeof(ClipVertex), batch.vertices, GL_STREAM_DRAW);
    emscripten_glDrawArrays(GL_TRIANGLES, 0, batch.count);
    gl.pictureDrawn = gl.pictureDrawn || !gl.onCanvas;
}

} // namespace

bool openWebGl(const char* canvasSelector, int samples, bool keepPictures, bool samplePicture)
{
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = false;
    attributes.depth = false;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.premultipliedAlpha = false;
    attributes.preserveDrawingBuffer = keepPictures;
    gl.context = emscripten_webgl_create_context(canvasSelector, &attributes);
    if (gl.context <= 0 || emscripten_webgl_make_context_current(gl.context) != EMSCRIPTEN_RESULT_SUCCESS) {
        return false;
    }
    GLint maxSamples = 0;
    emscripten_glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    gl.samples = std::min(samples, static_cast<int>(maxSamples));
    gl.samplePicture = samplePicture;
    gl.batchProgram = linkProgram(batchVertexShader, batchFragmentShader);
    gl.texturedUniform = emscripten_glGetUniformLocation(gl.batchProgram, "textured");
    gl.sampleShiftUniform = emscripten_glGetUniformLocation(gl.batchProgram, "sampleShift");
    gl.pixelScaleUniform = emscripten_glGetUniformLocation(gl.batchProgram, "pixelScale");
    gl.pixelShiftUniform = emscripten_glGetUniformLocation(gl.batchProgram, "pixelShift");
    gl.copyProgram = linkProgram(copyVertexShader, copyFragmentShader);
    gl.sampleMeanProgram = linkProgram(copyVertexShader, sampleMeanFragmentShader);
    emscripten_glGenVertexArrays(1, &gl.copyVertexArray);
    emscripten_glGenVertexArrays(1, &gl.vertexArray);
    emscripten_glBindVertexArray(gl.vertexArray);
    emscripten_glGenBuffers(1, &gl.vertexBuffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, gl.vertexBuffer);
    const GLsizei stride = floatsPerVertex * sizeof(float);
    emscripten_glVertexAttribPointer(clipAttribute, clipSize, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(clipOffset * sizeof(float)));
    emscripten_glVertexAttribPointer(colourAttribute, colourSize, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(colourOffset * sizeof(float)));
    emscripten_glVertexAttribPointer(texCoordAttribute, texCoordSize, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(texCoordOffset * sizeof(float)));
    emscripten_glEnableVertexAttribArray(clipAttribute);
    emscripten_glEnableVertexAttribArray(colourAttribute);
    emscripten_glEnableVertexAttribArray(texCoordAttribute);
    resetFixedPipeline(drawWebGlBatch);
    int width = 0;
    int height = 0;
    emscripten_webgl_get_drawing_buffer_size(gl.context, &width, &height);
    resizeWebGl(width, height);
    return true;
}

void resizeWebGl(int width, int height)
{
    gl.width = std::max(width, 1);
    gl.height = std::max(height, 1);
    GLint largest = 0;
    emscripten_glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (std::max(gl.width, gl.height) * samplePictureScale > largest) {
        gl.samplePicture = false;
    }
    if (gl.samples > 0) {
        makePicture();
    }
}

int webGlSamples() { return gl.samples; }

void clearWebGl(unsigned mask, bool multisample)
{
    drawInto(multisample);
    emscripten_glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
    gl.pictureDrawn = gl.pictureDrawn || !gl.onCanvas;
}

void setWebGlClearColour(float red, float green, float blue, float alpha)
{
    gl.clearColour = {std::clamp(red, 0.0f, 1.0f), std::clamp(green, 0.0f, 1.0f), std::clamp(blue, 0.0f, 1.0f),
                      std::clamp(alpha, 0.0f, 1.0f)};
    emscripten_glClearColor(gl.clearColour[0], gl.clearColour[1], gl.clearColour[2], gl.clearColour[3]);
}

std::array<float, 4> webGlClearColour() { return gl.clearColour; }

void setWebGlViewport(int x, int y, int width, int height)
{
    gl.viewport[0] = x;
    gl.viewport[1] = y;
    gl.viewport[2] = std::max(width, 1);
    gl.viewport[3] = std::max(height, 1);
    applyViewport();
}
void setWebGlBlendFunction(unsigned source, unsigned destination) { emscripten_glBlendFunc(source, destination); }

void generateWebGlTextures(int count, unsigned* names) { emscripten_glGenTextures(count, names); }

void bindWebGlTexture(unsigned name)
{
    gl.boundTexture = name;
    emscripten_glBindTexture(GL_TEXTURE_2D, name);
}

void setWebGlTextureImage(int internalFormat, int width, int height, unsigned format, unsigned type, const void* pixels)
{
    const GLint sized = internalFormat == componentsRgb    ? GL_RGB
                        : internalFormat == componentsRgba ? GL_RGBA
                                                           : internalFormat;
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, sized, width, height, 0, format, type, pixels);
    if (gl.boundTexture != 0) {
        gl.texturesWithImages.insert(gl.boundTexture);
    }
}

void setWebGlTextureParameter(unsigned parameter, int value)
{
    emscripten_glTexParameteri(GL_TEXTURE_2D, parameter, value == glClamp ? GL_CLAMP_TO_EDGE : value);
}

void setWebGlPixelStore(unsigned parameter, int value) { emscripten_glPixelStorei(parameter, value); }

int webGlInteger(unsigned parameter)
{
    GLint value = 0;
    emscripten_glGetIntegerv(parameter, &value);
    return value;
}

void presentWebGl()
{
    if (!gl.onCanvas && gl.pictureDrawn) {
        resolvePicture();
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, gl.pictureFramebuffer);
    }
}
