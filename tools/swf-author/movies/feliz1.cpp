// Reward: a yellow chick bursts out of its egg again and again, flapping its wings, the top
// of the shell bouncing on its head like a hat, while big stars fly out of the nest; a bright
// fanfare, then "¡Muy bien!" from its beak.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

namespace {

// The egg, `rx` by `ry`, standing on (0,0), cracked round its middle: the lower shell
// (lower = true) or the upper one.
Path eggShell(double rx, double ry, bool lower)
{
    const double cy = -ry;
    Path p = lower ? arc({0, cy}, rx, ry, 180, 0) : arc({0, cy}, rx, ry, 180, 360);
    // Both halves end on the right: back to the left along the crack, a zigzag.
    const int teeth = 7;
    for (int i = 1; i < 2 * teeth; ++i) {
        double x = rx - 2 * rx * i / (2 * teeth);
        double y = cy + ((i % 2) ? -0.13 * ry : 0.05 * ry);
        p.lineTo({x, y});
    }
    p.close();
    return p;
}

// The beak seen from in front, opened `gap` pixels: an orange diamond in two halves.
Shape beak(double gap)
{
    Shape s;
    const Rgba orange = rgb(0xff9a1f);
    if (gap > 0) {
        Path inside = polygon({{-9, 5}, {9, 5}, {0, 7 + gap * 1.6}}, 2);
        s.add(inside, Fill::solid(pal::mouth), outline(0.8));
        s.add(ellipse({0, 5 + gap}, 3.5, 1.8), Fill::solid(pal::tongue));
    }
    part(s, polygon({{-9.5, 6 + gap}, {9.5, 6 + gap}, {0, 15 + gap}}, 2.5), darker(orange, 0.05), {0, 9 + gap}, 8, 0.9);
    part(s, polygon({{-11, 6}, {0, -5}, {11, 6}}, 2.5), orange, {0, 2}, 9, 0.9);
    return s;
}

} // namespace

