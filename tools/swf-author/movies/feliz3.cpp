// Reward: a green little friend with antennae hops in place, hearts rising around it;
// a bouncy fanfare, then "¡Lo lograste!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeFeliz3()
{
    // Portrait, like the reward players: hearts rise the whole height from the meadow.
    Movie m(200, 247, kFps, rgb(0xffffff));
    const double dy = m.height() - 200;
    const int backdrop = defineBackdrop(m, rgb(0xe6f9df), rgb(0xffffff));
    const int heartR = defineHeart(m, 22, pal::red);
    const int heartP = defineHeart(m, 18, pal::pink);
    const int hill = defineHill(m, 260, 40, rgb(0x8fd86f));
    const Buddy friendly = defineBuddy(m, pal::green, Ears::Antennae, 88);

    Tune fan = tuneAt(5, 12);
    fan.line("c5/.5 e5/.5 g5/.5 c6/.5 r/.5 g5/.5 c6!/2", Inst::Marimba, 1.0);
    fan.line("c5/.5 e5/.5 g5/.5 c6/.5 r/.5 g5/.5 c6/2", Inst::Horn, 0.55);
    fan.line("r/3 e6/.5 g6/.5 c7/1.5", Inst::Bell, 0.45);
    fan.line("c4+e4+g4/3 e4+g4+c5/2", Inst::Pad, 0.3);
    fan.line("c3/1 g2/1 c3/.5 r/.5 c3/2", Inst::Bass, 0.85);
    fan.drums(Drum::Kick, 0, 1, 3, 0.55);
    fan.drums(Drum::Block, 0.5, 1, 3, 0.6);
    fan.line("r/9.25 g5/.5 e5/.5 c6/1", Inst::Kalimba, 0.3);
    const int frames = tuneFrames(fan);
    const Spoken word = rewardSounds(m, fan, "¡Lo lograste!", 62);

    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        // Hearts drift up, swaying, each once a loop.
        for (int i = 0; i < 9; ++i) {
            double p = std::fmod(t + i / 9.0, 1.0);
            double x = 18 + std::fmod(i * 71.0, 165.0) + 10 * wave(p, 1.5, i * 0.3);
            double y = m.height() - 10 - p * (m.height() + 10);
            double a = p < 0.1 ? p / 0.1 : (p > 0.85 ? (1 - p) / 0.15 : 1);
            s[10 + i] = place(i % 2 ? heartP : heartR, at(x, y, 12 * wave(p, 2, i * 0.2), 0.8 + 0.2 * (i % 3)), ColorX::alpha(a));
        }
        s[30] = place(hill, at(100, 165 + dy));
        // Three hops a loop with a wiggle at the top.
        double phase = std::fmod(t * 3, 1.0);
        double up = phase < 0.7 ? std::sin(M_PI * phase / 0.7) : 0;
        double land = phase >= 0.7 ? 0.13 * std::sin(M_PI * (phase - 0.7) / 0.3) : -0.05 * up;
        double arms = -20 - 50 * up;
        placeBuddy(s, 40, friendly, at(100, 176 + dy - 48 * up, 10 * up * wave(t, 1.5)), arms, arms, land, 3 * up, word.mouth(f - kPraiseFrame));
        if (f == kPraiseFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
