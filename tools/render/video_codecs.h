// The video codecs glasswind-render writes, each with its containers, quality scale,
// chroma layouts and sound, and the choice of one from the command line and file name.
#pragma once

#include <string>

constexpr int qualityNotGiven = -1;
constexpr int chromaNotGiven = 0;

// A chroma layout a codec carries: 420, 422 or 444, its ffmpeg pixel format, and the
// encoder profile it needs (-1: none).
struct ChromaLayout {
    int chroma;
    const char* pixelFormat;
    int profile;
};

struct VideoCodec {
    const char* name;          // as --codec takes it
    const char* encoder;       // ffmpeg's encoder
    const char* containers[3]; // file extensions it is written in; the first is the default
    const char* qualityOption; // the encoder's own scale; nullptr for a lossless codec
    int bestQuality;           // the ends of that scale, best first
    int worstQuality;
    int defaultQuality;      // qualityNotGiven: the encoder's own default rate
    ChromaLayout layouts[2]; // the default first, then the one --chroma may ask for
    const char* audioEncoder;
    const char* audioBitrate; // nullptr for lossless sound
    const char* preset;       // the encoder's speed preset; nullptr where it has none
};

// How the RGB frames become the codec's YUV, and what the file says about it, so players
// convert back with the same matrix.
struct ColourTags {
    const char* matrix; // the scale filter's name for the conversion matrix
    const char* space;  // ffmpeg's tag names
    const char* primaries;
    const char* transfer;
};

struct VideoFormat {
    const VideoCodec* codec = nullptr;
    const char* container = nullptr; // ffmpeg's muxer
    int quality = qualityNotGiven;
    int chroma = 0;
    const char* pixelFormat = nullptr;
    int profile = -1; // the encoder's profile where the chroma layout picks one
    ColourTags colour{};
};

// The colour standard of a picture size: BT.709 for HD (1280 wide or more than 576
// rows), BT.601 below, as players assume for untagged video.
ColourTags colourForSize(int width, int height);

// Resolves --codec (empty: h264), --quality and --chroma against the file name and the
// picture size; false with a one-line error for any mismatch.
bool chooseVideoFormat(const std::string& codecName, int quality, int chroma, const std::string& path, int width,
                       int height, VideoFormat* format, std::string* error);
