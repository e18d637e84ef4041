// Whole-file decoding of the music to 16-bit stereo, shared by the audio layer
// and by tools that need the sound track itself.
#pragma once

#include <cstdint>
#include <vector>

// The bounds on what a sound may cost. The encoded file is read whole, so it may
// take at most 256 MiB; the decoded sound at most 30 minutes, about 318 MB of
// 16-bit stereo at 44 100 Hz. A longer one fails with audioErrorTooLong before
// it is read or decoded past the bound.
constexpr uint64_t longestEncodedBytes = uint64_t{256} << 20;
constexpr uint32_t longestDecodedSeconds = 30 * 60;
// The sample rates a sound may have, and a module be rendered at: wide enough for
// any real file, narrow enough that the resampler's buffers stay small (at 2 Hz
// one block of input would ask SDL for 660 MB; above 4 194 303 Hz its sizes overflow).
constexpr uint32_t lowestSoundRate = 1000;
constexpr uint32_t highestSoundRate = 768000;
// The most channels a sound may have: all SDL's converter takes (it reads a count of
// 256 as 0 and divides by it).
constexpr int mostSoundChannels = 8;

// The encoded bytes of a sound: from a file (path) or from memory (the data
// itself), starting at offset, length bytes long (0: to the end).
bool readSoundBytes(bool fromMemory, const void* file, uint64_t offset, uint64_t length,
                    std::vector<unsigned char>* bytes, int* errorCode);

// A sampled sound (WAV, FLAC, OGG/Vorbis, MP3 ... whatever libsndfile reads),
// decoded whole, resampled to outputRate and spread to stereo (mono plays on both sides).
bool decodeSampledSound(const std::vector<unsigned char>& bytes, uint32_t outputRate,
                        std::vector<int16_t>* stereoSamples, int* errorCode);

// A tracker module (MOD, S3M, XM, IT ... whatever libopenmpt reads), rendered
// once through at renderRate, then resampled to outputRate if they differ. A
// module rendered for looping stops at the song's end, without the fade-out
// libopenmpt adds after it, so that the loop keeps the song's beat.
bool decodeModuleSound(const std::vector<unsigned char>& bytes, uint32_t renderRate, bool rampVolume, bool loop,
                       uint32_t outputRate, std::vector<int16_t>* stereoSamples, int* errorCode);

// Decodes the music file as the demo loads it: as a sampled stream or, failing
// that, as a looping tracker module with volume ramping, to interleaved 16-bit stereo at
// outputRate. On failure returns false and sets errorCode to the audio layer's
// code of the module attempt, as the demo would show it.
// A sound that decodes to no frame at outputRate (one frame at 96 kHz, say) fails
// with audioErrorFileFormat: there is nothing to play or loop.
bool decodeMusicFile(const char* path, uint32_t outputRate, std::vector<int16_t>* stereoSamples, int* errorCode);
