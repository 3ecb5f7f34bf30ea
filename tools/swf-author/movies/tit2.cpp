// Title corner: the numbers 1 to 5 pop up one after another on coloured bubbles, stay a
// moment, then hop away together. Silent.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeTit2()
{
    Movie m(130, 130, kFps, rgb(0xffffff));
    const Rgba colors[] = {pal::red, pal::blue, pal::yellow, pal::green, pal::orange};
    const Pt spots[] = {{24, 36}, {65, 28}, {106, 36}, {43, 92}, {87, 92}};
    std::vector<int> badges;
    for (int i = 0; i < 5; ++i) {
        Shape s;
        const double r = 18;
        s.add(circle({0, 0}, r), Fill::radial({-6, -7}, r * 1.6, {{0, pal::white}, {1, lighter(colors[i], 0.7)}}), outline(0.8));
        char ch = char('1' + i);
        double h = 26, w = glyphWidth(ch, h);
        glyph(s, ch, {-w / 2, -h / 2}, h, colors[i], 0.19);
        badges.push_back(m.define(s));
    }

    // A pop every 8 frames; all stay until frame 70, then leave by frame 84; 90 in all.
    const int frames = 90;
    for (int f = 0; f < frames; ++f) {
        State s;
        for (int i = 0; i < 5; ++i) {
            double in = double(f - i * 8) / 7;  // 0..1 while popping in
            if (in <= 0)
                continue;
            // Overshoots a little and settles, like a bubble.
            double u = std::min(in, 1.0) - 1, c1 = 1.4;
            double scale = 1 + (c1 + 1) * u * u * u + c1 * u * u;
            double bob = f < 70 ? 1.5 * wave(double(f) / 30, 1, i * 0.2) : 0;
            double out = clamp01(double(f - 70 - i * 2) / 8);
            if (out >= 1)
                continue;
            double lift = -30 * out * out;
            s[1 + i] = place(badges[size_t(i)], at(spots[i].x, spots[i].y + bob + lift, 0, std::max(0.01, scale * (1 - out))));
        }
        m.root().frame(s);
    }
    return m;
}

} // namespace author
