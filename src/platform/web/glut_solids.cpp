// The tessellation of freeglut's solids: vertex tables built as freeglut builds them
// (its circle tables in single precision), then its triangle strips unrolled.
#include "platform/web/glut_solids.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int cubeCorners = 8;
constexpr int cubeFaces = 6;
constexpr int cornersPerFace = 4;
constexpr float cubeCorner[cubeCorners][3] = {{.5f, .5f, .5f},   {-.5f, .5f, .5f},  {-.5f, -.5f, .5f},
                                              {.5f, -.5f, .5f},  {.5f, -.5f, -.5f}, {.5f, .5f, -.5f},
                                              {-.5f, .5f, -.5f}, {-.5f, -.5f, -.5f}};
constexpr float cubeNormal[cubeFaces][3] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
constexpr int cubeFaceCorners[cubeFaces][cornersPerFace] = {{0, 1, 2, 3}, {0, 3, 4, 5}, {0, 5, 6, 1},
                                                            {1, 6, 7, 2}, {7, 4, 3, 2}, {4, 7, 6, 5}};
// Each face as two triangles of its corners.
constexpr int quadTriangles[6] = {0, 1, 2, 0, 2, 3};

struct CircleTable {
    std::vector<float> sine;
    std::vector<float> cosine;
};

// n samples around the circle (half of it when half), plus the closing sample;
// a negative n runs the other way.
CircleTable circleTable(int n, bool half)
{
    const int size = std::abs(n);
    const float angle = (half ? 1 : 2) * static_cast<float>(M_PI) / static_cast<float>(n == 0 ? 1 : n);
    CircleTable table{std::vector<float>(size + 1), std::vector<float>(size + 1)};
    table.sine[0] = 0.0f;
    table.cosine[0] = 1.0f;
    for (int i = 1; i < size; ++i) {
        table.sine[i] = static_cast<float>(std::sin(angle * i));
        table.cosine[i] = static_cast<float>(std::cos(angle * i));
    }
    table.sine[size] = half ? 0.0f : table.sine[0];
    table.cosine[size] = half ? -1.0f : table.cosine[0];
    return table;
}

SolidVertex vertex(float x, float y, float z, float nx, float ny, float nz) { return {{x, y, z}, {nx, ny, nz}}; }

// A triangle strip of the given vertex indices, as GL draws it: triangle i is
// (i, i+1, i+2), every second one turned round so all face one way.
void unrollStrip(const std::vector<SolidVertex>& vertices, const std::vector<int>& strip,
                 std::vector<SolidVertex>* triangles)
{
    for (size_t i = 0; i + 2 < strip.size(); ++i) {
        const bool odd = (i % 2) == 1;
        triangles->push_back(vertices[strip[odd ? i + 1 : i]]);
        triangles->push_back(vertices[strip[odd ? i : i + 1]]);
        triangles->push_back(vertices[strip[i + 2]]);
    }
}

std::vector<SolidVertex> sphereVertices(float radius, int slices, int stacks)
{
    const CircleTable around = circleTable(-slices, false);
    const CircleTable down = circleTable(stacks, true);
    std::vector<SolidVertex> vertices;
    vertices.push_back(vertex(0.f, 0.f, radius, 0.f, 0.f, 1.f));
    for (int i = 1; i < stacks; ++i) {
        for (int j = 0; j < slices; ++j) {
            const float x = around.cosine[j] * down.sine[i];
            const float y = around.sine[j] * down.sine[i];
            const float z = down.cosine[i];
            vertices.push_back(vertex(x * radius, y * radius, z * radius, x, y, z));
        }
    }
    vertices.push_back(vertex(0.f, 0.f, -radius, 0.f, 0.f, -1.f));
    return vertices;
}

