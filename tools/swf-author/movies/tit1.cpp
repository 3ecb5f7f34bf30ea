// Title strip: the letters N U M B A L I hop one after another, squashing as they land. Silent.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeTit1()
{
    Movie m(212, 60, kFps, rgb(0xffffff));
    const std::string name = "NUMBALI";
    const Rgba colors[] = {pal::red, pal::yellow, pal::blue, pal::green, pal::orange, pal::purple, pal::red};
    const double h = 34, gap = 5;
    std::vector<int> letters, shadows;
    std::vector<double> xs;
    double total = -gap;
    for (char ch : name)
        total += glyphWidth(ch, h) + gap;
    double x = (m.width() - total) / 2;
    for (size_t i = 0; i < name.size(); ++i) {
        double w = glyphWidth(name[i], h);
        Shape s;
        glyph(s, name[i], {-w / 2, -h}, h, colors[i]);
        letters.push_back(m.define(s));
        xs.push_back(x + w / 2);
        x += w + gap;
    }
    const int shadow = [&] {
        Shape s;
        s.add(ellipse({0, 0}, 13, 2.5), Fill::radial({0, 0}, 13, 2.5, {{0, rgb(0x33262a, 60)}, {1, rgb(0x33262a, 0)}}));
        return m.define(s);
    }();

    // Each letter's hop takes 10 frames, the next starting 5 frames later; then a rest.
    const int frames = 60, hopFrames = 10, stagger = 5;
    for (int f = 0; f < frames; ++f) {
        State s;
        for (size_t i = 0; i < letters.size(); ++i) {
            double p = double(f - int(i) * stagger) / hopFrames;
            double up = 0, squash = 0;
            if (p >= 0 && p < 0.75)
                up = std::sin(M_PI * p / 0.75);
            else if (p >= 0.75 && p < 1)
                squash = 0.14 * std::sin(M_PI * (p - 0.75) / 0.25);
            // Stretch on the way up, squash on landing, about the letter's foot.
            double sy = 1 - squash + 0.06 * up, sx = 1 + squash * 0.7 - 0.03 * up;
            s[1 + int(i)] = place(shadow, at(xs[i], 56, 0, 1 - 0.4 * up, 1));
            s[10 + int(i)] = place(letters[i], at(xs[i], 53 - 14 * up, 0, sx, sy));
        }
        m.root().frame(s);
    }
    return m;
}

} // namespace author
