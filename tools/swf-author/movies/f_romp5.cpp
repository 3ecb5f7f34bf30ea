// Background loop: a bee buzzes round and round a big flower, wings fluttering;
// a bouncy bell and marimba tune.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeRomp5()
{
    // Tall and narrow, like the puzzle screen that shows it: a tall flower to fly round.
    Movie m(90, 205, kFps, rgb(0xffffff));
    const int sky = defineBackdrop(m, rgb(0xfff3c4), rgb(0xfffdf2));
    const int ground = defineHill(m, 280, 36, pal::green);
    // The big flower, stem, leaves and head all one piece, so it nods from the ground with
    // no join to show.
    const double tall = 114;
    const int flower = [&] {
        Shape s;
        const Path line = smoothLine({{0, 0}, {-5, -24}, {3, -46}, {-1, -80}, {0, -tall}});
        for (double side : {-1.0, 1.0}) {
            const double y = side < 0 ? -20 : -42;
            Path leaf = blobPath({{0, y}, {side * 9, y - 9}, {side * 21, y - 11}, {side * 12, y + 2}});
            part(s, leaf, pal::green, {side * 9, y - 5}, 11, 0.8);
        }
        s.stroke(line, {8, pal::ink});
        s.stroke(line, {4.8, pal::green});
        flowerHead(s, {0, -tall}, 16, pal::pink);
        return m.define(s);
    }();
    const int small = defineFlower(m, 8, pal::blue);
    const int bee = [&] {
        Shape s;
        s.stroke(polyline({{-17, 0}, {-23, 0}}), {2.2, pal::ink});
        Path body = blobPath({{-18, 0}, {-12, -12}, {10, -12}, {18, 0}, {10, 12}, {-12, 12}});
        s.add(body, Fill::radial({-3, -5}, 22, {{0, lighter(pal::yellow, 0.4)}, {0.6, pal::yellow}, {1, rgb(0xf2a100)}}), outline(0.9));
        for (double x : {-8.0, 1.0})
            s.add(roundRect(x - 2.5, -11, 5, 22, 2), Fill::solid(pal::ink));
        s.add(circle({11, -2}, 2.6), Fill::solid(pal::ink));
        s.add(circle({10.3, -2.8}, 1), Fill::solid(pal::white));
        s.stroke(arc({11, 3}, 3, 2, 20, 150), {1.1, pal::ink});
        for (double side : {-1.0, 1.0})
            s.stroke(smoothLine({{12, -10}, {14 + side * 2, -17}, {18 + side * 2, -19}}), {1.3, pal::ink});
        return m.define(s);
    }();
    const int wingShape = [&] {
        Shape s;
        s.add(ellipse({0, -9}, 6, 9.5), Fill::solid(rgb(0xe8f6ff, 210)), {1.2, pal::ink});
        return m.define(s);
    }();
    // The wings flutter on their own little timeline, four frames round and round.
    const int wing = [&] {
        Timeline flutter;
        for (double k : {1.0, 0.6, 0.3, 0.6}) {
            State st;
            st[1] = place(wingShape, Matrix::scale(1, k));
            flutter.frame(st);
        }
        return m.defineSprite(flutter);
    }();

    Tune t = tuneAt(6, 24);  // 150 beats a minute
    t.line("a5/.5 c#6/.5 e6/1 c#6/.5 a5/.5 b5/1 d6/1  c#6/.5 b5/.5 a5/1 e5/1 r/1  f#5/.5 a5/.5 d6/1 c#6/.5 b5/.5 e6/1 c#6/1  a5/3 r/1",
           Inst::Marimba, 0.85);
    t.line("r/2 e6/.5 r/1.5 r/2 d6/.5 r/1.5 r/2 a6/.5 r/1.5 r/2 e6/.5 r/1.5 r/2 d6/.5 r/1.5 r/2 a6/.5 r/1.5", Inst::Bell, 0.3);
    t.line("a2/2 e3/2 e2/2 b2/2 a2/2 e2/2 d3/2 a2/2 e2/2 e3/2 a2/2 e2/2", Inst::Bass, 0.55);
    t.line("a3+c#4+e4/4 e3+g#3+b3/4 a3+c#4+e4/4 d4+f#4+a4/4 e3+g#3+b3/4 a3+c#4+e4/4", Inst::Pad, 0.22);
    t.drums(Drum::Shaker, 0.5, 1, 24, 0.4);
    t.drums(Drum::Block, 0, 2, 12, 0.35);
    const int frames = tuneFrames(t);
    m.root().setStream(toPcm(music(t, SoundRate::R11k, -18)), SoundRate::R11k);

    for (int f = 0; f < frames; ++f) {
        const double t0 = double(f) / frames;
        State s;
        s[1] = place(sky, {});
        s[2] = place(ground, at(45, 176));
        s[3] = place(small, at(14, 184, 5 * wave(t0, 3)));
        s[4] = place(small, at(78, 186, 5 * wave(t0, 3, 0.5)));
        // The big flower nods from the ground.
        const double nod = 3 * wave(t0, 2, 0.25);
        const double lean = nod * M_PI / 180;
        s[5] = place(flower, at(45, 190, nod));
        const Pt head = {45 + tall * std::sin(lean), 190 - tall * std::cos(lean)};
        // Round and round the flower's head twice a loop, never across it: up one side, over
        // the top, down the other and back under it, facing where it flies. It keeps clear of
        // the stage's sides, as the narrowest players show no more than the stage.
        double a = 2 * M_PI * t0 * 2;
        double x = 45 + 25 * std::sin(a), y = head.y - 56 * std::cos(a);
        bool left = std::cos(a) < 0;
        Matrix root = at(x, y + 2 * wave(t0, 16), -10 * std::sin(a) * (left ? -1 : 1)) * Matrix::scale(left ? -0.72 : 0.72, 0.72);
        s[10] = place(wing, root * Matrix::translate(-2, -8) * Matrix::rotate(-20));
        s[11] = place(bee, root);
        s[12] = place(wing, root * Matrix::translate(3, -9) * Matrix::rotate(15));
        m.root().frame(s);
    }
    return m;
}

} // namespace author
