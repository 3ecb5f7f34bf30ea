#pragma once

// Pieces the movies share: sound helpers and the recurring characters.

#include "Art.h"
#include "Audio.h"
#include "Music.h"
#include "Swf.h"

#include <algorithm>
#include <vector>

namespace author {

constexpr double kFps = 15;

// A tune whose beat lasts a whole number of frames, so its loop matches the movie's.
Tune tuneAt(int framesPerBeat, double beats);
int tuneFrames(const Tune& t);
// Renders a looping tune to the stream rate, its peak at `peakDb`.
Buf music(const Tune& t, SoundRate rate, double peakDb);
// Speech as an event sound of the movie.
int speech(Movie& m, const std::string& text, SoundRate rate = SoundRate::R22k, int pitch = 62);
// Speech with how loud it is in each frame (0..1), for moving a mouth in time with it.
struct Spoken {
    int id = 0;
    std::vector<double> level;
    // Mouth for the frame `f` frames after the speech started: 0 shut, 1 smiling, 2 round.
    int mouth(int f) const;
};
Spoken speechWithMouth(Movie& m, const std::string& text, int pitch = 62);

// How far, in stage widths and heights, scenery reaches past each edge of the stage: a
// player of other proportions shows it in its margins.
constexpr double kOverscan = 1.5;
// Ground that "runs on far" reaches this many pixels from its origin (an edge of a shape
// is at most 3276 pixels long).
constexpr double kFarEdge = 1600;

// Vertical gradient backdrop over the stage, its end colours carrying on past it.
int defineBackdrop(Movie& m, Rgba top, Rgba bottom);
int defineCloud(Movie& m, double width);
// A rounded hill `w` wide, its top a quarter of `h` below (0,0), on flat ground 0.6 h down
// that runs on far to both sides and down.
int defineHill(Movie& m, double w, double h, Rgba c);
int defineStar(Movie& m, double r, Rgba c, bool withFace = false);
int defineHeart(Movie& m, double size, Rgba c);
int defineSparkle(Movie& m, double r, Rgba c);
// A butterfly seen from above, flapping on its own looping timeline (a sprite), heading up.
int defineButterfly(Movie& m, double size, Rgba wings);
// Confetti bits of the four main colours.
std::vector<int> defineConfetti(Movie& m, double size);
int defineFlower(Movie& m, double r, Rgba petals);
// A flower's head alone, centred on `c`, to draw into a shape of one's own.
void flowerHead(Shape& s, Pt c, double r, Rgba petals);
// A rainbow arch standing on (0,0), `r` to its outer edge, five bands `band` wide.
int defineRainbow(Movie& m, double r, double band);

// The smiling sun, the program's mascot.
struct Sun {
    int rays = 0, face = 0, eyes = 0, arm = 0;
    int mouths[3] = {};  // shut, smiling, round
    double r = 0;
};
Sun defineSun(Movie& m, double r);
// Uses depths depth..depth+5. armLeft/armRight: degrees from pointing straight out
// (negative raises the arm). blink: 0 open .. 1 shut.
void placeSun(State& s, int depth, const Sun& sun, const Matrix& root, double raysDeg, double armLeft, double armRight,
              double blink = 0, int mouth = 1);

// A walker going to and fro as sin(angle): `heading` is how much it is moving (-1 left .. 1
// right, near 0 while it turns round), `face` the sideways scale that turns it round with a
// quick squeeze.
struct Stroll {
    double heading = 1, face = 1;
};
Stroll stroll(double angle);

// A character's mouth in the three shapes speech needs (shut, smiling, round), in the style
// of face(): `centre` and `size` as given to face().
struct Mouths {
    int ids[3] = {};
    int operator[](int shape) const { return ids[std::clamp(shape, 0, 2)]; }
};
Mouths defineMouths(Movie& m, Pt centre, double size);
// A limb as a thick rounded stroke: ink, then colour inside it.
void limb(Shape& s, const Path& p, double width, Rgba c);
// A soft shadow on the ground, `rx` by `ry`.
int defineShadow(Movie& m, double rx, double ry);

// A reward's sounds: the fanfare as the movie's stream (it sets the loop's length) and the
// word of praise as an event sound to start when the fanfare has rung.
Spoken rewardSounds(Movie& m, const Tune& fanfare, const std::string& word, int pitch = 62);
// The frame a reward's word of praise starts on: just after its fanfare.
constexpr int kPraiseFrame = 30;

} // namespace author
