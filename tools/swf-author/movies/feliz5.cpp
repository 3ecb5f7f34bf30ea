// Reward: an orange cat waves both arms in turn while fireworks of sparkles burst in the
// sky; a festive fanfare, then "¡Bravo!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeFeliz5()
{
    // Portrait, like the reward players: more evening sky for the fireworks.
    Movie m(200, 233, kFps, rgb(0xffffff));
    const double dy = m.height() - 200;
    const int backdrop = defineBackdrop(m, rgb(0x4a5fc1), rgb(0xa9c6ff));
    const int hill = defineHill(m, 300, 60, pal::green);
    const int sparkY = defineSparkle(m, 9, pal::yellow);
    const int sparkR = defineSparkle(m, 9, pal::red);
    const int sparkB = defineSparkle(m, 9, rgb(0x7fd3ff));
    const int sparkG = defineSparkle(m, 9, rgb(0x9cf07f));
    const int starY = defineStar(m, 6, pal::yellow);
    const Buddy cat = defineBuddy(m, pal::orange, Ears::Cat, 84);

    Tune fan = tuneAt(5, 12);
    fan.line("f4/.5 a4/.5 c5/.5 f5/1 c5/.5 f5/.5 a5/.5 c6!/2", Inst::Horn, 0.9);
    fan.line("r/2 f5/.5 a5/.5 c6/.5 r/.5 f6/2", Inst::Bell, 0.45);
    fan.line("f3+a3+c4/2.5 f3+a3+c4/1 f3+c4+f4/2.5", Inst::Pad, 0.3);
    fan.line("f2/.5 f2/.5 f2/.5 c3/1 c3/.5 f2/1 f2/2", Inst::Bass, 0.8);
    fan.drums(Drum::Kick, 0, 1, 6, 0.55);
    fan.drums(Drum::Shaker, 0.5, 1, 6, 0.8);
    fan.line("r/8.75 c6/.5 a5/.5 f5/.5 c6/.5 f6/1", Inst::MusicBox, 0.3);
    const int frames = tuneFrames(fan);
    const Spoken word = rewardSounds(m, fan, "¡Bravo!", 62);

    const int sparks[4] = {sparkY, sparkR, sparkB, sparkG};
    const Pt bursts[3] = {{52, 60}, {150, 46}, {104, 104}};
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        // Little stars blink in the evening sky.
        for (int i = 0; i < 6; ++i) {
            double a = 0.4 + 0.6 * std::fabs(wave(t, 2, i * 0.19));
            s[2 + i] = place(starY, at(std::fmod(i * 37.0 + 15, 190.0), 14 + std::fmod(i * 29.0, 60.0), 0, 0.7 + 0.2 * (i % 2)), ColorX::alpha(a));
        }
        // Three bursts a loop, one after another: sparkles fly out and fade.
        for (int b = 0; b < 3; ++b) {
            double p = std::fmod(t * 1.5 - b / 3.0 + 3, 1.0) / 0.6;
            for (int i = 0; i < 10; ++i) {
                if (p >= 1)
                    continue;
                double a = i * 36 + b * 12;
                double d = 42 * (1 - (1 - p) * (1 - p));
                Pt c = bursts[b];
                double fall = 10 * p * p;
                s[10 + b * 10 + i] = place(sparks[(i + b) % 4], at(c.x + d * std::cos(a * M_PI / 180), c.y + d * std::sin(a * M_PI / 180) + fall,
                                                                  a, 0.6 + 0.6 * (1 - p)), ColorX::alpha(p > 0.6 ? (1 - p) / 0.4 : 1));
            }
        }
        s[50] = place(hill, at(100, 150 + dy));
        // Cheering: arms wave in turn, a bob on each beat.
        double bob = std::fabs(wave(t, 6));
        placeBuddy(s, 60, cat, at(100, 186 + dy - 8 * bob, 5 * wave(t, 3)), -30 - 35 * (0.5 + 0.5 * wave(t, 6)),
                   -30 - 35 * (0.5 - 0.5 * wave(t, 6)), 0.05 * (1 - bob), 0, word.mouth(f - kPraiseFrame));
        if (f == kPraiseFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
