#pragma once

// A small writer for the simple subset of the movie file format that Numbali's movies use:
// vector shapes (solid and gradient fills, outlines, quadratic curves), morph shapes, sprites,
// display-list placement with matrices and colour transforms, frame labels, Stop, and ADPCM
// event and stream sounds. Authoring coordinates are pixels (1/20 of the file's twips).

#include "BitWriter.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace author {

using Bytes = swf::Bytes;
using swf::BitWriter;

struct Pt {
    double x = 0, y = 0;
    Pt operator+(Pt o) const { return {x + o.x, y + o.y}; }
    Pt operator-(Pt o) const { return {x - o.x, y - o.y}; }
    Pt operator*(double k) const { return {x * k, y * k}; }
};

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba&) const = default;
};
Rgba rgb(uint32_t hex, int alpha = 255);
Rgba mix(Rgba a, Rgba b, double t);

// x' = a*x + c*y + tx, y' = b*x + d*y + ty.
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    static Matrix translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Matrix scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Matrix scale(double s) { return scale(s, s); }
    static Matrix rotate(double degrees);
    // this applied after o.
    Matrix operator*(const Matrix& o) const;
    Pt map(Pt p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    bool operator==(const Matrix&) const = default;
};

// Per channel: value * mult + add (add in 0..255 units).
struct ColorX {
    double rm = 1, gm = 1, bm = 1, am = 1;
    double ra = 0, ga = 0, ba = 0, aa = 0;
    static ColorX alpha(double a) { ColorX c; c.am = a; return c; }
    static ColorX tint(Rgba to, double amount, double alpha = 1);
    bool identity() const { return *this == ColorX{}; }
    bool operator==(const ColorX&) const = default;
};

struct Stop {
    double pos;  // 0..1
    Rgba color;
};

struct Fill {
    enum Kind { Solid, Linear, Radial } kind = Solid;
    Rgba color;
    std::vector<Stop> stops;
    Matrix m;  // maps the gradient square (-16384..16384 twips) to shape pixels
    static Fill solid(Rgba c) { Fill f; f.color = c; return f; }
    static Fill linear(Pt from, Pt to, std::vector<Stop> stops);
    static Fill radial(Pt centre, double radius, std::vector<Stop> stops);
    static Fill radial(Pt centre, double rx, double ry, std::vector<Stop> stops);
};

struct Line {
    double width = 0;  // 0: no outline
    Rgba color;
};

struct Seg {
    bool curve = false;
    Pt c, p;
};

// One contour. A hole contour cuts its area out of the item's fill.
struct Path {
    Pt start;
    std::vector<Seg> segs;
    bool hole = false;
    Path& lineTo(Pt p) { segs.push_back({false, {}, p}); return *this; }
    Path& quadTo(Pt c, Pt p) { segs.push_back({true, c, p}); return *this; }
    Path& cubicTo(Pt c1, Pt c2, Pt p);
    Pt end() const { return segs.empty() ? start : segs.back().p; }
    Path& close() { if (!segs.empty() && (end().x != start.x || end().y != start.y)) lineTo(start); return *this; }
    Path transformed(const Matrix& m) const;
    Path reversed() const;
    double signedArea() const;  // > 0: clockwise on screen
};
using Paths = std::vector<Path>;
Paths transform(const Paths& ps, const Matrix& m);

// A static shape drawn as layers, each on top of the ones before.
class Shape {
public:
    Shape& add(const Paths& paths, std::optional<Fill> fill, Line line = {});
    Shape& add(const Path& path, std::optional<Fill> fill, Line line = {}) { return add(Paths{path}, fill, line); }
    Shape& stroke(const Paths& paths, Line line) { return add(paths, std::nullopt, line); }
    Shape& stroke(const Path& path, Line line) { return add(Paths{path}, std::nullopt, line); }
    // Appends another shape's layers, transformed.
    Shape& append(const Shape& other, const Matrix& m = {});
    bool empty() const { return m_layers.empty(); }

    struct Layer {
        Paths paths;
        std::optional<Fill> fill;
        Line line;
    };
    const std::vector<Layer>& layers() const { return m_layers; }

private:
    std::vector<Layer> m_layers;
};

// A shape whose every contour moves between a start and an end form (the same contours in
// the same order, edge for edge), blended by the placement's ratio.
class Morph {
public:
    Morph& add(const Paths& start, const Paths& end, std::optional<Fill> fillStart, std::optional<Fill> fillEnd,
               Line lineStart = {}, Line lineEnd = {});
    struct Item {
        Paths start, end;
        std::optional<Fill> fillStart, fillEnd;
        Line lineStart, lineEnd;
    };
    const std::vector<Item>& items() const { return m_items; }

private:
    std::vector<Item> m_items;
};

enum class SoundRate { R5k = 0, R11k = 1, R22k = 2, R44k = 3 };
double soundRateHz(SoundRate r);

struct Place {
    int id = 0;
    Matrix m;
    ColorX cx;
    int ratio = -1;  // morph ratio 0..65535, or -1 when not a morph
};
using State = std::map<int, Place>;  // depth -> what stands there

// A timeline: the movie's own or a sprite's. Each frame gives the whole display list;
// only the differences from the previous frame are written.
class Timeline {
public:
    void label(const std::string& name) { m_pending.label = name; }
    void stop() { m_pending.stop = true; }
    void startSound(int soundId) { m_pending.sounds.push_back(soundId); }
    void frame(const State& state);
    // A stream sound laid over the frames from the first: each frame gets its share.
    void setStream(std::vector<int16_t> pcm, SoundRate rate) { m_stream = std::move(pcm); m_streamRate = rate; }

    int frameCount() const { return int(m_frames.size()); }
    // Tags of this timeline, ShowFrames included, without the closing End tag.
    Bytes tags(double fps) const;

private:
    struct FrameData {
        State state;
        std::string label;
        bool stop = false;
        std::vector<int> sounds;
    };
    FrameData m_pending;
    std::vector<FrameData> m_frames;
    std::vector<int16_t> m_stream;
    SoundRate m_streamRate = SoundRate::R11k;
};

class Movie {
public:
    Movie(double width, double height, double fps, Rgba background);

    int define(const Shape& shape);
    int define(const Morph& morph);
    int defineSprite(const Timeline& timeline);
    // 16-bit mono samples, stored as 4-bit ADPCM.
    int defineSound(const std::vector<int16_t>& pcm, SoundRate rate);

    Timeline& root() { return m_root; }
    double width() const { return m_width; }
    double height() const { return m_height; }
    double fps() const { return m_fps; }

    Bytes build(bool compress = true, int version = 6) const;

private:
    int nextId() { return ++m_lastId; }
    double m_width, m_height, m_fps;
    Rgba m_background;
    int m_lastId = 0;
    Bytes m_definitions;
    Timeline m_root;
};

// Tag framing, shared with the checker.
void writeTag(BitWriter& w, int code, const Bytes& body);

} // namespace author
