// Decodes each file it is given as the demo does and prints one line of what came of
// it, so the Windows build's results can be set beside the Linux build's:
//   decode_probe FILE...
// A .png file goes through the texture loader's decoder (opened as the loader opens
// it), any other through the music decoder at 44 100 Hz. Each line names the file
// without its folder, then "refused" (with the music's error code) or what it
// decoded to: its size and a hash of every sample or pixel.
#include "assets/png_decode.h"
#include "platform/audio_decode.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr uint32_t outputRate = 44100;
constexpr int stereo = 2;
// llvmpipe's largest texture side, the loader's bound on the machines tested.
constexpr int maxTextureSide = 16384;
constexpr double viewingGamma = 1.0;
constexpr uint64_t fnvOffset = 14695981039346656037ull;
constexpr uint64_t fnvPrime = 1099511628211ull;

// FNV-1a over the bytes.
uint64_t hashBytes(const void* data, size_t size)
{
    uint64_t hash = fnvOffset;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * fnvPrime;
    }
    return hash;
}

std::string baseName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void probePng(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    TextureImage image;
    const bool decoded = file != nullptr && decodePngFile(file, screenGammaFor(viewingGamma), maxTextureSide, &image);
    if (file != nullptr) {
        std::fclose(file);
    }
    if (!decoded) {
        std::printf("%s: png refused\n", baseName(path).c_str());
        return;
    }
    std::printf("%s: png %dx%d, %d components, pixels %016llx\n", baseName(path).c_str(), image.width, image.height,
                image.components, static_cast<unsigned long long>(hashBytes(image.pixels.data(), image.pixels.size())));
}

void probeMusic(const std::string& path)
{
    std::vector<int16_t> samples;
    int code = 0;
    if (!decodeMusicFile(path.c_str(), outputRate, &samples, &code)) {
        std::printf("%s: music refused, code %d\n", baseName(path).c_str(), code);
        return;
    }
    std::printf("%s: music %zu frames, samples %016llx\n", baseName(path).c_str(), samples.size() / stereo,
                static_cast<unsigned long long>(hashBytes(samples.data(), samples.size() * sizeof samples[0])));
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string path = argv[i];
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0) {
            probePng(path);
        } else {
            probeMusic(path);
        }
        std::fflush(stdout);
    }
    return 0;
}
