// The instruments of the track: one row a voice, with its renderer and its sends,
// and no shared state, so any note renders the same whenever it is rendered.
#include "synth.h"

#include "voices.h"

#include <cmath>

namespace {

struct VoiceRow {
    StereoBuffer (*render)(const NoteEvent& note, uint32_t seed);
    VoiceRouting routing;
};

// In the order of Voice: reverb send, delay send, ducked by the kick.
const VoiceRow voiceRows[voiceCount] = {
    {renderKick, {0.0f, 0.0f, false}},       {renderClap, {0.22f, 0.0f, false}},    {renderSnare, {0.15f, 0.0f, false}},
    {renderHatClosed, {0.05f, 0.0f, false}}, {renderHatOpen, {0.08f, 0.0f, false}}, {renderCrash, {0.2f, 0.0f, false}},
    {renderHit, {0.4f, 0.12f, false}},       {renderRiser, {0.35f, 0.0f, true}},    {renderBass, {0.02f, 0.0f, true}},
    {renderPad, {0.45f, 0.08f, true}},       {renderPluck, {0.2f, 0.35f, true}},    {renderLead, {0.3f, 0.25f, true}},
    {renderBell, {0.5f, 0.4f, true}},        {renderDrone, {0.25f, 0.0f, true}},
};

bool known(Voice voice) { return voice >= 0 && voice < voiceCount; }

} // namespace

StereoBuffer makeStereoBuffer(int64_t frames)
{
    StereoBuffer buffer;
    buffer.left.assign(static_cast<size_t>(frames), 0.0f);
    buffer.right.assign(static_cast<size_t>(frames), 0.0f);
    return buffer;
}

double noteFrequency(int midiNote)
{
    constexpr double concertA = 440.0;
    constexpr int concertANote = 69;
    return concertA * std::pow(2.0, (midiNote - concertANote) / 12.0);
}

VoiceRouting voiceRouting(Voice voice)
{
    return known(voice) ? voiceRows[voice].routing : VoiceRouting{0.0f, 0.0f, false};
}

StereoBuffer renderNote(const NoteEvent& note, uint32_t seed)
{
    return known(note.voice) ? voiceRows[note.voice].render(note, seed) : makeStereoBuffer(0);
}
