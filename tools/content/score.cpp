// The score of "Glasswind": an A-minor piece at 135 BPM whose sections follow the
// demo's cuts, flashes and scenes beat for beat.
#include "score.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr int beatsPerBar = 4;

// Section starts, in beats from the first sample of the music.
constexpr int firstCutBeat = 32;
constexpr int trainLastBeat = 56;
constexpr int calmBeat = 67;
constexpr int kickInBeat = 95;
constexpr int fastHatsBeat = 120;
constexpr int grooveBeat = 128;
constexpr int buildBeat = 192;
constexpr int themeBeat = 256;
constexpr int variationBeat = 320;
constexpr int outroBeat = 384;
constexpr int fadeBeat = 408;
constexpr int lastChordBeat = 416;
constexpr int flashEveryBeats = 8;

// The flashes of the train after the first cut.
constexpr int trainBeats[] = {38, 40, 42, 44, 46, 48, 52, 53, 54, 55, 56};
constexpr int trainRoots[] = {45, 45, 41, 41, 43, 43, 45, 47, 48, 50, 45};

struct Chord {
    int bass;     // root for the bass line
    int tones[4]; // pad voicing
};

constexpr Chord chordAm{45, {57, 60, 64, 71}};
constexpr Chord chordF{41, {53, 57, 60, 64}};
constexpr Chord chordC{48, {55, 60, 64, 67}};
constexpr Chord chordG{43, {55, 59, 62, 69}};
// The groove's four bars, one chord to a bar.
constexpr const Chord* progression[] = {&chordAm, &chordF, &chordC, &chordG};
constexpr int progressionBars = 4;

struct MelodyNote {
    int step;   // sixteenths from the phrase start
    int length; // sixteenths
    int note;
};

// The main theme: a question (phrase A) and its answer (phrase B), four bars each.
constexpr MelodyNote phraseA[] = {
    {0, 2, 69},  {2, 2, 72},  {4, 4, 76},  {8, 2, 74},  {10, 2, 72}, {12, 4, 74}, {16, 2, 72},
    {18, 2, 69}, {20, 4, 72}, {24, 4, 77}, {28, 4, 76}, {32, 2, 76}, {34, 2, 79}, {36, 4, 76},
    {40, 2, 74}, {42, 2, 72}, {44, 4, 74}, {48, 4, 71}, {52, 4, 74}, {56, 6, 79}, {62, 2, 76},
};
constexpr MelodyNote phraseB[] = {
    {0, 6, 81},  {6, 2, 79},  {8, 4, 76},  {12, 4, 72}, {16, 4, 77}, {20, 2, 76}, {22, 2, 72}, {24, 8, 69}, {32, 2, 67},
    {34, 2, 72}, {36, 4, 76}, {40, 4, 79}, {44, 4, 76}, {48, 6, 74}, {54, 2, 71}, {56, 4, 74}, {60, 4, 76},
};
constexpr int phraseBeats = 16;

// Bell lines: {beat offset, note}.
constexpr int introBells[][2] = {{4, 76}, {7, 71}, {10, 72}, {13, 69}, {20, 76}, {23, 74}, {26, 72}};
constexpr int calmBells[][2] = {{0, 76},  {2, 72},  {4, 69},  {6, 72},  {8, 79},  {10, 76}, {12, 72},
                                {14, 74}, {16, 71}, {18, 74}, {20, 79}, {22, 76}, {24, 72}, {26, 71}};

// Arpeggio over a chord's tones, an octave up, eight sixteenths long.
constexpr int arpPattern[] = {0, 1, 2, 3, 2, 1, 2, 3};
constexpr int arpPatternLength = 8;
constexpr int arpOctave = 12;
constexpr float arpPan = 0.35f;

// Hat velocities across the four sixteenths of a beat.
constexpr float hatAccents[] = {0.55f, 0.3f, 0.75f, 0.35f};

constexpr float noRelease = 0.0f;
constexpr float noAttack = 0.0f;

int64_t tickAt(double beat) { return static_cast<int64_t>(beat * ticksPerBeat + 0.5); }

void addNote(std::vector<NoteEvent>* score, Voice voice, double beat, double lengthBeats, int note, float velocity,
             float brightness = 0.5f, float pan = 0.0f, float attack = noAttack, float release = noRelease)
{
    score->push_back({tickAt(beat), tickAt(lengthBeats), voice, note, velocity, brightness, pan, attack, release});
}

// Straight-line change of a parameter over a section.
float ramp(double beat, double fromBeat, double toBeat, float from, float to)
{
    double x = (beat - fromBeat) / (toBeat - fromBeat);
    x = std::clamp(x, 0.0, 1.0);
    return static_cast<float>(from + (to - from) * x);
}

