// Background loop: a little smiling star twinkles in the evening sky among tiny sparkles;
// a gentle music-box tune.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeRomp1()
{
    // A little taller than wide, like the puzzle screen that shows it.
    Movie m(150, 174, kFps, rgb(0x6f8ee0));
    const int sky = defineBackdrop(m, rgb(0x5b78d6), rgb(0xb4cbff));
    const int glow = [&] {
        Shape s;
        s.add(circle({0, 0}, 50), Fill::radial({0, 0}, 50, {{0, rgb(0xfff6b0, 200)}, {0.5, rgb(0xfff6b0, 70)}, {1, rgb(0xfff6b0, 0)}}));
        return m.define(s);
    }();
    const int star = defineStar(m, 30, pal::yellow, true);
    const int spark = defineSparkle(m, 6, pal::white);
    const int moon = [&] {
        Shape s;
        // A crescent: the outer circle's left side, back along a larger circle's left side,
        // the two meeting at the horns.
        Path outer = arc({0, 0}, 14, 14, 70, 290);
        const double cx = 9, R = std::hypot(14 * std::cos(70 * M_PI / 180) - cx, 14 * std::sin(70 * M_PI / 180));
        const double horn = std::atan2(14 * std::sin(70 * M_PI / 180), 14 * std::cos(70 * M_PI / 180) - cx) * 180 / M_PI;
        Path inner = arc({cx, 0}, R, R, 360 - horn, horn);
        for (const Seg& sg : inner.segs)
            outer.segs.push_back(sg);
        outer.segs.back().p = outer.start;
        part(s, outer, rgb(0xfff3a8), {-4, 0}, 14, 0.7);
        return m.define(s);
    }();

    Tune t = tuneAt(10, 16);  // 90 beats a minute
    t.line("e5/1 g5/1 c6/1 b5/1  a5/2 g5/2  f5/1 a5/1 g5/1 e5/1  d5/3 r/1", Inst::MusicBox, 0.9);
    t.line("c4+e4+g4/4 f3+a3+c4/4 d4+f4+a4/2 g3+b3+d4/2 g3+b3+d4/4", Inst::Pad, 0.3);
    t.line("c3/4 f2/4 d3/2 g2/2 g2/4", Inst::Bass, 0.5);
    t.line("r/3.5 c7/.5 r/3.5 a6/.5 r/3.5 f6/.5 r/3.5 b6/.5", Inst::Bell, 0.2);
    const int frames = tuneFrames(t);
    m.root().setStream(toPcm(music(t, SoundRate::R11k, -18)), SoundRate::R11k);

    const Pt sparks[10] = {{20, 24}, {42, 140}, {126, 70}, {134, 128}, {112, 160}, {24, 88}, {78, 14}, {92, 150}, {10, 160}, {140, 104}};
    for (int f = 0; f < frames; ++f) {
        const double t0 = double(f) / frames;
        State s;
        s[1] = place(sky, {});
        s[2] = place(moon, at(122, 32, 0, 1));
        for (int i = 0; i < 10; ++i) {
            double tw = std::max(0.0, wave(t0, 2 + i % 3, i * 0.13));
            s[10 + i] = place(spark, at(sparks[i].x, sparks[i].y, 45 * tw, 0.4 + 0.9 * tw), ColorX::alpha(0.3 + 0.7 * tw));
        }
        // The star breathes and twinkles: its glow pulses, it tilts side to side.
        s[20] = place(glow, at(75, 92, 0, 1 + 0.15 * wave(t0, 4)), ColorX::alpha(0.7 + 0.3 * wave(t0, 4)));
        s[21] = place(star, at(75, 92 + 3 * wave(t0, 2), 8 * wave(t0, 2, 0.25), 1 + 0.05 * wave(t0, 4)));
        m.root().frame(s);
    }
    return m;
}

} // namespace author
