// The web layer's fixed-function state: what glBegin ... glEnd, the matrix calls and
// the lighting calls do, reduced to lit clip-space triangles handed to the sink.
#include "platform/web/fixed_pipeline.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int verticesPerTriangle = 3;
constexpr int verticesPerQuad = 4;
constexpr int verticesPerLine = 2;
constexpr float halfPixel = 0.5f;
// A line lying exactly on the boundary of two pixel rows lights the row below it
// (downwards in GL's window coordinates), as Mesa's rasteriser does.
constexpr float lineRowShift = -0.25f;

struct Pipeline {
    BatchSink sink = nullptr;
    MatrixStack modelView;
    MatrixStack projection;
    bool projectionCurrent = false;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float texCoord[2] = {0.0f, 0.0f};
    float normal[3] = {0.0f, 0.0f, 1.0f};
    Material material = defaultMaterial();
    DirectionalLight light = defaultLight0();
    unsigned colourMaterialMode = fixedgl::diffuse;
    bool lighting = false;
    bool light0 = false;
    bool colourMaterial = false;
    bool texture2d = false;
    bool depthTest = false;
    bool blend = false;
    bool multisample = true;
    int viewport[4] = {0, 0, 0, 0};
    bool inPrimitive = false;
    unsigned primitive = fixedgl::triangles;
    std::vector<ClipVertex> pending;
    std::vector<ClipVertex> batch;
};

Pipeline state;

// What glPushAttrib saves of the state above: the current colour and texture
// coordinate, the material, the light and the switches.
struct Attributes {
    float colour[4];
    float texCoord[2];
    Material material;
    DirectionalLight light;
    unsigned colourMaterialMode;
    bool lighting, light0, colourMaterial, texture2d, depthTest, blend, multisample;
};
std::vector<Attributes> savedAttributes;

MatrixStack* currentStack() { return state.projectionCurrent ? &state.projection : &state.modelView; }

void trackColourMaterial()
{
    if (state.colourMaterial && state.colourMaterialMode == fixedgl::diffuse) {
        std::copy(state.colour, state.colour + 4, state.material.diffuse);
    }
}

// A vertex through the model-view and projection matrices, lit at its normal.
ClipVertex processVertex(const float position[3], const float normal[3])
{
    ClipVertex out{};
    const float object[4] = {position[0], position[1], position[2], 1.0f};
    float eye[4];
    transformPoint(topMatrix(state.modelView), object, eye);
    transformPoint(topMatrix(state.projection), eye, out.clip);
    if (state.lighting) {
        float eyeNormal[3];
        transformNormal(topMatrix(state.modelView), normal, eyeNormal);
        lightVertex(state.material, state.light, state.light0, defaultSceneAmbient, eyeNormal, out.colour);
    } else {
        for (int i = 0; i < 4; ++i) {
            out.colour[i] = std::clamp(state.colour[i], 0.0f, 1.0f);
        }
    }
    out.texCoord[0] = state.texCoord[0];
    out.texCoord[1] = state.texCoord[1];
    return out;
}

void flushBatch()
{
    if (state.batch.empty() || state.sink == nullptr) {
        state.batch.clear();
        return;
    }
    const DrawBatch draw{state.batch.data(), static_cast<int>(state.batch.size()),
                         state.texture2d,    state.depthTest,
                         state.blend,        state.multisample};
    state.sink(draw);
    state.batch.clear();
}

void addTriangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c)
{
    state.batch.push_back(a);
    state.batch.push_back(b);
    state.batch.push_back(c);
}

// A clip-space vertex at window position (x, y), keeping the colour and depth of from.
ClipVertex atWindow(const ClipVertex& from, float x, float y)
{
    ClipVertex out = from;
    const float w = from.clip[3];
    out.clip[0] = (x - state.viewport[0]) / state.viewport[2] * 2.0f - 1.0f;
    out.clip[1] = (y - state.viewport[1]) / state.viewport[3] * 2.0f - 1.0f;
    out.clip[2] = w == 0.0f ? 0.0f : from.clip[2] / w;
    out.clip[3] = 1.0f;
    return out;
}

