// Background loop: a ladybird walks along the grass past flowers, legs stepping; a light
// marimba tune.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeRomp2()
{
    // Nearly square, like the puzzle screen that shows it.
    Movie m(150, 168, kFps, rgb(0xffffff));
    const int sky = defineBackdrop(m, rgb(0xc9ecff), rgb(0xf4fbff));
    const int grass = defineHill(m, 260, 40, pal::green);
    const int flowerY = defineFlower(m, 8, pal::yellow);
    const int flowerP = defineFlower(m, 7, pal::pink);
    const int cloud = defineCloud(m, 44);
    const int body = [&] {
        Shape s;
        // Head, then the red shell over it, spots, and a friendly face on the head.
        part(s, circle({22, 0}, 11), pal::ink, {22, 0}, 11, 0.8);
        s.add(circle({26, -3}, 2.6), Fill::solid(pal::white));
        s.add(circle({26.8, -2.6}, 1.4), Fill::solid(pal::ink));
        s.stroke(arc({26, 3}, 3.5, 2.5, 20, 140), {1.1, pal::white});
        for (double side : {-1.0, 1.0})
            s.stroke(smoothLine({{24, -8}, {28 + side * 2, -18}, {33 + side * 3, -20}}), {1.4, pal::ink});
        Path shell = blobPath({{-26, 2}, {-22, -20}, {0, -28}, {22, -20}, {26, 2}, {0, 6}});
        s.add(shell, Fill::radial({-8, -16}, 34, {{0, lighter(pal::red, 0.4)}, {0.5, pal::red}, {1, darker(pal::red, 0.2)}}), outline(0.9));
        s.stroke(polyline({{0, -26}, {0, 4}}), {1.8, pal::ink});
        const Pt spots[5] = {{-12, -16}, {10, -18}, {-16, -4}, {14, -5}, {0, -10}};
        for (const Pt& p : spots)
            if (p.x != 0)
                s.add(circle(p, 4.2), Fill::solid(pal::ink));
        shine(s, {-9, -19}, 6, 3, -25, 170);
        return m.define(s);
    }();
    const int leg = [&] {
        Shape s;
        s.stroke(polyline({{0, 0}, {0, 7}}), {2.4, pal::ink});
        return m.define(s);
    }();

    Tune t = tuneAt(7, 16);  // about 129 beats a minute
    t.line("g5/.5 b5/.5 d6/1 b5/.5 g5/.5 a5/1  c6/.5 a5/.5 f#5/1 d5/1 r/1  g5/.5 b5/.5 d6/1 e6/.5 d6/.5 b5/1  a5/.5 f#5/.5 g5/2 r/1",
           Inst::Marimba, 0.9);
    t.line("g2/1 d3/1 g2/1 d3/1  d2/1 a2/1 d2/1 a2/1  c3/1 g2/1 e2/1 g2/1  d2/1 a2/1 g2/2", Inst::Bass, 0.6);
    t.line("g3+b3+d4/4 d4+f#4+a4/4 c4+e4+g4/4 d4+f#4/2 b3+d4+g4/2", Inst::Pad, 0.22);
    t.drums(Drum::Block, 0.5, 1, 16, 0.5);
    t.drums(Drum::Shaker, 0, 0.5, 32, 0.4);
    const int frames = tuneFrames(t);
    m.root().setStream(toPcm(music(t, SoundRate::R11k, -18)), SoundRate::R11k);

    for (int f = 0; f < frames; ++f) {
        const double t0 = double(f) / frames;
        State s;
        s[1] = place(sky, {});
        s[2] = place(cloud, at(40 + 6 * wave(t0, 1), 32));
        s[3] = place(cloud, at(112 - 6 * wave(t0, 1), 64, 0, 0.7));
        s[4] = place(grass, at(75, 120));
        s[5] = place(flowerY, at(22, 132, 6 * wave(t0, 2)));
        s[6] = place(flowerP, at(128, 134, 6 * wave(t0, 2, 0.4)));
        // Strolls to the right and back once a loop, never leaving the meadow, turning
        // round (a quick squeeze) at each end.
        double x = 75 + 40 * std::sin(2 * M_PI * t0), y = 150;
        const Stroll walk = stroll(2 * M_PI * t0);
        double step = wave(t0, 16) * std::fabs(walk.heading);
        const Matrix root = at(x, y) * Matrix::scale(walk.face, 1);
        for (int i = 0; i < 3; ++i)
            s[10 + i] = place(leg, root * at(-14 + i * 14, -2, 20 * step * (i % 2 ? -1 : 1)));
        s[20] = place(body, root * at(0, -4 - 1.2 * std::fabs(step), 2 * step, 0.85));
        m.root().frame(s);
    }
    return m;
}

} // namespace author
