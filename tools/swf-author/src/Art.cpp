#include "Art.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace author {

namespace {

Pt lerp(Pt a, Pt b, double t) { return a + (b - a) * t; }
double len(Pt p) { return std::hypot(p.x, p.y); }
double rad(double deg) { return deg * M_PI / 180; }

} // namespace

Rgba lighter(Rgba c, double t) { return mix(c, rgb(0xffffff, c.a), t); }
Rgba darker(Rgba c, double t) { return mix(c, rgb(0x33262a, c.a), t); }

Path circle(Pt c, double r) { return ellipse(c, r, r); }

Path ellipse(Pt c, double rx, double ry, double rotDeg)
{
    Matrix m = Matrix::translate(c.x, c.y) * Matrix::rotate(rotDeg);
    const int n = 8;
    const double k = 1 / std::cos(M_PI / n);
    Path p;
    p.start = m.map({rx, 0});
    for (int i = 1; i <= n; ++i) {
        double a0 = 2 * M_PI * (i - 0.5) / n, a1 = 2 * M_PI * i / n;
        p.quadTo(m.map({rx * k * std::cos(a0), ry * k * std::sin(a0)}), m.map({rx * std::cos(a1), ry * std::sin(a1)}));
    }
    p.segs.back().p = p.start;
    return p;
}

Path rect(double x, double y, double w, double h) { return polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}); }

Path roundRect(double x, double y, double w, double h, double r)
{
    return polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, r);
}

Path polygon(const std::vector<Pt>& pts, double round)
{
    const size_t n = pts.size();
    Path p;
    if (n < 3)
        throw std::runtime_error("polygon needs three points");
    if (round <= 0) {
        p.start = pts[0];
        for (size_t i = 1; i < n; ++i)
            p.lineTo(pts[i]);
        p.lineTo(pts[0]);
        return p;
    }
    std::vector<Pt> a(n), b(n);
    for (size_t i = 0; i < n; ++i) {
        Pt prev = pts[(i + n - 1) % n], cur = pts[i], next = pts[(i + 1) % n];
        double r1 = std::min(round, len(prev - cur) / 2), r2 = std::min(round, len(next - cur) / 2);
        a[i] = cur + (prev - cur) * (r1 / len(prev - cur));
        b[i] = cur + (next - cur) * (r2 / len(next - cur));
    }
    p.start = b[n - 1];
    for (size_t i = 0; i < n; ++i) {
        p.lineTo(a[i]);
        p.quadTo(pts[i], b[i]);
    }
    p.segs.back().p = p.start;
    return p;
}

Path blobPath(const std::vector<Pt>& pts)
{
    const size_t n = pts.size();
    Path p;
    p.start = lerp(pts[n - 1], pts[0], 0.5);
    for (size_t i = 0; i < n; ++i)
        p.quadTo(pts[i], lerp(pts[i], pts[(i + 1) % n], 0.5));
    p.segs.back().p = p.start;
    return p;
}

