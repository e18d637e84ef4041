// The audio layer: eight calls with the arguments and results of the classic
// 2.4 audio interface the demo was written against, played through SDL2.
#pragma once

#include <cstdint>

// Version reported by audioGetVersion: interface 2.4 in the upper 16 bits.
constexpr uint32_t audioInterfaceVersion = 0x0204;
constexpr uint32_t audioVersion = (audioInterfaceVersion << 16) | 0x0000;

// Flags and modes understood by the layer.
constexpr uint32_t audioSampleLoop = 4;      // start over at the end
constexpr uint32_t audioMusicRamp = 0x200;   // ramp module volume changes
constexpr uint32_t audioPosByte = 0;         // position in bytes of 16-bit stereo

// Error codes left by the last failed call, read with audioErrorGetCode.
enum AudioError : int {
    audioOk = 0,
    audioErrorInit = 8,        // the layer is not initialised (no device open)
    audioErrorFileOpen = 2,    // the file cannot be opened
    audioErrorFileFormat = 41, // the file is not in a format the layer plays
    audioErrorDevice = 23,     // no output device could be opened
    audioErrorAlready = 14,    // the device is already open
    audioErrorHandle = 5,      // not a handle the layer gave out
    audioErrorPosition = 7,    // the position is past the end of the sound
    audioErrorMemory = 1,      // out of memory while decoding
    audioErrorUnknown = -1,
};

struct AudioApi {
    uint32_t (*getVersion)();
    // device -1 is the default output; returns non-zero when the device is open.
    int (*init)(int device, uint32_t frequency, uint32_t flags, void* window, const void* deviceClass);
    int (*errorGetCode)();
    // A sampled stream (MP3, OGG, WAV, FLAC ...); returns a handle or 0.
    uint32_t (*streamCreateFile)(int fromMemory, const void* file, uint64_t offset, uint64_t length,
                                 uint32_t flags);
    // A tracker module (MOD, S3M, XM, IT ...); returns a handle or 0.
    uint32_t (*musicLoad)(int fromMemory, const void* file, uint64_t offset, uint32_t length,
                          uint32_t flags, uint32_t frequency);
    int (*channelPlay)(uint32_t handle, int restart);
    int (*channelSetPosition)(uint32_t handle, uint64_t position, uint32_t mode);
    int (*free)();
};

// Starts out as the real SDL2 layer.
extern AudioApi audio;
extern const AudioApi sdlAudio;
