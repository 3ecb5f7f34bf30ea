#include "HostileMovies.h"

#include "SwfWriter.h"

#include <algorithm>

namespace movietest {

namespace {

constexpr int StageWidth = 550, StageHeight = 400;  // pixels
constexpr int Width = StageWidth * 20, Height = StageHeight * 20;

// Record deltas are written in 17 bits: long runs go in several steps.
void longLine(ShapeWriter& s, int dx, int dy)
{
    constexpr int Step = 60000;
    while (dx != 0 || dy != 0) {
        int x = std::clamp(dx, -Step, Step), y = std::clamp(dy, -Step, Step);
        s.lineTo(x, y);
        dx -= x;
        dy -= y;
    }
}

} // namespace

QByteArray denseCombMovie(int edges, int placements)
{
    SwfWriter w(StageWidth, StageHeight, 12);
    w.background(255, 255, 255);
    ShapeWriter s;
    int fill = s.solidFill({40, 90, 200});
    s.change(-1, fill, -1, true, 0, 0);
    // Teeth one twip apart, then down, back under them and up to the start.
    for (int i = 0; i < edges; ++i)
        s.lineTo(1, i % 2 == 0 ? Height : -Height);
    const int endY = edges % 2 == 0 ? 0 : Height;
    longLine(s, 0, Height + 200 - endY);
    longLine(s, -edges, 0);
    longLine(s, 0, -(Height + 200));
    w.defineShape(1, s, 3, std::max(edges, 1), Height + 200);
    for (int i = 0; i < placements; ++i) {
        SwfWriter::Place p;
        p.depth = i + 1;
        p.characterId = 1;
        p.hasMatrix = true;
        p.sx = double(Width) / std::max(edges, 1);
        p.tx = (i * 37) % 400;
        w.place(p);
    }
    w.showFrame();
    w.end();
    return w.file('C');
}

QByteArray zigzagLineMovie(int segments, int width, int spread)
{
    SwfWriter w(StageWidth, StageHeight, 12);
    w.background(255, 255, 255);
    ShapeWriter s;
    int line = s.line(width, {200, 40, 40});
    s.change(-1, -1, line, true, 400, 400);
    // Up and down the stage, moving right every other segment.
    for (int i = 0; i < segments; ++i)
        s.lineTo(i % 2 * spread, i % 2 == 0 ? Height - 800 : -(Height - 800));
    w.defineShape(1, s, 3, Width, Height);
    SwfWriter::Place p;
    p.characterId = 1;
    w.place(p);
    w.showFrame();
    w.end();
    return w.file('C');
}

} // namespace movietest
