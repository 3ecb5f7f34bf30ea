#include "Swf.h"

#include "AdpcmBytes.h"
#include "SwfTags.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace author {

namespace {

int tw(double px) { return int(std::lround(px * 20)); }

struct Box {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    void add(Pt p, double pad = 0)
    {
        x0 = std::min(x0, p.x - pad);
        y0 = std::min(y0, p.y - pad);
        x1 = std::max(x1, p.x + pad);
        y1 = std::max(y1, p.y + pad);
    }
    void add(const Paths& ps, double pad)
    {
        for (const Path& p : ps) {
            add(p.start, pad);
            for (const Seg& s : p.segs) {
                if (s.curve)
                    add(s.c, pad);
                add(s.p, pad);
            }
        }
    }
};

void writeRect(BitWriter& w, int x0, int x1, int y0, int y1)
{
    int n = BitWriter::signedBits({x0, x1, y0, y1});
    w.ub(5, unsigned(n));
    w.sb(n, x0);
    w.sb(n, x1);
    w.sb(n, y0);
    w.sb(n, y1);
    w.align();
}

void writeRect(BitWriter& w, const Box& b)
{
    if (b.x0 > b.x1)
        writeRect(w, 0, 0, 0, 0);
    else
        writeRect(w, tw(b.x0), tw(b.x1), tw(b.y0), tw(b.y1));
}

void writeMatrix(BitWriter& w, const Matrix& m)
{
    auto fixed = [](double v) { return int32_t(std::lround(v * 65536.0)); };
    int32_t a = fixed(m.a), b = fixed(m.b), c = fixed(m.c), d = fixed(m.d);
    bool hasScale = a != 65536 || d != 65536;
    w.flag(hasScale);
    if (hasScale) {
        int n = BitWriter::signedBits({a, d});
        w.ub(5, unsigned(n));
        w.sb(n, a);
        w.sb(n, d);
    }
    bool hasRotate = b != 0 || c != 0;
    w.flag(hasRotate);
    if (hasRotate) {
        int n = BitWriter::signedBits({b, c});
        w.ub(5, unsigned(n));
        w.sb(n, b);
        w.sb(n, c);
    }
    int tx = tw(m.tx), ty = tw(m.ty);
    int n = (tx || ty) ? BitWriter::signedBits({tx, ty}) : 0;
    w.ub(5, unsigned(n));
    if (n) {
        w.sb(n, tx);
        w.sb(n, ty);
    }
    w.align();
}

void writeColorX(BitWriter& w, const ColorX& cx)
{
    auto m = [](double v) { return int32_t(std::lround(std::clamp(v, -127.0, 127.0) * 256)); };
    auto a = [](double v) { return int32_t(std::lround(std::clamp(v, -4095.0, 4095.0))); };
    int32_t mult[4] = {m(cx.rm), m(cx.gm), m(cx.bm), m(cx.am)};
    int32_t add[4] = {a(cx.ra), a(cx.ga), a(cx.ba), a(cx.aa)};
    bool hasMult = mult[0] != 256 || mult[1] != 256 || mult[2] != 256 || mult[3] != 256;
    bool hasAdd = add[0] || add[1] || add[2] || add[3];
    int n = 1;
    if (hasMult)
        n = std::max(n, BitWriter::signedBits({mult[0], mult[1], mult[2], mult[3]}));
    if (hasAdd)
        n = std::max(n, BitWriter::signedBits({add[0], add[1], add[2], add[3]}));
    w.flag(hasAdd);
    w.flag(hasMult);
    w.ub(4, unsigned(n));
    if (hasMult)
        for (int32_t v : mult)
            w.sb(n, v);
    if (hasAdd)
        for (int32_t v : add)
            w.sb(n, v);
    w.align();
}

void writeRgba(BitWriter& w, Rgba c)
{
    w.u8(c.r);
    w.u8(c.g);
    w.u8(c.b);
    w.u8(c.a);
}

int ratioOf(double pos) { return std::clamp(int(std::lround(pos * 255)), 0, 255); }

void writeFill(BitWriter& w, const Fill& f)
{
    if (f.kind == Fill::Solid) {
        w.u8(0x00);
        writeRgba(w, f.color);
        return;
    }
    w.u8(f.kind == Fill::Linear ? 0x10 : 0x12);
    writeMatrix(w, f.m);
    size_t n = std::min<size_t>(f.stops.size(), 8);
    w.u8(unsigned(n));  // spread and interpolation bits stay zero
    for (size_t i = 0; i < n; ++i) {
        w.u8(unsigned(ratioOf(f.stops[i].pos)));
        writeRgba(w, f.stops[i].color);
    }
}

void writeMorphFill(BitWriter& w, const Fill& a, const Fill& b)
{
    if (a.kind != b.kind || a.stops.size() != b.stops.size())
        throw std::runtime_error("morph fills must be of one kind");
    if (a.kind == Fill::Solid) {
        w.u8(0x00);
        writeRgba(w, a.color);
        writeRgba(w, b.color);
        return;
    }
    w.u8(a.kind == Fill::Linear ? 0x10 : 0x12);
    writeMatrix(w, a.m);
    writeMatrix(w, b.m);
    size_t n = std::min<size_t>(a.stops.size(), 8);
    w.u8(unsigned(n));
    for (size_t i = 0; i < n; ++i) {
        w.u8(unsigned(ratioOf(a.stops[i].pos)));
        writeRgba(w, a.stops[i].color);
        w.u8(unsigned(ratioOf(b.stops[i].pos)));
        writeRgba(w, b.stops[i].color);
    }
}

void writeStyleCount(BitWriter& w, size_t n)
{
    if (n < 255)
        w.u8(unsigned(n));
    else {
        w.u8(255);
        w.u16(unsigned(n));
    }
}

// Shape records with the pen position kept in whole twips, so closed contours close exactly.
class Records {
public:
    Records(BitWriter& w, int fillBits, int lineBits) : m_w(w), m_fillBits(fillBits), m_lineBits(lineBits) {}