Movie makeFeliz1()
{
    // Portrait, like the reward players: the nest at the bottom, stars flying up the sky.
    Movie m(200, 247, kFps, rgb(0xffffff));
    const int backdrop = defineBackdrop(m, rgb(0xffe9a6), rgb(0xfffaf0));
    // Soft rays turning slowly behind everything, out past the stage.
    const int rays = [&] {
        Shape s;
        Paths wedges;
        const int n = 14;
        const double far = 700;
        for (int i = 0; i < n; ++i) {
            double a0 = 2 * M_PI * i / n, a1 = a0 + M_PI / n;
            wedges.push_back(polygon({{0, 0}, {far * std::cos(a0), far * std::sin(a0)}, {far * std::cos(a1), far * std::sin(a1)}}));
        }
        s.add(wedges, Fill::radial({0, 0}, 260, {{0, rgb(0xffffff, 150)}, {1, rgb(0xffffff, 60)}}));
        return m.define(s);
    }();
    const int hill = defineHill(m, 340, 50, rgb(0x7fd35f));
    const int stars[4] = {defineStar(m, 19, pal::red), defineStar(m, 17, pal::blue), defineStar(m, 18, pal::green),
                          defineStar(m, 20, rgb(0xff9a1f))};

    const double eggRx = 52, eggRy = 62;
    const int shellLow = [&] {
        Shape s;
        Path p = eggShell(eggRx, eggRy, true);
        s.add(p, Fill::radial({-16, -40}, 80, {{0, pal::white}, {0.6, rgb(0xfbf6ec)}, {1, rgb(0xe9dcc6)}}), outline());
        for (Pt c : {Pt{-26, -28}, Pt{18, -18}, Pt{30, -44}, Pt{-6, -10}})
            s.add(circle(c, 5.5), Fill::solid(rgb(0x8fd0ff)));
        return m.define(s);
    }();
    const int shellTop = [&] {
        Shape s;
        s.add(eggShell(eggRx, eggRy, false), Fill::radial({-16, -100}, 70, {{0, pal::white}, {0.6, rgb(0xfbf6ec)}, {1, rgb(0xe9dcc6)}}), outline());
        for (Pt c : {Pt{-20, -92}, Pt{16, -104}, Pt{26, -78}})
            s.add(circle(c, 5.5), Fill::solid(rgb(0x8fd0ff)));
        return m.define(s);
    }();
    const int nest = [&] {
        Shape s;
        const Rgba straw = rgb(0xc98a3a);
        part(s, blobPath({{-78, -6}, {-60, -18}, {0, -14}, {60, -18}, {78, -6}, {70, 14}, {0, 20}, {-70, 14}}), straw, {0, -4}, 70);
        for (int i = 0; i < 9; ++i) {
            double x = -62 + i * 15.5;
            s.stroke(smoothLine({{x - 8, -8.0 + (i % 2) * 5}, {x, 2.0 - (i % 3) * 3}, {x + 10, 6.0 + (i % 2) * 3}}), {2.2, darker(straw, 0.35)});
        }
        return m.define(s);
    }();

    // The chick, its origin the middle of its round body.
    const double R = 44;
    const Rgba yellow = rgb(0xffd21f);
    const int body = [&] {
        Shape s;
        for (int i = -1; i <= 1; ++i) {
            Pt tip = {i * 13.0, -R - 20 + std::fabs(i) * 5};
            part(s, ellipse({tip.x * 0.6, -R - 6}, 6, 15, i * 28), yellow, tip, 12);
        }
        part(s, circle({0, 0}, R), yellow, {0, 0}, R);
        s.add(ellipse({0, 20}, 26, 18), Fill::solid(rgb(0xfff0a0)));
        shine(s, {-22, -24}, 9, 5, -40, 170);
        face(s, {0, -8}, 66, {false, false, true}, false);
        return m.define(s);
    }();
    const int beaks[3] = {m.define(beak(0)), m.define(beak(4)), m.define(beak(8))};
    const int wing = [&] {
        Shape s;
        part(s, blobPath({{-2, -10}, {22, -14}, {40, -2}, {26, 12}, {0, 10}}), darker(yellow, 0.08), {16, -6}, 22);
        for (double y : {-3.0, 4.0})
            s.stroke(smoothLine({{20, y}, {28, y + 1}, {34, y + 3}}), {1.6, darker(yellow, 0.45)});
        return m.define(s);
    }();
    const int foot = [&] {
        Shape s;
        const Rgba orange = rgb(0xff9a1f);
        s.stroke(polyline({{0, -10}, {0, 2}}), {4.5, pal::ink});
        s.stroke(polyline({{0, -10}, {0, 2}}), {2.2, orange});
        for (double a : {-40.0, 0.0, 40.0}) {
            Path toe = polyline({{0, 2}, {9 * std::sin(a * M_PI / 180), 2 + 8 * std::cos(a * M_PI / 180)}});
            limb(s, toe, 6.5, orange);
        }
        return m.define(s);
    }();
    const int shadow = defineShadow(m, 44, 7);

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

    const double cx = 100, eggBase = 232;
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        s[2] = place(rays, at(cx, 120, 360.0 / 14 * 2 * t));
        // Stars fly up out of the nest in a fan, two waves a loop, fading at the top.
        for (int i = 0; i < 8; ++i) {
            double p = std::fmod(t * 2 + i * 0.125, 1.0);
            double a = -90 + (i % 2 ? 1 : -1) * (12 + 13 * (i % 4) + 6 * (i / 4));
            double d = 40 + 150 * ease(p * 1.1);
            double grow = p < 0.12 ? p / 0.12 : 1;
            ColorX fade = ColorX::alpha(p > 0.75 ? 1 - (p - 0.75) / 0.25 : 1);
            s[10 + i] = place(stars[i % 4], at(cx + d * std::cos(a * M_PI / 180), 170 + d * std::sin(a * M_PI / 180), p * 240 + i * 45, grow), fade);
        }
        s[20] = place(hill, at(cx, 196));
        // Three pops a loop: out of the egg with the wings flapping, a wobble back down.
        double phase = std::fmod(t * 3, 1.0);
        double up = phase < 0.6 ? std::sin(M_PI * phase / 0.6) : 0;
        double settle = phase >= 0.6 ? std::sin(M_PI * (phase - 0.6) / 0.4) : 0;
        double flap = up > 0 ? wave(phase, 6) : 0.3 * wave(t, 12);
        Pt c = {cx + 3 * settle * wave(t, 6), eggBase - 78 - 52 * up + 3 * settle};
        const double lean = 6 * settle * wave(t, 6);
        Matrix root = at(c.x, c.y, lean) * Matrix::scale(1 + 0.05 * settle, 1 - 0.05 * settle + 0.04 * up);
        s[28] = place(shadow, at(cx, eggBase + 2, 0, 1 - 0.2 * up));
        s[30] = place(foot, root * at(-15, R + 6, 10 - 20 * up));
        s[31] = place(foot, root * at(15, R + 6, -10 + 20 * up) * Matrix::scale(-1, 1));
        s[32] = place(wing, root * at(-R + 8, 4, 180 - (30 - 55 * flap)) * Matrix::scale(1, -1));
        s[33] = place(wing, root * at(R - 8, 4, 30 - 55 * flap));
        s[34] = place(body, root);
        s[35] = place(beaks[std::clamp(word.mouth(f - kPraiseFrame), 0, 2)], root * Matrix::translate(0, 2));
        // The top of the shell rides on the chick's head, lifted off a little at each pop.
        double hatLift = 16 * std::max(0.0, std::sin(M_PI * (phase - 0.1) / 0.6)) * (phase < 0.7 ? 1 : 0);
        s[36] = place(shellTop, root * at(4, 24 - hatLift, 12 + 10 * hatLift / 16) * Matrix::scale(0.78));
        s[40] = place(shellLow, at(cx, eggBase));
        s[41] = place(nest, at(cx, eggBase + 4));
        if (f == kPraiseFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
