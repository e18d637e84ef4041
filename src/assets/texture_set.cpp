// The texture set (placeholder: no image loaded yet).
#include "assets/texture_set.h"

GLuint textureSlots[textureSlotCount] = {};
const char* const textureFiles[textureSlotCount] = {
    "data/s1.png", "data/s2.png", "data/s3.png", "data/g1.png", "data/g2.png",
    "data/g3.png", "data/g4.png", "data/g5.png", "data/g6.png", "data/g7.png",
    "data/g8.png", "data/end.png", "data/Loading.png",
};

void loadTextureSet() {}