    void newStyles(const std::vector<Fill>& fills, const std::vector<Line>& lines)
    {
        m_w.ub(1, 0);
        m_w.flag(true);   // new styles
        m_w.flag(false);  // line style
        m_w.flag(false);  // fill style 1
        m_w.flag(false);  // fill style 0
        m_w.flag(false);  // move to
        writeStyles(m_w, fills, lines);
        m_fillBits = BitWriter::unsignedBits(unsigned(fills.size()));
        m_lineBits = BitWriter::unsignedBits(unsigned(lines.size()));
        m_w.ub(4, unsigned(m_fillBits));
        m_w.ub(4, unsigned(m_lineBits));
    }

    // Moves the pen; with styles given, selects them too. The three selections are always
    // written together, a zero where a layer has no such style: after new styles, readers do
    // not agree on what an unwritten selection means.
    void move(Pt p, bool withStyles, int fill0 = 0, int fill1 = 0, int line = 0)
    {
        int x = tw(p.x), y = tw(p.y);
        m_w.ub(1, 0);
        m_w.flag(false);
        m_w.flag(withStyles); // line
        m_w.flag(withStyles); // fill 1
        m_w.flag(withStyles); // fill 0
        m_w.flag(true);
        int n = BitWriter::signedBits({x, y});
        m_w.ub(5, unsigned(n));
        m_w.sb(n, x);
        m_w.sb(n, y);
        if (withStyles) {
            m_w.ub(m_fillBits, unsigned(fill0));
            m_w.ub(m_fillBits, unsigned(fill1));
            m_w.ub(m_lineBits, unsigned(line));
        }
        m_x = x;
        m_y = y;
    }

