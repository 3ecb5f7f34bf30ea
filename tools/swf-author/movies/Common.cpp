#include "Common.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace author {

Tune tuneAt(int framesPerBeat, double beats)
{
    Tune t;
    t.bpm = 60.0 * kFps / framesPerBeat;
    t.beats = beats;
    return t;
}

int tuneFrames(const Tune& t)
{
    double frames = t.beats * 60.0 / t.bpm * kFps;
    if (std::fabs(frames - std::round(frames)) > 1e-6)
        throw std::runtime_error("tune does not last a whole number of frames");
    return int(std::lround(frames));
}

Buf music(const Tune& t, SoundRate rate, double peakDb)
{
    Buf b = render(t, soundRateHz(rate), true);
    normalize(b, peakDb);
    return b;
}

int speech(Movie& m, const std::string& text, SoundRate rate, int pitch)
{
    Buf b = speak(text, soundRateHz(rate), -6, pitch);
    return m.defineSound(toPcm(b), rate);
}

int Spoken::mouth(int f) const
{
    if (f < 0 || f >= int(level.size()))
        return 1;
    double v = level[size_t(f)];
    return v < 0.1 ? 0 : v < 0.45 ? 1 : 2;
}

Spoken speechWithMouth(Movie& m, const std::string& text, int pitch)
{
    const double rate = soundRateHz(SoundRate::R22k);
    Buf b = speak(text, rate, -6, pitch);
    Spoken sp;
    sp.id = m.defineSound(toPcm(b), SoundRate::R22k);
    const size_t perFrame = size_t(rate / kFps);
    double top = 0;
    for (size_t at = 0; at < b.size(); at += perFrame) {
        double sum = 0;
        size_t n = std::min(perFrame, b.size() - at);
        for (size_t i = 0; i < n; ++i)
            sum += double(b[at + i]) * b[at + i];
        sp.level.push_back(std::sqrt(sum / double(std::max<size_t>(n, 1))));
        top = std::max(top, sp.level.back());
    }
    for (double& v : sp.level)
        v = top > 0 ? v / top : 0;
    return sp;
}

Stroll stroll(double angle)
{
    Stroll s;
    s.heading = std::clamp(8 * std::cos(angle), -1.0, 1.0);
    s.face = s.heading >= 0 ? std::max(0.12, s.heading) : std::min(-0.12, s.heading);
    return s;
}

int defineBackdrop(Movie& m, Rgba top, Rgba bottom)
{
    // The sky goes on well past the stage, so that a player wider or taller than the stage
    // shows more sky in its margins rather than bars; beyond the gradient's ends its end
    // colours carry on.
    const double w = m.width(), h = m.height();
    Shape s;
    s.add(rect(-kOverscan * w, -kOverscan * h, (1 + 2 * kOverscan) * w, (1 + 2 * kOverscan) * h),
          Fill::linear({0, 0}, {0, h}, {{0, top}, {1, bottom}}));
    return m.define(s);
}

int defineCloud(Movie& m, double w)
{
    Shape s;
    double h = w * 0.5;
    Path p = blobPath({{-0.5 * w, 0.25 * h}, {-0.5 * w, -0.15 * h}, {-0.25 * w, -0.45 * h}, {0.0, -0.7 * h},
                       {0.28 * w, -0.45 * h}, {0.52 * w, -0.2 * h}, {0.5 * w, 0.25 * h}});
    s.add(p, Fill::linear({0, -0.6 * h}, {0, 0.3 * h}, {{0, pal::white}, {1, rgb(0xe8f1ff)}}), {lineWidth() * 0.8, rgb(0xb9c4d8)});
    return m.define(s);
}

int defineHill(Movie& m, double w, double h, Rgba c)
{
    // The rounded top rises from flat ground that runs on far to both sides and down, so the
    // land never ends inside a wider or taller player.
    const double far = kFarEdge, level = 0.6 * h;
    Shape s;
    Path p;
    p.start = {-far, level};
    p.lineTo({-w / 2, level});
    p.cubicTo({-w * 0.3, 0.4 * h / 3}, {w * 0.3, 0.4 * h / 3}, {w / 2, level});
    p.lineTo({far, level});
    p.lineTo({far, far});
    p.lineTo({-far, far});
    p.lineTo({-far, level});
    s.add(p, Fill::linear({0, 0}, {0, h}, {{0, lighter(c, 0.25)}, {1, darker(c, 0.1)}}), outline());
    return m.define(s);
}

