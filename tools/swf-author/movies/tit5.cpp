// Title corner: a yellow circle, a blue square and a red triangle turn round each other,
// trading places in three steps, each spinning as it goes. Silent.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeTit5()
{
    Movie m(120, 120, kFps, rgb(0xffffff));
    auto shapeOf = [&](int kind, Rgba c, double r) {
        Shape s;
        Path p = kind == 0 ? circle({0, 0}, r)
                 : kind == 1 ? roundRect(-r * 0.9, -r * 0.9, r * 1.8, r * 1.8, r * 0.25)
                             : polygon({{0, -r * 1.1}, {r * 1.05, r * 0.7}, {-r * 1.05, r * 0.7}}, r * 0.22);
        part(s, p, c, {0, 0}, r, r / 16);
        shine(s, {-r * 0.35, -r * 0.4}, r * 0.25, r * 0.13, -40, 160);
        return m.define(s);
    };
    const int big[3] = {shapeOf(0, pal::yellow, 15.5), shapeOf(1, pal::blue, 14.5), shapeOf(2, pal::red, 15.5)};
    const int small[3] = {shapeOf(1, pal::red, 7.5), shapeOf(2, pal::yellow, 8), shapeOf(0, pal::blue, 8)};

    // Three moves of 16 frames with a 6-frame pause after each: 66 frames, one full turn.
    const int frames = 66, step = 22, move = 16;
    for (int f = 0; f < frames; ++f) {
        int k = f / step;
        double p = ease(double(f % step) / move);
        double turn = (k + p) / 3.0;  // of a full circle
        double hop = std::sin(M_PI * clamp01(double(f % step) / move));
        State s;
        for (int i = 0; i < 3; ++i) {
            double a = 2 * M_PI * (turn + i / 3.0) - M_PI / 2;
            double r = 33 + 4 * hop;
            // Whole turns over the loop, so every shape is back as it started.
            double spin = i == 0 ? 0 : 120 * (k + p);
            s[10 + i] = place(big[i], at(60 + r * std::cos(a), 61 + r * std::sin(a), spin, 1 + 0.06 * hop));
            double b = -2 * M_PI * (turn + i / 3.0) + M_PI / 2;
            s[20 + i] = place(small[i], at(60 + 11 * std::cos(b), 61 + 11 * std::sin(b), -240 * (k + p), 1 - 0.15 * hop));
        }
        m.root().frame(s);
    }
    return m;
}

} // namespace author