std::vector<SolidVertex> coneVertices(float base, float height, int slices, int stacks)
{
    const float zStep = height / (stacks > 0 ? stacks : 1);
    const float rStep = base / (stacks > 0 ? stacks : 1);
    // The squares are summed in single precision, the root and quotients in double.
    const float squares = height * height + base * base;
    const float cosn = static_cast<float>(height / std::sqrt(static_cast<double>(squares)));
    const float sinn = static_cast<float>(base / std::sqrt(static_cast<double>(squares)));
    const CircleTable around = circleTable(-slices, false);
    std::vector<SolidVertex> vertices;
    float z = 0.0f;
    float r = base;
    vertices.push_back(vertex(0.f, 0.f, z, 0.f, 0.f, -1.f));
    for (int j = 0; j < slices; ++j) {
        vertices.push_back(vertex(around.cosine[j] * r, around.sine[j] * r, z, 0.f, 0.f, -1.f));
    }
    for (int i = 0; i < stacks + 1; ++i) {
        for (int j = 0; j < slices; ++j) {
            vertices.push_back(vertex(around.cosine[j] * r, around.sine[j] * r, z, around.cosine[j] * cosn,
                                      around.sine[j] * cosn, sinn));
        }
        z += zStep;
        r -= rStep;
    }
    return vertices;
}

} // namespace

std::vector<SolidVertex> solidCubeTriangles(float size)
{
    std::vector<SolidVertex> triangles;
    for (int face = 0; face < cubeFaces; ++face) {
        for (int k : quadTriangles) {
            const float* corner = cubeCorner[cubeFaceCorners[face][k]];
            const float* normal = cubeNormal[face];
            triangles.push_back(
                vertex(size * corner[0], size * corner[1], size * corner[2], normal[0], normal[1], normal[2]));
        }
    }
    return triangles;
}

std::vector<SolidVertex> solidSphereTriangles(float radius, int slices, int stacks)
{
    std::vector<SolidVertex> triangles;
    if (slices == 0 || stacks < 2) {
        return triangles;
    }
    const std::vector<SolidVertex> vertices = sphereVertices(radius, slices, stacks);
    const int bottom = static_cast<int>(vertices.size()) - 1;
    std::vector<int> strip;
    for (int j = 0; j < slices; ++j) {
        strip.insert(strip.end(), {j + 1, 0});
    }
    strip.insert(strip.end(), {1, 0});
    unrollStrip(vertices, strip, &triangles);
    for (int i = 0; i < stacks - 2; ++i) {
        const int offset = 1 + i * slices;
        strip.clear();
        for (int j = 0; j < slices; ++j) {
            strip.insert(strip.end(), {offset + j + slices, offset + j});
        }
        strip.insert(strip.end(), {offset + slices, offset});
        unrollStrip(vertices, strip, &triangles);
    }
    const int offset = 1 + (stacks - 2) * slices;
    strip.clear();
    for (int j = 0; j < slices; ++j) {
        strip.insert(strip.end(), {bottom, offset + j});
    }
    strip.insert(strip.end(), {bottom, offset});
    unrollStrip(vertices, strip, &triangles);
    return triangles;
}

std::vector<SolidVertex> solidConeTriangles(float base, float height, int slices, int stacks)
{
    std::vector<SolidVertex> triangles;
    if (slices == 0 || stacks < 1) {
        return triangles;
    }
    const std::vector<SolidVertex> vertices = coneVertices(base, height, slices, stacks);
    std::vector<int> strip;
    for (int j = 0; j < slices; ++j) {
        strip.insert(strip.end(), {0, j + 1});
    }
    strip.insert(strip.end(), {0, 1});
    unrollStrip(vertices, strip, &triangles);
    for (int i = 0; i < stacks; ++i) {
        const int offset = 1 + (i + 1) * slices;
        strip.clear();
        for (int j = 0; j < slices; ++j) {
            strip.insert(strip.end(), {offset + j, offset + j + slices});
        }
        strip.insert(strip.end(), {offset, offset + slices});
        unrollStrip(vertices, strip, &triangles);
    }
    return triangles;
}
