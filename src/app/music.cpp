// Music start-up checks and playback, in the audio layer's call order.
#include "app/music.h"

#include "app/clock.h"
#include "platform/audio.h"
#include "platform/dialog.h"
#include "platform/windowing.h"

#include <algorithm>
#include <cstdio>

const char* const musicFilePath = "data/glasswind.mp3";
uint32_t musicChannel = 0;

namespace {

constexpr uint32_t audioOutputRate = 44100;
constexpr int64_t msPerSecond = 1000;
constexpr uint32_t moduleFlags = audioMusicRamp | audioSampleLoop;
constexpr int audioMessageBufferSize = 200;
const char* const audioErrorTitle = "Error";

// The byte position in the music that is heard at demo time clockMs when the music
// starts from its beginning at the music's start time: the beats are written for that.
int64_t positionOnTheClock(int64_t clockMs)
{
    const int64_t pastStartMs = std::max<int64_t>(0, clockMs - musicStartMs);
    return pastStartMs * audioOutputRate / msPerSecond * audioBytesPerFrame;
}

// Shows the text with the audio layer's current error code.
void showAudioError(const char* text)
{
    const int code = audio.errorGetCode();
    char message[audioMessageBufferSize];
    std::snprintf(message, sizeof message, "%s\n(error code: %d)", text, code);
    dialogs.showMessage(message, audioErrorTitle, DialogIcon::none);
}

} // namespace

bool loadMusic()
{
    musicChannel = audio.streamCreateFile(0, musicFilePath, 0, 0, audioSampleLoop);
    if (musicChannel != 0) {
        return true;
    }
    musicChannel = audio.musicLoad(0, musicFilePath, 0, 0, moduleFlags, audioModuleAtDeviceRate);
    if (musicChannel != 0) {
        return true;
    }
    showAudioError("Can't play file");
    return false;
}

void startAudio()
{
    if ((audio.getVersion() >> 16) != audioInterfaceVersion) {
        dialogs.showMessage("An incorrect version of BASS.DLL was loaded", audioErrorTitle, DialogIcon::error);
        windowing.exitProcess(0);
        return;
    }
    if (!audio.init(audioDefaultDevice, audioOutputRate, 0, nullptr, nullptr)) {
        showAudioError("Can't initialize device");
        windowing.exitProcess(0);
        return;
    }
    if (!loadMusic()) {
        audio.free();
        windowing.exitProcess(0);
        return;
    }
}

void startMusic(int64_t position)
{
    audio.channelPlay(musicChannel, 0);
    audio.channelSetPosition(musicChannel, static_cast<uint64_t>(positionOnTheClock(position)), audioPosByte);
}
