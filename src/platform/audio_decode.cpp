// Whole-file music decoding (stand-in: nothing decodes yet).
#include "platform/audio_decode.h"

#include "platform/audio.h"

bool decodeMusicFile(const char*, uint32_t, std::vector<int16_t>* stereoSamples, int* errorCode)
{
    stereoSamples->clear();
    *errorCode = audioErrorFileFormat;
    return false;
}
