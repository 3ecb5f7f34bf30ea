// Background loop: a red balloon floats and sways among drifting clouds; a kalimba tune.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeRomp4()
{
    // Tall, like the puzzle screen that shows it: room for the balloon and its string.
    Movie m(120, 179, kFps, rgb(0xffffff));
    const int sky = defineBackdrop(m, rgb(0x9fdcff), rgb(0xeef9ff));
    const int cloudA = defineCloud(m, 50);
    const int cloudB = defineCloud(m, 34);
    const int balloon = [&] {
        Shape s;
        s.stroke(smoothLine({{0, 30}, {-5, 45}, {4, 58}, {0, 70}}), {1.2, pal::ink});
        Path b;
        b.start = {0, 28};
        b.cubicTo({-30, 12}, {-28, -30}, {0, -30});
        b.cubicTo({28, -30}, {30, 12}, {0, 28});
        s.add(b, Fill::radial({-8, -12}, 36, {{0, lighter(pal::red, 0.5)}, {0.45, pal::red}, {1, darker(pal::red, 0.2)}}), outline());
        part(s, polygon({{0, 27}, {5, 33}, {-5, 33}}, 1), pal::red, {0, 30}, 5, 0.8);
        shine(s, {-10, -14}, 6, 10, 20, 170);
        face(s, {0, -4}, 30, {true, true, true});
        return m.define(s);
    }();

    Tune t = tuneAt(8, 16);  // 112.5 beats a minute
    t.line("d5/.5 f#5/.5 a5/1 f#5/.5 a5/.5 d6/1  b5/.5 a5/.5 g5/1 e5/2  c#5/.5 e5/.5 a5/1 g5/.5 f#5/.5 e5/1  d5/3 r/1",
           Inst::Kalimba, 0.9);
    t.line("d4+f#4+a4/4 g3+b3+d4/4 a3+c#4+e4/4 d4+f#4+a4/4", Inst::Pad, 0.25);
    t.line("d3/2 a2/2 g2/2 d3/2 a2/2 e2/2 d3/2 a2/2", Inst::Bass, 0.55);
    t.drums(Drum::Shaker, 0.5, 1, 16, 0.4);
    const int frames = tuneFrames(t);
    m.root().setStream(toPcm(music(t, SoundRate::R11k, -18)), SoundRate::R11k);

    for (int f = 0; f < frames; ++f) {
        const double t0 = double(f) / frames;
        State s;
        s[1] = place(sky, {});
        // Clouds drift across a whole number of times, wrapping out of sight.
        s[2] = place(cloudA, at(std::fmod(t0 * 200 + 40, 200) - 40, 28));
        s[3] = place(cloudB, at(std::fmod(t0 * 400 + 150, 200) - 40, 150));
        s[4] = place(cloudB, at(std::fmod(t0 * 200 + 110, 200) - 40, 96, 0, 0.8));
        // Floats up and down, swaying on its string.
        double sway = wave(t0, 2);
        s[10] = place(balloon, at(60 + 8 * sway, 64 + 8 * wave(t0, 4, 0.25), -8 * sway));
        m.root().frame(s);
    }
    return m;
}

} // namespace author
