#pragma once

// Soft tuned instruments and a tiny score notation for the movies' tunes.

#include "Audio.h"

#include <string>
#include <vector>

namespace author {

enum class Inst {
    Marimba,  // wooden mallet: warm, quick decay
    Bell,     // small glockenspiel: sparkles for stars and rewards
    Flute,    // breathy sine with gentle vibrato
    Bass,     // round plucked low notes
    Pad,      // slow soft chord cushion
    Kalimba,  // thumb piano pluck
    MusicBox, // tiny high comb
    Horn,     // soft brassy swell for fanfares (few harmonics, slow attack)
};

enum class Drum { Kick, Shaker, Block, Triangle };

struct Note {
    double beat;   // start, in beats from the tune's start
    double beats;  // length
    int midi;
    double vel = 1;
    Inst inst = Inst::Marimba;
};

struct Hit {
    double beat;
    Drum drum;
    double vel = 1;
};

struct Tune {
    double bpm = 120;
    double beats = 16;  // length of the loop
    std::vector<Note> notes;
    std::vector<Hit> hits;

    // "c5/1 e5/.5 r/.5 g5/2": note name, octave, length in beats; "r" rests.
    // Chords: "c4+e4+g4/2". Returns the beat after the last token.
    double line(const std::string& score, Inst inst, double vel = 1, double startBeat = 0, int transpose = 0);
    // Same drum every `every` beats, from `from` for `count` hits.
    void drums(Drum d, double from, double every, int count, double vel = 1);
};

double midiHz(int midi);
// Renders a tune to exactly its length at `rate`; with loop, tails fold back to the start.
Buf render(const Tune& t, double rate, bool loop);
// One note rendered alone (for sound effects).
Buf renderNote(Inst inst, int midi, double seconds, double vel, double rate);
Buf renderDrum(Drum d, double vel, double rate);

} // namespace author
