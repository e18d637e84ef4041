// WebGL 2 under the web layer: batches arrive lit and in clip space, so the shader
// only interpolates and modulates by the texture. Drawing goes into a multisampled
// picture; switching multisampling off (for the scanlines) resolves it onto the canvas.
#include "platform/web/webgl_backend.h"

#include <emscripten/html5.h>
#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <algorithm>
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

const char* const batchVertexShader = R"(#version 300 es
layout(location = 0) in vec4 clipPosition;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec2 texCoord;
out vec4 vertexColour;
out vec2 vertexTexCoord;
void main() {
    vertexColour = colour;
    vertexTexCoord = texCoord;
    gl_Position = clipPosition;
})";

// GL_MODULATE: the texel times the interpolated colour.
const char* const batchFragmentShader = R"(#version 300 es
precision highp float;
in vec4 vertexColour;
in vec2 vertexTexCoord;
uniform sampler2D image;
uniform bool textured;
out vec4 fragment;
void main() {
    fragment = textured ? vertexColour * texture(image, vertexTexCoord) : vertexColour;
})";

// Copies the resolved picture onto the canvas pixel for pixel.
const char* const copyVertexShader = R"(#version 300 es
void main() {
    vec2 corner = vec2(float((gl_VertexID & 1) << 2), float((gl_VertexID & 2) << 1));
    gl_Position = vec4(corner - 1.0, 0.0, 1.0);
})";
const char* const copyFragmentShader = R"(#version 300 es
precision highp float;
uniform sampler2D picture;
out vec4 fragment;
void main() {
    fragment = texelFetch(picture, ivec2(gl_FragCoord.xy), 0);
})";

struct Backend {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    GLuint batchProgram = 0;
    GLint texturedUniform = -1;
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

void makePicture()
{
    if (gl.pictureFramebuffer == 0) {
        emscripten_glGenFramebuffers(1, &gl.pictureFramebuffer);
        emscripten_glGenRenderbuffers(1, &gl.pictureColour);
        emscripten_glGenRenderbuffers(1, &gl.pictureDepth);
        emscripten_glGenFramebuffers(1, &gl.resolveFramebuffer);
        emscripten_glGenTextures(1, &gl.resolveTexture);
    }
    emscripten_glBindRenderbuffer(GL_RENDERBUFFER, gl.pictureColour);
    emscripten_glRenderbufferStorageMultisample(GL_RENDERBUFFER, gl.samples, GL_RGBA8, gl.width, gl.height);
    emscripten_glBindRenderbuffer(GL_RENDERBUFFER, gl.pictureDepth);
    emscripten_glRenderbufferStorageMultisample(GL_RENDERBUFFER, gl.samples, GL_DEPTH_COMPONENT24, gl.width, gl.height);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, gl.pictureFramebuffer);
    emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, gl.pictureColour);
    emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, gl.pictureDepth);

    emscripten_glBindTexture(GL_TEXTURE_2D, gl.resolveTexture);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, gl.width, gl.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    emscripten_glBindTexture(GL_TEXTURE_2D, gl.boundTexture);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, gl.resolveFramebuffer);
    emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, gl.resolveTexture, 0);

    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, gl.pictureFramebuffer);
    gl.onCanvas = false;
}

// The multisampled picture, averaged, then copied onto the canvas.
void resolvePicture()
{
    emscripten_glBindFramebuffer(GL_READ_FRAMEBUFFER, gl.pictureFramebuffer);
    emscripten_glBindFramebuffer(GL_DRAW_FRAMEBUFFER, gl.resolveFramebuffer);
    emscripten_glBlitFramebuffer(0, 0, gl.width, gl.height, 0, 0, gl.width, gl.height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
    emscripten_glDisable(GL_BLEND);
    emscripten_glDisable(GL_DEPTH_TEST);
    emscripten_glUseProgram(gl.copyProgram);
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
}

void setSwitch(GLenum capability, bool on, bool* current)
{
    if (*current != on) {
        *current = on;
        on ? emscripten_glEnable(capability) : emscripten_glDisable(capability);
    }
}

} // namespace

bool openWebGl(const char* canvasSelector, int samples, bool keepPictures)
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
    gl.batchProgram = linkProgram(batchVertexShader, batchFragmentShader);
    gl.texturedUniform = emscripten_glGetUniformLocation(gl.batchProgram, "textured");
    gl.copyProgram = linkProgram(copyVertexShader, copyFragmentShader);
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
    if (gl.samples > 0) {
        makePicture();
    }
}

int webGlSamples() { return gl.samples; }

void drawWebGlBatch(const DrawBatch& batch)
{
    drawInto(batch.multisample);
    setSwitch(GL_DEPTH_TEST, batch.depthTest, &gl.depthTest);
    setSwitch(GL_BLEND, batch.blend, &gl.blend);
    const bool textured = batch.textured && gl.texturesWithImages.count(gl.boundTexture) > 0;
    emscripten_glUseProgram(gl.batchProgram);
    emscripten_glUniform1i(gl.texturedUniform, textured ? 1 : 0);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, gl.vertexBuffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER, batch.count * sizeof(ClipVertex), batch.vertices, GL_STREAM_DRAW);
    emscripten_glDrawArrays(GL_TRIANGLES, 0, batch.count);
    gl.pictureDrawn = gl.pictureDrawn || !gl.onCanvas;
}

void clearWebGl(unsigned mask, bool multisample)
{
    drawInto(multisample);
    emscripten_glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
    gl.pictureDrawn = gl.pictureDrawn || !gl.onCanvas;
}

void setWebGlClearColour(float red, float green, float blue, float alpha)
{
    emscripten_glClearColor(std::clamp(red, 0.0f, 1.0f), std::clamp(green, 0.0f, 1.0f), std::clamp(blue, 0.0f, 1.0f),
                            std::clamp(alpha, 0.0f, 1.0f));
}

void setWebGlViewport(int x, int y, int width, int height) { emscripten_glViewport(x, y, width, height); }
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
