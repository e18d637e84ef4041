// libFuzzer entry for the music decoders: any bytes either decode to stereo 16-bit
// sound no longer than the layer's cap, or fail with an error code, without crashing.
#include "platform/audio.h"
#include "platform/audio_decode.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// The rates and settings the demo loads its music with.
constexpr uint32_t demoOutputRate = 44100;
constexpr uint32_t demoModuleRenderRate = 44100;
constexpr bool demoModuleRamp = true;
constexpr bool demoModuleLoop = true;
// Left in place by a decoder that fails without saying why.
constexpr int noCodeSet = -12345;
// Resampling may round the length up by a frame.
constexpr uint64_t resampleSlackFrames = 1;

// A decoded sound the layer can play: whole stereo frames, at least one, within the cap.
bool playable(const std::vector<int16_t>& samples)
{
    const uint64_t longest = static_cast<uint64_t>(demoOutputRate) * longestDecodedSeconds + resampleSlackFrames;
    const uint64_t frames = samples.size() / audioOutputChannels;
    return samples.size() % audioOutputChannels == 0 && frames > 0 && frames <= longest;
}

// A failure names its cause with one of the layer's error codes.
bool explained(int errorCode) { return errorCode != noCodeSet && errorCode != audioOk; }

void check(bool decoded, const std::vector<int16_t>& samples, int errorCode)
{
    if (decoded ? !playable(samples) : !explained(errorCode)) {
        __builtin_trap();
    }
}

} // namespace

// Both decoders see every input: the demo tries the sampled one first and the
// module one when that fails, and libopenmpt also reads some sampled formats.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<unsigned char> bytes(data, data + size);
    std::vector<int16_t> samples;
    int errorCode = noCodeSet;
    const bool sampled = decodeSampledSound(bytes, demoOutputRate, &samples, &errorCode);
    check(sampled, samples, errorCode);

    errorCode = noCodeSet;
    const bool module = decodeModuleSound(bytes, demoModuleRenderRate, demoModuleRamp, demoModuleLoop, demoOutputRate,
                                          &samples, &errorCode);
    check(module, samples, errorCode);
    return 0;
}
