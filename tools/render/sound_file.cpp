// Writes the sound track with libsndfile, through the pending file's descriptor so it
// appears under its name only once complete.
#include "sound_file.h"

#include "sound_track.h"

#include <sndfile.h>

namespace {

struct SoundKind {
    const char* extension;
    int format;
};
const SoundKind kinds[] = {{".wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16}, {".flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16}};

const SoundKind* kindOf(const std::string& path)
{
    std::string lower = path;
    for (char& c : lower) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    for (const SoundKind& kind : kinds) {
        const std::string tail = kind.extension;
        if (lower.size() > tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0) {
            return &kind;
        }
    }
    return nullptr;
}

} // namespace

bool isSoundFileName(const std::string& path) { return kindOf(path) != nullptr; }

bool writeSoundFile(const std::vector<int16_t>& track, PendingFile* file, std::string* error)
{
    SF_INFO info = {};
    info.samplerate = static_cast<int>(soundTrackRate);
    info.channels = soundTrackChannels;
    info.format = kindOf(file->finalPath)->format;
    std::fflush(file->stream);
    SNDFILE* sound = sf_open_fd(fileno(file->stream), SFM_WRITE, &info, SF_FALSE);
    if (sound == nullptr) {
        *error = "cannot write '" + file->finalPath + "': " + sf_strerror(nullptr);
        return false;
    }
    const sf_count_t frames = static_cast<sf_count_t>(track.size() / soundTrackChannels);
    const bool written = sf_writef_short(sound, track.data(), frames) == frames;
    const bool closed = sf_close(sound) == 0;
    if (!written || !closed) {
        *error = "cannot write '" + file->finalPath + "': the disk may be full";
        return false;
    }
    return true;
}
