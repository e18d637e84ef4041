// Canvases, masks, backgrounds and PNG output for the card generator.
#include "card_canvas.h"

#include "xorshift.h"

#include "png_encode.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

Canvas makeCanvas(int width, int height)
{
    return {width, height, std::vector<float>(static_cast<size_t>(width) * height * 4, 0.0f)};
}

Mask makeMask(int width, int height)
{
    return {width, height, std::vector<float>(static_cast<size_t>(width) * height, 0.0f)};
}

// Paints colour through the mask, "over" what is there, with the given opacity.
void paint(Canvas* canvas, const Mask& mask, Colour colour, float opacity, int dx, int dy)
{
    for (int y = 0; y < canvas->height; ++y) {
        const int my = y - dy;
        if (my < 0 || my >= mask.height) continue;
        for (int x = 0; x < canvas->width; ++x) {
            const int mx = x - dx;
            if (mx < 0 || mx >= mask.width) continue;
            const float a = std::min(1.0f, mask.value[static_cast<size_t>(my) * mask.width + mx] * opacity);
            if (a <= 0.0f) continue;
            float* p = &canvas->rgba[(static_cast<size_t>(y) * canvas->width + x) * 4];
            p[0] = colour.r * a + p[0] * (1.0f - a);
            p[1] = colour.g * a + p[1] * (1.0f - a);
            p[2] = colour.b * a + p[2] * (1.0f - a);
            p[3] = a + p[3] * (1.0f - a);
        }
    }
}

// Three box passes approximate a Gaussian blur of about the given radius.
Mask blurred(const Mask& mask, int radius)
{
    constexpr int passes = 3;
    Mask out = mask;
    std::vector<float> line;
    for (int pass = 0; pass < passes; ++pass) {
        for (int horizontal = 0; horizontal < 2; ++horizontal) {
            const int count = horizontal ? out.height : out.width;
            const int length = horizontal ? out.width : out.height;
            for (int c = 0; c < count; ++c) {
                line.assign(length, 0.0f);
                auto at = [&](int i) -> float& {
                    return horizontal ? out.value[static_cast<size_t>(c) * out.width + i]
                                      : out.value[static_cast<size_t>(i) * out.width + c];
                };
                double sum = 0.0;
                for (int i = -radius; i <= radius; ++i) sum += (i >= 0 && i < length) ? at(i) : 0.0f;
                for (int i = 0; i < length; ++i) {
                    line[i] = static_cast<float>(sum / (2 * radius + 1));
                    const int leaving = i - radius;
                    const int entering = i + radius + 1;
                    if (leaving >= 0) sum -= at(leaving);
                    if (entering < length) sum += at(entering);
                }
                for (int i = 0; i < length; ++i) at(i) = line[i];
            }
        }
    }
    return out;
}

namespace {

float randomUnit(uint32_t* state) { return static_cast<float>(nextRandom(state) / 4294967296.0); }

float smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

struct Point {
    float x, y;
};

float cross(Point a, Point b, Point c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); }

float distanceToSegment(Point p, Point a, Point b)
{
    const float vx = b.x - a.x, vy = b.y - a.y;
    const float t = std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
    const float dx = a.x + t * vx - p.x, dy = a.y + t * vy - p.y;
    return std::sqrt(dx * dx + dy * dy);
}

// The shade of the glass facet (two triangles a grid cell) under p, among the cells
// around p's own, and p's distance to that facet's nearest edge.
void findFacet(const std::vector<Point>& grid, const std::vector<float>& shade, int cells, float cell, Point p,
               float* facet, float* edge)
{
    const int ci = std::min(cells - 1, static_cast<int>(p.x / cell));
    const int cj = std::min(cells - 1, static_cast<int>(p.y / cell));
    for (int j = std::max(0, cj - 1); j <= std::min(cells - 1, cj + 1); ++j) {
        for (int i = std::max(0, ci - 1); i <= std::min(cells - 1, ci + 1); ++i) {
            const Point a = grid[j * (cells + 1) + i], b = grid[j * (cells + 1) + i + 1];
            const Point c = grid[(j + 1) * (cells + 1) + i + 1], d = grid[(j + 1) * (cells + 1) + i];
            const Point tris[2][3] = {{a, b, c}, {a, c, d}};
            for (int t = 0; t < 2; ++t) {
                const Point* q = tris[t];
                if (cross(q[0], q[1], p) >= 0 && cross(q[1], q[2], p) >= 0 && cross(q[2], q[0], p) >= 0) {
                    *facet = shade[(j * cells + i) * 2 + t];
                    for (int e = 0; e < 3; ++e) *edge = std::min(*edge, distanceToSegment(p, q[e], q[(e + 1) % 3]));
                }
            }
        }
    }
}

} // namespace

