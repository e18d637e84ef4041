// The thirteen images of the demo, loaded into texture slots at start-up.
#pragma once

#include "assets/texture_slots.h"

#include <GL/gl.h>

// The texture object of each slot; 0 where a file failed to load.
extern GLuint textureSlots[textureSlotCount];
extern const char* const textureFiles[textureSlotCount];

// Loads every slot from its file, in slot order; a failed file leaves its slot 0.
void loadTextureSet();
// A new texture object (clamped, nearest) holding the PNG file's image, left bound;
// 0 when the file cannot be opened, decoded or closed.
GLuint loadTextureFile(const char* path);
