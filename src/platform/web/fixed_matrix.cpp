// Matrix arithmetic of fixed-function GL and GLU, with no GL: the values the web
// layer puts on its stacks, in the precision the desktop's GL works in.
#include "platform/web/fixed_matrix.h"

#include <cmath>

namespace {

constexpr double degreesToRadians = M_PI / 180.0;
// Mesa's glRotatef leaves the matrix alone below this axis length.
constexpr float shortestRotationAxis = 1.0e-4f;

float& at(Mat4& m, int row, int column) { return m.m[column * 4 + row]; }
float at(const Mat4& m, int row, int column) { return m.m[column * 4 + row]; }

void normalise(float v[3])
{
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0f) {
        return;
    }
    v[0] /= length;
    v[1] /= length;
    v[2] /= length;
}

void cross(const float a[3], const float b[3], float out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

} // namespace

Mat4 identityMatrix()
{
    Mat4 m{};
    for (int i = 0; i < 4; ++i) {
        at(m, i, i) = 1.0f;
    }
    return m;
}

Mat4 multiplyMatrices(const Mat4& a, const Mat4& b)
{
    Mat4 out{};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += at(a, row, k) * at(b, k, column);
            }
            at(out, row, column) = sum;
        }
    }
    return out;
}

Mat4 translationMatrix(float x, float y, float z)
{
    Mat4 m = identityMatrix();
    at(m, 0, 3) = x;
    at(m, 1, 3) = y;
    at(m, 2, 3) = z;
    return m;
}

Mat4 scaleMatrix(float x, float y, float z)
{
    Mat4 m = identityMatrix();
    at(m, 0, 0) = x;
    at(m, 1, 1) = y;
    at(m, 2, 2) = z;
    return m;
}

Mat4 rotationMatrix(float angleDeg, float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= shortestRotationAxis) {
        return identityMatrix();
    }
    x /= length;
    y /= length;
    z /= length;
    const float s = static_cast<float>(std::sin(angleDeg * degreesToRadians));
    const float c = static_cast<float>(std::cos(angleDeg * degreesToRadians));
    const float oneMinusC = 1.0f - c;
    Mat4 m = identityMatrix();
    at(m, 0, 0) = oneMinusC * x * x + c;
    at(m, 0, 1) = oneMinusC * x * y - z * s;
    at(m, 0, 2) = oneMinusC * z * x + y * s;
    at(m, 1, 0) = oneMinusC * x * y + z * s;
    at(m, 1, 1) = oneMinusC * y * y + c;
    at(m, 1, 2) = oneMinusC * y * z - x * s;
    at(m, 2, 0) = oneMinusC * z * x - y * s;
    at(m, 2, 1) = oneMinusC * y * z + x * s;
    at(m, 2, 2) = oneMinusC * z * z + c;
    return m;
}

Mat4 perspectiveMatrix(double fovyDeg, double aspect, double zNear, double zFar)
{
    const double radians = fovyDeg / 2 * degreesToRadians;
    const double depth = zFar - zNear;
    const double sine = std::sin(radians);
    if (depth == 0.0 || sine == 0.0 || aspect == 0.0) {
        return identityMatrix();
    }
    const double cotangent = std::cos(radians) / sine;
    Mat4 m = identityMatrix();
    at(m, 0, 0) = static_cast<float>(cotangent / aspect);
    at(m, 1, 1) = static_cast<float>(cotangent);
    at(m, 2, 2) = static_cast<float>(-(zFar + zNear) / depth);
    at(m, 3, 2) = -1.0f;
    at(m, 2, 3) = static_cast<float>(-2 * zNear * zFar / depth);
    at(m, 3, 3) = 0.0f;
    return m;
}

Mat4 lookAtMatrix(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ, double upX,
                  double upY, double upZ)
{
    // GLU works these out in single precision.
    float forward[3] = {static_cast<float>(centreX - eyeX), static_cast<float>(centreY - eyeY),
                        static_cast<float>(centreZ - eyeZ)};
    float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    float side[3];
    normalise(forward);
    cross(forward, up, side);
    normalise(side);
    cross(side, forward, up);
    Mat4 m = identityMatrix();
    for (int i = 0; i < 3; ++i) {
        at(m, 0, i) = side[i];
        at(m, 1, i) = up[i];
        at(m, 2, i) = -forward[i];
    }
    return multiplyMatrices(
        m, translationMatrix(static_cast<float>(-eyeX), static_cast<float>(-eyeY), static_cast<float>(-eyeZ)));
}

Mat4 orthoMatrix(double left, double right, double bottom, double top, double zNear, double zFar)
{
    Mat4 m = identityMatrix();
    at(m, 0, 0) = static_cast<float>(2.0 / (right - left));
    at(m, 1, 1) = static_cast<float>(2.0 / (top - bottom));
    at(m, 2, 2) = static_cast<float>(-2.0 / (zFar - zNear));
    at(m, 0, 3) = static_cast<float>(-(right + left) / (right - left));
    at(m, 1, 3) = static_cast<float>(-(top + bottom) / (top - bottom));
    at(m, 2, 3) = static_cast<float>(-(zFar + zNear) / (zFar - zNear));
    return m;
}

void transformPoint(const Mat4& m, const float in[4], float out[4])
{
    for (int row = 0; row < 4; ++row) {
        out[row] = at(m, row, 0) * in[0] + at(m, row, 1) * in[1] + at(m, row, 2) * in[2] + at(m, row, 3) * in[3];
    }
}

void transformNormal(const Mat4& m, const float in[3], float out[3])
{
    // The inverse transpose of the upper 3x3 is its cofactor matrix over the determinant.
    float cofactor[3][3];
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int r0 = (row + 1) % 3;
            const int r1 = (row + 2) % 3;
            const int c0 = (column + 1) % 3;
            const int c1 = (column + 2) % 3;
            cofactor[row][column] = at(m, r0, c0) * at(m, r1, c1) - at(m, r0, c1) * at(m, r1, c0);
        }
    }
    const float determinant =
        at(m, 0, 0) * cofactor[0][0] + at(m, 0, 1) * cofactor[0][1] + at(m, 0, 2) * cofactor[0][2];
    for (int row = 0; row < 3; ++row) {
        out[row] = determinant == 0.0f
                       ? 0.0f
                       : (cofactor[row][0] * in[0] + cofactor[row][1] * in[1] + cofactor[row][2] * in[2]) / determinant;
    }
}

void resetStack(MatrixStack* stack)
{
    stack->depth = 1;
    stack->levels[0] = identityMatrix();
}

Mat4& topMatrix(MatrixStack* stack) { return stack->levels[stack->depth - 1]; }
const Mat4& topMatrix(const MatrixStack& stack) { return stack.levels[stack.depth - 1]; }

bool pushMatrix(MatrixStack* stack)
{
    if (stack->depth >= matrixStackDepth) {
        return false;
    }
    stack->levels[stack->depth] = stack->levels[stack->depth - 1];
    ++stack->depth;
    return true;
}

bool popMatrix(MatrixStack* stack)
{
    if (stack->depth <= 1) {
        return false;
    }
    --stack->depth;
    return true;
}

void multiplyTop(MatrixStack* stack, const Mat4& m) { topMatrix(stack) = multiplyMatrices(topMatrix(stack), m); }
