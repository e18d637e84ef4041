// Per-vertex lighting for the web layer: one directional light, the viewer at
// infinity along +z, specular only where the light reaches the front of the normal.
#include "platform/web/fixed_lighting.h"

#include <algorithm>
#include <cmath>

const float defaultSceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};

namespace {

constexpr int rgb = 3;
constexpr int alphaChannel = 3;

float dot3(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void normalised(const float in[3], float out[3])
{
    const float length = std::sqrt(dot3(in, in));
    for (int i = 0; i < rgb; ++i) {
        out[i] = length == 0.0f ? 0.0f : in[i] / length;
    }
}

} // namespace

DirectionalLight defaultLight0()
{
    return {{0.0f, 0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}};
}

Material defaultMaterial()
{
    return {
        {0.2f, 0.2f, 0.2f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}, 0.0f};
}

void lightVertex(const Material& material, const DirectionalLight& light, bool lightOn, const float sceneAmbient[4],
                 const float normal[3], float out[4])
{
    float sum[rgb];
    for (int i = 0; i < rgb; ++i) {
        sum[i] = material.emission[i] + material.ambient[i] * sceneAmbient[i];
    }
    if (lightOn) {
        float toLight[rgb];
        normalised(light.eyePosition, toLight);
        const float towardsViewer[rgb] = {toLight[0], toLight[1], toLight[2] + 1.0f};
        float halfway[rgb];
        normalised(towardsViewer, halfway);
        const float diffuseFactor = dot3(normal, toLight);
        const float lit = std::max(diffuseFactor, 0.0f);
        const float specularFactor =
            diffuseFactor > 0.0f ? std::pow(std::max(dot3(normal, halfway), 0.0f), material.shininess) : 0.0f;
        for (int i = 0; i < rgb; ++i) {
            sum[i] += material.ambient[i] * light.ambient[i] + lit * material.diffuse[i] * light.diffuse[i] +
                      specularFactor * material.specular[i] * light.specular[i];
        }
    }
    for (int i = 0; i < rgb; ++i) {
        out[i] = std::clamp(sum[i], 0.0f, 1.0f);
    }
    out[alphaChannel] = std::clamp(material.diffuse[alphaChannel], 0.0f, 1.0f);
}