int defineStar(Movie& m, double r, Rgba c, bool withFace)
{
    Shape s;
    part(s, star({0, 0}, r, r * 0.5, 5, -90, r * 0.12), c, {0, 0}, r, r / 30);
    shine(s, {-r * 0.25, -r * 0.3}, r * 0.18, r * 0.1, -40);
    if (withFace)
        face(s, {0, r * 0.08}, r * 0.9, {true, true, true});
    return m.define(s);
}

int defineHeart(Movie& m, double size, Rgba c)
{
    Shape s;
    part(s, heart({0, 0}, size), c, {0, 0}, size * 0.5, size / 40);
    shine(s, {-size * 0.22, -size * 0.2}, size * 0.1, size * 0.06, -40);
    return m.define(s);
}

int defineSparkle(Movie& m, double r, Rgba c)
{
    Shape s;
    s.add(star({0, 0}, r, r * 0.28, 4, -90, r * 0.06), Fill::radial({0, 0}, r, {{0, pal::white}, {0.35, lighter(c, 0.3)}, {1, c}}));
    return m.define(s);
}

std::vector<int> defineConfetti(Movie& m, double size)
{
    std::vector<int> ids;
    const Rgba colors[] = {pal::yellow, pal::blue, pal::red, pal::green, pal::pink, pal::orange};
    for (int i = 0; i < 6; ++i) {
        Shape s;
        Rgba c = colors[i];
        if (i % 3 == 0)
            s.add(roundRect(-size / 2, -size / 4, size, size / 2, size * 0.12), Fill::solid(c), {size * 0.1, darker(c, 0.35)});
        else if (i % 3 == 1)
            s.add(circle({0, 0}, size * 0.32), Fill::solid(c), {size * 0.1, darker(c, 0.35)});
        else
            s.add(polygon({{0, -size * 0.4}, {size * 0.38, size * 0.3}, {-size * 0.38, size * 0.3}}, size * 0.08), Fill::solid(c),
                  {size * 0.1, darker(c, 0.35)});
        ids.push_back(m.define(s));
    }
    return ids;
}

void flowerHead(Shape& s, Pt c, double r, Rgba petals)
{
    for (int i = 0; i < 5; ++i) {
        double a = i * 72 - 90;
        Pt p = {c.x + r * 0.62 * std::cos(a * M_PI / 180), c.y + r * 0.62 * std::sin(a * M_PI / 180)};
        s.add(ellipse(p, r * 0.45, r * 0.33, a), Fill::solid(petals), {r * 0.12, pal::ink});
    }
    s.add(circle(c, r * 0.38), shaded(pal::yellow, c, r * 0.38), {r * 0.12, pal::ink});
}

int defineFlower(Movie& m, double r, Rgba petals)
{
    Shape s;
    s.stroke(polyline({{0, 0}, {0, r * 3}}), {r * 0.5, pal::ink});
    s.stroke(polyline({{0, 0}, {0, r * 3}}), {r * 0.3, pal::green});
    flowerHead(s, {0, 0}, r, petals);
    return m.define(s);
}

