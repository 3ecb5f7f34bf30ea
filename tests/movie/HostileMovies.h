#pragma once

// Small, valid movies whose single frame costs far too much to draw: what the renderer's
// drawing budget is for. Shared by the tests and the paint-budget benchmark.

#include <QByteArray>

namespace movietest {

// A 550 x 400 stage holding one filled comb: `edges` teeth edges, each running the full
// height of the stage, so every row of pixels crosses all of them. The comb is squeezed to
// the stage's width and placed `placements` times at its own depths (compressed file).
QByteArray denseCombMovie(int edges, int placements);

// A 550 x 400 stage holding one stroke of `segments` segments zigzagging up and down the
// stage, `width` twips wide, moving right by `spread` twips every other segment, placed once
// (compressed file).
QByteArray zigzagLineMovie(int segments, int width, int spread = 1);

} // namespace movietest
