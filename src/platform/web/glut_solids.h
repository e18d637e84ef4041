// freeglut's solid cube, cone and sphere as plain triangles: the same vertices,
// normals and triangles (strips unrolled) that freeglut 3.4 draws.
#pragma once

#include <vector>

struct SolidVertex {
    float position[3];
    float normal[3];
};

// Each three vertices in a row are one triangle.
std::vector<SolidVertex> solidCubeTriangles(float size);
std::vector<SolidVertex> solidConeTriangles(float base, float height, int slices, int stacks);
std::vector<SolidVertex> solidSphereTriangles(float radius, int slices, int stacks);
