// The aquarium: smiling fish swim across, bubbles rise, seaweed sways (morph shapes), light
// plays in the water; a calm kalimba and flute tune.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

namespace {

// A seaweed ribbon standing on (0,0), `h` tall, bent by `sway` (-1..1).
Paths seaweed(double h, double w, double sway)
{
    const int n = 6;
    std::vector<Pt> left, right;
    for (int i = 0; i <= n; ++i) {
        double k = double(i) / n;
        double bend = sway * 0.28 * h * std::pow(k, 1.6) + 0.05 * h * std::sin(k * 5 + sway);
        double half = w * (1 - 0.75 * k) / 2 + w * 0.12 * std::sin(k * 9);
        left.push_back({bend - half, -k * h});
        right.push_back({bend + half, -k * h});
    }
    std::vector<Pt> ring;
    for (const Pt& p : left)
        ring.push_back(p);
    ring.push_back({left.back().x + w * 0.1, -h * 1.04});
    for (int i = n; i >= 0; --i)
        ring.push_back(right[size_t(i)]);
    ring.push_back({0, w * 0.2});
    return {blobPath(ring)};
}

struct Fish {
    int body = 0, tail = 0;
    double len = 0;
};

Fish defineFish(Movie& m, double len, Rgba c, Rgba tailColor, bool stripes)
{
    Fish f;
    f.len = len;
    const double L = len, H = len * 0.62, lw = len / 30;
    {
        Shape s;
        // Fins first, so the body overlaps them.
        flat(s, polygon({{-0.05 * L, -0.2 * H}, {0.12 * L, -0.72 * H}, {0.2 * L, -0.25 * H}}, 0.05 * L), tailColor, lw / lineWidth());
        flat(s, polygon({{0.0, 0.25 * H}, {0.1 * L, 0.6 * H}, {0.16 * L, 0.25 * H}}, 0.04 * L), tailColor, lw / lineWidth());
        Path body = blobPath({{-0.5 * L, 0}, {-0.3 * L, -0.52 * H}, {0.3 * L, -0.55 * H}, {0.55 * L, -0.05 * H}, {0.3 * L, 0.55 * H}, {-0.3 * L, 0.5 * H}});
        s.add(body, Fill::radial({0.05 * L, -0.2 * H}, 0.7 * L, {{0, lighter(c, 0.45)}, {0.55, c}, {1, darker(c, 0.15)}}), {lw, pal::ink});
        if (stripes)
            for (double x : {-0.18 * L, 0.14 * L})
                s.add(ellipse({x, 0}, 0.05 * L, 0.42 * H), Fill::solid(rgb(0xffffff, 230)), {lw * 0.7, pal::ink});
        shine(s, {0.05 * L, -0.3 * H}, 0.14 * L, 0.06 * L, -10, 150);
        // Face looking ahead: one big eye, a smile, a rosy cheek.
        Pt eye = {0.27 * L, -0.1 * H};
        s.add(circle(eye, 0.11 * L), Fill::solid(pal::white), {lw, pal::ink});
        s.add(circle({eye.x + 0.03 * L, eye.y + 0.01 * L}, 0.06 * L), Fill::solid(pal::ink));
        s.add(circle({eye.x + 0.01 * L, eye.y - 0.02 * L}, 0.022 * L), Fill::solid(pal::white));
        s.stroke(arc({0.38 * L, 0.16 * H}, 0.07 * L, 0.05 * L, 10, 150), {lw * 1.1, pal::ink});
        s.add(ellipse({0.2 * L, 0.22 * H}, 0.05 * L, 0.03 * L), Fill::solid(pal::cheek));
        f.body = m.define(s);
    }
    {
        Shape s;
        Path tail = polygon({{0.02 * L, 0}, {-0.3 * L, -0.42 * H}, {-0.22 * L, 0}, {-0.3 * L, 0.42 * H}}, 0.06 * L);
        s.add(tail, Fill::linear({0, 0}, {-0.3 * L, 0}, {{0, tailColor}, {1, lighter(tailColor, 0.35)}}), {lw, pal::ink});
        f.tail = m.define(s);
    }
    return f;
}

void placeFish(State& s, int depth, const Fish& f, double x, double y, bool left, double wag, double tilt)
{
    Matrix root = at(x, y, tilt) * Matrix::scale(left ? -1 : 1, 1);
    s[depth] = place(f.tail, root * Matrix::translate(-0.45 * f.len, 0) * Matrix::rotate(wag));
    s[depth + 1] = place(f.body, root);
}

Tune calmTune()
{
    Tune t = tuneAt(10, 32);  // 90 beats a minute
    t.line("a5/2 c6/1 a5/1  g5/3 f5/1  f5/2 a5/1 d6/1  c6/4  a5/2 c6/1 f6/1  e6/2 d6/1 c6/1  d6/1.5 c6/.5 a5/1 g5/1  f5/4",
           Inst::Flute, 0.55);
    // Rippling arpeggios, like light on water.
    const char* chords[8] = {"f4 a4 c5 e5", "d4 f4 a4 c5", "bb3 d4 f4 a4", "c4 e4 g4 bb4",
                             "f4 a4 c5 e5", "d4 f4 a4 c5", "bb3 d4 f4 c5", "f4 a4 c5 f5"};
    const int order[8] = {0, 1, 2, 3, 2, 1, 2, 1};
    for (int bar = 0; bar < 8; ++bar) {
        std::vector<std::string> notes;
        std::string c = chords[bar], w;
        for (char ch : c + " ") {
            if (ch == ' ') {
                if (!w.empty())
                    notes.push_back(w);
                w.clear();
            } else {
                w += ch;
            }
        }
        std::string line;
        for (int i = 0; i < 8; ++i)
            line += notes[size_t(order[i])] + "/.5 ";
        t.line(line, Inst::Kalimba, 0.55, bar * 4);
    }
    t.line("f2/2 c3/2  d2/2 a2/2  bb2/2 f2/2  c3/2 g2/2  f2/2 c3/2  d2/2 a2/2  bb2/2 c3/2  f2/4", Inst::Bass, 0.7);
    t.line("f3+a3+c4+e4/4 d3+f3+a3+c4/4 d3+f3+bb3/4 e3+g3+c4/4 f3+a3+c4+e4/4 d3+f3+a3+c4/4 d3+f3+bb3/2 e3+g3+c4/2 f3+a3+c4/4",
           Inst::Pad, 0.25);
    t.drums(Drum::Shaker, 1, 2, 16, 0.35);
    return t;
}

} // namespace