Path star(Pt c, double outer, double inner, int points, double rotDeg, double round)
{
    std::vector<Pt> pts;
    for (int i = 0; i < points * 2; ++i) {
        double a = rad(rotDeg) + M_PI * i / points;
        double r = (i % 2) ? inner : outer;
        pts.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    return polygon(pts, round);
}

Path heart(Pt c, double s)
{
    auto P = [&](double x, double y) { return Pt{c.x + x * s, c.y + y * s}; };
    Path p;
    p.start = P(0, -0.18);
    p.cubicTo(P(0.05, -0.46), P(0.5, -0.48), P(0.5, -0.12));
    p.cubicTo(P(0.5, 0.18), P(0.12, 0.32), P(0, 0.48));
    p.cubicTo(P(-0.12, 0.32), P(-0.5, 0.18), P(-0.5, -0.12));
    p.cubicTo(P(-0.5, -0.48), P(-0.05, -0.46), P(0, -0.18));
    p.segs.back().p = p.start;
    return p;
}

Path polyline(const std::vector<Pt>& pts)
{
    Path p;
    p.start = pts.at(0);
    for (size_t i = 1; i < pts.size(); ++i)
        p.lineTo(pts[i]);
    return p;
}

Path smoothLine(const std::vector<Pt>& pts)
{
    Path p;
    p.start = pts.at(0);
    if (pts.size() == 2) {
        p.lineTo(pts[1]);
        return p;
    }
    for (size_t i = 1; i + 1 < pts.size(); ++i) {
        Pt to = (i + 2 == pts.size()) ? pts[i + 1] : lerp(pts[i], pts[i + 1], 0.5);
        p.quadTo(pts[i], to);
    }
    return p;
}

Path arc(Pt c, double rx, double ry, double a0Deg, double a1Deg)
{
    int n = std::max(1, int(std::ceil(std::fabs(a1Deg - a0Deg) / 45)));
    double step = rad(a1Deg - a0Deg) / n, k = 1 / std::cos(step / 2);
    Path p;
    double a = rad(a0Deg);
    p.start = {c.x + rx * std::cos(a), c.y + ry * std::sin(a)};
    for (int i = 0; i < n; ++i) {
        double am = a + step / 2, a1 = a + step;
        p.quadTo({c.x + rx * k * std::cos(am), c.y + ry * k * std::sin(am)}, {c.x + rx * std::cos(a1), c.y + ry * std::sin(a1)});
        a = a1;
    }
    return p;
}

double lineWidth() { return 2.6; }
Line outline(double scale) { return {lineWidth() * scale, pal::ink}; }

Fill shaded(Rgba c, Pt centre, double radius)
{
    Pt hot = {centre.x - radius * 0.35, centre.y - radius * 0.4};
    return Fill::radial(hot, radius * 1.55, {{0, lighter(c, 0.5)}, {0.42, c}, {1, darker(c, 0.15)}});
}

void part(Shape& s, const Path& p, Rgba c, Pt centre, double radius, double outlineScale)
{
    s.add(p, shaded(c, centre, radius), outlineScale > 0 ? outline(outlineScale) : Line{});
}

void flat(Shape& s, const Path& p, Rgba c, double outlineScale)
{
    s.add(p, Fill::solid(c), outlineScale > 0 ? outline(outlineScale) : Line{});
}

void shine(Shape& s, Pt c, double rx, double ry, double rotDeg, int alpha)
{
    s.add(ellipse(c, rx, ry, rotDeg), Fill::radial(c, std::max(rx, ry), {{0, rgb(0xffffff, alpha)}, {0.55, rgb(0xffffff, alpha * 2 / 3)}, {1, rgb(0xffffff, 0)}}));
}

namespace {

struct GlyphDef {
    double width;
    Paths strokes;  // in a box one unit high
};

GlyphDef glyphDef(char ch)
{
    auto L = [](std::vector<Pt> p) { return polyline(p); };
    switch (ch) {
    case 'N': return {0.72, {L({{0.11, 0.9}, {0.11, 0.1}, {0.61, 0.9}, {0.61, 0.1}})}};
    case 'U': {
        Path p;
        p.start = {0.11, 0.1};
        p.lineTo({0.11, 0.6}).quadTo({0.11, 0.9}, {0.36, 0.9}).quadTo({0.61, 0.9}, {0.61, 0.6}).lineTo({0.61, 0.1});
        return {0.72, {p}};
    }
    case 'M': return {0.84, {L({{0.11, 0.9}, {0.11, 0.1}, {0.42, 0.58}, {0.73, 0.1}, {0.73, 0.9}})}};
    case 'B': {
        Path p;
        p.start = {0.11, 0.9};
        p.lineTo({0.11, 0.1}).lineTo({0.38, 0.1}).quadTo({0.57, 0.1}, {0.57, 0.3}).quadTo({0.57, 0.5}, {0.38, 0.5});
        p.lineTo({0.11, 0.5}).lineTo({0.41, 0.5}).quadTo({0.62, 0.5}, {0.62, 0.7}).quadTo({0.62, 0.9}, {0.41, 0.9}).lineTo({0.11, 0.9});
        return {0.73, {p}};
    }
    case 'A': return {0.78, {L({{0.1, 0.9}, {0.39, 0.1}, {0.68, 0.9}}), L({{0.22, 0.62}, {0.56, 0.62}})}};
    case 'L': return {0.64, {L({{0.11, 0.1}, {0.11, 0.9}, {0.56, 0.9}})}};
    case 'I': return {0.42, {L({{0.21, 0.1}, {0.21, 0.9}}), L({{0.08, 0.1}, {0.34, 0.1}}), L({{0.08, 0.9}, {0.34, 0.9}})}};
    case 'O': return {0.8, {ellipse({0.4, 0.5}, 0.29, 0.4)}};
    case 'D': {
        Path p;
        p.start = {0.11, 0.1};
        p.lineTo({0.11, 0.9}).lineTo({0.3, 0.9}).cubicTo({0.58, 0.9}, {0.66, 0.7}, {0.66, 0.5}).cubicTo({0.66, 0.3}, {0.58, 0.1}, {0.3, 0.1}).lineTo({0.11, 0.1});
        return {0.77, {p}};
    }
    case 'S': {
        Path p;
        p.start = {0.57, 0.22};
        p.cubicTo({0.5, 0.07}, {0.12, 0.05}, {0.12, 0.3}).cubicTo({0.12, 0.52}, {0.6, 0.46}, {0.6, 0.7}).cubicTo({0.6, 0.96}, {0.17, 0.96}, {0.1, 0.78});
        return {0.71, {p}};
    }
    case '1': return {0.5, {L({{0.1, 0.28}, {0.33, 0.1}, {0.33, 0.9}})}};
    case '2': {
        Path p;
        p.start = {0.12, 0.3};
        p.cubicTo({0.12, 0.03}, {0.6, 0.03}, {0.6, 0.3}).cubicTo({0.6, 0.52}, {0.25, 0.65}, {0.12, 0.9}).lineTo({0.64, 0.9});
        return {0.75, {p}};
    }
    case '3': {
        Path p;
        p.start = {0.12, 0.22};
        p.cubicTo({0.2, 0.04}, {0.58, 0.04}, {0.58, 0.28}).cubicTo({0.58, 0.44}, {0.44, 0.5}, {0.3, 0.5});
        p.cubicTo({0.46, 0.5}, {0.62, 0.55}, {0.62, 0.72}).cubicTo({0.62, 0.97}, {0.2, 0.97}, {0.1, 0.78});
        return {0.73, {p}};
    }
    case '4': return {0.76, {L({{0.5, 0.9}, {0.5, 0.1}, {0.08, 0.64}, {0.66, 0.64}})}};
    case '5': {
        Path p;
        p.start = {0.58, 0.1};
        p.lineTo({0.17, 0.1}).lineTo({0.13, 0.46}).cubicTo({0.3, 0.36}, {0.62, 0.4}, {0.62, 0.66}).cubicTo({0.62, 0.96}, {0.2, 0.96}, {0.1, 0.8});
        return {0.73, {p}};
    }
    default: throw std::runtime_error(std::string("no glyph for ") + ch);
    }
}

} // namespace

double glyphWidth(char ch, double height) { return glyphDef(ch).width * height; }

void glyph(Shape& s, char ch, Pt topLeft, double height, Rgba color, double weight)
{
    GlyphDef g = glyphDef(ch);
    Matrix m = Matrix::translate(topLeft.x, topLeft.y) * Matrix::scale(height);
    Paths strokes = transform(g.strokes, m);
    double w = weight * height;
    s.stroke(strokes, {w * 1.65, pal::ink});
    s.stroke(strokes, {w, color});
    s.stroke(transform(strokes, Matrix::translate(-w * 0.15, -w * 0.15)), {w * 0.28, rgb(0xffffff, 115)});
}

void eyes(Shape& s, Pt c, double size, bool happy)
{
    for (int side : {-1, 1}) {
        Pt e = {c.x + side * 0.2 * size, c.y - 0.04 * size};
        if (happy) {
            s.stroke(arc({e.x, e.y + 0.03 * size}, 0.075 * size, 0.07 * size, 200, 340), {0.045 * size, pal::ink});
        } else {
            s.add(ellipse(e, 0.068 * size, 0.095 * size), Fill::solid(pal::ink));
            s.add(circle({e.x - 0.022 * size, e.y - 0.035 * size}, 0.026 * size), Fill::solid(pal::white));
            s.add(circle({e.x + 0.02 * size, e.y + 0.03 * size}, 0.012 * size), Fill::solid(rgb(0xffffff, 200)));
        }
    }
}

void smile(Shape& s, Pt c, double size, bool open)
{
    Pt m = {c.x, c.y + 0.16 * size};
    if (!open) {
        s.stroke(arc({m.x, m.y - 0.06 * size}, 0.15 * size, 0.12 * size, 20, 160), {0.04 * size, pal::ink});
        return;
    }
    double w = 0.17 * size;
    Path p;
    p.start = {m.x - w, m.y - 0.03 * size};
    p.quadTo({m.x, m.y + 0.01 * size}, {m.x + w, m.y - 0.03 * size});
    p.cubicTo({m.x + w, m.y + 0.16 * size}, {m.x - w, m.y + 0.16 * size}, {m.x - w, m.y - 0.03 * size});
    p.segs.back().p = p.start;
    s.add(p, Fill::solid(pal::mouth), {std::max(1.2, 0.03 * size), pal::ink});
    s.add(ellipse({m.x, m.y + 0.075 * size}, 0.075 * size, 0.035 * size), Fill::solid(pal::tongue));
}

void face(Shape& s, Pt c, double size, FaceStyle style, bool withMouth)
{
    if (style.cheeks)
        for (int side : {-1, 1})
            s.add(ellipse({c.x + side * 0.33 * size, c.y + 0.1 * size}, 0.08 * size, 0.05 * size), Fill::solid(pal::cheek));
    eyes(s, c, size, style.happyEyes);
    if (withMouth)
        smile(s, c, size, style.openMouth);
}

Matrix at(double x, double y, double rotDeg, double sx, double sy)
{
    return Matrix::translate(x, y) * Matrix::rotate(rotDeg) * Matrix::scale(sx, sy == 0 ? sx : sy);
}

Place place(int id, const Matrix& m, ColorX cx, int ratio) { return {id, m, cx, ratio}; }

double wave(double t, double cycles, double phase) { return std::sin(2 * M_PI * (t * cycles + phase)); }
double bounce(double t)
{
    t -= std::floor(t);
    return std::sin(M_PI * t);
}
double clamp01(double t) { return std::clamp(t, 0.0, 1.0); }
double ease(double t)
{
    t = clamp01(t);
    return t * t * (3 - 2 * t);
}

} // namespace author
