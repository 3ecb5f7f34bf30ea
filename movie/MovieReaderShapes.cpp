#include "MovieReader.h"

#include "ReaderFields.h"
#include "SwfTags.h"

#include <algorithm>

namespace movie {

using namespace swf;

namespace {

FillStyle::Kind gradientKind(int type)
{
    return type == 0x10 ? FillStyle::Kind::Linear : type == 0x12 ? FillStyle::Kind::Radial : FillStyle::Kind::Focal;
}

// Bitmap fill types 0x40 to 0x43: repeating or clipped, smoothed or not.
void setBitmapModes(FillStyle& fill, int type)
{
    fill.kind = FillStyle::Kind::Bitmap;
    fill.repeating = type == 0x40 || type == 0x42;
    fill.smoothed = type == 0x40 || type == 0x41;
}

// The spread and interpolation fields that open a gradient record.
void setGradientModes(BitReader& r, FillStyle& fill)
{
    r.align();
    const uint32_t spread = r.ub(2);
    const uint32_t interp = r.ub(2);
    fill.spread = spread == 1 ? SpreadMode::Reflect : spread == 2 ? SpreadMode::Repeat : SpreadMode::Pad;
    fill.interpolation = interp == 1 ? Interpolation::LinearRgb : Interpolation::Normal;
}

// The flags of a LINESTYLE2 (and its morph form) up to the miter limit; the fill or colour
// that follows is the caller's.
void readLineFlags(BitReader& r, LineStyle& line)
{
    line.cap = capStyle(r.ub(2));
    const uint32_t join = r.ub(2);
    line.join = joinStyle(join);
    line.hasFill = r.flag();
    line.noHScale = r.flag();
    line.noVScale = r.flag();
    r.ub(6);  // pixel hinting, reserved
    line.noClose = r.flag();
    r.ub(2);  // end cap: the painter has one cap style per stroke
    if (join == 2)
        line.miterLimit = std::max(1.0, r.u16() / 256.0);
}

} // namespace

bool MovieReader::readFillStyle(BitReader& r, int shapeVersion, FillStyle& fill)
{
    int type = r.u8();
    switch (type) {
    case 0x00:
        fill.kind = FillStyle::Kind::Solid;
        fill.color = readColor(r, shapeVersion >= 3);
        return r.ok();
    case 0x10:
    case 0x12:
    case 0x13:
        fill.kind = gradientKind(type);
        fill.matrix = readMatrix(r);
        if (!readGradient(r, shapeVersion, fill))
            return false;
        if (type == 0x13)
            fill.focal = std::clamp(r.fixed8(), -1.0, 1.0);
        return r.ok();
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
        setBitmapModes(fill, type);
        fill.bitmapId = r.u16();
        fill.matrix = readMatrix(r);
        return r.ok();
    default:
        return fail(QString("unknown fill style type %1").arg(type));
    }
}

bool MovieReader::readGradient(BitReader& r, int shapeVersion, FillStyle& fill)
{
    setGradientModes(r, fill);
    int count = int(r.ub(4));
    fill.stops.clear();
    for (int i = 0; i < count; ++i) {
        GradientStop s;
        s.ratio = r.u8();
        s.color = readColor(r, shapeVersion >= 3);
        fill.stops.push_back(s);
    }
    return r.ok();
}

bool MovieReader::readStyles(BitReader& r, int shapeVersion, std::vector<FillStyle>& fills,
                             std::vector<LineStyle>& lines)
{
    int fillCount = r.u8();
    if (fillCount == 0xff && shapeVersion >= 2)
        fillCount = r.u16();
    fills.clear();
    fills.reserve(size_t(std::min<size_t>(size_t(fillCount), r.remaining())));
    for (int i = 0; i < fillCount && r.ok(); ++i) {
        FillStyle f;
        if (!readFillStyle(r, shapeVersion, f))
            return false;
        fills.push_back(std::move(f));
    }
    int lineCount = r.u8();
    if (lineCount == 0xff && shapeVersion >= 2)
        lineCount = r.u16();
    lines.clear();
    for (int i = 0; i < lineCount && r.ok(); ++i) {
        LineStyle l;
        l.width = r.u16();
        if (shapeVersion >= 4) {
            readLineFlags(r, l);
            if (l.hasFill) {
                if (!readFillStyle(r, shapeVersion, l.fill))
                    return false;
            } else {
                l.color = readRgba(r);
            }
        } else {
            l.color = readColor(r, shapeVersion >= 3);
        }
        lines.push_back(std::move(l));
    }
    return r.ok();
}

bool MovieReader::readShapeRecords(BitReader& r, int shapeVersion, ShapeGeometry& g, StyleSource source)
{
    RecordState s;
    s.source = source;
    s.shapeVersion = shapeVersion;
    if (!takeStyles(r, s, g))
        return false;
    int records = 0;
    while (r.ok()) {
        if (++records > MaxShapeRecords)
            return fail("shape has too many records");
        if (r.flag()) {
            if (!readEdge(r, s, g))
                return false;
            continue;
        }
        const uint32_t flags = r.ub(5);
        if (flags == 0)
            break;
        if (!readStyleChange(r, flags, s, g))
            return false;
    }
    if (source == StyleSource::Glyph && g.fills.empty())
        g.fills.push_back(FillStyle());
    return r.ok();
}

// The style tables the following records select from, and the widths of their indices.
bool MovieReader::takeStyles(BitReader& r, RecordState& s, ShapeGeometry& g)
{
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    if (s.source == StyleSource::Read && !readStyles(r, s.shapeVersion, fills, lines))
        return false;
    s.fillBase = g.fills.size();
    s.lineBase = g.lines.size();
    s.fillCount = fills.size();
    s.lineCount = lines.size();
    if (s.source == StyleSource::Given) {
        s.fillBase = s.lineBase = 0;
        s.fillCount = g.fills.size();
        s.lineCount = g.lines.size();
    }
    g.fills.insert(g.fills.end(), fills.begin(), fills.end());
    g.lines.insert(g.lines.end(), lines.begin(), lines.end());
    r.align();
    s.fillBits = int(r.ub(4));
    s.lineBits = int(r.ub(4));
    return true;
}

bool MovieReader::readStyleChange(BitReader& r, uint32_t flags, RecordState& s, ShapeGeometry& g)
{
    const bool newStyles = flags & 0x10, hasLine = flags & 0x08, hasFill1 = flags & 0x04, hasFill0 = flags & 0x02;
    if (flags & 0x01) {
        int bits = int(r.ub(5));
        double x = r.sb(bits), y = r.sb(bits);
        s.pen = QPointF(x, y);
    }
    const uint32_t f0 = hasFill0 ? r.ub(s.fillBits) : 0;
    const uint32_t f1 = hasFill1 ? r.ub(s.fillBits) : 0;
    const uint32_t l = hasLine ? r.ub(s.lineBits) : 0;
    if (newStyles && s.source == StyleSource::Given)
        return fail("morph shapes cannot replace their styles");
    if (newStyles && s.source == StyleSource::Read && s.shapeVersion >= 2) {
        if (!takeStyles(r, s, g))
            return false;
        ++s.group;
        s.fill0 = s.fill1 = s.line = 0;
    }
    // A style index past the table is treated as "no style" rather than refusing the file:
    // some exporters write them for unused sides.
    auto fillIndex = [&](uint32_t idx) { return idx == 0 || idx > s.fillCount ? 0 : int(s.fillBase + idx); };
    auto lineIndex = [&](uint32_t idx) { return idx == 0 || idx > s.lineCount ? 0 : int(s.lineBase + idx); };
    if (hasFill0)
        s.fill0 = fillIndex(f0);
    if (hasFill1)
        s.fill1 = fillIndex(f1);
    if (hasLine)
        s.line = lineIndex(l);
    if (s.source == StyleSource::Glyph) {
        // Glyphs have one implied fill.
        s.fill0 = hasFill0 ? (f0 ? 1 : 0) : s.fill0;
        s.fill1 = hasFill1 ? (f1 ? 1 : 0) : s.fill1;
    }
    return true;
}

bool MovieReader::readEdge(BitReader& r, RecordState& s, ShapeGeometry& g)
{
    bool straight = r.flag();
    int bits = int(r.ub(4)) + 2;
    Edge e;
    e.from = s.pen;
    e.fill0 = s.fill0;
    e.fill1 = s.fill1;
    e.line = s.line;
    e.group = s.group;
    if (straight) {
        double dx = 0, dy = 0;
        if (r.flag()) {
            dx = r.sb(bits);
            dy = r.sb(bits);
        } else if (r.flag()) {
            dy = r.sb(bits);
        } else {
            dx = r.sb(bits);
        }
        e.to = s.pen + QPointF(dx, dy);
        e.control = (e.from + e.to) / 2;
    } else {
        double cx = r.sb(bits), cy = r.sb(bits), ax = r.sb(bits), ay = r.sb(bits);
        e.curve = true;
        e.control = s.pen + QPointF(cx, cy);
        e.to = e.control + QPointF(ax, ay);
    }
    s.pen = e.to;
    if (++m_totalEdges > MaxTotalEdges)
        return fail("movie has too many shape edges");
    g.edges.push_back(e);
    return true;
}

bool MovieReader::readShape(int code, BitReader& r)
{
    int version = code == TagDefineShape ? 1 : code == TagDefineShape2 ? 2 : code == TagDefineShape3 ? 3 : 4;
    uint16_t id = r.u16();
    ShapeRecord shape;
    shape.bounds = readRect(r);
    if (version == 4) {
        readRect(r);
        uint32_t flags = r.u8();
        shape.geometry.nonZeroWinding = flags & 0x04;
    }
    if (!readShapeRecords(r, version, shape.geometry, StyleSource::Read))
        return false;
    return addCharacter(id, std::move(shape));
}

bool MovieReader::readMorphFillStyle(BitReader& r, FillStyle& start, FillStyle& end)
{
    int type = r.u8();
    switch (type) {
    case 0x00:
        start.kind = end.kind = FillStyle::Kind::Solid;
        start.color = readRgba(r);
        end.color = readRgba(r);
        return r.ok();
    case 0x10:
    case 0x12:
    case 0x13: {
        start.kind = end.kind = gradientKind(type);
        start.matrix = readMatrix(r);
        end.matrix = readMatrix(r);
        setGradientModes(r, start);
        end.spread = start.spread;
        end.interpolation = start.interpolation;
        int count = int(r.ub(4));
        for (int i = 0; i < count; ++i) {
            GradientStop a, b;
            a.ratio = r.u8();
            a.color = readRgba(r);
            b.ratio = r.u8();
            b.color = readRgba(r);
            start.stops.push_back(a);
            end.stops.push_back(b);
        }
        if (type == 0x13) {
            start.focal = std::clamp(r.fixed8(), -1.0, 1.0);
            end.focal = std::clamp(r.fixed8(), -1.0, 1.0);
        }
        return r.ok();
    }
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
        setBitmapModes(start, type);
        setBitmapModes(end, type);
        start.bitmapId = end.bitmapId = r.u16();
        start.matrix = readMatrix(r);
        end.matrix = readMatrix(r);
        return r.ok();
    default:
        return fail(QString("unknown morph fill style type %1").arg(type));
    }
}

bool MovieReader::readMorphLineStyle(BitReader& r, int version, LineStyle& start, LineStyle& end)
{
    start.width = r.u16();
    end.width = r.u16();
    if (version == 2) {
        readLineFlags(r, start);  // the end style shares every flag of the start style
        end.cap = start.cap;
        end.join = start.join;
        end.noHScale = start.noHScale;
        end.noVScale = start.noVScale;
        end.noClose = start.noClose;
        end.miterLimit = start.miterLimit;
        if (start.hasFill) {
            end.hasFill = true;
            return readMorphFillStyle(r, start.fill, end.fill);
        }
    }
    start.color = readRgba(r);
    end.color = readRgba(r);
    return r.ok();
}

bool MovieReader::readMorphShape(int code, BitReader& r)
{
    int version = code == TagDefineMorphShape ? 1 : 2;
    uint16_t id = r.u16();
    MorphCharacter morph;
    morph.startBounds = readRect(r);
    morph.endBounds = readRect(r);
    if (version == 2) {
        readRect(r);
        readRect(r);
        r.u8();
    }
    uint32_t offset = r.u32();
    size_t endEdgesAt = r.position() + offset;
    if (!readMorphStyles(r, version, morph) || !readMorphEdges(r, endEdgesAt, morph))
        return false;
    return addCharacter(id, std::move(morph));
}

bool MovieReader::readMorphStyles(BitReader& r, int version, MorphCharacter& morph)
{
    int fillCount = r.u8();
    if (fillCount == 0xff)
        fillCount = r.u16();
    for (int i = 0; i < fillCount && r.ok(); ++i) {
        FillStyle a, b;
        if (!readMorphFillStyle(r, a, b))
            return false;
        morph.startFills.push_back(std::move(a));
        morph.endFills.push_back(std::move(b));
    }
    int lineCount = r.u8();
    if (lineCount == 0xff)
        lineCount = r.u16();
    for (int i = 0; i < lineCount && r.ok(); ++i) {
        LineStyle a, b;
        if (!readMorphLineStyle(r, version, a, b))
            return false;
        morph.startLines.push_back(std::move(a));
        morph.endLines.push_back(std::move(b));
    }
    return r.ok();
}

bool MovieReader::readMorphEdges(const BitReader& r, size_t endEdgesAt, MorphCharacter& morph)
{
    {
        // The start edges use the morph's own style tables.
        ShapeGeometry start;
        start.fills = morph.startFills;
        start.lines = morph.startLines;
        BitReader edges = r;
        if (!readShapeRecords(edges, 3, start, StyleSource::Given))
            return false;
        morph.startEdges = std::move(start.edges);
    }

    // End edges: the offset says where they start; they carry no styles.
    if (endEdgesAt < r.position() || endEdgesAt > r.size()) {
        // A zero or wrong offset is common in hand-made files; an empty end shape means
        // the start shape is shown unchanged.
        morph.endEdges = morph.startEdges;
    } else {
        BitReader whole = r;
        whole.skip(endEdgesAt - r.position());
        BitReader edges = whole.sub(whole.remaining());
        ShapeGeometry endShape;
        if (!readShapeRecords(edges, 1, endShape, StyleSource::Glyph))
            return false;
        morph.endEdges = std::move(endShape.edges);
    }
    if (morph.endEdges.size() != morph.startEdges.size()) {
        // Mismatched edge lists cannot be blended; show the start shape at every ratio.
        morph.endEdges = morph.startEdges;
    }
    return true;
}

} // namespace movie
