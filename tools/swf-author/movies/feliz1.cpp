// Reward: a yellow chick jumps for joy with its arms up while stars burst out behind it;
// a bright fanfare, then "¡Muy bien!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeFeliz1()
{
    // Portrait, like the reward players; the chick stands near the bottom, the stars burst
    // round it and up into the sky.
    Movie m(200, 247, kFps, rgb(0xffffff));
    const double dy = m.height() - 200;
    const int backdrop = defineBackdrop(m, rgb(0xfff4c2), rgb(0xffffff));
    const int glow = [&] {
        Shape s;
        s.add(circle({0, 0}, 90), Fill::radial({0, 0}, 90, {{0, rgb(0xffffff, 230)}, {0.6, rgb(0xffe680, 120)}, {1, rgb(0xffe680, 0)}}));
        return m.define(s);
    }();
    const int starY = defineStar(m, 14, pal::yellow);
    const int starB = defineStar(m, 11, pal::blue);
    const int starR = defineStar(m, 12, pal::red);
    const int starG = defineStar(m, 10, pal::green);
    const int ground = [&] {
        Shape s;
        s.add(ellipse({0, 0}, 50, 8), Fill::radial({0, 0}, 50, 8, {{0, rgb(0x33262a, 70)}, {1, rgb(0x33262a, 0)}}));
        return m.define(s);
    }();
    const Buddy chick = defineBuddy(m, pal::yellow, Ears::Tuft, 86);

    Tune fan = tuneAt(5, 12);
    fan.line("g4/.5 c5/.5 e5/.5 g5/1.5 e5/.5 g5!/2.5", Inst::Horn, 0.9);
    fan.line("r/1.5 c6/.5 e6/.5 g6/.5 r/1 c7/2", Inst::Bell, 0.5);
    fan.line("c4+e4/1.5 c4+e4+g4/4.5", Inst::Pad, 0.35);
    fan.line("c3/.5 c3/.5 c3/.5 c3/1.5 g2/.5 c3/2.5", Inst::Bass, 0.8);
    fan.drums(Drum::Kick, 0, 0.5, 3, 0.5);
    fan.drums(Drum::Kick, 1.5, 1, 1, 0.6);
    fan.drums(Drum::Triangle, 4, 1, 1, 0.6);
    fan.line("r/9.25 e6/.5 g6/.5 c7/1", Inst::MusicBox, 0.25);
    const int frames = tuneFrames(fan);
    const Spoken word = rewardSounds(m, fan, "¡Muy bien!", 64);

    const int starIds[8] = {starY, starB, starR, starG, starY, starR, starB, starG};
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        s[2] = place(glow, at(100, 105 + dy, 0, 1 + 0.08 * wave(t, 4)));
        // Stars fly out from behind the chick in two waves a loop, fading as they go.
        for (int i = 0; i < 8; ++i) {
            double p = std::fmod(t * 2 + i * 0.125, 1.0);
            double a = i * 45 + 20;
            double d = 20 + 80 * ease(p * 1.2);
            double scale = p < 0.15 ? p / 0.15 : 1;
            ColorX fadeOut = ColorX::alpha(p > 0.7 ? 1 - (p - 0.7) / 0.3 : 1);
            s[10 + i] = place(starIds[i], at(100 + d * std::cos(a * M_PI / 180), 100 + dy - d * 0.2 + d * std::sin(a * M_PI / 180) * 0.95,
                                             p * 200 + i * 30, scale), fadeOut);
        }
        // Four jumps a loop: a crouch, a leap with arms up, a squashy landing.
        double phase = std::fmod(t * 4, 1.0);
        double height = phase < 0.75 ? std::sin(M_PI * phase / 0.75) : 0;
        double squash = phase >= 0.75 ? 0.12 * std::sin(M_PI * (phase - 0.75) / 0.25) : -0.06 * height;
        double arms = -25 - 35 * height + 6 * wave(t, 8);
        s[20] = place(ground, at(100, 182 + dy, 0, 1 - 0.35 * height));
        placeBuddy(s, 30, chick, at(100, 180 + dy - 55 * height), arms, arms, squash, 4 * height, word.mouth(f - kPraiseFrame));
        if (f == kPraiseFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
