// The recording stand-ins for GL, GLU and GLUT. Matrix calls act on two small stacks
// the way GL's fixed pipeline does; everything else is only written down.
#include "gl_recorder.h"

#include <GL/freeglut_std.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <sstream>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double degreesPerHalfTurn = 180.0;

std::vector<GlCall> calls;
std::vector<Matrix4> modelViewStack;
std::vector<Matrix4> projectionStack;
GLenum matrixMode = GL_MODELVIEW;

Matrix4 identity()
{
    Matrix4 id{};
    for (int i = 0; i < 4; ++i) {
        id.m[i * 5] = 1.0;
    }
    return id;
}

std::vector<Matrix4>& currentStack() { return matrixMode == GL_MODELVIEW ? modelViewStack : projectionStack; }

// The current matrix times the given one, as GL's glMultMatrix does.
void multiply(const Matrix4& by)
{
    Matrix4& current = currentStack().back();
    Matrix4 result{};
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            for (int k = 0; k < 4; ++k) {
                result.m[col * 4 + row] += current.m[k * 4 + row] * by.m[col * 4 + k];
            }
        }
    }
    current = result;
}

void record(const char* name, std::vector<double> args)
{
    calls.push_back({name, std::move(args), modelViewStack.back(), static_cast<int>(modelViewStack.size())});
}

const char* enumName(double value)
{
    struct Named {
        GLenum value;
        const char* name;
    };
    static const Named names[] = {
        {GL_LIGHTING, "LIGHTING"},     {GL_DEPTH_TEST, "DEPTH_TEST"}, {GL_BLEND, "BLEND"},
        {GL_TEXTURE_2D, "TEXTURE_2D"}, {GL_MODELVIEW, "MODELVIEW"},   {GL_PROJECTION, "PROJECTION"},
        {GL_POLYGON, "POLYGON"},       {GL_QUADS, "QUADS"},
    };
    for (const Named& named : names) {
        if (named.value == value) {
            return named.name;
        }
    }
    return nullptr;
}

bool takesEnum(const std::string& name)
{
    return name == "glEnable" || name == "glDisable" || name == "glBegin" || name == "glMatrixMode" ||
           name == "glBindTexture";
}

} // namespace

void resetGlRecorder()
{
    calls.clear();
    modelViewStack.assign(1, identity());
    projectionStack.assign(1, identity());
    matrixMode = GL_MODELVIEW;
}

const std::vector<GlCall>& glCalls() { return calls; }

std::vector<GlCall> callsNamed(const std::string& name)
{
    std::vector<GlCall> named;
    for (const GlCall& call : calls) {
        if (call.name == name) {
            named.push_back(call);
        }
    }
    return named;
}

std::vector<std::string> callLines()
{
    std::vector<std::string> lines;
    for (const GlCall& call : calls) {
        std::ostringstream line;
        line << call.name;
        for (size_t i = 0; i < call.args.size(); ++i) {
            const char* asEnum = i == 0 && takesEnum(call.name) ? enumName(call.args[i]) : nullptr;
            if (asEnum) {
                line << ' ' << asEnum;
            } else {
                line << ' ' << call.args[i];
            }
        }
        lines.push_back(line.str());
    }
    return lines;
}

Point3 placed(const GlCall& call, Point3 p)
{
    const double* m = call.modelView.m;
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

bool isIdentity(const Matrix4& matrix)
{
    const Matrix4 id = identity();
    for (int i = 0; i < 16; ++i) {
        if (matrix.m[i] != id.m[i]) {
            return false;
        }
    }
    return true;
}

Matrix4 currentModelView() { return modelViewStack.back(); }
int currentModelViewDepth() { return static_cast<int>(modelViewStack.size()); }

// Matrix calls.
void glMatrixMode(GLenum mode)
{
    record("glMatrixMode", {double(mode)});
    matrixMode = mode;
}
void glLoadIdentity()
{
    currentStack().back() = identity();
    record("glLoadIdentity", {});
}
void glPushMatrix()
{
    currentStack().push_back(currentStack().back());
    record("glPushMatrix", {});
}
// Like GL, a pop at the last level is refused and changes nothing.
void glPopMatrix()
{
    if (currentStack().size() > 1) {
        currentStack().pop_back();
    }
    record("glPopMatrix", {});
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    record("glTranslatef", {x, y, z});
    Matrix4 by = identity();
    by.m[12] = x;
    by.m[13] = y;
    by.m[14] = z;
    multiply(by);
}
void glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    record("glScalef", {x, y, z});
    Matrix4 by = identity();
    by.m[0] = x;
    by.m[5] = y;
    by.m[10] = z;
    multiply(by);
}
// The rotation matrix of glRotate's manual page, about the normalised axis.
void glRotatef(GLfloat angle, GLfloat ax, GLfloat ay, GLfloat az)
{
    record("glRotatef", {angle, ax, ay, az});
    const double length = std::sqrt(double(ax) * ax + double(ay) * ay + double(az) * az);
    const double x = ax / length, y = ay / length, z = az / length;
    const double c = std::cos(angle * pi / degreesPerHalfTurn), s = std::sin(angle * pi / degreesPerHalfTurn);
    Matrix4 by = identity();
    by.m[0] = x * x * (1 - c) + c;
    by.m[1] = y * x * (1 - c) + z * s;
    by.m[2] = x * z * (1 - c) - y * s;
    by.m[4] = x * y * (1 - c) - z * s;
    by.m[5] = y * y * (1 - c) + c;
    by.m[6] = y * z * (1 - c) + x * s;
    by.m[8] = x * z * (1 - c) + y * s;
    by.m[9] = y * z * (1 - c) - x * s;
    by.m[10] = z * z * (1 - c) + c;
    multiply(by);
}

// State, colour and primitives.
void glEnable(GLenum cap) { record("glEnable", {double(cap)}); }
void glDisable(GLenum cap) { record("glDisable", {double(cap)}); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { record("glClearColor", {r, g, b, a}); }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { record("glColor4f", {r, g, b, a}); }
void glBindTexture(GLenum target, GLuint texture) { record("glBindTexture", {double(target), double(texture)}); }
void glBegin(GLenum mode) { record("glBegin", {double(mode)}); }
void glEnd() { record("glEnd", {}); }
void glVertex2f(GLfloat x, GLfloat y) { record("glVertex2f", {x, y}); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { record("glVertex3f", {x, y, z}); }
void glTexCoord2f(GLfloat s, GLfloat t) { record("glTexCoord2f", {s, t}); }

// GLU and GLUT.
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    record("gluPerspective", {fovy, aspect, zNear, zFar});
}
void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top)
{
    record("gluOrtho2D", {left, right, bottom, top});
}
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz, GLdouble ux, GLdouble uy,
               GLdouble uz)
{
    record("gluLookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz});
}
void glutSolidCube(double size) { record("glutSolidCube", {size}); }
void glutSolidSphere(double radius, GLint slices, GLint stacks)
{
    record("glutSolidSphere", {radius, double(slices), double(stacks)});
}
void glutSolidCone(double base, double height, GLint slices, GLint stacks)
{
    record("glutSolidCone", {base, height, double(slices), double(stacks)});
}
