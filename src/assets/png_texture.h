// Loading one PNG file into the bound texture object, as glpng's bind-from-file does.
#pragma once

#include "assets/png_decode.h"

#include <cstdio>

// Decodes the open file (gamma from VIEWING_GAMMA, sides within GL_MAX_TEXTURE_SIZE)
// and uploads it into the bound texture. False, with nothing uploaded, on any failure.
bool loadPngTexture(std::FILE* file);
