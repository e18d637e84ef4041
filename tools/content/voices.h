// The voices of the track, one function a voice: each renders one note dry.
#pragma once

#include "synth.h"

StereoBuffer renderKick(const NoteEvent& note, uint32_t seed);
StereoBuffer renderClap(const NoteEvent& note, uint32_t seed);
StereoBuffer renderSnare(const NoteEvent& note, uint32_t seed);
StereoBuffer renderHatClosed(const NoteEvent& note, uint32_t seed);
StereoBuffer renderHatOpen(const NoteEvent& note, uint32_t seed);
StereoBuffer renderCrash(const NoteEvent& note, uint32_t seed);
StereoBuffer renderHit(const NoteEvent& note, uint32_t seed);
StereoBuffer renderRiser(const NoteEvent& note, uint32_t seed);
StereoBuffer renderBass(const NoteEvent& note, uint32_t seed);
StereoBuffer renderPad(const NoteEvent& note, uint32_t seed);
StereoBuffer renderPluck(const NoteEvent& note, uint32_t seed);
StereoBuffer renderLead(const NoteEvent& note, uint32_t seed);
StereoBuffer renderBell(const NoteEvent& note, uint32_t seed);
StereoBuffer renderDrone(const NoteEvent& note, uint32_t seed);
