#pragma once

// Drawing helpers in the program's picture style: dark rounded outlines, saturated colours,
// soft highlights. Everything in pixels, y pointing down.

#include "Swf.h"

#include <string>

namespace author {

namespace pal {
const Rgba ink = rgb(0x33262a);
const Rgba white = rgb(0xffffff);
const Rgba yellow = rgb(0xffc61a);
const Rgba lightYellow = rgb(0xffe066);
const Rgba orange = rgb(0xff8c1a);
const Rgba red = rgb(0xf0342c);
const Rgba blue = rgb(0x2f7de1);
const Rgba green = rgb(0x4cbb3f);
const Rgba pink = rgb(0xff8fb1);
const Rgba purple = rgb(0x9b5de5);
const Rgba skin = rgb(0xf3c98b);
const Rgba brown = rgb(0xa8621f);
const Rgba sky = rgb(0xdff1ff);
const Rgba cheek = rgb(0xff8a80, 150);
const Rgba mouth = rgb(0xc81e17);
const Rgba tongue = rgb(0xff9c8f);
} // namespace pal

Rgba lighter(Rgba c, double t);
Rgba darker(Rgba c, double t);

// Closed contours.
Path circle(Pt c, double r);
Path ellipse(Pt c, double rx, double ry, double rotDeg = 0);
Path rect(double x, double y, double w, double h);
Path roundRect(double x, double y, double w, double h, double r);
// A polygon whose corners are rounded off by `round` pixels along each side.
Path polygon(const std::vector<Pt>& pts, double round = 0);
// A smooth closed curve guided by the points (each point pulls the curve towards it).
Path blobPath(const std::vector<Pt>& pts);
Path star(Pt c, double outer, double inner, int points = 5, double rotDeg = -90, double round = 0);
Path heart(Pt c, double size);

// Open paths for strokes.
Path polyline(const std::vector<Pt>& pts);
Path smoothLine(const std::vector<Pt>& pts);  // through the first and last, guided by the rest
Path arc(Pt c, double rx, double ry, double a0Deg, double a1Deg);

double lineWidth();  // the outline width all pictures share
Line outline(double scale = 1);

// The standard look of a coloured part: a gradient lighter at the top left, with an outline.
Fill shaded(Rgba c, Pt centre, double radius);
void part(Shape& s, const Path& p, Rgba c, Pt centre, double radius, double outlineScale = 1);
void flat(Shape& s, const Path& p, Rgba c, double outlineScale = 1);
// A soft white shine (no outline).
void shine(Shape& s, Pt c, double rx, double ry, double rotDeg = -30, int alpha = 150);

// Thick lettering as in the program's icon: ink, then colour, then a thin highlight.
// Letters N U M B A L I O S and digits 1..5, in a box `height` high; returns the advance.
double glyphWidth(char ch, double height);
void glyph(Shape& s, char ch, Pt topLeft, double height, Rgba color, double weight = 0.2);

// A friendly face: eyes, smile, cheeks. `size` is the face's width.
struct FaceStyle {
    bool happyEyes = false;  // closed ^ ^ eyes
    bool openMouth = true;
    bool cheeks = true;
};
void face(Shape& s, Pt centre, double size, FaceStyle style = {}, bool withMouth = true);
// Eyes alone (to blink by scaling them) and mouth alone.
void eyes(Shape& s, Pt centre, double size, bool happy = false);
void smile(Shape& s, Pt centre, double size, bool open = true);

// Placement helper: translate, then rotate, then scale, about the part's own origin.
Matrix at(double x, double y, double rotDeg = 0, double sx = 1, double sy = 0);
Place place(int id, const Matrix& m, ColorX cx = {}, int ratio = -1);

// Smooth periodic motion helpers: t in [0,1) over the loop.
double wave(double t, double cycles = 1, double phase = 0);  // sin, -1..1
double bounce(double t);  // 0 at ends, 1 at the top, like a jump
double ease(double t);    // smoothstep 0..1
double clamp01(double t);

} // namespace author
