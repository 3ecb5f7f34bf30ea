// Reward: a blue bear cheers, bouncing from foot to foot with both arms up, under a shower
// of confetti; a marching fanfare, then "¡Excelente!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeFeliz2()
{
    // Portrait, like the reward players: the bear at the bottom, confetti from the top.
    Movie m(200, 238, kFps, rgb(0xffffff));
    const double dy = m.height() - 200;
    const int backdrop = defineBackdrop(m, rgb(0xd9efff), rgb(0xffffff));
    const std::vector<int> confetti = defineConfetti(m, 12);
    const Buddy bear = defineBuddy(m, pal::blue, Ears::Bear, 92);
    const int shadow = [&] {
        Shape s;
        s.add(ellipse({0, 0}, 48, 7), Fill::radial({0, 0}, 48, 7, {{0, rgb(0x33262a, 70)}, {1, rgb(0x33262a, 0)}}));
        return m.define(s);
    }();

    Tune fan = tuneAt(5, 12);
    fan.line("d5/.5 d5/.5 d5/.5 g5/1 b5/.5 a5/.5 b5/.5 d6!/2", Inst::Horn, 0.9);
    fan.line("b4+d5/1.5 b4+d5/1 d5+g5/1 d5+f#5+a5/.5 d5+g5+b5/2", Inst::Pad, 0.3);
    fan.line("g2/.5 g2/.5 g2/.5 g2/1 d3/1 d3/.5 g2/2", Inst::Bass, 0.8);
    fan.line("r/4 g6/.25 b6/.25 d7/1", Inst::Bell, 0.45);
    fan.line("r/9.25 b5/.5 d6/.5 g6/1", Inst::MusicBox, 0.25);
    fan.drums(Drum::Block, 0, 0.5, 3, 0.7);
    fan.drums(Drum::Kick, 1.5, 1, 3, 0.55);
    fan.drums(Drum::Shaker, 2, 0.5, 6, 0.8);
    const int frames = tuneFrames(fan);
    const Spoken word = rewardSounds(m, fan, "¡Excelente!", 62);

    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        // Confetti falls the height of the stage exactly once a loop per piece, tumbling.
        for (int i = 0; i < 22; ++i) {
            double x0 = std::fmod(i * 53.0 + 11, 200.0);
            double y = std::fmod(t + i / 22.0 * 1.0, 1.0) * (m.height() + 30) - 15;
            double x = x0 + 9 * wave(t, 2 + i % 3, i * 0.17);
            double spin = 360 * t * (i % 2 ? 2 : -3) + i * 40;
            double flip = 0.35 + 0.65 * std::fabs(wave(t, 4, i * 0.11));
            s[10 + i] = place(confetti[size_t(i) % confetti.size()], at(x, y, spin) * Matrix::scale(1, flip));
        }
        // Stepping from foot to foot, rocking, arms up and waving.
        double step = wave(t, 6);
        double hop = std::fabs(step);
        s[40] = place(shadow, at(100, 184 + dy, 0, 1 - 0.2 * hop));
        placeBuddy(s, 50, bear, at(100, 182 + dy - 10 * hop, 7 * step), -40 + 18 * wave(t, 6, 0.25), -40 - 18 * wave(t, 6, 0.25),
                   -0.04 * hop, 0, word.mouth(f - kPraiseFrame));
        // A few confetti bits in front of the bear, for depth.
        for (int i = 0; i < 5; ++i) {
            double y = std::fmod(t + i / 5.0 + 0.1, 1.0) * (m.height() + 30) - 15;
            double x = 30 + i * 36 + 8 * wave(t, 3, i * 0.2);
            s[70 + i] = place(confetti[size_t(i + 2) % confetti.size()], at(x, y, 360 * t * 3 + i * 70, 1.2));
        }
        if (f == kPraiseFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