// A deep blue night with faint glass facets, a glow behind the title and edges that
// fall to black so the square sits quietly on the black screen around it. Facets
// fade out below `facetFloor` (a share of the height), keeping that part plain.
Canvas nightGlass(int size, uint32_t seed, Colour top, Colour bottom, float glowY, float facetFloor)
{
    constexpr int cells = 7;
    constexpr float jitter = 0.38f;
    constexpr float facetShade = 0.05f;
    constexpr float edgeLight = 0.11f;
    constexpr float edgeWidth = 1.3f;
    constexpr float glowRadius = 0.42f;
    constexpr Colour glowColour{0.16f, 0.32f, 0.62f};
    constexpr float glowStrength = 0.55f;
    constexpr float vignetteStart = 0.3f;
    constexpr float vignetteEnd = 0.6f; // black at the middle of each edge
    Canvas canvas = makeCanvas(size, size);
    const float cell = static_cast<float>(size) / cells;
    uint32_t rng = seed;
    std::vector<Point> grid((cells + 1) * (cells + 1));
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            const bool border = i == 0 || j == 0 || i == cells || j == cells;
            const float jx = border ? 0.0f : (randomUnit(&rng) - 0.5f) * 2.0f * jitter;
            const float jy = border ? 0.0f : (randomUnit(&rng) - 0.5f) * 2.0f * jitter;
            grid[j * (cells + 1) + i] = {(i + jx) * cell, (j + jy) * cell};
        }
    }
    std::vector<float> shade(cells * cells * 2);
    for (float& s : shade) s = (randomUnit(&rng) - 0.5f) * 2.0f * facetShade;
    for (int y = 0; y < size; ++y) {
        const float fy = static_cast<float>(y) / (size - 1);
        const Colour base{top.r + (bottom.r - top.r) * fy, top.g + (bottom.g - top.g) * fy,
                          top.b + (bottom.b - top.b) * fy};
        const float facetFade = 1.0f - smoothstep(facetFloor - 0.1f, facetFloor, fy);
        for (int x = 0; x < size; ++x) {
            const Point p{x + 0.5f, y + 0.5f};
            float facet = 0.0f;
            float edge = 1e9f;
            findFacet(grid, shade, cells, cell, p, &facet, &edge);
            const float edgeGlow = edgeLight * (1.0f - smoothstep(0.0f, edgeWidth, edge));
            const float dx = (x - size * 0.5f) / size, dy = (y - size * glowY) / size;
            const float glow = glowStrength * std::exp(-(dx * dx + dy * dy) / (glowRadius * glowRadius * 0.5f));
            const float cx = std::fabs(x - size * 0.5f) / size;
            const float cy = std::fabs(y - size * 0.5f) / size;
            const float vignette = 1.0f - smoothstep(vignetteStart, vignetteEnd, std::sqrt(cx * cx + cy * cy) * 1.2f);
            const float lift = (facet + edgeGlow) * facetFade;
            float* px = &canvas.rgba[(static_cast<size_t>(y) * size + x) * 4];
            px[0] = std::max(0.0f, (base.r + glow * glowColour.r + lift * 0.7f) * vignette);
            px[1] = std::max(0.0f, (base.g + glow * glowColour.g + lift * 0.85f) * vignette);
            px[2] = std::max(0.0f, (base.b + glow * glowColour.b + lift) * vignette);
            px[3] = 1.0f;
        }
    }
    return canvas;
}

// A thin horizontal rule that fades out at both ends.
Mask rule(int width, int height, int centreX, int y, int halfLength, int thickness)
{
    Mask mask = makeMask(width, height);
    for (int row = y; row < y + thickness; ++row) {
        for (int x = centreX - halfLength; x <= centreX + halfLength; ++x) {
            const float t = std::fabs(static_cast<float>(x - centreX)) / halfLength;
            mask.value[static_cast<size_t>(row) * width + x] = 1.0f - smoothstep(0.4f, 1.0f, t);
        }
    }
    return mask;
}

bool writePng(const std::string& path, const Canvas& canvas, bool withAlpha)
{
    constexpr int canvasChannels = 4;
    const int channels = withAlpha ? 4 : 3;
    std::vector<uint8_t> pixels(static_cast<size_t>(canvas.width) * canvas.height * channels);
    for (size_t i = 0; i < static_cast<size_t>(canvas.width) * canvas.height; ++i) {
        const float* p = &canvas.rgba[i * canvasChannels];
        const float a = withAlpha ? p[3] : 1.0f;
        for (int c = 0; c < 3; ++c) {
            // Stored straight (not premultiplied), as the overlay's source-alpha blend expects.
            const float v = a > 0.0f ? p[c] / a : 0.0f;
            pixels[i * channels + c] = static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
        }
        if (withAlpha) pixels[i * channels + 3] = static_cast<uint8_t>(std::lround(std::clamp(a, 0.0f, 1.0f) * 255.0f));
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    const bool encoded = encodePng8(file, canvas.width, canvas.height, channels, pixels.data(), smallestPngLevel);
    return std::fclose(file) == 0 && encoded;
}