const Chord& chordAtBeat(int beat)
{
    const int bar = beat / beatsPerBar;
    return *progression[bar % progressionBars];
}

void addPadChord(std::vector<NoteEvent>* score, const Chord& chord, double beat, double lengthBeats, float velocity,
                 float brightness, float attack, float release)
{
    const float pans[] = {-0.6f, -0.2f, 0.2f, 0.6f};
    for (int i = 0; i < 4; ++i) {
        addNote(score, voicePad, beat, lengthBeats, chord.tones[i], velocity, brightness, pans[i], attack, release);
    }
}

void addArp(std::vector<NoteEvent>* score, int fromBeat, int toBeat, int stepsPerNote, float velocity,
            float brightnessFrom, float brightnessTo)
{
    int index = 0;
    for (int step = fromBeat * 4; step < toBeat * 4; step += stepsPerNote, ++index) {
        const double beat = step / 4.0;
        const Chord& chord = chordAtBeat(static_cast<int>(beat));
        const int note = chord.tones[arpPattern[index % arpPatternLength]] + arpOctave;
        const float pan = (index % 2 == 0) ? -arpPan : arpPan;
        addNote(score, voicePluck, beat, stepsPerNote / 4.0, note, velocity,
                ramp(beat, fromBeat, toBeat, brightnessFrom, brightnessTo), pan);
    }
}

void addPads(std::vector<NoteEvent>* score, int fromBeat, int toBeat, float velocity, float brightnessFrom,
             float brightnessTo)
{
    for (int beat = fromBeat; beat < toBeat; beat += beatsPerBar) {
        const float brightness = ramp(beat, fromBeat, toBeat, brightnessFrom, brightnessTo);
        addPadChord(score, chordAtBeat(beat), beat, beatsPerBar, velocity, brightness, 0.05f, 0.6f);
    }
}

void addKicks(std::vector<NoteEvent>* score, int fromBeat, int toBeat, float velocityFrom, float velocityTo)
{
    for (int beat = fromBeat; beat < toBeat; ++beat) {
        addNote(score, voiceKick, beat, 1, 33, ramp(beat, fromBeat, toBeat, velocityFrom, velocityTo));
    }
}

void addClaps(std::vector<NoteEvent>* score, int fromBeat, int toBeat, float velocity)
{
    for (int beat = fromBeat; beat < toBeat; ++beat) {
        if (beat % 2 == 1) addNote(score, voiceClap, beat, 1, 60, velocity);
    }
}

// Closed hats on every step (stepsPerHat 1) or every eighth (2); open hats on the offbeats.
void addHats(std::vector<NoteEvent>* score, int fromBeat, int toBeat, int stepsPerHat, bool openOffbeats, float level)
{
    for (int step = fromBeat * 4; step < toBeat * 4; step += stepsPerHat) {
        const int inBeat = step % 4;
        if (openOffbeats && inBeat == 2) continue;
        const float pan = (inBeat % 2 == 0) ? 0.15f : -0.15f;
        addNote(score, voiceHatClosed, step / 4.0, 0.25, 90, level * hatAccents[inBeat], 0.5f, pan);
    }
    if (!openOffbeats) return;
    for (int beat = fromBeat; beat < toBeat; ++beat) {
        addNote(score, voiceHatOpen, beat + 0.5, 0.5, 90, level * 0.8f, 0.5f, -0.1f);
    }
}

// A rolling bass on the three sixteenths after each beat, or on the offbeat eighth alone.
void addBass(std::vector<NoteEvent>* score, int fromBeat, int toBeat, bool rolling, float velocity,
             float brightnessFrom, float brightnessTo)
{
    const int rollOctaves[] = {0, 0, 12, 0};
    for (int beat = fromBeat; beat < toBeat; ++beat) {
        const int root = chordAtBeat(beat).bass;
        const float brightness = ramp(beat, fromBeat, toBeat, brightnessFrom, brightnessTo);
        if (!rolling) {
            addNote(score, voiceBass, beat + 0.5, 0.4, root, velocity, brightness);
            continue;
        }
        for (int step = 1; step < 4; ++step) {
            addNote(score, voiceBass, beat + step / 4.0, 0.2, root + rollOctaves[step], velocity, brightness);
        }
    }
}

void addCrashes(std::vector<NoteEvent>* score, int fromBeat, int toBeat, float velocity)
{
    for (int beat = fromBeat; beat < toBeat; beat += flashEveryBeats) {
        addNote(score, voiceCrash, beat, 4, 60, beat == fromBeat ? 1.0f : velocity);
    }
}