void windowPosition(const ClipVertex& v, float* x, float* y)
{
    const float w = v.clip[3] == 0.0f ? 1.0f : v.clip[3];
    *x = (v.clip[0] / w + 1.0f) * 0.5f * state.viewport[2] + state.viewport[0];
    *y = (v.clip[1] / w + 1.0f) * 0.5f * state.viewport[3] + state.viewport[1];
}

// A one-pixel line as a band one pixel across its minor axis, shifted off the pixel
// boundary so that exactly one row (or column) of pixel centres falls inside it.
void addLine(const ClipVertex& a, const ClipVertex& b)
{
    float ax, ay, bx, by;
    windowPosition(a, &ax, &ay);
    windowPosition(b, &bx, &by);
    const bool xMajor = std::abs(bx - ax) >= std::abs(by - ay);
    const float dx = xMajor ? 0.0f : halfPixel;
    const float dy = xMajor ? halfPixel : 0.0f;
    const float sx = xMajor ? 0.0f : lineRowShift;
    const float sy = xMajor ? lineRowShift : 0.0f;
    const ClipVertex a0 = atWindow(a, ax - dx + sx, ay - dy + sy);
    const ClipVertex a1 = atWindow(a, ax + dx + sx, ay + dy + sy);
    const ClipVertex b0 = atWindow(b, bx - dx + sx, by - dy + sy);
    const ClipVertex b1 = atWindow(b, bx + dx + sx, by + dy + sy);
    addTriangle(a0, b0, b1);
    addTriangle(a0, b1, a1);
}

void assemblePending()
{
    const std::vector<ClipVertex>& v = state.pending;
    const size_t n = v.size();
    if (state.primitive == fixedgl::triangles) {
        for (size_t i = 0; i + verticesPerTriangle <= n; i += verticesPerTriangle) {
            addTriangle(v[i], v[i + 1], v[i + 2]);
        }
    } else if (state.primitive == fixedgl::quads) {
        // As Mesa splits a quad: (0, 1, 3) and (1, 2, 3).
        for (size_t i = 0; i + verticesPerQuad <= n; i += verticesPerQuad) {
            addTriangle(v[i], v[i + 1], v[i + 3]);
            addTriangle(v[i + 1], v[i + 2], v[i + 3]);
        }
    } else if (state.primitive == fixedgl::polygon) {
        for (size_t i = 1; i + 1 < n; ++i) {
            addTriangle(v[0], v[i], v[i + 1]);
        }
    } else if (state.primitive == fixedgl::lines) {
        for (size_t i = 0; i + verticesPerLine <= n; i += verticesPerLine) {
            addLine(v[i], v[i + 1]);
        }
    }
}

} // namespace

void resetFixedPipeline(BatchSink sink)
{
    state = Pipeline{};
    state.sink = sink;
    resetStack(&state.modelView);
    resetStack(&state.projection);
}

bool setFixedCapability(unsigned capability, bool on)
{
    switch (capability) {
    case fixedgl::lighting: state.lighting = on; return true;
    case fixedgl::light0: state.light0 = on; return true;
    case fixedgl::colourMaterial:
        state.colourMaterial = on;
        trackColourMaterial();
        return true;
    case fixedgl::texture2d: state.texture2d = on; return true;
    case fixedgl::depthTest: state.depthTest = on; return true;
    case fixedgl::blend: state.blend = on; return true;
    case fixedgl::multisample: state.multisample = on; return true;
    default: return false;
    }
}

bool fixedCapability(unsigned capability)
{
    switch (capability) {
    case fixedgl::lighting: return state.lighting;
    case fixedgl::light0: return state.light0;
    case fixedgl::colourMaterial: return state.colourMaterial;
    case fixedgl::texture2d: return state.texture2d;
    case fixedgl::depthTest: return state.depthTest;
    case fixedgl::blend: return state.blend;
    case fixedgl::multisample: return state.multisample;
    default: return false;
    }
}

void fixedMatrixMode(unsigned mode)
{
    if (mode == fixedgl::modelViewMode || mode == fixedgl::projectionMode) {
        state.projectionCurrent = mode == fixedgl::projectionMode;
    }
}