Movie makeAcuario2()
{
    Movie m(369, 225, kFps, rgb(0x8fd4f5));
    const double W = m.width(), H = m.height();
    const int water = defineBackdrop(m, rgb(0xc4f0ff), rgb(0x3fa6e0));
    const int beam = [&] {
        Shape s;
        s.add(polygon({{-14, 0}, {14, 0}, {52, 200}, {8, 200}}), Fill::linear({0, 0}, {0, 200}, {{0, rgb(0xffffff, 90)}, {1, rgb(0xffffff, 0)}}));
        return m.define(s);
    }();
    const int sand = [&] {
        Shape s;
        Path p;
        p.start = {-4, 196};
        p.cubicTo({60, 186}, {120, 200}, {185, 194}).cubicTo({250, 188}, {310, 198}, {W + 4, 190});
        p.lineTo({W + 4, H + 4}).lineTo({-4, H + 4});
        p.close();
        s.add(p, Fill::linear({0, 186}, {0, H}, {{0, rgb(0xfbe3b4)}, {1, rgb(0xe9bf7c)}}), outline());
        const Rgba pebbles[] = {pal::pink, pal::blue, pal::yellow, pal::green, pal::white, pal::orange};
        for (int i = 0; i < 12; ++i) {
            Pt c = {15 + std::fmod(i * 97.0, W - 30), 206 + std::fmod(i * 13.0, 14)};
            s.add(ellipse(c, 4 + i % 3, 2.5 + (i % 2)), Fill::solid(lighter(pebbles[i % 6], 0.3)), outline(0.5));
        }
        return m.define(s);
    }();
    const int starfish = [&] {
        Shape s;
        part(s, star({0, 0}, 15, 7, 5, -90, 3), pal::orange, {0, 0}, 15, 0.8);
        s.add(circle({-3, -1}, 1.4), Fill::solid(pal::ink));
        s.add(circle({3, -1}, 1.4), Fill::solid(pal::ink));
        s.stroke(arc({0, 1.5}, 3, 2, 20, 160), {1.1, pal::ink});
        return m.define(s);
    }();
    const int shell = [&] {
        Shape s;
        Path p;
        p.start = {-12, 0};
        p.quadTo({-12, -16}, {0, -16}).quadTo({12, -16}, {12, 0}).quadTo({0, 4}, {-12, 0});
        part(s, p, pal::pink, {0, -8}, 14, 0.8);
        for (double x : {-6.0, 0.0, 6.0})
            s.stroke(polyline({{x * 0.4, -1}, {x, -13}}), {1, darker(pal::pink, 0.3)});
        return m.define(s);
    }();
    const int bubble = [&] {
        Shape s;
        s.add(circle({0, 0}, 6), Fill::radial({0, 0}, 6, {{0, rgb(0xffffff, 60)}, {0.75, rgb(0xffffff, 110)}, {1, rgb(0xffffff, 220)}}),
              {1.0, rgb(0x1f5fb0, 190)});
        s.add(circle({-2.2, -2.2}, 1.6), Fill::solid(rgb(0xffffff, 240)));
        return m.define(s);
    }();
    std::vector<int> weeds;
    const double weedH[6] = {110, 80, 130, 90, 70, 100};
    const Rgba weedC[6] = {pal::green, rgb(0x6fcf4f), rgb(0x3a9d3a), rgb(0x8fd86f), rgb(0x5cc85a), pal::green};
    for (int i = 0; i < 6; ++i) {
        Morph mo;
        Fill fl = Fill::linear({0, 0}, {0, -weedH[i]}, {{0, darker(weedC[i], 0.2)}, {1, lighter(weedC[i], 0.3)}});
        mo.add(seaweed(weedH[i], 22, -1), seaweed(weedH[i], 22, 1), fl, fl, outline(), outline());
        weeds.push_back(m.define(mo));
    }
    // A little crab that sidesteps along the sand, claws up.
    const int crab = [&] {
        Shape s;
        for (double side : {-1.0, 1.0}) {
            for (int k = 0; k < 3; ++k) {
                Path leg = polyline({{side * 8, 2.0 + k * 2.5}, {side * (15 + k * 2), 4.0 + k * 3}, {side * (17 + k * 2), 10.0 + k * 2}});
                s.stroke(leg, {2.6, pal::ink});
                s.stroke(leg, {1.2, pal::red});
            }
            Path armPath = polyline({{side * 9, -2}, {side * 15, -10}});
            s.stroke(armPath, {3, pal::ink});
            s.stroke(armPath, {1.6, pal::red});
            Pt claw = {side * 16, -14};
            Path pincer = polygon({{claw.x - 5, claw.y + 3}, {claw.x - 5, claw.y - 4}, {claw.x, claw.y - 7}, {claw.x + 5, claw.y - 4},
                                   {claw.x + 1, claw.y - 2}, {claw.x + 5, claw.y + 3}}, 1.5);
            part(s, pincer, pal::red, claw, 6, 0.7);
        }
        for (double side : {-1.0, 1.0}) {
            s.stroke(polyline({{side * 4, -6}, {side * 5, -13}}), {1.6, pal::ink});
            s.add(circle({side * 5, -14}, 3), Fill::solid(pal::white), outline(0.5));
            s.add(circle({side * 5, -13.5}, 1.5), Fill::solid(pal::ink));
        }
        Path body = blobPath({{-13, 2}, {-12, -7}, {0, -10}, {12, -7}, {13, 2}, {0, 8}});
        part(s, body, pal::red, {0, -2}, 13, 0.8);
        s.stroke(arc({0, -1}, 4, 3, 20, 160), {1.2, pal::ink});
        s.add(ellipse({-7, 0}, 2.2, 1.4), Fill::solid(pal::cheek));
        s.add(ellipse({7, 0}, 2.2, 1.4), Fill::solid(pal::cheek));
        return m.define(s);
    }();
    const Fish clown = defineFish(m, 56, pal::orange, pal::orange, true);
    const Fish yellow = defineFish(m, 44, pal::yellow, pal::blue, false);
    const Fish blue = defineFish(m, 48, pal::blue, pal::yellow, false);
    const Fish pink = defineFish(m, 30, pal::pink, pal::purple, false);

    Tune tune = calmTune();
    const int frames = tuneFrames(tune);
    m.root().setStream(toPcm(music(tune, SoundRate::R11k, -18)), SoundRate::R11k);

    const double margin = 50;
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(water, {});
        for (int i = 0; i < 3; ++i)
            s[2 + i] = place(beam, at(60 + i * 120, -5, -10), ColorX::alpha(0.5 + 0.5 * wave(t, 2 + i, i * 0.3)));
        // Seaweed behind the fish, swaying at different paces.
        const double weedX[6] = {40, 120, 300, 345, 195, 18};
        for (int i = 0; i < 6; ++i)
            s[10 + i] = place(weeds[size_t(i)], at(weedX[i], 200), {}, int((0.5 + 0.5 * wave(t, 3 + i % 2, i * 0.27)) * 65535));
        // Fish: each crossing a whole number of times a loop, so the loop closes.
        auto across = [&](double times, double phase, bool left) {
            double p = std::fmod(t * times + phase, 1.0);
            double x = -margin + p * (W + 2 * margin);
            return left ? W - x : x;
        };
        placeFish(s, 20, clown, across(1, 0.1, false), 90 + 14 * wave(t, 3), false, 22 * wave(t, 24), 4 * wave(t, 3, 0.25));
        placeFish(s, 22, yellow, across(2, 0.3, true), 140 + 10 * wave(t, 4, 0.2), true, 25 * wave(t, 30), -4 * wave(t, 4, 0.45));
        placeFish(s, 24, blue, across(1, 0.65, true), 55 + 8 * wave(t, 2, 0.5), true, 20 * wave(t, 20), 3 * wave(t, 2, 0.75));
        placeFish(s, 26, pink, across(2, 0.8, false), 168 + 6 * wave(t, 5), false, 28 * wave(t, 36), 0);
        // Bubbles rise from two spots in the sand, wobbling, each rising a whole number of times a loop.
        for (int i = 0; i < 12; ++i) {
            double times = 3 + i % 3;
            double p = std::fmod(t * times + i * 0.137, 1.0);
            double x0 = (i % 2 ? 228 : 82) + (i % 3) * 5;
            double y = 195 - p * 215;
            double sc = 0.5 + 0.6 * p + 0.2 * (i % 2);
            s[40 + i] = place(bubble, at(x0 + 6 * wave(p, 3, i * 0.2), y, 0, sc), ColorX::alpha(p < 0.08 ? p / 0.08 : 1));
        }
        s[60] = place(sand, {});
        s[61] = place(starfish, at(150, 206, 8 * wave(t, 2)));
        // Sidesteps across once a loop, right to left, with a little bob on each step.
        double step = std::fabs(wave(t, 40));
        s[63] = place(crab, at(W + 30 - t * (W + 60), 203 - 2 * step, 4 * wave(t, 20), 0.9));
        s[62] = place(shell, at(262, 212));
        m.root().frame(s);
    }
    return m;
}

} // namespace author
