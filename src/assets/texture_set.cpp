// The texture set: each image file into its own texture object, slot 0 where a file fails.
#include "assets/texture_set.h"

#include "assets/png_texture.h"

#include <cstdio>

GLuint textureSlots[textureSlotCount] = {};
const char* const textureFiles[textureSlotCount] = {
    "data/s1.png", "data/s2.png", "data/s3.png", "data/g1.png", "data/g2.png",  "data/g3.png",      "data/g4.png",
    "data/g5.png", "data/g6.png", "data/g7.png", "data/g8.png", "data/end.png", "data/Loading.png",
};

namespace {

// A new texture object, bound, clamped at its edges and sampled without filtering.
GLuint createClampedNearestTexture()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    return name;
}

} // namespace

GLuint loadTextureFile(const char* path)
{
    const GLuint name = createClampedNearestTexture();
    if (name == 0) {
        return 0;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return 0;
    }
    bool loaded = loadPngTexture(file);
    if (std::fclose(file) != 0) {
        loaded = false;
    }
    return loaded ? name : 0;
}

void loadTextureSet()
{
    for (int slot = 0; slot < textureSlotCount; ++slot) {
        textureSlots[slot] = loadTextureFile(textureFiles[slot]);
    }
}