void addPhrase(std::vector<NoteEvent>* score, const MelodyNote* notes, int count, int beat, int transpose,
               float velocity, float brightness)
{
    for (int i = 0; i < count; ++i) {
        const double start = beat + notes[i].step / 4.0;
        // A short gap before the next note keeps the phrasing audible.
        const double length = notes[i].length / 4.0 - 1.0 / ticksPerBeat;
        addNote(score, voiceLead, start, length, notes[i].note + transpose, velocity, brightness);
    }
}

void addTheme(std::vector<NoteEvent>* score, int fromBeat, int toBeat, int transpose, float velocity, float brightness)
{
    const int countA = static_cast<int>(std::size(phraseA));
    const int countB = static_cast<int>(std::size(phraseB));
    for (int beat = fromBeat, n = 0; beat + phraseBeats <= toBeat; beat += phraseBeats, ++n) {
        if (n % 2 == 0) {
            addPhrase(score, phraseA, countA, beat, transpose, velocity, brightness);
        } else {
            addPhrase(score, phraseB, countB, beat, transpose, velocity, brightness);
        }
    }
}

// The groove of the scene starts: kick, claps, hats, rolling bass, pads, arpeggio
// and a crash on every eighth beat, where the demo flashes.
void addGroove(std::vector<NoteEvent>* score, int fromBeat, int toBeat, float arpBrightness)
{
    addKicks(score, fromBeat, toBeat, 1.0f, 1.0f);
    addClaps(score, fromBeat, toBeat, 0.8f);
    addHats(score, fromBeat, toBeat, 1, true, 0.8f);
    addBass(score, fromBeat, toBeat, true, 0.85f, 0.55f, 0.55f);
    addPads(score, fromBeat, toBeat, 0.35f, 0.45f, 0.45f);
    addArp(score, fromBeat, toBeat, 1, 0.4f, arpBrightness, arpBrightness);
    addCrashes(score, fromBeat, toBeat, 0.7f);
}

// Beats 0 to 32, under the forest's fade-in: a drone and a pad that swell, bells, an arpeggio.
void addIntro(std::vector<NoteEvent>* score)
{
    addNote(score, voiceDrone, 0, firstCutBeat, 33, 0.6f, 0.3f, 0.0f, 6.0f, 1.0f);
    addPadChord(score, chordAm, 0, 16, 0.5f, 0.2f, 7.0f, 3.0f);
    addPadChord(score, chordF, 16, 15.5, 0.5f, 0.3f, 3.0f, 0.25f);
    for (const auto& bell : introBells) addNote(score, voiceBell, bell[0], 2, bell[1], 0.4f, 0.3f, 0.3f);
    addArp(score, 16, firstCutBeat, 2, 0.3f, 0.1f, 0.35f);
    addNote(score, voiceRiser, 24, 8, 60, 0.7f);
}

// Beats 32 to 67: the first cut, then a hit under every flash of the train, and a long tail
// into the fade to black.
void addFlashTrain(std::vector<NoteEvent>* score)
{
    addNote(score, voiceHit, firstCutBeat, 8, 45, 1.0f, 0.8f);
    addNote(score, voiceCrash, firstCutBeat, 4, 60, 1.0f);
    addNote(score, voiceDrone, firstCutBeat, trainLastBeat + 11 - firstCutBeat, 33, 0.6f, 0.3f, 0.0f, 0.05f, 3.0f);
    addPadChord(score, chordAm, firstCutBeat, trainLastBeat - firstCutBeat, 0.4f, 0.15f, 0.5f, 2.0f);
    for (int beat = firstCutBeat; beat < trainLastBeat; ++beat) {
        const float brightness = ramp(beat, firstCutBeat, trainLastBeat, 0.15f, 0.6f);
        addNote(score, voiceBass, beat, 0.4, 33 + 12, 0.55f, brightness);
        addNote(score, voiceBass, beat + 0.5, 0.4, 33 + 12, 0.45f, brightness);
    }
    const int trainCount = static_cast<int>(std::size(trainBeats));
    for (int i = 0; i < trainCount; ++i) {
        const bool last = trainBeats[i] == trainLastBeat;
        const float velocity = last ? 1.0f : ramp(trainBeats[i], 38, 55, 0.7f, 0.9f);
        addNote(score, voiceHit, trainBeats[i], last ? 12 : 2, trainRoots[i], velocity, 0.8f);
    }
    addNote(score, voiceCrash, trainLastBeat, 4, 60, 1.0f);
    addNote(score, voiceRiser, 48, 8, 60, 0.8f);
    addPadChord(score, chordAm, trainLastBeat, 6, 0.35f, 0.2f, 0.05f, 4.0f);
}

