// Reward: the smiling sun dances under a rainbow with confetti and garlands of flags; a
// joyful fanfare, then
// "¡Qué alegría!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeAlegria()
{
    // Portrait, like its player: the sun dances high under the sky, the rainbow behind it.
    Movie m(200, 270, kFps, rgb(0xffffff));
    const double dy = m.height() - 200;
    const int backdrop = defineBackdrop(m, rgb(0xbfe8ff), rgb(0xffffff));
    const int rainbow = defineRainbow(m, 96, 8);
    const std::vector<int> confetti = defineConfetti(m, 14);
    const int hill = defineHill(m, 280, 50, pal::green);
    const int flower = defineFlower(m, 6, pal::red);
    const Sun sun = defineSun(m, 36);
    // Two garlands of little flags strung across the sky, sagging in the middle and running on
    // past both sides of the stage.
    auto garland = [&](double sag, int first) {
        Shape s;
        const Rgba colors[] = {pal::red, pal::yellow, pal::blue, pal::green, pal::orange, pal::purple};
        auto y = [&](double x) { return sag * (1 - std::pow((x - 100) / 150, 2)); };
        std::vector<Pt> line;
        for (double x = -80; x <= 280; x += 10)
            line.push_back({x, y(x)});
        s.stroke(polyline(line), {1.8, pal::ink});
        int i = first;
        for (double x = -70; x <= 270; x += 28, ++i) {
            const Pt a = {x - 9, y(x - 9)}, b = {x + 9, y(x + 9)};
            const double slope = std::atan2(b.y - a.y, b.x - a.x);
            const Pt tip = {x - 22 * std::sin(slope), y(x) + 22 * std::cos(slope)};
            part(s, polygon({a, b, tip}, 2), colors[i % 6], {x, y(x) + 6}, 12, 0.8);
        }
        return m.define(s);
    };
    const int garlands[2] = {garland(34, 0), garland(22, 3)};

    Tune fan = tuneAt(5, 12);
    fan.line("c5/.5 d5/.5 e5/.5 g5/.5 e5/.5 g5/.5 c6!/1 d6/.5 e6!/2", Inst::Marimba, 1.0);
    fan.line("r/3.5 c6/.5 d6/.5 e6/2", Inst::Horn, 0.5);
    fan.line("r/3 g6/.5 c7/.5 e7/1.5", Inst::Bell, 0.4);
    fan.line("c4+e4+g4/2 f4+a4+c5/1.5 e4+g4+c5/3", Inst::Pad, 0.3);
    fan.line("c3/1 e3/1 f2/1 g2/.5 c3/3", Inst::Bass, 0.8);
    fan.drums(Drum::Kick, 0, 1, 6, 0.5);
    fan.drums(Drum::Shaker, 0.5, 0.5, 11, 0.7);
    fan.line("r/9.25 e6/.5 g6/.5 c7/1", Inst::MusicBox, 0.25);
    const int frames = tuneFrames(fan);
    m.root().setStream(toPcm(music(fan, SoundRate::R22k, -7)), SoundRate::R22k);
    const Spoken word = speechWithMouth(m, "¡Qué alegría!", 64);
    const int wordFrame = kPraiseFrame;

    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        s[2] = place(rainbow, at(100, 160 + dy));
        s[3] = place(garlands[0], at(100, 2 + 2 * wave(t, 2), 1.5 * wave(t, 2)) * Matrix::translate(-100, 0));
        s[4] = place(garlands[1], at(100, 58 + 2 * wave(t, 2, 0.3), -1.5 * wave(t, 2, 0.3)) * Matrix::translate(-100, 0));
        for (int i = 0; i < 18; ++i) {
            double y = std::fmod(t + i / 18.0, 1.0) * (m.height() + 30) - 15;
            double x = std::fmod(i * 61.0 + 7, 200.0) + 8 * wave(t, 2, i * 0.21);
            s[10 + i] = place(confetti[size_t(i) % confetti.size()], at(x, y, 360 * t * (i % 2 ? 2 : -2) + i * 50) * Matrix::scale(1, 0.4 + 0.6 * std::fabs(wave(t, 4, i * 0.1))));
        }
        s[30] = place(hill, at(100, 168 + dy));
        s[31] = place(flower, at(28, 182 + dy, 8 * wave(t, 4)));
        s[32] = place(flower, at(172, 184 + dy, 8 * wave(t, 4, 0.5)));
        // A dance: sway side to side, hop on the beat, arms up in turn.
        double sway = wave(t, 3);
        double hop = std::fabs(wave(t, 6));
        placeSun(s, 40, sun, at(100 + 18 * sway, 112 + dy - 14 * hop, 10 * sway), 120 * t, -32 - 26 * (0.5 + 0.5 * sway),
                 -32 - 26 * (0.5 - 0.5 * sway), 0, word.mouth(f - wordFrame));
        if (f == wordFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
