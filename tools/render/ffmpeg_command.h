// The ffmpeg command that turns piped frames and the sound track into a video.
#pragma once

#include "video_codecs.h"

#include <string>
#include <vector>

struct VideoJob {
    std::string ffmpegPath;
    std::string outputPath; // where ffmpeg writes (a temporary name beside the final one)
    std::string audioPath;  // raw 16-bit little-endian stereo at soundTrackRate
    int width = 0;
    int height = 0;
    int fps = 0;
    VideoFormat format;
    // A split render: each job encodes its frames alone into a Matroska segment
    // (segment), then one run joins the segments listed in segmentList without
    // encoding them again, and adds the sound.
    bool segment = false;
    std::string segmentList;
};

// argv for ffmpeg: raw RGB frames on standard input, top row first (or, for a join,
// the listed segments).
std::vector<std::string> ffmpegArguments(const VideoJob& job);

// The first executable called name in the directories of searchPath, separated as
// PATH is on this system (pathListSeparator).
bool findOnPath(const std::string& name, const std::string& searchPath, std::string* found);
