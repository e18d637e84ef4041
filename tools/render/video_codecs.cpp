// The codec table and the checks that turn --codec, --quality, --chroma and the file
// name into one ffmpeg set-up.
#include "video_codecs.h"

#include <cstring>

namespace {

// x264 and x265 rate factors: 0 is lossless, 51 the worst; 18 and 20 look clean on a
// party screen. ProRes without a scale keeps its profile's own rate (HQ: about 220 Mb/s
// at 1080p60); with one, 1 is best. FFV1 is lossless, so it takes none.
// On the demo's pictures x264's veryfast preset gives the same size and look as medium
// (+2% bytes, -0.1 dB) for half the encoding time, which the drawing would otherwise
// lose; x265's faster presets save less and cost more.
const VideoCodec codecs[] = {
    {"h264",
     "libx264",
     {"mp4", "mkv", "mov"},
     "-crf",
     0,
     51,
     18,
     {{420, "yuv420p", -1}, {444, "yuv444p", -1}},
     "aac",
     "192k",
     "veryfast"},
    {"hevc",
     "libx265",
     {"mp4", "mkv", "mov"},
     "-crf",
     0,
     51,
     20,
     {{420, "yuv420p", -1}, {444, "yuv444p", -1}},
     "aac",
     "192k",
     "medium"},
    {"ffv1",
     "ffv1",
     {"mkv", nullptr, nullptr},
     nullptr,
     0,
     0,
     qualityNotGiven,
     {{444, "yuv444p", -1}, {420, "yuv420p", -1}},
     "flac",
     nullptr,
     nullptr},
    {"prores",
     "prores_ks",
     {"mov", nullptr, nullptr},
     "-qscale:v",
     1,
     32,
     qualityNotGiven,
     {{422, "yuv422p10le", 3}, {444, "yuv444p10le", 4}},
     "pcm_s16le",
     nullptr,
     nullptr},
};

struct Container {
    const char* extension;
    const char* muxer;
};
const Container containers[] = {{"mp4", "mp4"}, {"mkv", "matroska"}, {"mov", "mov"}};

// HD starts where players stop assuming BT.601 for untagged video.
constexpr int hdWidth = 1280;
constexpr int sdMostRows = 576;

const ColourTags bt709 = {"bt709", "bt709", "bt709", "bt709"};
// SD keeps BT.709's transfer curve, which SMPTE 170M shares and ProRes can carry.
const ColourTags bt601 = {"bt601", "smpte170m", "smpte170m", "bt709"};

const char* muxerFor(const char* extension)
{
    for (const Container& c : containers) {
        if (std::strcmp(c.extension, extension) == 0) {
            return c.muxer;
        }
    }
    return nullptr;
}

// The file's extension, lower case, without the dot; empty when it has none.
std::string extensionOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return "";
    }
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return extension;
}

std::string containerList(const VideoCodec& codec)
{
    std::string list;
    for (const char* extension : codec.containers) {
        if (extension != nullptr) {
            list += (list.empty() ? "." : " or .") + std::string(extension);
        }
    }
    return list;
}

bool chooseContainer(const VideoCodec& codec, const std::string& path, VideoFormat* format, std::string* error)
{
    const std::string extension = extensionOf(path);
    if (extension.empty() || muxerFor(extension.c_str()) == nullptr) {
        // A name without a video extension gets the codec's own container.
        format->container = muxerFor(codec.containers[0]);
        return true;
    }
    for (const char* allowed : codec.containers) {
        if (allowed != nullptr && extension == allowed) {
            format->container = muxerFor(allowed);
            return true;
        }
    }
    *error = std::string("--codec ") + codec.name + " is written as " + containerList(codec) + ", not ." + extension +
             " (" + path + ")";
    return false;
}

bool chooseQuality(const VideoCodec& codec, int quality, VideoFormat* format, std::string* error)
{
    if (quality == qualityNotGiven) {
        format->quality = codec.defaultQuality;
        return true;
    }
    if (codec.qualityOption == nullptr) {
        *error = std::string("--quality does not apply to ") + codec.name + ", which is lossless";
        return false;
    }
    if (quality < codec.bestQuality || quality > codec.worstQuality) {
        *error = std::string("--quality for ") + codec.name + " is " + std::to_string(codec.bestQuality) +
                 " (best) to " + std::to_string(codec.worstQuality) + ", not " + std::to_string(quality);
        return false;
    }
    format->quality = quality;
    return true;
}

bool chooseChroma(const VideoCodec& codec, int chroma, int width, int height, VideoFormat* format, std::string* error)
{
    const ChromaLayout* layout = &codec.layouts[0];
    if (chroma != chromaNotGiven && chroma != layout->chroma) {
        layout = &codec.layouts[1];
        if (chroma != layout->chroma) {
            *error = std::string("--chroma for ") + codec.name + " is " + std::to_string(codec.layouts[0].chroma) +
                     " or " + std::to_string(codec.layouts[1].chroma) + ", not " + std::to_string(chroma);
            return false;
        }
    }
    // 4:2:0 halves the colour both ways, 4:2:2 across only.
    const bool halvesAcross = layout->chroma != 444;
    const bool halvesDown = layout->chroma == 420;
    if ((halvesAcross && width % 2 != 0) || (halvesDown && height % 2 != 0)) {
        *error = std::string("--codec ") + codec.name + " in 4:" + (halvesDown ? "2:0" : "2:2") + " needs an even " +
                 (halvesDown ? "width and height" : "width") + "; try --chroma 444 or another --size";
        return false;
    }
    format->chroma = layout->chroma;
    format->pixelFormat = layout->pixelFormat;
    format->profile = layout->profile;
    return true;
}

// The names --codec takes, for its error: "h264, hevc, ffv1, prores".
std::string videoCodecNames()
{
    std::string names;
    for (const VideoCodec& codec : codecs) {
        names += (names.empty() ? "" : ", ") + std::string(codec.name);
    }
    return names;
}

} // namespace

ColourTags colourForSize(int width, int height) { return width >= hdWidth || height > sdMostRows ? bt709 : bt601; }

bool chooseVideoFormat(const std::string& codecName, int quality, int chroma, const std::string& path, int width,
                       int height, VideoFormat* format, std::string* error)
{
    *format = VideoFormat{};
    const std::string name = codecName.empty() ? codecs[0].name : codecName;
    for (const VideoCodec& codec : codecs) {
        if (name == codec.name) {
            format->codec = &codec;
        }
    }
    if (format->codec == nullptr) {
        *error = "--codec is one of " + videoCodecNames() + ", not '" + name + "'";
        return false;
    }
    format->colour = colourForSize(width, height);
    return chooseContainer(*format->codec, path, format, error) &&
           chooseQuality(*format->codec, quality, format, error) &&
           chooseChroma(*format->codec, chroma, width, height, format, error);
}
