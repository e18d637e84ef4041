// The audio layer: eight calls with the arguments and results of the classic
// 2.4 audio interface the demo was written against, played straight to a
// PulseAudio server where one answers, through SDL2 elsewhere.
#pragma once

#include <cstdint>

// Version reported by audioGetVersion: interface 2.4 in the upper 16 bits.
constexpr uint32_t audioInterfaceVersion = 0x0204;
constexpr uint32_t audioVersion = (audioInterfaceVersion << 16) | 0x0000;

// Flags and modes understood by the layer.
constexpr uint32_t audioSampleLoop = 4;         // start over at the end
constexpr uint32_t audioMusicRamp = 0x200;      // ramp module volume changes
constexpr uint32_t audioPosByte = 0;            // position in bytes of 16-bit stereo
constexpr int audioDefaultDevice = -1;          // the system's default output
constexpr uint32_t audioModuleAtDeviceRate = 1; // musicLoad frequency: the device's output rate
constexpr uint32_t audioModuleAtInitRate = 0;   // musicLoad frequency: the rate given to init

// What every sound becomes once loaded: interleaved 16-bit stereo frames.
constexpr int audioOutputChannels = 2;
constexpr int audioBytesPerFrame = audioOutputChannels * 2;

// Error codes left by the last call, read with audioErrorGetCode. A call that
// succeeds leaves audioOk; the code of a failed call stays until the next call.
enum AudioError : int {
    audioOk = 0,
    audioErrorMemory = 1,        // memory ran out while the sound was decoded
    audioErrorFileOpen = 2,      // the file is missing or cannot be read
    audioErrorHandle = 5,        // not a handle the layer gave out (or freed since)
    audioErrorPosition = 7,      // the position lies past the end of the sound
    audioErrorInit = 8,          // no device is open: init first
    audioErrorAlready = 14,      // init called while the device is already open
    audioErrorNoChannel = 18,    // every channel already holds a sound
    audioErrorIllegalParam = 20, // an argument the layer does not take (rate 0, ...)
    audioErrorDevice = 23,       // the output device cannot be opened (only the default exists)
    audioErrorNotAvailable = 37, // a position mode other than bytes
    audioErrorFileFormat = 41,   // the file is empty or in a format the layer does not read
    audioErrorTooLong = 50,      // over 256 MiB encoded or 30 minutes decoded
};

struct AudioApi {
    uint32_t (*getVersion)();
    // device -1 is the default output; returns non-zero when the device is open.
    int (*init)(int device, uint32_t frequency, uint32_t flags, void* window, const void* deviceClass);
    int (*errorGetCode)();
    // A sampled stream (MP3, OGG, WAV, FLAC ...); returns a handle or 0.
    // file is a path, or the data itself when fromMemory is non-zero; length 0
    // reads to the end.
    uint32_t (*streamCreateFile)(int fromMemory, const void* file, uint64_t offset, uint64_t length, uint32_t flags);
    // A tracker module (MOD, S3M, XM, IT ...); returns a handle or 0.
    uint32_t (*musicLoad)(int fromMemory, const void* file, uint64_t offset, uint32_t length, uint32_t flags,
                          uint32_t frequency);
    // Starts the channel sounding (from where it stands unless restart is non-zero).
    int (*channelPlay)(uint32_t handle, int restart);
    // mode audioPosByte: a byte offset into the decoded 16-bit stereo sound,
    // rounded down to a whole frame.
    int (*channelSetPosition)(uint32_t handle, uint64_t position, uint32_t mode);
    // Closes the device and drops every loaded sound.
    int (*free)();
};

// Starts out as the system's layer.
extern AudioApi audio;
extern const AudioApi systemAudio;