Sun defineSun(Movie& m, double r)
{
    Sun sun;
    sun.r = r;
    const double lw = r / 22;
    {
        Shape s;
        // Rounded rays alternating long and short, all one piece so the ring turns as one.
        std::vector<Pt> pts;
        const int rays = 12;
        for (int i = 0; i < rays * 2; ++i) {
            double a = M_PI * i / rays - M_PI / 2;
            double rr = (i % 2) ? r * 1.0 : (i % 4 == 0 ? r * 1.42 : r * 1.3);
            pts.push_back({rr * std::cos(a), rr * std::sin(a)});
        }
        s.add(polygon(pts, r * 0.1), Fill::radial({0, 0}, r * 1.45, {{0.6, pal::orange}, {1, rgb(0xffb020)}}), {lw, pal::ink});
        sun.rays = m.define(s);
    }
    {
        Shape s;
        s.add(circle({0, 0}, r), Fill::radial({-r * 0.3, -r * 0.35}, r * 1.5, {{0, rgb(0xfff3a8)}, {0.4, pal::yellow}, {1, rgb(0xf2a100)}}),
              {lw, pal::ink});
        shine(s, {-r * 0.45, -r * 0.5}, r * 0.2, r * 0.12, -40, 170);
        for (int side : {-1, 1})
            s.add(ellipse({side * 0.42 * r, 0.18 * r}, 0.15 * r, 0.09 * r), Fill::solid(rgb(0xff7a5c, 150)));
        sun.face = m.define(s);
    }
    {
        Shape shut, open, round;
        smile(shut, {0, 0.05 * r}, r * 1.5, false);
        smile(open, {0, 0.05 * r}, r * 1.5, true);
        Pt c = {0, 0.05 * r + 0.2 * r * 1.5};
        round.add(ellipse(c, 0.12 * r * 1.5, 0.13 * r * 1.5), Fill::solid(pal::mouth), {std::max(1.2, 0.03 * r * 1.5), pal::ink});
        round.add(ellipse({c.x, c.y + 0.06 * r * 1.5}, 0.07 * r * 1.5, 0.04 * r * 1.5), Fill::solid(pal::tongue));
        sun.mouths[0] = m.define(shut);
        sun.mouths[1] = m.define(open);
        sun.mouths[2] = m.define(round);
    }
    {
        Shape s;
        eyes(s, {0, 0}, r * 1.5, false);
        sun.eyes = m.define(s);
    }
    {
        Shape s;
        Path a = smoothLine({{0, 0}, {r * 0.38, -r * 0.06}, {r * 0.74, 0}});
        s.stroke(a, {r * 0.22, pal::ink});
        s.stroke(a, {r * 0.22 - 2 * lw, pal::yellow});
        // A mitten: the thumb, then the hand over it.
        part(s, ellipse({r * 0.8, -r * 0.15}, r * 0.07, r * 0.11, 30), pal::yellow, {r * 0.8, -r * 0.15}, r * 0.1, r / 60);
        part(s, ellipse({r * 0.86, 0}, r * 0.19, r * 0.15), pal::yellow, {r * 0.86, 0}, r * 0.18, r / 60);
        sun.arm = m.define(s);
    }
    return sun;
}

void placeSun(State& s, int depth, const Sun& sun, const Matrix& root, double raysDeg, double armLeft, double armRight,
              double blink, int mouth)
{
    const double r = sun.r;
    // Arms over the rays, so they read clearly, and under the face they come out of.
    s[depth] = place(sun.rays, root * Matrix::rotate(raysDeg));
    s[depth + 1] = place(sun.arm, root * Matrix::translate(-r * 0.9, r * 0.28) * Matrix::scale(-1, 1) * Matrix::rotate(armLeft));
    s[depth + 2] = place(sun.arm, root * Matrix::translate(r * 0.9, r * 0.28) * Matrix::rotate(armRight));
    s[depth + 3] = place(sun.face, root);
    // Eyes shut by flattening about their middle line.
    double open = std::max(0.08, 1 - blink);
    s[depth + 4] = place(sun.eyes, root * Matrix::translate(0, -0.06 * r * 1.5) * Matrix::scale(1, open) * Matrix::translate(0, 0.06 * r * 1.5));
    s[depth + 5] = place(sun.mouths[std::clamp(mouth, 0, 2)], root);
}

Mouths defineMouths(Movie& m, Pt fc, double size)
{
    Mouths mo;
    Shape shut, open, round;
    smile(shut, fc, size, false);
    smile(open, fc, size, true);
    Pt mc = {fc.x, fc.y + 0.2 * size};
    round.add(ellipse(mc, 0.11 * size, 0.12 * size), Fill::solid(pal::mouth), {std::max(1.2, 0.03 * size), pal::ink});
    round.add(ellipse({mc.x, mc.y + 0.055 * size}, 0.065 * size, 0.035 * size), Fill::solid(pal::tongue));
    mo.ids[0] = m.define(shut);
    mo.ids[1] = m.define(open);
    mo.ids[2] = m.define(round);
    return mo;
}