    void edge(const Seg& s)
    {
        int x = tw(s.p.x), y = tw(s.p.y);
        if (!s.curve) {
            int dx = x - m_x, dy = y - m_y;
            int n = std::max(2, BitWriter::signedBits({dx, dy}));
            if (n > 17)
                throw std::runtime_error("edge too long");
            m_w.ub(1, 1);
            m_w.ub(1, 1);
            m_w.ub(4, unsigned(n - 2));
            m_w.flag(true);  // general line
            m_w.sb(n, dx);
            m_w.sb(n, dy);
        } else {
            int cx = tw(s.c.x), cy = tw(s.c.y);
            int cdx = cx - m_x, cdy = cy - m_y, adx = x - cx, ady = y - cy;
            int n = std::max(2, BitWriter::signedBits({cdx, cdy, adx, ady}));
            if (n > 17)
                throw std::runtime_error("curve too long");
            m_w.ub(1, 1);
            m_w.ub(1, 0);
            m_w.ub(4, unsigned(n - 2));
            m_w.sb(n, cdx);
            m_w.sb(n, cdy);
            m_w.sb(n, adx);
            m_w.sb(n, ady);
        }
        m_x = x;
        m_y = y;
    }

    void end()
    {
        m_w.ub(6, 0);
        m_w.align();
    }

    static void writeStyles(BitWriter& w, const std::vector<Fill>& fills, const std::vector<Line>& lines)
    {
        w.align();
        writeStyleCount(w, fills.size());
        for (const Fill& f : fills)
            writeFill(w, f);
        writeStyleCount(w, lines.size());
        for (const Line& l : lines) {
            w.u16(unsigned(std::max(1, tw(l.width))));
            writeRgba(w, l.color);
        }
    }

private:
    BitWriter& m_w;
    int m_fillBits, m_lineBits;
    int m_x = 0, m_y = 0;
};

// The region of a filled contour lies to the right of a clockwise outer contour and to the
// left of a clockwise hole: fill1 and fill0 say which side.
std::pair<int, int> sidesFor(const Path& p, int fill)
{
    if (fill == 0)
        return {0, 0};
    bool clockwise = p.signedArea() > 0;
    bool right = clockwise != p.hole;
    return right ? std::pair{0, fill} : std::pair{fill, 0};
}

void encodeSoundHeaderBits(BitWriter& w, SoundRate rate)
{
    w.ub(4, 1);  // ADPCM
    w.ub(2, unsigned(rate));
    w.flag(true);   // 16-bit
    w.flag(false);  // mono
}

} // namespace

Rgba rgb(uint32_t hex, int alpha)
{
    return {uint8_t(hex >> 16), uint8_t(hex >> 8), uint8_t(hex), uint8_t(alpha)};
}