// Beats 67 to 95, the sphere rows: pads, a soft drone, bells in the delay.
void addCalm(std::vector<NoteEvent>* score)
{
    addPadChord(score, chordF, calmBeat, 8, 0.5f, 0.3f, 1.5f, 1.0f);
    addPadChord(score, chordC, calmBeat + 8, 8, 0.5f, 0.3f, 1.0f, 1.0f);
    addPadChord(score, chordG, calmBeat + 16, 6, 0.5f, 0.35f, 1.0f, 1.0f);
    addPadChord(score, chordAm, calmBeat + 22, 100 - (calmBeat + 22), 0.5f, 0.4f, 1.0f, 0.6f);
    addNote(score, voiceDrone, calmBeat, 8, 29, 0.5f, 0.3f, 0.0f, 1.5f, 1.0f);
    addNote(score, voiceDrone, calmBeat + 8, 8, 36, 0.5f, 0.3f, 0.0f, 1.0f, 1.0f);
    addNote(score, voiceDrone, calmBeat + 16, 6, 31, 0.5f, 0.3f, 0.0f, 1.0f, 1.0f);
    addNote(score, voiceDrone, calmBeat + 22, kickInBeat - (calmBeat + 22), 33, 0.5f, 0.3f, 0.0f, 1.0f, 1.0f);
    for (const auto& bell : calmBells) {
        addNote(score, voiceBell, calmBeat + bell[0], 2, bell[1], 0.45f, 0.4f, bell[0] % 4 == 0 ? -0.3f : 0.3f);
    }
    addArp(score, 80, kickInBeat, 2, 0.25f, 0.15f, 0.35f);
}

// Beats 95 to 128: the kick enters with the beating sky, the hats double at 120 when the
// sky's pulse turns fast, and a snare roll and a riser lead into the groove.
void addKickIn(std::vector<NoteEvent>* score)
{
    addNote(score, voiceCrash, kickInBeat, 4, 60, 0.6f);
    addKicks(score, kickInBeat, grooveBeat - 1, 0.85f, 1.0f);
    addPads(score, 100, grooveBeat, 0.4f, 0.4f, 0.6f);
    addArp(score, kickInBeat, fastHatsBeat, 1, 0.3f, 0.3f, 0.6f);
    addHats(score, 96, fastHatsBeat, 2, false, 0.6f);
    addBass(score, 104, fastHatsBeat, false, 0.8f, 0.3f, 0.5f);
    addClaps(score, 112, fastHatsBeat, 0.6f);
    addHats(score, fastHatsBeat, grooveBeat, 1, true, 0.8f);
    addBass(score, fastHatsBeat, grooveBeat - 1, true, 0.8f, 0.5f, 0.7f);
    addArp(score, fastHatsBeat, grooveBeat, 1, 0.35f, 0.6f, 0.8f);
    for (int step = fastHatsBeat * 4; step < grooveBeat * 4; ++step) {
        addNote(score, voiceSnare, step / 4.0, 0.25, 60, ramp(step / 4.0, fastHatsBeat, grooveBeat, 0.25f, 0.8f));
    }
    addNote(score, voiceRiser, fastHatsBeat, grooveBeat - fastHatsBeat, 60, 0.8f);
}