void limb(Shape& s, const Path& p, double width, Rgba c)
{
    s.stroke(p, {width, pal::ink});
    s.stroke(p, {width - 2 * lineWidth(), c});
}

int defineShadow(Movie& m, double rx, double ry)
{
    Shape s;
    s.add(ellipse({0, 0}, rx, ry), Fill::radial({0, 0}, rx, ry, {{0, rgb(0x33262a, 70)}, {1, rgb(0x33262a, 0)}}));
    return m.define(s);
}

} // namespace author

namespace author {

Spoken rewardSounds(Movie& m, const Tune& fanfare, const std::string& word, int pitch)
{
    m.root().setStream(toPcm(music(fanfare, SoundRate::R22k, -7)), SoundRate::R22k);
    return speechWithMouth(m, word, pitch);
}

} // namespace author

namespace author {

int defineRainbow(Movie& m, double r, double band)
{
    Shape s;
    const Rgba colors[] = {pal::red, pal::orange, pal::yellow, pal::green, pal::blue};
    // Each band is a filled half ring, so the feet end square on the ground.
    for (int i = 0; i < 5; ++i) {
        double ro = r - band * i, ri = ro - band;
        Path p = arc({0, 0}, ro, ro, 180, 360);
        Path inner = arc({0, 0}, ri, ri, 180, 360).reversed();
        p.lineTo(inner.start);
        for (const Seg& sg : inner.segs)
            p.segs.push_back(sg);
        p.close();
        s.add(p, Fill::solid(colors[i]), {lineWidth() * 0.7, pal::ink});
    }
    return m.define(s);
}

} // namespace author

namespace author {

int defineButterfly(Movie& m, double size, Rgba wings)
{
    const double S = size;
    Shape w;
    // One side's pair of wings, drawn to the right of the body line: bold shapes with a
    // dark rim and big spots, so that it reads as a butterfly even small.
    Path upper = blobPath({{0, -0.06 * S}, {0.14 * S, -0.52 * S}, {0.58 * S, -0.56 * S}, {0.52 * S, -0.02 * S}});
    Path lower = blobPath({{0, 0.0}, {0.4 * S, 0.02 * S}, {0.42 * S, 0.4 * S}, {0.08 * S, 0.36 * S}});
    const double rim = S / 40;
    w.add(lower, Fill::solid(darker(wings, 0.45)), {rim, pal::ink});
    w.add(transform({lower}, Matrix::translate(0.03 * S, 0.02 * S) * Matrix::scale(0.86)), shaded(lighter(wings, 0.15), {0.2 * S, 0.15 * S}, 0.25 * S));
    w.add(upper, Fill::solid(darker(wings, 0.45)), {rim, pal::ink});
    w.add(transform({upper}, Matrix::translate(0.05 * S, -0.03 * S) * Matrix::scale(0.86)), shaded(wings, {0.3 * S, -0.28 * S}, 0.3 * S));
    w.add(circle({0.33 * S, -0.3 * S}, 0.1 * S), Fill::solid(pal::white), {rim * 0.8, pal::ink});
    w.add(circle({0.24 * S, 0.19 * S}, 0.06 * S), Fill::solid(pal::yellow), {rim * 0.8, pal::ink});
    const int wing = m.define(w);
    Shape b;
    b.add(ellipse({0, 0.02 * S}, 0.075 * S, 0.32 * S), Fill::solid(pal::ink));
    b.add(circle({0, -0.3 * S}, 0.09 * S), Fill::solid(pal::ink));
    for (double side : {-1.0, 1.0}) {
        b.stroke(smoothLine({{side * 0.03 * S, -0.36 * S}, {side * 0.08 * S, -0.52 * S}, {side * 0.18 * S, -0.58 * S}}), {S / 22, pal::ink});
        b.add(circle({side * 0.18 * S, -0.58 * S}, 0.045 * S), Fill::solid(pal::ink));
    }
    const int body = m.define(b);
    Timeline flap;
    for (double k : {1.0, 0.7, 0.35, 0.7}) {
        State st;
        st[1] = place(wing, Matrix::scale(k, 1));
        st[2] = place(wing, Matrix::scale(-k, 1));
        st[3] = place(body, {});
        flap.frame(st);
    }
    return m.defineSprite(flap);
}

} // namespace author
