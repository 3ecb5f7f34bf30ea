// Reward: an orange tabby cat claps and claps, swishing its tail, then throws both paws up,
// while rockets rise and burst into big stars in the evening sky; a festive fanfare, then
// "¡Bravo!".

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeFeliz5()
{
    // Portrait, like the reward players: plenty of evening sky for the fireworks.
    Movie m(200, 233, kFps, rgb(0xffffff));
    const int backdrop = defineBackdrop(m, rgb(0x3d4fb0), rgb(0xa9c6ff));
    const int hill = defineHill(m, 340, 60, rgb(0x4fb548));
    // A crescent moon: a full moon with the sky's own gradient laid over most of it.
    const Pt moonAt = {176, 22};
    const int moon = [&] {
        Shape s;
        part(s, circle({0, 0}, 14), rgb(0xfff1a6), {0, 0}, 14);
        s.add(circle({7, -5}, 13), Fill::linear({0, -moonAt.y}, {0, m.height() - moonAt.y}, {{0, rgb(0x3d4fb0)}, {1, rgb(0xa9c6ff)}}));
        return m.define(s);
    }();
    const int skyStar = defineStar(m, 8, rgb(0xffe97a));
    const Rgba burstColors[4] = {pal::yellow, rgb(0xff6a8a), rgb(0x7fd3ff), rgb(0x9cf07f)};
    int burstStar[4], burstSpark[4];
    for (int i = 0; i < 4; ++i) {
        burstStar[i] = defineStar(m, 10, burstColors[i]);
        burstSpark[i] = defineSparkle(m, 11, burstColors[i]);
    }
    const int rocket = [&] {
        Shape s;
        s.add(ellipse({0, 12}, 3, 14), Fill::linear({0, 0}, {0, 26}, {{0, rgb(0xfff3b0, 220)}, {1, rgb(0xfff3b0, 0)}}));
        s.add(circle({0, 0}, 4.5), Fill::radial({0, 0}, 4.5, {{0, pal::white}, {1, pal::yellow}}), outline(0.6));
        return m.define(s);
    }();

    // The cat, seen from in front, its origin between its feet.
    const Rgba orange = rgb(0xff9a3c), stripe = rgb(0xc95f14), cream = rgb(0xfff0dc);
    const int tail = [&] {
        Shape s;
        const Path p = smoothLine({{0, 0}, {30, -6}, {40, -36}, {30, -62}});
        limb(s, p, 14, orange);
        for (Pt c : {Pt{26, -5}, Pt{38, -24}, Pt{37, -45}})
            s.add(ellipse(c, 5, 2.5, c.y < -10 ? 80 : 10), Fill::solid(stripe));
        part(s, circle({30, -62}, 6), cream, {30, -62}, 6);
        return m.define(s);
    }();
    const int body = [&] {
        Shape s;
        part(s, ellipse({0, -34}, 30, 33), orange, {0, -34}, 32);
        s.add(ellipse({0, -28}, 18, 22), Fill::solid(cream));
        for (double side : {-1.0, 1.0})
            for (double y : {-46.0, -32.0})
                s.stroke(smoothLine({{side * 29, y}, {side * 24, y + 2}, {side * 21, y + 6}}), {2.6, stripe});
        // Ears, then the head over them.
        for (double side : {-1.0, 1.0}) {
            std::vector<Pt> ear = {{side * 10, -118}, {side * 34, -140}, {side * 38, -102}};
            part(s, polygon(ear, 5), orange, ear[1], 24);
            s.add(polygon({{side * 18, -116}, {side * 32, -130}, {side * 33, -108}}, 3), Fill::solid(rgb(0xffb3c8)));
        }
        part(s, ellipse({0, -96}, 42, 34), orange, {0, -96}, 40);
        for (double x : {-8.0, 0.0, 8.0})
            s.stroke(polyline({{x, -129}, {x * 0.8, -117}}), {3.2, stripe});
        for (double side : {-1.0, 1.0})
            s.stroke(smoothLine({{side * 41, -98}, {side * 35, -96}, {side * 30, -92}}), {2.6, stripe});
        shine(s, {-22, -116}, 8, 4.5, -30, 150);
        // The muzzle, two round cheeks, the nose and whiskers.
        for (double side : {-1.0, 1.0})
            s.add(ellipse({side * 8, -80}, 11, 8.5), Fill::solid(cream));
        face(s, {0, -98}, 62, {false, false, true}, false);
        s.add(polygon({{-5, -87}, {5, -87}, {0, -81}}, 1.8), Fill::solid(rgb(0xe0487a)), outline(0.6));
        for (double side : {-1.0, 1.0})
            for (double k : {-1.0, 0.0, 1.0})
                s.stroke(polyline({{side * 18, -81 + k * 3}, {side * 40, -83 + k * 7}}), {1.3, pal::ink});
        return m.define(s);
    }();
    // A cat's mouth under the nose, in the three shapes speech needs.
    Mouths mouth;
    {
        Shape shut, open, round;
        shut.stroke(smoothLine({{-9, -78}, {-4, -73}, {0, -79}}), {2.2, pal::ink});
        shut.stroke(smoothLine({{0, -79}, {4, -73}, {9, -78}}), {2.2, pal::ink});
        Path o;
        o.start = {-10, -79};
        o.quadTo({0, -77}, {10, -79});
        o.cubicTo({9, -64}, {-9, -64}, {-10, -79});
        o.close();
        open.add(o, Fill::solid(pal::mouth), {1.8, pal::ink});
        open.add(ellipse({0, -70}, 5, 2.5), Fill::solid(pal::tongue));
        round.add(ellipse({0, -73}, 6.5, 7), Fill::solid(pal::mouth), {1.8, pal::ink});
        round.add(ellipse({0, -70}, 3.5, 2.2), Fill::solid(pal::tongue));
        for (Shape* sh : {&shut, &open, &round})
            sh->add(polygon({{-5, -87}, {5, -87}, {0, -81}}, 1.8), Fill::solid(rgb(0xe0487a)), outline(0.6));
        mouth.ids[0] = m.define(shut);
        mouth.ids[1] = m.define(open);
        mouth.ids[2] = m.define(round);
    }
    // The right arm (mirrored for the left), pointing down from the shoulder to a round paw.
    const int arm = [&] {
        Shape s;
        limb(s, smoothLine({{0, 0}, {2, 12}, {0, 24}}), 13, orange);
        s.stroke(polyline({{-5, 10}, {5, 12}}), {2.4, stripe});
        part(s, circle({0, 27}, 8), cream, {0, 27}, 8);
        return m.define(s);
    }();
    const int foot = [&] {
        Shape s;
        part(s, ellipse({0, 0}, 13, 8), cream, {0, 0}, 12);
        for (double x : {-4.5, 0.0, 4.5})
            s.stroke(polyline({{x, -4}, {x, 1}}), {1.2, darker(cream, 0.5)});
        return m.define(s);
    }();
    const int shadow = defineShadow(m, 40, 6);

    Tune fan = tuneAt(5, 12);
    fan.line("f4/.5 a4/.5 c5/.5 f5/1 c5/.5 f5/.5 a5/.5 c6!/2", Inst::Horn, 0.9);
    fan.line("r/2 f5/.5 a5/.5 c6/.5 r/.5 f6/2", Inst::Bell, 0.45);
    fan.line("f3+a3+c4/2.5 f3+a3+c4/1 f3+c4+f4/2.5", Inst::Pad, 0.3);
    fan.line("f2/.5 f2/.5 f2/.5 c3/1 c3/.5 f2/1 f2/2", Inst::Bass, 0.8);
    fan.drums(Drum::Kick, 0, 1, 6, 0.55);
    fan.drums(Drum::Shaker, 0.5, 1, 6, 0.8);
    fan.line("r/8.75 c6/.5 a5/.5 f5/.5 c6/.5 f6/1", Inst::MusicBox, 0.3);
    const int frames = tuneFrames(fan);
    const Spoken word = rewardSounds(m, fan, "¡Bravo!", 62);

    const Pt skyStars[6] = {{14, 16}, {70, 12}, {128, 16}, {188, 104}, {10, 100}, {104, 84}};
    const Pt bursts[3] = {{46, 52}, {150, 66}, {98, 34}};
    const double cx = 100, ground = 221;
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(backdrop, {});
        s[2] = place(moon, at(moonAt.x, moonAt.y));
        for (int i = 0; i < 6; ++i) {
            double a = 0.45 + 0.55 * std::fabs(wave(t, 2, i * 0.19));
            s[3 + i] = place(skyStar, at(skyStars[i].x, skyStars[i].y, 15 * wave(t, 1, i * 0.1), 0.8 + 0.25 * a), ColorX::alpha(a));
        }
        // Three rockets a loop, one after another: each rises, bursts into a ring of stars
        // and sparkles that drift down and fade.
        for (int b = 0; b < 3; ++b) {
            const double p = std::fmod(t * 1.5 - b / 3.0 + 3, 1.0);
            const Pt c = bursts[b];
            if (p < 0.22) {
                double k = ease(p / 0.22);
                s[10 + b * 12] = place(rocket, at(c.x - 20 * (1 - k), ground - 60 + (c.y - ground + 60) * k, -16 * (1 - k)));
                continue;
            }
            const double q = (p - 0.22) / 0.78;
            for (int i = 0; i < 10; ++i) {
                double a = i * 36 + b * 12;
                double d = 48 * (1 - (1 - q) * (1 - q));
                double fall = 16 * q * q;
                int piece = i % 2 ? burstSpark[(i / 2 + b) % 4] : burstStar[(i / 2 + b) % 4];
                s[10 + b * 12 + i] = place(piece, at(c.x + d * std::cos(a * M_PI / 180), c.y + d * std::sin(a * M_PI / 180) + fall, a + 90 * q,
                                                     0.5 + 0.6 * std::min(1.0, q * 4) - 0.2 * q),
                                           ColorX::alpha(q > 0.6 ? (1 - q) / 0.4 : 1));
            }
        }
        s[50] = place(hill, at(cx, 170));
        // Clapping on every beat for most of the loop, then both paws thrown up in a cheer.
        const double beat = t * 12;
        const bool cheer = beat >= 8.5 && beat < 11.5;
        const double clap = std::pow(std::fabs(std::cos(M_PI * beat)), 3);
        const double bob = cheer ? std::sin(M_PI * (beat - 8.5) / 3) : 0.25 * clap;
        const Matrix root = at(cx, ground - 26 * bob, 3 * wave(t, 3)) * Matrix::scale(0.96, 0.96);
        s[58] = place(shadow, at(cx, ground + 2, 0, 1 - 0.3 * bob));
        s[60] = place(tail, root * at(14, -22, 12 * wave(t, 3)));
        s[61] = place(foot, root * at(-14, -2, -8));
        s[62] = place(foot, root * at(14, -2, 8));
        s[63] = place(body, root);
        s[64] = place(mouth[word.mouth(f - kPraiseFrame)], root);
        const double armDeg = cheer ? -150 + 10 * wave(t, 8) : 18 + 58 * clap;
        s[65] = place(arm, root * at(-24, -58, -armDeg) * Matrix::scale(-1, 1));
        s[66] = place(arm, root * at(24, -58, armDeg));
        if (f == kPraiseFrame)
            m.root().startSound(word.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
