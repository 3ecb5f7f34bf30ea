// Reward: a pink bunny floats up under a bunch of balloons, kicking its feet and waving, and
// bounces back off a bank of clouds, a rainbow arching over the whole sky; a sparkling
// fanfare, then "¡Fantástico!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

namespace {

struct Balloon {
    Pt at;  // from the hand holding the strings
    Rgba color;
};

} // namespace

Movie makeFeliz4()
{
    // Portrait, like the reward players: the rainbow spans the sky, the balloons fill it.
    Movie m(200, 256, kFps, rgb(0xffffff));
    const int backdrop = defineBackdrop(m, rgb(0xe3d4ff), rgb(0xfff4fb));
    const int rainbow = defineRainbow(m, 122, 11);
    const int cloud = defineCloud(m, 56);
    const int sparkles[3] = {defineSparkle(m, 13, pal::yellow), defineSparkle(m, 11, pal::blue), defineSparkle(m, 12, pal::orange)};

    // Each balloon with its string down to the hand, so the bunch sways about the hand.
    const Balloon bunch[5] = {{{-38, -108}, pal::green}, {{-20, -72}, pal::red}, {{68, -112}, pal::purple},
                              {{34, -136}, pal::blue}, {{-2, -120}, pal::yellow}};
    std::vector<int> balloons;
    for (const Balloon& b : bunch) {
        Shape s;
        const double r = 19;
        const Pt knot = {b.at.x, b.at.y + r * 1.15};
        s.stroke(smoothLine({{0, 0}, {b.at.x * 0.3 + 4, b.at.y * 0.4}, {knot.x, knot.y}}), {1.4, pal::ink});
        part(s, polygon({{knot.x, knot.y - 3}, {knot.x + 4, knot.y + 3}, {knot.x - 4, knot.y + 3}}, 1), b.color, knot, 4, 0.7);
        Path p;
        const Pt c = b.at;
        p.start = {c.x, c.y - r};
        p.cubicTo({c.x + r * 1.1, c.y - r}, {c.x + r, c.y + r * 0.55}, {c.x, c.y + r * 1.15});
        p.cubicTo({c.x - r, c.y + r * 0.55}, {c.x - r * 1.1, c.y - r}, {c.x, c.y - r});
        part(s, p, b.color, c, r);
        shine(s, {c.x - r * 0.4, c.y - r * 0.45}, r * 0.22, r * 0.13, -40, 190);
        balloons.push_back(m.define(s));
    }

    // The bunny, its origin between its feet.
    const Rgba pink = rgb(0xff9cc2), inner = rgb(0xffd2e2);
    const int ear = [&] {
        Shape s;
        part(s, ellipse({0, -27}, 11, 29), pink, {0, -27}, 28);
        s.add(ellipse({0, -24}, 5.5, 21), Fill::solid(inner));
        return m.define(s);
    }();
    const int body = [&] {
        Shape s;
        part(s, ellipse({0, -30}, 27, 29), pink, {0, -30}, 28);
        s.add(ellipse({0, -24}, 16, 18), Fill::solid(rgb(0xfff3f7)));
        part(s, circle({0, -80}, 32), pink, {0, -80}, 32);
        s.add(ellipse({0, -66}, 15, 10), Fill::solid(rgb(0xfff3f7)));
        shine(s, {-14, -98}, 8, 4.5, -40, 160);
        face(s, {0, -82}, 56, {false, false, true}, false);
        s.add(polygon({{-4.5, -72}, {4.5, -72}, {0, -67}}, 1.5), Fill::solid(rgb(0xe0487a)), outline(0.6));
        for (double side : {-1.0, 1.0})
            for (double k : {-1.0, 1.0})
                s.stroke(polyline({{side * 12, -68 + k * 2}, {side * 26, -70 + k * 5}}), {1.3, pal::ink});
        return m.define(s);
    }();
    // Mouths with two front teeth, in the three shapes speech needs.
    Mouths mouth;
    {
        Shape shut, open, round;
        auto teeth = [](Shape& s, double y) {
            s.add(roundRect(-4.5, y, 9, 6, 1.2), Fill::solid(pal::white), {1.1, pal::ink});
            s.stroke(polyline({{0, y}, {0, y + 6}}), {0.9, pal::ink});
        };
        shut.stroke(smoothLine({{-9, -65}, {-4, -60}, {0, -65}}), {2, pal::ink});
        shut.stroke(smoothLine({{0, -65}, {4, -60}, {9, -65}}), {2, pal::ink});
        teeth(shut, -63);
        Path o;
        o.start = {-11, -65};
        o.quadTo({0, -63}, {11, -65});
        o.cubicTo({10, -50}, {-10, -50}, {-11, -65});
        o.close();
        open.add(o, Fill::solid(pal::mouth), {1.8, pal::ink});
        open.add(ellipse({0, -56}, 5, 2.5), Fill::solid(pal::tongue));
        teeth(open, -65);
        round.add(ellipse({0, -59}, 7.5, 8), Fill::solid(pal::mouth), {1.8, pal::ink});
        round.add(ellipse({0, -55}, 4, 2.4), Fill::solid(pal::tongue));
        teeth(round, -66);
        mouth.ids[0] = m.define(shut);
        mouth.ids[1] = m.define(open);
        mouth.ids[2] = m.define(round);
    }
    // The right arm (mirrored for the left), pointing down from the shoulder.
    const int arm = [&] {
        Shape s;
        limb(s, smoothLine({{0, 0}, {2, 12}, {0, 22}}), 11, pink);
        part(s, circle({0, 25}, 7), pink, {0, 25}, 7);
        return m.define(s);
    }();
    const int foot = [&] {
        Shape s;
        part(s, ellipse({0, 0}, 10, 14), pink, {0, 0}, 12);
        for (double x : {-4.0, 0.0, 4.0})
            s.add(circle({x, 6}, 2.2), Fill::solid(inner));
        s.add(ellipse({0, -2}, 4.5, 4), Fill::solid(inner));
        return m.define(s);
    }();

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

    const Pt twinkles[6] = {{22, 30}, {178, 24}, {14, 110}, {186, 112}, {40, 170}, {164, 176}};
    const double cx = 100, floor = 244;
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        s[2] = place(rainbow, at(cx, 160, 0, 1 + 0.015 * wave(t, 2)));
        s[3] = place(cloud, at(26 + 3 * wave(t, 1), 78, 0, 0.7));
        s[4] = place(cloud, at(178 - 3 * wave(t, 1), 92, 0, -0.6, 0.6));
        for (int i = 0; i < 6; ++i) {
            double tw = 0.45 + 0.55 * std::fabs(wave(t, 3, i * 0.17));
            s[5 + i] = place(sparkles[i % 3], at(twinkles[i].x, twinkles[i].y, 90 * t * 2, tw));
        }
        // Twice a loop the balloons lift the bunny high and let it drift back down onto the
        // clouds, where it bounces off again.
        const double phase = std::fmod(t * 2, 1.0);
        const double rise = std::sin(M_PI * phase);
        const double landing = phase < 0.12 ? std::sin(M_PI * phase / 0.12) : (phase > 0.92 ? std::sin(M_PI * (phase - 0.92) / 0.08) * 0.5 : 0);
        const double sway = wave(t, 2);
        const Pt feet = {cx + 8 * sway, floor - 44 * rise};
        const Matrix root = at(feet.x, feet.y, 4 * sway) * Matrix::scale(0.86 * (1 + 0.08 * landing), 0.86 * (1 - 0.08 * landing));
        // The left hand holds the strings above the head; the right waves.
        const Matrix hand = root * Matrix::translate(-32, -76);
        for (size_t i = 0; i < balloons.size(); ++i)
            s[20 + int(i)] = place(balloons[i], hand * Matrix::rotate(6 * wave(t, 2, 0.2 + i * 0.15) - 4 * sway));
        for (double side : {-1.0, 1.0}) {
            const double kick = 22 * wave(t, 6, side > 0 ? 0.5 : 0) * (rise > 0.1 ? 1 : 0.2);
            s[side < 0 ? 30 : 31] = place(foot, root * at(side * 13, -4, kick));
        }
        s[32] = place(ear, root * at(-14, -104, -14 + 8 * wave(t, 4)));
        s[33] = place(ear, root * at(14, -104, 14 - 8 * wave(t, 4, 0.3) + 20 * landing));
        s[34] = place(body, root);
        s[35] = place(mouth[word.mouth(f - kPraiseFrame)], root);
        s[36] = place(arm, root * at(-20, -54, 150) * Matrix::scale(-1, 1));
        s[37] = place(arm, root * at(20, -54, -120 + 30 * wave(t, 8)));
        // The cloud bank it lands on, in front of the rainbow's feet and the bunny's toes.
        for (int i = 0; i < 4; ++i)
            s[40 + i] = place(cloud, at(-10 + i * 72 + 2 * wave(t, 1, i * 0.25), m.height() + 2, 0, i % 2 ? -1.8 : 1.8, 1.5));
        if (f == kPraiseFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
