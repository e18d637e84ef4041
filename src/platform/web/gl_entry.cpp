// The OpenGL 1.x, GLU and GLUT-solid calls the demo makes, for the browser: each
// goes to the fixed-function state (fixed_pipeline) or to the WebGL 2 side.
#include "platform/web/fixed_pipeline.h"
#include "platform/web/webgl_backend.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include <array>
#include <vector>

namespace {

// Whatever the picture got is what the demo is told: one sample buffer when multisampled.
GLint sampleBuffers() { return webGlSamples() > 1 ? 1 : 0; }

std::vector<std::array<float, 4>> savedClearColours;

} // namespace

void glBegin(GLenum mode) { fixedBegin(mode); }
void glEnd() { fixedEnd(); }
void glVertex2f(GLfloat x, GLfloat y) { fixedVertex(x, y, 0.0f); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { fixedVertex(x, y, z); }
void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) { fixedColour(red, green, blue, alpha); }
void glTexCoord2f(GLfloat s, GLfloat t) { fixedTexCoord(s, t); }

void glMatrixMode(GLenum mode) { fixedMatrixMode(mode); }
void glLoadIdentity() { fixedLoadIdentity(); }
void glPushMatrix() { fixedPushMatrix(); }
void glPopMatrix() { fixedPopMatrix(); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { fixedMultiply(translationMatrix(x, y, z)); }
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) { fixedMultiply(rotationMatrix(angle, x, y, z)); }
void glScalef(GLfloat x, GLfloat y, GLfloat z) { fixedMultiply(scaleMatrix(x, y, z)); }

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    fixedMultiply(perspectiveMatrix(fovy, aspect, zNear, zFar));
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY, GLdouble centreZ,
               GLdouble upX, GLdouble upY, GLdouble upZ)
{
    fixedMultiply(lookAtMatrix(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ));
}

void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top)
{
    constexpr double nearPlane = -1.0;
    constexpr double farPlane = 1.0;
    fixedMultiply(orthoMatrix(left, right, bottom, top, nearPlane, farPlane));
}

void glEnable(GLenum capability) { setFixedCapability(capability, true); }
void glDisable(GLenum capability) { setFixedCapability(capability, false); }
// Smoothing and quality hints have no WebGL counterpart; multisampling stands in for them.
void glHint(GLenum, GLenum) {}
void glShadeModel(GLenum) {}

void glMaterialfv(GLenum face, GLenum parameter, const GLfloat* values) { fixedMaterial(face, parameter, values); }
void glLightfv(GLenum light, GLenum parameter, const GLfloat* values) { fixedLight(light, parameter, values); }
void glColorMaterial(GLenum face, GLenum mode) { fixedColourMaterial(face, mode); }
void glBlendFunc(GLenum source, GLenum destination) { setWebGlBlendFunction(source, destination); }

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    setWebGlClearColour(red, green, blue, alpha);
}

// Every attribute the demo changes is saved and put back whatever the mask.
void glPushAttrib(GLbitfield)
{
    fixedPushAttributes();
    savedClearColours.push_back(webGlClearColour());
}

void glPopAttrib()
{
    if (!fixedPopAttributes() || savedClearColours.empty()) return;
    const std::array<float, 4> colour = savedClearColours.back();
    savedClearColours.pop_back();
    setWebGlClearColour(colour[0], colour[1], colour[2], colour[3]);
}

void glClear(GLbitfield mask) { clearWebGl(mask, fixedCapability(GL_MULTISAMPLE)); }

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    fixedViewport(x, y, width, height);
    setWebGlViewport(x, y, width, height);
}

void glGetIntegerv(GLenum parameter, GLint* value)
{
    switch (parameter) {
    case GL_SAMPLE_BUFFERS: *value = sampleBuffers(); break;
    case GL_SAMPLES: *value = webGlSamples(); break;
    default: *value = webGlInteger(parameter); break;
    }
}

void glGenTextures(GLsizei count, GLuint* names) { generateWebGlTextures(count, names); }
void glBindTexture(GLenum, GLuint name) { bindWebGlTexture(name); }
void glTexParameteri(GLenum, GLenum parameter, GLint value) { setWebGlTextureParameter(parameter, value); }
void glPixelStorei(GLenum parameter, GLint value) { setWebGlPixelStore(parameter, value); }

void glTexImage2D(GLenum, GLint, GLint internalFormat, GLsizei width, GLsizei height, GLint, GLenum format, GLenum type,
                  const GLvoid* pixels)
{
    setWebGlTextureImage(internalFormat, width, height, format, type, pixels);
}

void glutSolidCube(GLdouble size) { fixedDrawSolid(solidCubeTriangles(static_cast<float>(size))); }

void glutSolidCone(GLdouble base, GLdouble height, GLint slices, GLint stacks)
{
    fixedDrawSolid(solidConeTriangles(static_cast<float>(base), static_cast<float>(height), slices, stacks));
}

void glutSolidSphere(GLdouble radius, GLint slices, GLint stacks)
{
    fixedDrawSolid(solidSphereTriangles(static_cast<float>(radius), slices, stacks));
}
