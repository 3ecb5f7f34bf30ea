// Reward: a baby elephant, seen from the side, stamps for joy, flaps its ears and trumpets a
// fountain of confetti out of its trunk; a marching fanfare, then "¡Excelente!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeFeliz2()
{
    // Portrait, like the reward players: the elephant on the grass, its confetti filling the sky.
    Movie m(200, 238, kFps, rgb(0xffffff));
    const int backdrop = defineBackdrop(m, rgb(0xbfe3ff), rgb(0xf4fbff));
    const int hill = defineHill(m, 360, 46, rgb(0x79cf5a));
    const int cloud = defineCloud(m, 60);
    const std::vector<int> confetti = defineConfetti(m, 17);
    const int shadow = defineShadow(m, 70, 8);

    // The elephant faces right; its origin is on the ground under its middle.
    const Rgba grey = rgb(0x93aee0);
    const Rgba far = darker(grey, 0.18);
    auto legShape = [&](Rgba c) {
        Shape s;
        part(s, roundRect(-12, -44, 24, 46, 9), c, {0, -26}, 26);
        for (double x : {-6.0, 1.0, 8.0})
            s.add(ellipse({x - 1, -3}, 3.2, 2.6), Fill::solid(rgb(0xfff6ea)), outline(0.5));
        return m.define(s);
    };
    const int legFar = legShape(far), legNear = legShape(grey);
    const int tail = [&] {
        Shape s;
        s.stroke(smoothLine({{0, 0}, {-10, 6}, {-14, 18}}), {4.5, pal::ink});
        s.stroke(smoothLine({{0, 0}, {-10, 6}, {-14, 18}}), {2, grey});
        part(s, ellipse({-14, 21}, 4, 6, 15), darker(grey, 0.4), {-14, 21}, 5, 0.7);
        return m.define(s);
    }();
    const int body = [&] {
        Shape s;
        part(s, ellipse({-14, -64}, 60, 44), grey, {-14, -64}, 60);
        s.add(ellipse({-24, -48}, 30, 13, -6), Fill::solid(rgb(0xffffff, 50)));
        shine(s, {-42, -90}, 14, 6, -20, 140);
        return m.define(s);
    }();
    const int head = [&] {
        Shape s;
        part(s, circle({40, -96}, 38), grey, {40, -96}, 38);
        shine(s, {26, -118}, 9, 5, -40, 160);
        // The eye, its cheek and a friendly brow.
        s.add(ellipse({64, -84}, 7, 4.5), Fill::solid(pal::cheek));
        s.add(ellipse({56, -106}, 4.8, 6.6), Fill::solid(pal::ink));
        s.add(circle({54.5, -108.5}, 1.9), Fill::solid(pal::white));
        s.stroke(arc({57, -110}, 7, 6, 215, 300), {2, pal::ink});
        return m.define(s);
    }();
    // The ear, hinged on its front edge so it can flap.
    const int ear = [&] {
        Shape s;
        Path e = blobPath({{0, -30}, {-34, -34}, {-42, 2}, {-24, 30}, {0, 26}, {6, 0}});
        part(s, e, grey, {-18, -4}, 36);
        s.add(blobPath({{-4, -20}, {-28, -24}, {-32, 2}, {-18, 20}, {-2, 16}, {0, 0}}), Fill::solid(rgb(0xffb3c8)));
        return m.define(s);
    }();
    // The trunk rises from the front of the face and curls up; its origin is where it joins.
    const Pt tipAt = {28, -82};
    const int trunk = [&] {
        Shape s;
        const Path p = smoothLine({{0, 0}, {16, 4}, {30, -16}, {34, -50}, {tipAt.x, tipAt.y}});
        limb(s, p, 21, grey);
        for (double k : {0.3, 0.48, 0.64})
            s.stroke(arc({30 - 10 * k, -60 * k}, 8, 3, 200, 340), {1.5, darker(grey, 0.35)});
        part(s, ellipse(tipAt, 12, 7, -14), grey, tipAt, 10);
        s.add(ellipse({tipAt.x + 0.5, tipAt.y - 0.5}, 6.5, 3.4, -14), Fill::solid(darker(grey, 0.45)));
        return m.define(s);
    }();
    // The mouth under the trunk, in the three shapes speech needs.
    Mouths mouth;
    {
        Shape shut, open, round;
        shut.stroke(arc({58, -74}, 8, 6, 30, 150), {2.6, pal::ink});
        Path o;
        o.start = {48, -76};
        o.quadTo({58, -72}, {67, -77});
        o.cubicTo({67, -62}, {49, -62}, {48, -76});
        o.close();
        open.add(o, Fill::solid(pal::mouth), {2, pal::ink});
        open.add(ellipse({58, -67}, 5, 2.4), Fill::solid(pal::tongue));
        round.add(ellipse({58, -69}, 7, 8), Fill::solid(pal::mouth), {2, pal::ink});
        round.add(ellipse({58, -65}, 4, 2.4), Fill::solid(pal::tongue));
        mouth.ids[0] = m.define(shut);
        mouth.ids[1] = m.define(open);
        mouth.ids[2] = m.define(round);
    }

    Tune fan = tuneAt(5, 12);
    fan.line("d5/.5 d5/.5 d5/.5 g5/1 b5/.5 a5/.5 b5/.5 d6!/2", Inst::Horn, 0.9);
    fan.line("b4+d5/1.5 b4+d5/1 d5+g5/1 d5+f#5+a5/.5 d5+g5+b5/2", Inst::Pad, 0.3);
    fan.line("g2/.5 g2/.5 g2/.5 g2/1 d3/1 d3/.5 g2/2", Inst::Bass, 0.8);
    fan.line("r/4 g6/.25 b6/.25 d7/1", Inst::Bell, 0.45);
    fan.line("r/9.25 b5/.5 d6/.5 g6/1", Inst::MusicBox, 0.25);
    fan.drums(Drum::Block, 0, 0.5, 3, 0.7);
    fan.drums(Drum::Kick, 1.5, 1, 3, 0.55);
    fan.drums(Drum::Shaker, 2, 0.5, 6, 0.8);
    const int frames = tuneFrames(fan);
    const Spoken word = rewardSounds(m, fan, "¡Excelente!", 62);

    const double gx = 84, gy = 224;
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        s[2] = place(cloud, at(30 + 4 * wave(t, 1), 40, 0, 0.8));
        s[3] = place(cloud, at(170 - 4 * wave(t, 1), 70, 0, -0.7, 0.7));
        s[4] = place(hill, at(100, 186));
        // Stamping from foot to foot, the body rocking with each step; the trunk swings up
        // on each trumpet and the ears flap.
        const double step = wave(t, 3);
        const double liftA = 7 * std::max(0.0, step), liftB = 7 * std::max(0.0, -step);
        const double rock = 3 * step;
        const double blow = 0.5 + 0.5 * wave(t, 6);
        const Matrix root = at(gx, gy - 2 * std::fabs(step), rock, 0.84);
        s[48] = place(shadow, at(gx + 6, gy + 1));
        s[50] = place(legFar, root * Matrix::translate(-38, -liftB));
        s[51] = place(legFar, root * Matrix::translate(16, -liftA));
        s[52] = place(tail, root * at(-72, -72, 20 * wave(t, 6)));
        s[53] = place(legNear, root * Matrix::translate(-52, -liftA));
        s[54] = place(legNear, root * Matrix::translate(2, -liftB));
        s[55] = place(body, root);
        s[56] = place(head, root);
        s[57] = place(mouth[word.mouth(f - kPraiseFrame)], root);
        const Matrix trunkAt = root * at(70, -90, 14 - 22 * blow);
        s[58] = place(trunk, trunkAt);
        s[59] = place(ear, root * at(30, -94, 0, 1 - 0.35 * std::fabs(wave(t, 6, 0.2)), 1));
        // A fountain of confetti out of the trunk: each bit shoots up, spreads and falls, one in
        // three behind the elephant.
        const Pt tip = trunkAt.map({tipAt.x, tipAt.y - 6});
        for (int i = 0; i < 26; ++i) {
            double p = std::fmod(t * 2 + i / 26.0, 1.0);
            double spread = (std::fmod(i * 0.618, 1.0) - 0.5) * 2;
            double vx = 160 * spread - 110, vy = -(180 + 60 * std::fmod(i * 0.37, 1.0));
            double x = tip.x + vx * p, y = tip.y + vy * p + 340 * p * p;
            double grow = std::min(1.0, p / 0.08);
            double spin = 360 * p * (i % 2 ? 2 : -3) + i * 40;
            double flip = 0.35 + 0.65 * std::fabs(wave(p, 3, i * 0.11));
            s[(i % 3 ? 70 : 20) + i] = place(confetti[size_t(i) % confetti.size()], at(x, y, spin) * Matrix::scale(grow, grow * flip));
        }
        if (f == kPraiseFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
