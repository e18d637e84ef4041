// The thirteen images of the demo, loaded into texture slots at start-up.
#pragma once

#include <GL/gl.h>

constexpr int textureSlotCount = 13;

// Slot order: s1, s2, s3, g1 ... g8, end, Loading. 0 where a file failed to load.
extern GLuint textureSlots[textureSlotCount];
extern const char* const textureFiles[textureSlotCount];

// Slot numbers the scenes use.
constexpr int slotS1 = 0;
constexpr int slotS2 = 1;
constexpr int slotS3 = 2;
constexpr int slotG1 = 3;
constexpr int slotEnd = 11;
constexpr int slotLoading = 12;

// Loads every slot from its file, in slot order; a failed file leaves its slot 0.
void loadTextureSet();
// A new texture object (clamped, nearest) holding the PNG file's image, left bound;
// 0 when the file cannot be opened, decoded or closed.
GLuint loadTextureFile(const char* path);
