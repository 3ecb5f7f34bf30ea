// Reward: a green frog leaps high off its lily pad with arms and legs flung wide, twice a
// loop, and lands with a splash while hearts float up from the pond; a bouncy fanfare, then
// "¡Lo lograste!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeFeliz3()
{
    // Portrait, like most of its players; the pond runs on far to the sides for the wide one.
    Movie m(200, 247, kFps, rgb(0xffffff));
    const int backdrop = defineBackdrop(m, rgb(0xc9ecff), rgb(0xf1fbe6));
    const int hill = defineHill(m, 380, 60, rgb(0x8fd86f));
    const int cloud = defineCloud(m, 58);
    const double waterY = 176;
    const int water = [&] {
        Shape s;
        s.add(rect(-kFarEdge, 0, 2 * kFarEdge, kFarEdge), Fill::linear({0, 0}, {0, 70}, {{0, rgb(0x6cc6f0)}, {1, rgb(0x3f9ad8)}}), outline());
        for (int i = -6; i <= 6; ++i)
            s.stroke(smoothLine({{i * 34.0 - 10, 18.0 + 14 * (i & 1)}, {i * 34.0, 15.0 + 14 * (i & 1)}, {i * 34.0 + 12, 18.0 + 14 * (i & 1)}}),
                     {2.2, rgb(0xffffff, 150)});
        return m.define(s);
    }();
    const Rgba padGreen = rgb(0x3fae4a);
    auto padShape = [&](double rx, double ry) {
        Shape s;
        // A round leaf with a notch cut in at the front.
        Path p = arc({0, 0}, rx, ry, 100, 440);
        p.lineTo({0, 0});
        p.close();
        part(s, p, padGreen, {0, 0}, rx);
        for (double a : {150.0, 210.0, 270.0, 330.0, 30.0})
            s.stroke(polyline({{0, 0}, {0.75 * rx * std::cos(a * M_PI / 180), 0.75 * ry * std::sin(a * M_PI / 180)}}), {1.5, darker(padGreen, 0.3)});
        return m.define(s);
    };
    const int pad = padShape(70, 17), padSmall = padShape(30, 8);
    const int lily = [&] {
        Shape s;
        for (double a : {-160.0, -20.0, -125.0, -55.0, -90.0}) {
            Pt c = {13 * std::cos(a * M_PI / 180), 6 + 13 * std::sin(a * M_PI / 180)};
            part(s, ellipse(c, 6.5, 12, a + 90), pal::pink, c, 10, 0.8);
        }
        s.add(circle({0, 2}, 5), Fill::solid(pal::yellow), outline(0.7));
        return m.define(s);
    }();
    const int reeds = [&] {
        Shape s;
        for (double x : {-10.0, 0.0, 9.0}) {
            double top = x == 0 ? -88 : -70 + 2 * std::fabs(x);
            s.stroke(smoothLine({{x, 0}, {x * 1.2, top * 0.5}, {x * 1.6, top}}), {5, pal::ink});
            s.stroke(smoothLine({{x, 0}, {x * 1.2, top * 0.5}, {x * 1.6, top}}), {2.6, rgb(0x4aa83c)});
            part(s, roundRect(x * 1.5 - 5, top + 8, 10, 24, 5), pal::brown, {x * 1.5, top + 18}, 12, 0.8);
        }
        for (double side : {-1.0, 1.0})
            part(s, blobPath({{0, 0}, {side * 8, -30}, {side * 24, -52}, {side * 12, -22}}), rgb(0x5cc24a), {side * 10, -26}, 26, 0.8);
        return m.define(s);
    }();
    const int heart = defineHeart(m, 24, pal::red), heartPink = defineHeart(m, 20, pal::pink);
    const int drop = [&] {
        Shape s;
        Path d;
        d.start = {0, -7};
        d.cubicTo({4, -1}, {5, 3}, {0, 5}).cubicTo({-5, 3}, {-4, -1}, {0, -7});
        s.add(d, Fill::solid(rgb(0x8fd6ff)), {1.6, rgb(0x2f7dbf)});
        return m.define(s);
    }();
    const int ripple = [&] {
        Shape s;
        s.stroke(ellipse({0, 0}, 80, 18), {3, rgb(0xffffff, 200)});
        return m.define(s);
    }();

    // The frog, seen from in front, its origin where it sits.
    const Rgba green = rgb(0x59c43f), belly = rgb(0xe4f7a8);
    const int body = [&] {
        Shape s;
        part(s, ellipse({0, -32}, 38, 32), green, {0, -32}, 38);
        s.add(ellipse({0, -26}, 24, 21), Fill::solid(belly));
        part(s, ellipse({0, -68}, 46, 30), green, {0, -68}, 46);
        // Eyes bulging on top of the head.
        for (double side : {-1.0, 1.0}) {
            Pt e = {side * 24, -92};
            part(s, circle(e, 16), green, e, 16);
            s.add(circle({e.x, e.y + 1}, 11), Fill::solid(pal::white), outline(0.6));
            s.add(ellipse({e.x + side * 1.5, e.y + 2}, 6, 7.5), Fill::solid(pal::ink));
            s.add(circle({e.x + side * 1.5 - 2.2, e.y - 1.5}, 2.4), Fill::solid(pal::white));
        }
        for (double side : {-1.0, 1.0})
            s.add(ellipse({side * 32, -58}, 8, 5), Fill::solid(pal::cheek));
        for (double side : {-1.0, 1.0})
            s.add(circle({side * 5, -74}, 1.6), Fill::solid(darker(green, 0.5)));
        shine(s, {-26, -80}, 8, 4, -30, 150);
        return m.define(s);
    }();
    // A wide frog's mouth right across the face, in the three shapes speech needs.
    Mouths mouth;
    {
        Shape shut, open, round;
        shut.stroke(arc({0, -70}, 22, 12, 25, 155), {3, pal::ink});
        Path o;
        o.start = {-24, -64};
        o.quadTo({0, -58}, {24, -64});
        o.cubicTo({20, -46}, {-20, -46}, {-24, -64});
        o.close();
        open.add(o, Fill::solid(pal::mouth), {2.2, pal::ink});
        open.add(ellipse({0, -54}, 10, 3.5), Fill::solid(pal::tongue));
        round.add(ellipse({0, -57}, 11, 10), Fill::solid(pal::mouth), {2.2, pal::ink});
        round.add(ellipse({0, -52}, 6, 3), Fill::solid(pal::tongue));
        mouth.ids[0] = m.define(shut);
        mouth.ids[1] = m.define(open);
        mouth.ids[2] = m.define(round);
    }
    auto webbedFoot = [&](Shape& s, Pt at, double size, double rotDeg) {
        Matrix k = Matrix::translate(at.x, at.y) * Matrix::rotate(rotDeg) * Matrix::scale(size);
        Path p = polygon({k.map({-1, 0}), k.map({-0.9, 0.8}), k.map({0, 1.1}), k.map({0.9, 0.8}), k.map({1, 0})}, size * 0.35);
        part(s, p, green, at, size);
    };
    // The right arm (mirrored for the left), from the shoulder down to a webbed hand.
    const int arm = [&] {
        Shape s;
        webbedFoot(s, {0, 30}, 8, 0);
        limb(s, smoothLine({{0, 0}, {3, 16}, {0, 30}}), 11, green);
        return m.define(s);
    }();
    // The right leg folded as it sits, and stretched out as it leaps.
    const int legFolded = [&] {
        Shape s;
        webbedFoot(s, {12, -2}, 11, -10);
        part(s, ellipse({0, -20}, 16, 22, -20), green, {0, -20}, 20);
        return m.define(s);
    }();
    const int legStretched = [&] {
        Shape s;
        webbedFoot(s, {16, 46}, 11, -20);
        limb(s, smoothLine({{0, 0}, {10, 22}, {16, 46}}), 14, green);
        return m.define(s);
    }();

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

    const double cx = 100, padY = 214;
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        s[2] = place(cloud, at(34 + 4 * wave(t, 1), 34, 0, 0.8));
        s[3] = place(cloud, at(168 - 4 * wave(t, 1), 62, 0, -0.6, 0.6));
        s[4] = place(hill, at(cx, 148));
        s[5] = place(water, at(cx, waterY));
        // Reeds by the bank, inside the stage and on past it for the wide player, none across
        // its edges.
        const double reedX[4] = {-46, 36, 166, 248};
        for (int i = 0; i < 4; ++i)
            s[6 + i] = place(reeds, at(reedX[i], waterY + 8 + 2 * (i % 2), 3 * wave(t, 2, i * 0.3)) * Matrix::scale(i % 2 ? -0.9 : 1, i % 2 ? 0.9 : 1));
        s[10] = place(padSmall, at(30, 232));
        s[11] = place(lily, at(30, 230));
        // Two leaps a loop: crouch, fly up spread like a star, land with a splash.
        const double phase = std::fmod(t * 2, 1.0);
        const double crouch = phase < 0.14 ? std::sin(M_PI * phase / 0.14) : 0;
        const double air = phase >= 0.14 && phase < 0.7 ? (phase - 0.14) / 0.56 : -1;
        const double up = air >= 0 ? std::sin(M_PI * air) : 0;
        const double land = phase >= 0.7 ? (phase - 0.7) / 0.3 : -1;
        const double squash = land >= 0 ? 0.12 * std::sin(M_PI * land) : 0.1 * crouch - 0.06 * up;
        const double padDip = land >= 0 ? 3 * std::sin(M_PI * land) : 0;
        s[12] = place(pad, at(cx, padY + padDip));
        // The splash: rings spread on the water and drops fly out as it lands.
        if (land >= 0) {
            for (int r = 0; r < 2; ++r) {
                double k = clamp01(land * 1.3 - r * 0.3);
                if (k > 0)
                    s[13 + r] = place(ripple, at(cx, padY + 4, 0, 0.9 + 0.5 * k), ColorX::alpha(1 - k));
            }
            for (int i = 0; i < 6; ++i) {
                double side = i < 3 ? -1 : 1;
                double k = clamp01(land * 1.6);
                double vx = side * (40 + 22 * (i % 3)), vy = -(70 + 20 * (i % 3));
                if (k < 1)
                    s[60 + i] = place(drop, at(cx + side * 50 + vx * k, padY + vy * k + 110 * k * k, side * 30 * k));
            }
        }
        const double jump = 88 * up;
        const Matrix root = at(cx, padY + padDip - jump + 2, 8 * up * wave(t, 1)) * Matrix::scale(1 + squash, 1 - squash);
        // Arms fly up and legs stretch out in the air.
        const double armUp = up > 0 ? std::min(1.0, up * 2.5) : 0;
        const double armDeg = 10 + 115 * armUp + 8 * wave(t, 8);
        const bool spread = up > 0.12;
        for (double side : {-1.0, 1.0}) {
            const int k = side < 0 ? 0 : 1;
            if (spread)
                s[30 + k] = place(legStretched, root * at(side * 22, -16, -side * 20 * up) * Matrix::scale(side, 1));
            else
                s[30 + k] = place(legFolded, root * at(side * 30, 0) * Matrix::scale(side, 1));
        }
        s[32] = place(body, root);
        s[33] = place(mouth[word.mouth(f - kPraiseFrame)], root);
        for (double side : {-1.0, 1.0})
            s[side < 0 ? 34 : 35] = place(arm, root * at(side * 34, -44, -side * armDeg) * Matrix::scale(side, 1));
        // Hearts float up from the pond, swaying, each once a loop.
        for (int i = 0; i < 6; ++i) {
            double p = std::fmod(t + i / 6.0, 1.0);
            double x = 20 + std::fmod(i * 67.0, 160.0) + 10 * wave(p, 1.5, i * 0.3);
            double y = waterY - p * (waterY + 20);
            double a = p < 0.1 ? p / 0.1 : (p > 0.85 ? (1 - p) / 0.15 : 1);
            s[15 + i] = place(i % 2 ? heartPink : heart, at(x, y, 12 * wave(p, 2, i * 0.2)), ColorX::alpha(a));
        }
        if (f == kPraiseFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
