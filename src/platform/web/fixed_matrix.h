// The matrix arithmetic of fixed-function GL and GLU, in single precision as Mesa
// keeps it: column-major 4x4 matrices, the stacks that refuse to over- or underflow.
#pragma once

struct Mat4 {
    float m[16]; // column-major: m[column * 4 + row]
};

Mat4 identityMatrix();
// a * b: b applied first.
Mat4 multiplyMatrices(const Mat4& a, const Mat4& b);
// What glTranslatef, glScalef and glRotatef multiply onto the current matrix.
Mat4 translationMatrix(float x, float y, float z);
Mat4 scaleMatrix(float x, float y, float z);
// An axis of length 0 gives the identity, as glRotatef then changes nothing.
Mat4 rotationMatrix(float angleDeg, float x, float y, float z);
// What gluPerspective, gluLookAt and gluOrtho2D multiply onto the current matrix.
// A zero field, aspect or depth range gives the identity (GLU then does nothing).
Mat4 perspectiveMatrix(double fovyDeg, double aspect, double zNear, double zFar);
Mat4 lookAtMatrix(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ, double upX,
                  double upY, double upZ);
Mat4 orthoMatrix(double left, double right, double bottom, double top, double zNear, double zFar);

// m applied to (x, y, z, w).
void transformPoint(const Mat4& m, const float in[4], float out[4]);
// The inverse transpose of m's upper 3x3 applied to a normal, as GL does without
// GL_NORMALIZE: a scaled model-view matrix leaves the normal's length scaled.
void transformNormal(const Mat4& m, const float in[3], float out[3]);

// GL's minimum, and Mesa's depth, of the model-view and projection stacks.
constexpr int matrixStackDepth = 32;

struct MatrixStack {
    Mat4 levels[matrixStackDepth];
    int depth = 1; // levels in use; levels[depth - 1] is the current matrix
};

void resetStack(MatrixStack* stack);
Mat4& topMatrix(MatrixStack* stack);
const Mat4& topMatrix(const MatrixStack& stack);
// false, changing nothing, when the stack is full (GL_STACK_OVERFLOW).
bool pushMatrix(MatrixStack* stack);
// false, changing nothing, when one level is left (GL_STACK_UNDERFLOW).
bool popMatrix(MatrixStack* stack);
// top = top * m, as every GL matrix call does.
void multiplyTop(MatrixStack* stack, const Mat4& m);
