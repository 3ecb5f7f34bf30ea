#include "ShapeBuilder.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace movie {

namespace {

struct Segment {
    QPointF from, control, to;
    bool curve;
};

struct PointKey {
    qint64 x, y;
    bool operator==(const PointKey&) const = default;
};

struct PointKeyHash {
    size_t operator()(const PointKey& k) const { return std::hash<qint64>()(k.x * 1000003 ^ k.y); }
};

// Morphed points are fractional; compare at a resolution far below a pixel.
PointKey keyOf(QPointF p) { return {qint64(std::llround(p.x() * 16)), qint64(std::llround(p.y() * 16))}; }

void addSegment(QPainterPath& path, const Segment& s)
{
    if (s.curve)
        path.quadTo(s.control, s.to);
    else
        path.lineTo(s.to);
}

QPainterPath buildFill(const std::vector<Segment>& segs, Qt::FillRule rule)
{
    QPainterPath path;
    path.setFillRule(rule);
    std::unordered_map<PointKey, std::vector<int>, PointKeyHash> byStart;
    byStart.reserve(segs.size());
    for (int i = 0; i < int(segs.size()); ++i)
        byStart[keyOf(segs[size_t(i)].from)].push_back(i);
    std::unordered_map<PointKey, size_t, PointKeyHash> cursor;
    std::vector<bool> used(segs.size(), false);

    auto takeFrom = [&](const PointKey& k, int preferred) -> int {
        if (preferred >= 0 && preferred < int(segs.size()) && !used[size_t(preferred)]
            && keyOf(segs[size_t(preferred)].from) == k)
            return preferred;
        auto it = byStart.find(k);
        if (it == byStart.end())
            return -1;
        size_t& c = cursor[k];
        while (c < it->second.size() && used[size_t(it->second[c])])
            ++c;
        return c < it->second.size() ? it->second[c] : -1;
    };

    for (int i = 0; i < int(segs.size()); ++i) {
        if (used[size_t(i)])
            continue;
        PointKey start = keyOf(segs[size_t(i)].from);
        path.moveTo(segs[size_t(i)].from);
        int cur = i;
        while (cur >= 0) {
            used[size_t(cur)] = true;
            addSegment(path, segs[size_t(cur)]);
            PointKey end = keyOf(segs[size_t(cur)].to);
            if (end == start)
                break;
            cur = takeFrom(end, cur + 1);
        }
        path.closeSubpath();
    }
    return path;
}

QPainterPath buildStroke(const std::vector<const Edge*>& edges, bool noClose)
{
    QPainterPath path;
    QPointF subpathStart, pen;
    bool open = false;
    auto finish = [&]() {
        if (open && !noClose && keyOf(pen) == keyOf(subpathStart))
            path.closeSubpath();
        open = false;
    };
    for (const Edge* e : edges) {
        if (!open || keyOf(e->from) != keyOf(pen)) {
            finish();
            path.moveTo(e->from);
            subpathStart = e->from;
            open = true;
        }
        if (e->curve)
            path.quadTo(e->control, e->to);
        else
            path.lineTo(e->to);
        pen = e->to;
    }
    finish();
    return path;
}

Rgba mixColor(Rgba a, Rgba b, double t)
{
    auto m = [t](int x, int y) { return uint8_t(std::clamp(std::lround(x + (y - x) * t), 0L, 255L)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

QTransform mixMatrix(const QTransform& a, const QTransform& b, double t)
{
    auto m = [t](double x, double y) { return x + (y - x) * t; };
    return QTransform(m(a.m11(), b.m11()), m(a.m12(), b.m12()), m(a.m21(), b.m21()), m(a.m22(), b.m22()),
                      m(a.dx(), b.dx()), m(a.dy(), b.dy()));
}

FillStyle mixFill(const FillStyle& a, const FillStyle& b, double t)
{
    FillStyle f = a;
    f.color = mixColor(a.color, b.color, t);
    f.matrix = mixMatrix(a.matrix, b.matrix, t);
    f.focal = a.focal + (b.focal - a.focal) * t;
    for (size_t i = 0; i < f.stops.size() && i < b.stops.size(); ++i) {
        f.stops[i].ratio = uint8_t(std::lround(a.stops[i].ratio + (b.stops[i].ratio - a.stops[i].ratio) * t));
        f.stops[i].color = mixColor(a.stops[i].color, b.stops[i].color, t);
    }
    return f;
}

} // namespace

CompiledShape ShapeBuilder::compile(const ShapeGeometry& g)
{
    CompiledShape out;
    out.fills = g.fills;
    out.lines = g.lines;
    out.fillOutline.setFillRule(Qt::WindingFill);
    const Qt::FillRule rule = g.nonZeroWinding ? Qt::WindingFill : Qt::OddEvenFill;

    int groups = 0;
    for (const Edge& e : g.edges)
        groups = std::max(groups, e.group + 1);

    std::vector<std::vector<Segment>> perFill(g.fills.size() + 1);
    std::vector<std::vector<const Edge*>> perLine(g.lines.size() + 1);
    size_t e0 = 0;
    for (int group = 0; group < groups; ++group) {
        for (auto& v : perFill)
            v.clear();
        for (auto& v : perLine)
            v.clear();
        size_t e1 = e0;
        while (e1 < g.edges.size() && g.edges[e1].group == group)
            ++e1;
        for (size_t i = e0; i < e1; ++i) {
            const Edge& e = g.edges[i];
            if (e.fill0 == e.fill1)
                ; // the same fill on both sides draws no boundary
            else {
                if (e.fill1 > 0 && size_t(e.fill1) <= g.fills.size())
                    perFill[size_t(e.fill1)].push_back({e.from, e.control, e.to, e.curve});
                if (e.fill0 > 0 && size_t(e.fill0) <= g.fills.size())
                    perFill[size_t(e.fill0)].push_back({e.to, e.control, e.from, e.curve});
            }
            if (e.line > 0 && size_t(e.line) <= g.lines.size())
                perLine[size_t(e.line)].push_back(&e);
        }
        for (size_t f = 1; f < perFill.size(); ++f) {
            if (perFill[f].empty())
                continue;
            CompiledShape::Part part;
            part.path = buildFill(perFill[f], rule);
            part.style = int(f - 1);
            out.fillOutline.addPath(part.path);
            out.parts.push_back(std::move(part));
        }
        for (size_t l = 1; l < perLine.size(); ++l) {
            if (perLine[l].empty())
                continue;
            CompiledShape::Part part;
            part.path = buildStroke(perLine[l], g.lines[l - 1].noClose);
            part.stroke = true;
            part.style = int(l - 1);
            out.parts.push_back(std::move(part));
        }
        e0 = e1;
        if (e0 >= g.edges.size())
            break;
    }
    return out;
}

ShapeGeometry ShapeBuilder::interpolate(const MorphCharacter& m, double t)
{
    ShapeGeometry g;
    for (size_t i = 0; i < m.startFills.size(); ++i)
        g.fills.push_back(mixFill(m.startFills[i], m.endFills[i], t));
    for (size_t i = 0; i < m.startLines.size(); ++i) {
        LineStyle l = m.startLines[i];
        const LineStyle& b = m.endLines[i];
        l.width = l.width + (b.width - l.width) * t;
        l.color = mixColor(l.color, b.color, t);
        if (l.hasFill)
            l.fill = mixFill(l.fill, b.fill, t);
        g.lines.push_back(l);
    }
    g.edges.reserve(m.startEdges.size());
    auto mix = [t](QPointF a, QPointF b) { return a + (b - a) * t; };
    for (size_t i = 0; i < m.startEdges.size(); ++i) {
        const Edge& a = m.startEdges[i];
        const Edge& b = m.endEdges[i];
        Edge e = a;
        e.from = mix(a.from, b.from);
        e.to = mix(a.to, b.to);
        // A straight edge paired with a curve acts as a curve with its control point halfway.
        e.control = mix(a.control, b.control);
        e.curve = a.curve || b.curve;
        g.edges.push_back(e);
    }
    return g;
}

} // namespace movie
