// The fixed-function state machine behind the web layer's gl* calls, with no GL:
// immediate mode, matrix stacks, colour material and per-vertex lighting, turned
// into batches of lit, clip-space triangles for a thin WebGL 2 side to draw.
#pragma once

#include "platform/web/fixed_lighting.h"
#include "platform/web/fixed_matrix.h"
#include "platform/web/glut_solids.h"

#include <vector>

// The GL enumerants this layer takes, with GL's values.
namespace fixedgl {
constexpr unsigned lines = 0x0001;
constexpr unsigned triangles = 0x0004;
constexpr unsigned quads = 0x0007;
constexpr unsigned polygon = 0x0009;
constexpr unsigned modelViewMode = 0x1700;
constexpr unsigned projectionMode = 0x1701;
constexpr unsigned lighting = 0x0B50;
constexpr unsigned light0 = 0x4000;
constexpr unsigned colourMaterial = 0x0B57;
constexpr unsigned texture2d = 0x0DE1;
constexpr unsigned depthTest = 0x0B71;
constexpr unsigned blend = 0x0BE2;
constexpr unsigned multisample = 0x809D;
constexpr unsigned front = 0x0404;
constexpr unsigned frontAndBack = 0x0408;
constexpr unsigned ambient = 0x1200;
constexpr unsigned diffuse = 0x1201;
constexpr unsigned specular = 0x1202;
constexpr unsigned position = 0x1203;
constexpr unsigned emission = 0x1600;
constexpr unsigned shininess = 0x1601;
} // namespace fixedgl

struct ClipVertex {
    float clip[4];
    float colour[4]; // clamped to 0 ... 1
    float texCoord[2];
};

// One draw: vertices in threes, each three a triangle, and the switches it is drawn with.
struct DrawBatch {
    const ClipVertex* vertices;
    int count;
    bool textured;
    bool depthTest;
    bool blend;
    bool multisample;
};

using BatchSink = void (*)(const DrawBatch& batch);

// Puts every state back to GL's start and sends batches to sink.
void resetFixedPipeline(BatchSink sink);

// Switches this layer keeps; false for a capability it does not know.
bool setFixedCapability(unsigned capability, bool on);
bool fixedCapability(unsigned capability);

void fixedMatrixMode(unsigned mode);
void fixedLoadIdentity();
void fixedMultiply(const Mat4& m);
bool fixedPushMatrix();
bool fixedPopMatrix();
const Mat4& fixedModelView();
int fixedModelViewDepth();

void fixedColour(float red, float green, float blue, float alpha);
void fixedTexCoord(float s, float t);
void fixedColourMaterial(unsigned face, unsigned mode);
void fixedMaterial(unsigned face, unsigned parameter, const float* values);
void fixedLight(unsigned light, unsigned parameter, const float* values);
const DirectionalLight& fixedLight0();

// glPushAttrib / glPopAttrib: the colour, texture coordinate, material, light and
// switches saved and put back; a pop with nothing saved is refused (false).
void fixedPushAttributes();
bool fixedPopAttributes();

// The viewport that lines are widened in.
void fixedViewport(int x, int y, int width, int height);

// glBegin / glVertex / glEnd. Lines become one-pixel-high bands on whole pixel rows.
void fixedBegin(unsigned primitive);
void fixedVertex(float x, float y, float z);
void fixedEnd();

// A GLUT solid, lit with its own normals; the current normal stays as it was.
void fixedDrawSolid(const std::vector<SolidVertex>& triangles);
