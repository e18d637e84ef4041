// The fixed-function lighting equation for one directional light, evaluated at a
// vertex (Gouraud) as GL does it, with no GL.
#pragma once

struct DirectionalLight {
    float eyePosition[4]; // as given to GL_POSITION, times the model-view of that moment
    float ambient[4];
    float diffuse[4];
    float specular[4];
};

struct Material {
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float emission[4];
    float shininess;
};

// GL's starting values: light 0 white, the material grey, the scene ambient 0.2.
DirectionalLight defaultLight0();
Material defaultMaterial();
extern const float defaultSceneAmbient[4];

// The colour of a vertex with eye-space normal n (not renormalised): emission, the
// scene and light ambient, the diffuse term and the specular highlight with the
// viewer along +z, each channel clamped to 0 ... 1; alpha is the diffuse alpha.
// With lightOn false only emission and the scene ambient remain.
void lightVertex(const Material& material, const DirectionalLight& light, bool lightOn, const float sceneAmbient[4],
                 const float normal[3], float out[4]);
