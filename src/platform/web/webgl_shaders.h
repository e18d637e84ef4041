// The web layer's shaders: the batch shader, and the two copies that put the
// picture on the canvas (from a resolved multisampled picture, or from one drawn at
// 16 times the size whose chosen pixels are the samples).
#pragma once

// Lit, clip-space vertices, shifted by sampleShift (per unit of w) in the sample picture.
inline const char* const batchVertexShader = R"(#version 300 es
layout(location = 0) in vec4 clipPosition;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec2 texCoord;
uniform vec2 sampleShift;
out vec4 vertexColour;
out vec2 vertexTexCoord;
void main() {
    vertexColour = colour;
    vertexTexCoord = texCoord;
    gl_Position = vec4(clipPosition.xy + sampleShift * clipPosition.w, clipPosition.zw);
})";

// GL_MODULATE: the texel times the colour. Multisampling shades once at the pixel's
// centre; in the sample picture each sample carries the colour and texture coordinate
// of its pixel's centre, carried there along the screen-space derivatives.
inline const char* const batchFragmentShader = R"(#version 300 es
precision highp float;
in vec4 vertexColour;
in vec2 vertexTexCoord;
uniform sampler2D image;
uniform bool textured;
uniform float pixelScale;
uniform float pixelShift;
out vec4 fragment;
void main() {
    vec2 samplePoint = gl_FragCoord.xy - pixelShift;
    vec2 toCentre = (floor(samplePoint / pixelScale) + 0.5) * pixelScale + pixelShift - gl_FragCoord.xy;
    vec4 colour = vertexColour + dFdx(vertexColour) * toCentre.x + dFdy(vertexColour) * toCentre.y;
    vec2 texCoord = vertexTexCoord + dFdx(vertexTexCoord) * toCentre.x + dFdy(vertexTexCoord) * toCentre.y;
    fragment = textured ? colour * texture(image, texCoord) : colour;
})";

inline const char* const copyVertexShader = R"(#version 300 es
void main() {
    vec2 corner = vec2(float((gl_VertexID & 1) << 2), float((gl_VertexID & 2) << 1));
    gl_Position = vec4(corner - 1.0, 0.0, 1.0);
})";

// The resolved picture onto the canvas pixel for pixel.
inline const char* const copyFragmentShader = R"(#version 300 es
precision highp float;
uniform sampler2D picture;
out vec4 fragment;
void main() {
    fragment = texelFetch(picture, ivec2(gl_FragCoord.xy), 0);
})";

// Each canvas pixel the mean of its four samples, at the standard 4x positions
// (0.375, 0.125), (0.875, 0.375), (0.125, 0.625), (0.625, 0.875) of the pixel: in a
// picture scale times the size, shifted half its pixel, the pixels scale x those positions in.
inline const char* const sampleMeanFragmentShader = R"(#version 300 es
precision highp float;
uniform sampler2D picture;
uniform int scale;
out vec4 fragment;
const vec2 samples[4] = vec2[4](vec2(0.375, 0.125), vec2(0.875, 0.375), vec2(0.125, 0.625), vec2(0.625, 0.875));
void main() {
    ivec2 corner = ivec2(gl_FragCoord.xy) * scale;
    vec4 sum = vec4(0.0);
    for (int i = 0; i < 4; ++i) {
        sum += texelFetch(picture, corner + ivec2(samples[i] * float(scale)), 0);
    }
    fragment = sum * 0.25;
})";