Rgba mix(Rgba a, Rgba b, double t)
{
    auto m = [t](int x, int y) { return uint8_t(std::clamp(std::lround(x + (y - x) * t), 0L, 255L)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

Matrix Matrix::rotate(double degrees)
{
    double r = degrees * M_PI / 180.0, c = std::cos(r), s = std::sin(r);
    return {c, s, -s, c, 0, 0};
}

Matrix Matrix::operator*(const Matrix& o) const
{
    Matrix r;
    r.a = a * o.a + c * o.b;
    r.b = b * o.a + d * o.b;
    r.c = a * o.c + c * o.d;
    r.d = b * o.c + d * o.d;
    r.tx = a * o.tx + c * o.ty + tx;
    r.ty = b * o.tx + d * o.ty + ty;
    return r;
}

ColorX ColorX::tint(Rgba to, double amount, double alpha)
{
    ColorX c;
    c.rm = c.gm = c.bm = 1 - amount;
    c.ra = to.r * amount;
    c.ga = to.g * amount;
    c.ba = to.b * amount;
    c.am = alpha;
    return c;
}

Fill Fill::linear(Pt from, Pt to, std::vector<Stop> stops)
{
    Fill f;
    f.kind = Linear;
    f.stops = std::move(stops);
    Pt d = to - from;
    double len = std::hypot(d.x, d.y) * 20 / 32768.0, ang = std::atan2(d.y, d.x);
    Pt mid = (from + to) * 0.5;
    f.m = {std::cos(ang) * len, std::sin(ang) * len, -std::sin(ang) * len, std::cos(ang) * len, mid.x, mid.y};
    return f;
}

Fill Fill::radial(Pt centre, double radius, std::vector<Stop> stops) { return radial(centre, radius, radius, std::move(stops)); }

Fill Fill::radial(Pt centre, double rx, double ry, std::vector<Stop> stops)
{
    Fill f;
    f.kind = Radial;
    f.stops = std::move(stops);
    f.m = {rx * 20 / 16384.0, 0, 0, ry * 20 / 16384.0, centre.x, centre.y};
    return f;
}

Path& Path::cubicTo(Pt c1, Pt c2, Pt p)
{
    // Four quadratic pieces follow a cubic closely enough at these sizes.
    Pt p0 = end();
    auto at = [&](double t) {
        double u = 1 - t;
        return p0 * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) + p * (t * t * t);
    };
    auto deriv = [&](double t) {
        double u = 1 - t;
        return (c1 - p0) * (3 * u * u) + (c2 - c1) * (6 * u * t) + (p - c2) * (3 * t * t);
    };
    const int n = 4;
    for (int i = 0; i < n; ++i) {
        double t0 = double(i) / n, t1 = double(i + 1) / n;
        Pt a = at(t0), b = at(t1), da = deriv(t0) * (1.0 / n), db = deriv(t1) * (1.0 / n);
        // Control point where the two end tangents meet, or the midpoint guess.
        double cross = da.x * db.y - da.y * db.x;
        Pt c;
        if (std::fabs(cross) > 1e-9) {
            Pt ab = b - a;
            double s = (ab.x * db.y - ab.y * db.x) / cross;
            c = a + da * s;
        } else {
            c = (a + b) * 0.5;
        }
        Pt mid = at((t0 + t1) / 2);
        // Far-off intersections (inflections) fall back to the curve's midpoint pull.
        Pt guess = mid * 2 - (a + b) * 0.5;
        if (std::hypot(c.x - guess.x, c.y - guess.y) > std::hypot(b.x - a.x, b.y - a.y))
            c = guess;
        quadTo(c, b);
    }
    return *this;
}

Path Path::transformed(const Matrix& m) const
{
    Path r;
    r.start = m.map(start);
    r.hole = hole;
    for (const Seg& s : segs)
        r.segs.push_back({s.curve, m.map(s.c), m.map(s.p)});
    return r;
}

Path Path::reversed() const
{
    Path r;
    r.hole = hole;
    r.start = end();
    for (size_t i = segs.size(); i-- > 0;) {
        Pt to = i == 0 ? start : segs[i - 1].p;
        r.segs.push_back({segs[i].curve, segs[i].c, to});
    }
    return r;
}

double Path::signedArea() const
{
    double a = 0;
    Pt prev = start;
    for (const Seg& s : segs) {
        if (s.curve) {
            // The curve's area counts through its control point, enough for orientation.
            a += prev.x * s.c.y - s.c.x * prev.y;
            a += s.c.x * s.p.y - s.p.x * s.c.y;
        } else {
            a += prev.x * s.p.y - s.p.x * prev.y;
        }
        prev = s.p;
    }
    a += prev.x * start.y - start.x * prev.y;
    return a / 2;
}

Paths transform(const Paths& ps, const Matrix& m)
{
    Paths r;
    for (const Path& p : ps)
        r.push_back(p.transformed(m));
    return r;
}

Shape& Shape::add(const Paths& paths, std::optional<Fill> fill, Line line)
{
    m_layers.push_back({paths, fill, line});
    return *this;
}

Shape& Shape::append(const Shape& other, const Matrix& m)
{
    double s = std::sqrt(std::fabs(m.a * m.d - m.b * m.c));
    for (const Layer& l : other.m_layers) {
        Layer copy = l;
        copy.paths = transform(l.paths, m);
        if (copy.fill && copy.fill->kind != Fill::Solid)
            copy.fill->m = m * copy.fill->m;
        copy.line.width *= s;
        m_layers.push_back(std::move(copy));
    }
    return *this;
}

Morph& Morph::add(const Paths& start, const Paths& end, std::optional<Fill> fillStart, std::optional<Fill> fillEnd,
                  Line lineStart, Line lineEnd)
{
    if (start.size() != end.size())
        throw std::runtime_error("morph contours differ in number");
    for (size_t i = 0; i < start.size(); ++i)
        if (start[i].segs.size() != end[i].segs.size())
            throw std::runtime_error("morph contours differ in edges");
    m_items.push_back({start, end, fillStart, fillEnd, lineStart, lineEnd});
    return *this;
}

double soundRateHz(SoundRate r) { return 5512.5 * double(1 << int(r)); }

void writeTag(BitWriter& w, int code, const Bytes& body)
{
    w.align();
    if (body.size() < 63 && code != swf::TagSoundStreamBlock && code != swf::TagDefineSound) {
        w.u16(unsigned(code << 6) | unsigned(body.size()));
    } else {
        w.u16(unsigned(code << 6) | 0x3f);
        w.u32(uint32_t(body.size()));
    }
    w.bytes(body);
}

void Timeline::frame(const State& state)
{
    m_pending.state = state;
    m_frames.push_back(std::move(m_pending));
    m_pending = {};
}

Bytes Timeline::tags(double fps) const
{
    BitWriter w;
    State prev;
    int perFrame = 0;
    if (!m_stream.empty()) {
        double exact = soundRateHz(m_streamRate) / fps;
        perFrame = int(std::lround(exact));
        if (std::fabs(exact - perFrame) > 1e-6)
            throw std::runtime_error("stream sound rate is not a whole number of samples per frame");
    }
    int streamIndex = -1;
    for (size_t f = 0; f < m_frames.size(); ++f) {
        const FrameData& fd = m_frames[f];
        if (!fd.label.empty()) {
            BitWriter b;
            b.string(fd.label);
            writeTag(w, swf::TagFrameLabel, b.take());
        }
        if (f == 0 && perFrame > 0) {
            BitWriter b;
            b.ub(4, 0);
            b.ub(2, unsigned(m_streamRate));
            b.flag(true);
            b.flag(false);
            encodeSoundHeaderBits(b, m_streamRate);
            b.u16(unsigned(perFrame));
            writeTag(w, swf::TagSoundStreamHead2, b.take());
        }
        for (const auto& [depth, p] : prev) {
            auto it = fd.state.find(depth);
            if (it == fd.state.end() || it->second.id != p.id) {
                BitWriter b;
                b.u16(unsigned(depth));
                writeTag(w, swf::TagRemoveObject2, b.take());
            }
        }
        for (const auto& [depth, p] : fd.state) {
            auto it = prev.find(depth);
            bool fresh = it == prev.end() || it->second.id != p.id;
            bool matrix = fresh || !(it->second.m == p.m);
            bool cx = fresh ? !p.cx.identity() : !(it->second.cx == p.cx);
            bool ratio = p.ratio >= 0 && (fresh || it->second.ratio != p.ratio);
            if (!fresh && !matrix && !cx && !ratio)
                continue;
            BitWriter b;
            unsigned flags = (ratio ? 0x10 : 0) | (cx ? 0x08 : 0) | (matrix ? 0x04 : 0) | (fresh ? 0x02 : 0x01);
            b.u8(flags);
            b.u16(unsigned(depth));
            if (fresh)
                b.u16(unsigned(p.id));
            if (matrix)
                writeMatrix(b, p.m);
            if (cx)
                writeColorX(b, p.cx);
            if (ratio)
                b.u16(unsigned(std::clamp(p.ratio, 0, 65535)));
            writeTag(w, swf::TagPlaceObject2, b.take());
        }
        prev = fd.state;
        for (int id : fd.sounds) {
            BitWriter b;
            b.u16(unsigned(id));
            b.u8(0);  // plain start: no envelope, loops or cut points
            writeTag(w, swf::TagStartSound, b.take());
        }
        if (perFrame > 0) {
            size_t first = f * size_t(perFrame);
            std::vector<int16_t> chunk(size_t(perFrame), 0);
            for (size_t i = 0; i < chunk.size() && first + i < m_stream.size(); ++i)
                chunk[i] = m_stream[first + i];
            // Each block starts a fresh packet, but from the step the last one ended on.
            writeTag(w, swf::TagSoundStreamBlock, adpcmEncode(chunk, 0, chunk.size(), &streamIndex));
        }
        if (fd.stop) {
            writeTag(w, swf::TagDoAction, Bytes{0x07, 0x00});
        }
        writeTag(w, swf::TagShowFrame, {});
    }
    return w.take();
}

Movie::Movie(double width, double height, double fps, Rgba background)
    : m_width(width), m_height(height), m_fps(fps), m_background(background)
{
}

int Movie::define(const Shape& shape)
{
    int id = nextId();
    BitWriter b;
    b.u16(unsigned(id));
    Box box;
    for (const auto& l : shape.layers())
        box.add(l.paths, l.line.width / 2);
    writeRect(b, box);

    // Every layer has at most one fill and one line, each numbered 1.
    auto stylesOf = [](const Shape::Layer& l) {
        std::vector<Fill> fills;
        std::vector<Line> lines;
        if (l.fill)
            fills.push_back(*l.fill);
        if (l.line.width > 0)
            lines.push_back(l.line);
        return std::pair{fills, lines};
    };
    const auto& layers = shape.layers();
    auto [fills0, lines0] = layers.empty() ? std::pair<std::vector<Fill>, std::vector<Line>>{} : stylesOf(layers[0]);
    Records::writeStyles(b, fills0, lines0);
    int fillBits = BitWriter::unsignedBits(unsigned(fills0.size()));
    int lineBits = BitWriter::unsignedBits(unsigned(lines0.size()));
    b.ub(4, unsigned(fillBits));
    b.ub(4, unsigned(lineBits));
    Records rec(b, fillBits, lineBits);
    for (size_t i = 0; i < layers.size(); ++i) {
        const auto& l = layers[i];
        auto [fills, lines] = stylesOf(l);
        if (i > 0)
            rec.newStyles(fills, lines);
        int fill = fills.empty() ? 0 : 1, line = lines.empty() ? 0 : 1;
        for (const Path& p : l.paths) {
            auto [f0, f1] = sidesFor(p, fill);
            rec.move(p.start, true, f0, f1, line);
            for (const Seg& s : p.segs)
                rec.edge(s);
        }
    }
    rec.end();
    BitWriter w;
    w.bytes(m_definitions);
    writeTag(w, swf::TagDefineShape3, b.take());
    m_definitions = w.take();
    return id;
}

int Movie::define(const Morph& morph)
{
    int id = nextId();
    std::vector<Fill> fillsA, fillsB;
    std::vector<Line> linesA, linesB;
    struct Ref {
        int fill = 0, line = 0;
    };
    std::vector<Ref> refs;
    Box boxA, boxB;
    for (const auto& it : morph.items()) {
        Ref r;
        if (it.fillStart) {
            fillsA.push_back(*it.fillStart);
            fillsB.push_back(it.fillEnd ? *it.fillEnd : *it.fillStart);
            r.fill = int(fillsA.size());
        }
        if (it.lineStart.width > 0 || it.lineEnd.width > 0) {
            linesA.push_back(it.lineStart);
            linesB.push_back(it.lineEnd);
            r.line = int(linesA.size());
        }
        refs.push_back(r);
        boxA.add(it.start, it.lineStart.width / 2);
        boxB.add(it.end, it.lineEnd.width / 2);
    }

    BitWriter styles;
    writeStyleCount(styles, fillsA.size());
    for (size_t i = 0; i < fillsA.size(); ++i)
        writeMorphFill(styles, fillsA[i], fillsB[i]);
    writeStyleCount(styles, linesA.size());
    for (size_t i = 0; i < linesA.size(); ++i) {
        styles.u16(unsigned(std::max(1, tw(linesA[i].width))));
        styles.u16(unsigned(std::max(1, tw(linesB[i].width))));
        writeRgba(styles, linesA[i].color);
        writeRgba(styles, linesB[i].color);
    }

    int fillBits = BitWriter::unsignedBits(unsigned(fillsA.size()));
    int lineBits = BitWriter::unsignedBits(unsigned(linesA.size()));
    BitWriter startEdges;
    startEdges.ub(4, unsigned(fillBits));
    startEdges.ub(4, unsigned(lineBits));
    {
        Records rec(startEdges, fillBits, lineBits);
        for (size_t i = 0; i < morph.items().size(); ++i) {
            const auto& it = morph.items()[i];
            for (const Path& p : it.start) {
                auto [f0, f1] = sidesFor(p, refs[i].fill);
                rec.move(p.start, true, f0, f1, refs[i].line);
                for (const Seg& s : p.segs)
                    rec.edge(s);
            }
        }
        rec.end();
    }
    BitWriter endEdges;
    endEdges.ub(4, 0);
    endEdges.ub(4, 0);
    {
        Records rec(endEdges, 0, 0);
        for (const auto& it : morph.items())
            for (const Path& p : it.end) {
                rec.move(p.start, false);
                for (const Seg& s : p.segs)
                    rec.edge(s);
            }
        rec.end();
    }

    BitWriter b;
    b.u16(unsigned(id));
    writeRect(b, boxA);
    writeRect(b, boxB);
    Bytes st = styles.take(), se = startEdges.take();
    b.u32(uint32_t(st.size() + se.size()));
    b.bytes(st);
    b.bytes(se);
    b.bytes(endEdges.take());
    BitWriter w;
    w.bytes(m_definitions);
    writeTag(w, swf::TagDefineMorphShape, b.take());
    m_definitions = w.take();
    return id;
}

int Movie::defineSprite(const Timeline& timeline)
{
    int id = nextId();
    BitWriter b;
    b.u16(unsigned(id));
    b.u16(unsigned(timeline.frameCount()));
    b.bytes(timeline.tags(m_fps));
    writeTag(b, swf::TagEnd, {});
    BitWriter w;
    w.bytes(m_definitions);
    writeTag(w, swf::TagDefineSprite, b.take());
    m_definitions = w.take();
    return id;
}

int Movie::defineSound(const std::vector<int16_t>& pcm, SoundRate rate)
{
    int id = nextId();
    BitWriter b;
    b.u16(unsigned(id));
    encodeSoundHeaderBits(b, rate);
    b.u32(uint32_t(pcm.size()));
    b.bytes(adpcmEncode(pcm));
    BitWriter w;
    w.bytes(m_definitions);
    writeTag(w, swf::TagDefineSound, b.take());
    m_definitions = w.take();
    return id;
}

Bytes Movie::build(bool compress, int version) const
{
    BitWriter body;
    writeRect(body, 0, tw(m_width), 0, tw(m_height));
    body.u16(unsigned(std::lround(m_fps * 256)));
    body.u16(unsigned(m_root.frameCount()));
    {
        BitWriter bg;
        bg.u8(m_background.r);
        bg.u8(m_background.g);
        bg.u8(m_background.b);
        writeTag(body, swf::TagSetBackgroundColor, bg.take());
    }
    body.bytes(m_definitions);
    body.bytes(m_root.tags(m_fps));
    writeTag(body, swf::TagEnd, {});
    Bytes rest = body.take();

    BitWriter out;
    out.u8(compress ? 'C' : 'F');
    out.u8('W');
    out.u8('S');
    out.u8(unsigned(version));
    out.u32(uint32_t(rest.size() + 8));
    if (!compress) {
        out.bytes(rest);
        return out.take();
    }
    uLongf size = compressBound(uLong(rest.size()));
    Bytes packed(size);
    if (compress2(packed.data(), &size, rest.data(), uLong(rest.size()), 9) != Z_OK)
        throw std::runtime_error("compression failed");
    packed.resize(size);
    out.bytes(packed);
    return out.take();
}

} // namespace author