void fixedLoadIdentity() { topMatrix(currentStack()) = identityMatrix(); }
void fixedMultiply(const Mat4& m) { multiplyTop(currentStack(), m); }
bool fixedPushMatrix() { return pushMatrix(currentStack()); }
bool fixedPopMatrix() { return popMatrix(currentStack()); }
const Mat4& fixedModelView() { return topMatrix(state.modelView); }
int fixedModelViewDepth() { return state.modelView.depth; }

void fixedColour(float red, float green, float blue, float alpha)
{
    state.colour[0] = red;
    state.colour[1] = green;
    state.colour[2] = blue;
    state.colour[3] = alpha;
    trackColourMaterial();
}

void fixedTexCoord(float s, float t)
{
    state.texCoord[0] = s;
    state.texCoord[1] = t;
}

void fixedColourMaterial(unsigned, unsigned mode)
{
    state.colourMaterialMode = mode;
    trackColourMaterial();
}

void fixedMaterial(unsigned face, unsigned parameter, const float* values)
{
    if (face != fixedgl::front && face != fixedgl::frontAndBack) {
        return;
    }
    Material& m = state.material;
    float* target = parameter == fixedgl::ambient    ? m.ambient
                    : parameter == fixedgl::diffuse  ? m.diffuse
                    : parameter == fixedgl::specular ? m.specular
                    : parameter == fixedgl::emission ? m.emission
                                                     : nullptr;
    if (target != nullptr) {
        std::copy(values, values + 4, target);
    } else if (parameter == fixedgl::shininess) {
        m.shininess = values[0];
    }
}

void fixedLight(unsigned light, unsigned parameter, const float* values)
{
    if (light != fixedgl::light0) {
        return;
    }
    DirectionalLight& l = state.light;
    if (parameter == fixedgl::position) {
        transformPoint(topMatrix(state.modelView), values, l.eyePosition);
        return;
    }
    float* target = parameter == fixedgl::ambient    ? l.ambient
                    : parameter == fixedgl::diffuse  ? l.diffuse
                    : parameter == fixedgl::specular ? l.specular
                                                     : nullptr;
    if (target != nullptr) {
        std::copy(values, values + 4, target);
    }
}

const DirectionalLight& fixedLight0() { return state.light; }

void fixedPushAttributes()
{
    Attributes a = {{},
                    {},
                    state.material,
                    state.light,
                    state.colourMaterialMode,
                    state.lighting,
                    state.light0,
                    state.colourMaterial,
                    state.texture2d,
                    state.depthTest,
                    state.blend,
                    state.multisample};
    std::copy(std::begin(state.colour), std::end(state.colour), a.colour);
    std::copy(std::begin(state.texCoord), std::end(state.texCoord), a.texCoord);
    savedAttributes.push_back(a);
}

bool fixedPopAttributes()
{
    if (savedAttributes.empty()) return false;
    const Attributes& a = savedAttributes.back();
    std::copy(std::begin(a.colour), std::end(a.colour), state.colour);
    std::copy(std::begin(a.texCoord), std::end(a.texCoord), state.texCoord);
    state.material = a.material;
    state.light = a.light;
    state.colourMaterialMode = a.colourMaterialMode;
    state.lighting = a.lighting;
    state.light0 = a.light0;
    state.colourMaterial = a.colourMaterial;
    state.texture2d = a.texture2d;
    state.depthTest = a.depthTest;
    state.blend = a.blend;
    state.multisample = a.multisample;
    savedAttributes.pop_back();
    return true;
}

void fixedViewport(int x, int y, int width, int height)
{
    state.viewport[0] = x;
    state.viewport[1] = y;
    state.viewport[2] = width;
    state.viewport[3] = height;
}

void fixedBegin(unsigned primitive)
{
    state.inPrimitive = true;
    state.primitive = primitive;
    state.pending.clear();
}

void fixedVertex(float x, float y, float z)
{
    if (!state.inPrimitive) {
        return;
    }
    const float position[3] = {x, y, z};
    state.pending.push_back(processVertex(position, state.normal));
}

void fixedEnd()
{
    if (!state.inPrimitive) {
        return;
    }
    state.inPrimitive = false;
    assemblePending();
    state.pending.clear();
    flushBatch();
}

void fixedDrawSolid(const std::vector<SolidVertex>& triangles)
{
    for (const SolidVertex& v : triangles) {
        state.batch.push_back(processVertex(v.position, v.normal));
    }
    flushBatch();
}
