// Background loop: a snail slides slowly past mushrooms, its eyes bobbing on their stalks;
// a soft flute tune.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeRomp3()
{
    // A little taller than wide, like the puzzle screen that shows it.
    Movie m(140, 171, kFps, rgb(0xffffff));
    const int sky = defineBackdrop(m, rgb(0xe4f7d9), rgb(0xfbfff5));
    const int ground = [&] {
        Shape s;
        // The meadow runs on far past the stage's edges and bottom.
        s.add(rect(-kFarEdge, 147, 2 * kFarEdge, kFarEdge), Fill::linear({0, 147}, {0, 171}, {{0, rgb(0x8fd86f)}, {1, pal::green}}), outline());
        return m.define(s);
    }();
    const int mushroom = [&] {
        Shape s;
        part(s, roundRect(-6, -14, 12, 16, 4), rgb(0xfff1d6), {0, -6}, 10, 0.8);
        Path cap;
        cap.start = {-18, -12};
        cap.cubicTo({-18, -34}, {18, -34}, {18, -12});
        cap.quadTo({0, -8}, {-18, -12});
        part(s, cap, pal::red, {0, -20}, 18, 0.8);
        for (Pt p : std::vector<Pt>{{-8, -20}, {6, -24}, {10, -15}})
            s.add(circle(p, 2.8), Fill::solid(pal::white));
        return m.define(s);
    }();
    const int body = [&] {
        Shape s;
        Path foot = blobPath({{-34, 0}, {-30, -9}, {20, -10}, {30, -22}, {38, -18}, {36, 0}});
        s.add(foot, Fill::linear({0, -20}, {0, 0}, {{0, rgb(0xc7f0a0)}, {1, rgb(0x8ccf5f)}}), outline(0.9));
        smile(s, {31, -17}, 16, false);
        s.add(ellipse({35, -11}, 2.5, 1.6), Fill::solid(pal::cheek));
        // The shell: a swirl drawn as a spiral stroke over a round shell.
        part(s, circle({-4, -24}, 20), pal::orange, {-4, -24}, 20, 0.9);
        Path swirl;
        swirl.start = {-4, -24};
        double a = 0;
        for (int i = 1; i <= 10; ++i) {
            double a1 = i * 0.9;
            double r0 = 1.6 * a, r1 = 1.6 * a1, am = (a + a1) / 2, rm = (r0 + r1) / 2 / std::cos(0.45);
            swirl.quadTo({-4 + rm * std::cos(am), -24 + rm * std::sin(am)}, {-4 + r1 * std::cos(a1), -24 + r1 * std::sin(a1)});
            a = a1;
        }
        s.stroke(swirl, {2.2, darker(pal::orange, 0.45)});
        shine(s, {-12, -34}, 5, 2.6, -35, 170);
        return m.define(s);
    }();
    const int butterfly = defineButterfly(m, 30, pal::yellow);
    const int stalk = [&] {
        Shape s;
        s.stroke(polyline({{0, 0}, {0, -13}}), {2.6, pal::ink});
        s.stroke(polyline({{0, 0}, {0, -13}}), {1.2, rgb(0xa8e07f)});
        s.add(circle({0, -15}, 4.2), Fill::solid(pal::white), outline(0.5));
        s.add(circle({1.2, -15}, 2.2), Fill::solid(pal::ink));
        return m.define(s);
    }();

    Tune t = tuneAt(9, 16);  // 100 beats a minute
    t.line("c5/1.5 d5/.5 f5/1 a5/1  g5/2 f5/2  d5/1.5 e5/.5 f5/1 g5/1  c5/3 r/1", Inst::Flute, 0.8);
    t.line("f4+a4+c5/4 c4+e4+g4/4 bb3+d4+f4/4 c4+f4+a4/4", Inst::Pad, 0.28);
    t.line("f2/2 c3/2 c2/2 g2/2 bb2/2 f2/2 f2/2 c3/2", Inst::Bass, 0.55);
    t.line("r/1 a5/.5 c6/.5 r/3 g5/.5 e5/.5 r/3 f5/.5 a5/.5 r/3 a5/.5 c6/.5 r/2", Inst::Kalimba, 0.35);
    const int frames = tuneFrames(t);
    m.root().setStream(toPcm(music(t, SoundRate::R11k, -18)), SoundRate::R11k);

    for (int f = 0; f < frames; ++f) {
        const double t0 = double(f) / frames;
        State s;
        s[1] = place(sky, {});
        s[2] = place(ground, {});
        s[3] = place(mushroom, at(116, 151, 2 * wave(t0, 2)));
        s[4] = place(mushroom, at(20, 151, -2 * wave(t0, 2), 0.7));
        // A butterfly flutters in a slow loop above the meadow.
        const double b = 2 * M_PI * t0;
        const double vx = 42 * std::cos(b), vy = 44 * std::cos(2 * b);
        s[5] = place(butterfly, at(70 + 42 * std::sin(b), 66 + 22 * std::sin(2 * b), std::atan2(vx, -vy) * 180 / M_PI));
        // Slides across and back once a loop, stretching as it goes, turning round at the ends.
        double x = 68 + 26 * std::sin(b);
        const Stroll walk = stroll(b);
        double stretch = 0.04 * wave(t0, 6) * std::fabs(walk.heading);
        Matrix root = at(x, 155) * Matrix::scale(walk.face * (1 + stretch), 1 - stretch);
        s[10] = place(stalk, root * Matrix::translate(30, -20) * Matrix::rotate(-12 + 8 * wave(t0, 4)));
        s[11] = place(stalk, root * Matrix::translate(35, -19) * Matrix::rotate(14 + 8 * wave(t0, 4, 0.3)));
        s[12] = place(body, root);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
