// A stand-in for the GL, GLU and GLUT calls the scenes and props make. A test program
// that links it gets these instead of the real libraries: each call is kept with its
// arguments and the model-view matrix it was made under, so no display is needed.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

struct Point3 {
    double x, y, z;
};

// Column-major, as GL keeps it.
struct Matrix4 {
    double m[16];
};

struct GlCall {
    std::string name; // "glTranslatef", "glutSolidCube", ...
    std::vector<double> args;
    Matrix4 modelView; // the current model-view matrix when the call was made
    int modelViewDepth;
};

// Forgets every call and sets both matrix stacks back to one identity matrix.
void resetGlRecorder();
const std::vector<GlCall>& glCalls();
// The calls of one name, in order.
std::vector<GlCall> callsNamed(const std::string& name);
// The names of every call, in order, with the arguments: "glTranslatef 1 2 3".
std::vector<std::string> callLines();

// Where a point of the call's local frame lands in the world.
Point3 placed(const GlCall& call, Point3 local = {0.0, 0.0, 0.0});
bool isIdentity(const Matrix4& matrix);
Matrix4 currentModelView();
int currentModelViewDepth();

// The values as GL receives them from float arguments, for comparing with recorded calls.
inline std::vector<double> singles(std::initializer_list<double> values)
{
    std::vector<double> rounded;
    for (double v : values) {
        rounded.push_back(static_cast<float>(v));
    }
    return rounded;
}
