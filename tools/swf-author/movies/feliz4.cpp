// Reward: a pink bunny spins with joy under a rainbow while a ring of sparkles turns around
// it; a sparkling fanfare, then "¡Fantástico!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeFeliz4()
{
    // Portrait, like the reward players: the rainbow and bunny low, sparkles above.
    Movie m(200, 256, kFps, rgb(0xffffff));
    const double dy = m.height() - 200;
    const int backdrop = defineBackdrop(m, rgb(0xf3e6ff), rgb(0xffffff));
    const int rainbow = defineRainbow(m, 92, 9);
    const int cloud = defineCloud(m, 56);
    const int sparkY = defineSparkle(m, 10, pal::yellow);
    const int sparkB = defineSparkle(m, 8, pal::blue);
    const int sparkP = defineSparkle(m, 9, pal::pink);
    const Buddy bunny = defineBuddy(m, pal::pink, Ears::Bunny, 80);

    Tune fan = tuneAt(5, 12);
    fan.line("a4/.5 c#5/.5 e5/.5 a5/.5 c#6/.5 e6/.5 a6!/2", Inst::Bell, 0.8);
    fan.line("r/1.5 e5/.5 a5/.5 c#6/.5 e6/2", Inst::Horn, 0.6);
    fan.line("a3+c#4+e4/1.5 c#4+e4+a4/1.5 e4+a4+c#5/2", Inst::Pad, 0.35);
    fan.line("a2/1 e3/.5 a2/1.5 a2/2", Inst::Bass, 0.8);
    fan.drums(Drum::Shaker, 0, 0.25, 12, 0.8);
    fan.drums(Drum::Kick, 0, 1.5, 2, 0.5);
    fan.line("r/9.25 e6/.25 c#6/.25 a5/.25 e6/.25 a6/1", Inst::MusicBox, 0.25);
    const int frames = tuneFrames(fan);
    const Spoken word = rewardSounds(m, fan, "¡Fantástico!", 64);

    const int sparks[3] = {sparkY, sparkB, sparkP};
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        s[2] = place(rainbow, at(100, 150 + dy, 0, 1 + 0.02 * wave(t, 2)));
        s[3] = place(cloud, at(18 + 3 * wave(t, 1), 146 + dy, 0, 0.8));
        s[4] = place(cloud, at(182 - 3 * wave(t, 1), 146 + dy, 0, -0.8, 0.8));
        // The bunny dances on a soft bank of clouds.
        for (int i = 0; i < 4; ++i)
            s[5 + i] = place(cloud, at(-10 + i * 72 + 2 * wave(t, 1, i * 0.25), m.height() - 2, 0, i % 2 ? -1.7 : 1.7, 1.5));
        // The ring of sparkles turns once a loop, each twinkling.
        for (int i = 0; i < 10; ++i) {
            double a = (t + i / 10.0) * 2 * M_PI;
            double tw = 0.6 + 0.5 * std::fabs(wave(t, 4, i * 0.13));
            s[10 + i] = place(sparks[i % 3], at(100 + 78 * std::cos(a), 112 + dy + 34 * std::sin(a), 90 * t * 4, tw));
        }
        // A happy spin: the bunny turns (squeezed sideways) twice a loop, hopping each time.
        double phase = std::fmod(t * 2, 1.0);
        double turn = std::cos(2 * M_PI * ease(phase / 0.6));
        double up = phase < 0.6 ? std::sin(M_PI * phase / 0.6) : 0;
        double arms = -30 - 35 * up;
        Matrix root = at(100, 176 + dy - 26 * up) * Matrix::scale(phase < 0.6 ? std::max(0.15, std::fabs(turn)) * (turn < 0 ? -1 : 1) : 1, 1);
        placeBuddy(s, 30, bunny, root, arms + 10 * wave(t, 8), arms - 10 * wave(t, 8), phase >= 0.6 ? 0.08 * std::sin(M_PI * (phase - 0.6) / 0.4) : 0, 0, word.mouth(f - kPraiseFrame));
        // The sparkles in front half of the ring pass before the bunny.
        for (int i = 0; i < 10; ++i) {
            double a = (t + i / 10.0) * 2 * M_PI;
            if (std::sin(a) > 0) {
                s[50 + i] = s[10 + i];
                s.erase(10 + i);
            }
        }
        if (f == kPraiseFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
