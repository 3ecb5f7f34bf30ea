// Title screen centre: the smiling sun waves hello under the name NUMBALI, to a cheerful
// marimba tune, and says "¡Hola! ¡Bienvenido a Numbali!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

namespace {

Tune titleTune()
{
    Tune t = tuneAt(8, 32);  // 112.5 beats a minute, eight bars
    t.line("e5/1 g5/1 c6/1 g5/1  d5/1 g5/.5 f5/.5 e5/1 d5/1  c5/1 e5/1 a5/1.5 g5/.5  f5/1 a5/1 g5/2 "
           "e5/.5 f5/.5 g5/1 c6/1 e6/1  d6/1 b5/1 g5/2  a5/1 f5/1 g5/1 b5/1  c6/3 r/1",
           Inst::Marimba, 1.0);
    // The melody doubled softly an octave down gives it body.
    t.line("e4/1 g4/1 c5/1 g4/1  d4/1 g4/.5 f4/.5 e4/1 d4/1  c4/1 e4/1 a4/1.5 g4/.5  f4/1 a4/1 g4/2 "
           "e4/.5 f4/.5 g4/1 c5/1 e5/1  d5/1 b4/1 g4/2  a4/1 f4/1 g4/1 b4/1  c5/3 r/1",
           Inst::Kalimba, 0.25);
    t.line("c3/2 g2/2  g2/2 d3/2  a2/2 e3/2  f2/2 c3/2  c3/2 g2/2  g2/2 d3/2  f2/2 g2/2  c3/2 g2/2", Inst::Bass, 0.8);
    t.line("c4+e4+g4/4 b3+d4+g4/4 a3+c4+e4/4 a3+c4+f4/4 c4+e4+g4/4 b3+d4+g4/4 a3+c4+f4/2 b3+d4+g4/2 c4+e4+g4/4",
           Inst::Pad, 0.22);
    t.drums(Drum::Shaker, 0.5, 1, 32, 0.7);
    t.drums(Drum::Kick, 0, 2, 16, 0.55);
    t.drums(Drum::Triangle, 31, 1, 1, 0.5);
    return t;
}

} // namespace

Movie makeTit3()
{
    Movie m(409, 225, kFps, rgb(0xffffff));
    const int backdrop = defineBackdrop(m, rgb(0xaee0ff), rgb(0xf2fbff));
    const int cloud = defineCloud(m, 70);
    const int cloudSmall = defineCloud(m, 46);
    const int hillL = defineHill(m, 300, 80, pal::green);
    const int hillR = defineHill(m, 320, 70, rgb(0x6fcf4f));
    const int flowerR = defineFlower(m, 7, pal::red);
    const int flowerB = defineFlower(m, 6, pal::blue);
    const int flowerP = defineFlower(m, 6.5, pal::pink);
    const Sun sun = defineSun(m, 43);
    const int butterfly = defineButterfly(m, 42, pal::pink);
    const int sparkle = defineSparkle(m, 12, pal::orange);

    // The name, each letter its own colour, drawn about its bottom middle so it can hop.
    const std::string name = "NUMBALI";
    const Rgba colors[] = {pal::red, pal::yellow, pal::blue, pal::green, pal::orange, pal::purple, pal::red};
    const double h = 56, gap = 7;
    std::vector<int> letters;
    std::vector<double> xs;
    double total = -gap;
    for (char ch : name)
        total += glyphWidth(ch, h) + gap;
    double x = (m.width() - total) / 2;
    for (size_t i = 0; i < name.size(); ++i) {
        double w = glyphWidth(name[i], h);
        Shape s;
        glyph(s, name[i], {-w / 2, -h}, h, colors[i]);
        letters.push_back(m.define(s));
        xs.push_back(x + w / 2);
        x += w + gap;
    }

    Tune tune = titleTune();
    const int frames = tuneFrames(tune);
    m.root().setStream(toPcm(music(tune, SoundRate::R22k, -18)), SoundRate::R22k);
    const Spoken hello = speechWithMouth(m, "¡Hola! ¡Bienvenido a Numbali!");
    const int helloFrame = 12;

    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        s[2] = place(cloud, at(70 + 12 * wave(t, 1), 100 + 3 * wave(t, 2)));
        s[3] = place(cloudSmall, at(340 - 10 * wave(t, 1, 0.3), 95 + 2 * wave(t, 2, 0.5)));
        // The sun rises and sinks a little with the beat, its rays slowly turning.
        const double bob = 3 * wave(t, 8);
        // Waves hello: the right arm swings up, about once a second, never so high that the
        // face hides it.
        const double waveArm = -36 + 22 * wave(t, 16);
        const double restArm = 38 + 6 * wave(t, 8, 0.25);
        double blink = 0;
        for (double b : {0.23, 0.61, 0.9}) {
            double d = std::fabs(t - b) * frames;
            if (d < 2)
                blink = 1 - d / 2;
        }
        placeSun(s, 10, sun, at(205, 146 + bob, 2 * wave(t, 4)), 60 * t, restArm, waveArm, blink, hello.mouth(f - helloFrame));
        s[20] = place(hillL, at(70, 160));
        s[21] = place(hillR, at(345, 168));
        s[22] = place(flowerR, at(30, 186, 6 * wave(t, 4)));
        s[23] = place(flowerB, at(100, 182, 6 * wave(t, 4, 0.3)));
        s[24] = place(flowerP, at(318, 190, 6 * wave(t, 4, 0.6)));
        s[25] = place(flowerR, at(388, 192, 6 * wave(t, 4, 0.15), 0.85));
        // A ripple runs along the name: each letter hops in turn, eight times a loop.
        for (size_t i = 0; i < letters.size(); ++i) {
            double phase = t * 8 - double(i) / 9;
            double hop = std::max(0.0, std::sin(2 * M_PI * phase));
            double land = std::max(0.0, -std::sin(2 * M_PI * phase)) * 0.06;
            s[30 + int(i)] = place(letters[i], at(xs[i], 74 - 8 * hop, 5 * hop * (i % 2 ? 1 : -1), 1 + land * 0.5, 1 - land));
        }
        // A butterfly loops round the sky in a lazy figure of eight, twice a loop, passing behind the sun.
        {
            double a = 2 * M_PI * t * 2;
            double bx = 205 + 150 * std::sin(a), by = 118 + 18 * std::sin(2 * a);
            double dx = 150 * std::cos(a), dy = 36 * std::cos(2 * a);
            double heading = std::atan2(dy, dx) * 180 / M_PI + 90;
            s[5] = place(butterfly, at(bx, by + 4 * wave(t, 24), heading));
        }
        // Sparkles wink on and off around the name.
        const Pt twinkles[5] = {{40, 20}, {128, 8}, {250, 10}, {372, 22}, {330, 80}};
        for (int i = 0; i < 5; ++i) {
            double tw = std::max(0.0, wave(t, 4, i * 0.21));
            if (tw > 0.05)
                s[45 + i] = place(sparkle, at(twinkles[i].x, twinkles[i].y, 90 * tw, tw));
        }
        if (f == helloFrame)
            m.root().startSound(hello.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
