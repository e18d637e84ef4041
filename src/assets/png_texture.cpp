// The thin GL side of the PNG loader: the upload of decoded pixels into the bound texture.
#include "assets/png_texture.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

constexpr int rgbaComponents = 4;
constexpr GLint byteAlignedRows = 1;
constexpr GLint baseLevel = 0;
constexpr GLint noBorder = 0;
constexpr const char* viewingGammaVariable = "VIEWING_GAMMA";

// Level 0 of the bound GL_TEXTURE_2D from the image, rows byte-aligned.
void uploadTextureImage(const TextureImage& image)
{
    GLint unpackAlignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, byteAlignedRows);
    const GLenum format = image.components == rgbaComponents ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, baseLevel, image.components, image.width, image.height, noBorder, format,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
}

} // namespace

bool loadPngTexture(std::FILE* file)
{
    GLint maxTextureSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSide);
    const double viewingGamma = viewingGammaFromText(std::getenv(viewingGammaVariable));
    TextureImage image;
    if (!decodePngFile(file, screenGammaFor(viewingGamma), maxTextureSide, &image)) {
        return false;
    }
    uploadTextureImage(image);
    return true;
}