// Beats 192 to 256, the rising wave field: a breakdown of pads and arpeggio whose filters
// open, the kick's return, then a snare roll and a riser that speed into the theme.
void addBuild(std::vector<NoteEvent>* score)
{
    const int kickBackBeat = 224;
    const int rollBeat = 240;
    addNote(score, voiceHit, buildBeat, 8, 45, 0.9f, 0.8f);
    addNote(score, voiceCrash, buildBeat, 4, 60, 1.0f);
    addPads(score, buildBeat, themeBeat, 0.45f, 0.25f, 0.8f);
    addArp(score, buildBeat, themeBeat, 1, 0.4f, 0.1f, 0.9f);
    for (int beat = buildBeat; beat < kickBackBeat; beat += beatsPerBar) {
        addNote(score, voiceBass, beat, 3.75, chordAtBeat(beat).bass, 0.6f,
                ramp(beat, buildBeat, kickBackBeat, 0.1f, 0.35f));
    }
    addTheme(score, 208, kickBackBeat, 0, 0.45f, 0.25f);
    addKicks(score, kickBackBeat, themeBeat - 1, 0.9f, 1.0f);
    addHats(score, kickBackBeat, rollBeat, 2, false, 0.6f);
    addBass(score, kickBackBeat, rollBeat, false, 0.8f, 0.35f, 0.5f);
    addClaps(score, 232, rollBeat, 0.7f);
    addHats(score, rollBeat, themeBeat - 1, 1, true, 0.8f);
    addBass(score, rollBeat, themeBeat - 1, true, 0.85f, 0.5f, 0.9f);
    // The roll speeds up: quarters, eighths, sixteenths, then thirty-seconds.
    const int rollSections[][2] = {{240, 4}, {244, 8}, {248, 8}, {250, 16}, {252, 32}};
    const int rollEnds[] = {244, 248, 250, 252, themeBeat - 1};
    for (int s = 0; s < 5; ++s) {
        const int notesPerBeat = rollSections[s][1] / 4;
        for (double beat = rollSections[s][0]; beat < rollEnds[s]; beat += 1.0 / notesPerBeat) {
            addNote(score, voiceSnare, beat, 1.0 / notesPerBeat, 60, ramp(beat, rollBeat, themeBeat, 0.3f, 0.9f));
        }
    }
    addNote(score, voiceRiser, rollBeat, themeBeat - rollBeat, 60, 1.0f);
}

// Beats 384 to 432: the groove thins out, the fade to black at 408 takes the rest away,
// and a last chord rings over the end card.
void addOutro(std::vector<NoteEvent>* score)
{
    addNote(score, voiceHit, outroBeat, 8, 45, 0.9f, 0.7f);
    addNote(score, voiceCrash, outroBeat, 4, 60, 1.0f);
    addKicks(score, outroBeat, fadeBeat, 1.0f, 0.55f);
    addHats(score, outroBeat, 400, 2, true, 0.6f);
    addBass(score, outroBeat, 400, false, 0.8f, 0.5f, 0.2f);
    addPads(score, outroBeat, fadeBeat, 0.4f, 0.45f, 0.2f);
    addArp(score, outroBeat, fadeBeat, 2, 0.3f, 0.4f, 0.1f);
    addTheme(score, outroBeat, 400, 0, 0.35f, 0.2f);

    addPadChord(score, chordF, fadeBeat, 6, 0.45f, 0.25f, 0.05f, 1.5f);
    addNote(score, voiceDrone, fadeBeat, 7, 29, 0.5f, 0.3f, 0.0f, 0.05f, 1.0f);
    addNote(score, voiceBell, fadeBeat, 4, 77, 0.35f, 0.3f, -0.3f);
    addNote(score, voiceBell, fadeBeat + 4, 4, 76, 0.3f, 0.3f, 0.3f);

    const int wideAm[] = {45, 52, 57, 60, 64, 71};
    const float widePans[] = {0.0f, -0.5f, 0.5f, -0.3f, 0.3f, 0.0f};
    for (int i = 0; i < 6; ++i) {
        addNote(score, voicePad, lastChordBeat, 9, wideAm[i], 0.5f, 0.35f, widePans[i], 0.02f, 2.5f);
    }
    addNote(score, voiceDrone, lastChordBeat, 9, 33, 0.6f, 0.3f, 0.0f, 0.02f, 2.5f);
    addNote(score, voiceHit, lastChordBeat, 12, 45, 0.5f, 0.3f);
    addNote(score, voiceBell, lastChordBeat, 8, 81, 0.4f, 0.4f, -0.2f);
    addNote(score, voiceBell, lastChordBeat, 8, 76, 0.35f, 0.4f, 0.2f);
}

} // namespace

std::vector<NoteEvent> buildScore()
{
    std::vector<NoteEvent> score;
    addIntro(&score);
    addFlashTrain(&score);
    addCalm(&score);
    addKickIn(&score);
    addGroove(&score, grooveBeat, buildBeat, 0.5f);
    addBuild(&score);
    addGroove(&score, themeBeat, variationBeat, 0.45f);
    addTheme(&score, themeBeat, variationBeat, 0, 0.7f, 0.6f);
    addGroove(&score, variationBeat, outroBeat, 0.65f);
    addTheme(&score, variationBeat, outroBeat, 0, 0.65f, 0.7f);
    addTheme(&score, variationBeat + 2 * phraseBeats, outroBeat, 12, 0.35f, 0.6f);
    addOutro(&score);
    std::stable_sort(score.begin(), score.end(), [](const NoteEvent& a, const NoteEvent& b) {
        return std::tie(a.startTick, a.voice) < std::tie(b.startTick, b.voice);
    });
    return score;
}
