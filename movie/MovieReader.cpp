#include "MovieReader.h"

#include "BitmapDecoder.h"
#include "ShapeBuilder.h"
#include "SwfContainer.h"

#include <algorithm>

namespace movie {

namespace {

enum TagCode {
    TagEnd = 0,
    TagShowFrame = 1,
    TagDefineShape = 2,
    TagPlaceObject = 4,
    TagRemoveObject = 5,
    TagDefineBits = 6,
    TagDefineButton = 7,
    TagJpegTables = 8,
    TagSetBackgroundColor = 9,
    TagDefineFont = 10,
    TagDefineText = 11,
    TagDoAction = 12,
    TagDefineSound = 14,
    TagStartSound = 15,
    TagSoundStreamHead = 18,
    TagSoundStreamBlock = 19,
    TagDefineBitsLossless = 20,
    TagDefineBitsJpeg2 = 21,
    TagDefineShape2 = 22,
    TagPlaceObject2 = 26,
    TagRemoveObject2 = 28,
    TagDefineShape3 = 32,
    TagDefineText2 = 33,
    TagDefineButton2 = 34,
    TagDefineBitsJpeg3 = 35,
    TagDefineBitsLossless2 = 36,
    TagDefineSprite = 39,
    TagFrameLabel = 43,
    TagSoundStreamHead2 = 45,
    TagDefineMorphShape = 46,
    TagDefineFont2 = 48,
    TagFileAttributes = 69,
    TagPlaceObject3 = 70,
    TagDoAbc = 72,
    TagDefineFont3 = 75,
    TagDoAbc2 = 82,
    TagDefineShape4 = 83,
    TagDefineMorphShape2 = 84,
    TagStartSound2 = 89,
    TagDefineBitsJpeg4 = 90,
};

QRectF readRect(BitReader& r)
{
    r.align();
    int bits = int(r.ub(5));
    double xmin = r.sb(bits), xmax = r.sb(bits), ymin = r.sb(bits), ymax = r.sb(bits);
    r.align();
    return QRectF(QPointF(xmin, ymin), QPointF(xmax, ymax));
}

QTransform readMatrix(BitReader& r)
{
    r.align();
    double sx = 1, sy = 1, r0 = 0, r1 = 0;
    if (r.flag()) {
        int bits = int(r.ub(5));
        sx = r.fb(bits);
        sy = r.fb(bits);
    }
    if (r.flag()) {
        int bits = int(r.ub(5));
        r0 = r.fb(bits);
        r1 = r.fb(bits);
    }
    int bits = int(r.ub(5));
    double tx = r.sb(bits), ty = r.sb(bits);
    r.align();
    return QTransform(sx, r0, r1, sy, tx, ty);
}

ColorTransform readColorTransform(BitReader& r, bool withAlpha)
{
    r.align();
    ColorTransform c;
    bool hasAdd = r.flag();
    bool hasMult = r.flag();
    int bits = int(r.ub(4));
    if (hasMult) {
        c.mr = r.sb(bits) / 256.0;
        c.mg = r.sb(bits) / 256.0;
        c.mb = r.sb(bits) / 256.0;
        if (withAlpha)
            c.ma = r.sb(bits) / 256.0;
    }
    if (hasAdd) {
        c.ar = r.sb(bits);
        c.ag = r.sb(bits);
        c.ab = r.sb(bits);
        if (withAlpha)
            c.aa = r.sb(bits);
    }
    r.align();
    return c;
}

Rgba readRgb(BitReader& r)
{
    Rgba c;
    c.r = r.u8();
    c.g = r.u8();
    c.b = r.u8();
    return c;
}

Rgba readRgba(BitReader& r)
{
    Rgba c = readRgb(r);
    c.a = r.u8();
    return c;
}

Rgba readColor(BitReader& r, bool alpha) { return alpha ? readRgba(r) : readRgb(r); }

// The codec, rate, sample size and channels fields of DefineSound and SoundStreamHead.
sound::SoundFormat readSoundFormat(BitReader& r)
{
    sound::SoundFormat f;
    f.codec = int(r.ub(4));
    f.rateCode = int(r.ub(2));
    f.sixteenBit = r.flag();
    f.stereo = r.flag();
    return f;
}

Qt::PenCapStyle capStyle(uint32_t v)
{
    switch (v) {
    case 1: return Qt::FlatCap;
    case 2: return Qt::SquareCap;
    default: return Qt::RoundCap;
    }
}

Qt::PenJoinStyle joinStyle(uint32_t v)
{
    switch (v) {
    case 1: return Qt::BevelJoin;
    case 2: return Qt::MiterJoin;
    default: return Qt::RoundJoin;
    }
}

// Skips a filter list (drop shadow, blur, glow, bevel, gradient glow, convolution, colour
// matrix, gradient bevel); filters are not drawn. Unknown types mark the reader failed.
void skipFilters(BitReader& r)
{
    static const int fixedSizes[] = {23, 9, 15, 27, -1, -1, 80, -1};
    int count = r.u8();
    for (int i = 0; i < count && r.ok(); ++i) {
        int type = r.u8();
        if (type > 7) {
            r.fail();
            return;
        }
        if (type == 4 || type == 7) {
            int colours = r.u8();
            r.skip(size_t(colours) * 5 + 19);
        } else if (type == 5) {
            int x = r.u8(), y = r.u8();
            r.skip(8 + size_t(x) * size_t(y) * 4 + 5);
        } else {
            r.skip(size_t(fixedSizes[type]));
        }
    }
}

QString tagName(int code) { return QString("tag %1").arg(code); }

} // namespace

int TimelineData::labelFrame(const QString& label) const
{
    for (size_t i = 0; i < frames.size(); ++i) {
        if (!frames[i].label.isEmpty() && frames[i].label.compare(label, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool MovieReader::fail(const QString& reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}

Result<std::shared_ptr<MovieData>> MovieReader::read(const QByteArray& file)
{
    using R = Result<std::shared_ptr<MovieData>>;
    auto container = SwfContainer::unpack(file);
    if (!container)
        return R::failure(container.error());

    MovieReader reader;
    reader.m_movie = std::make_shared<MovieData>();
    reader.m_movie->version = container->version;
    reader.m_movie->root = std::make_shared<TimelineData>();
    BitReader r(container->body);
    if (!reader.readHeader(r) || !reader.readTags(r, *reader.m_movie->root, false))
        return R::failure(reader.m_error.isEmpty() ? QString("malformed movie") : reader.m_error);

    if (!reader.resolveTexts())
        return R::failure(reader.m_error);
    for (const PendingJpeg& p : reader.m_pendingJpegs) {
        auto image = BitmapDecoder::decodeJpeg(p.data, reader.m_jpegTables, {});
        if (!image)
            return R::failure(QString("bitmap %1: %2").arg(p.id).arg(image.error()));
        reader.m_totalPixels += qint64(image->width()) * image->height();
        if (reader.m_totalPixels > MaxTotalBitmapPixels)
            return R::failure("bitmaps exceed the total pixel limit");
        if (reader.m_movie->characters.contains(p.id))
            continue;
        reader.m_movie->characters.insert(p.id, BitmapCharacter{image.value(), {}, {}});
    }
    return reader.m_movie;
}

bool MovieReader::readHeader(BitReader& r)
{
    m_movie->stage = readRect(r);
    m_movie->frameRate = r.u16() / 256.0;
    m_movie->declaredFrameCount = r.u16();
    if (!r.ok())
        return fail("movie header is truncated");
    if (m_movie->stage.width() <= 0 || m_movie->stage.height() <= 0)
        return fail("stage size is empty");
    if (m_movie->stage.width() > 20 * 20000 || m_movie->stage.height() > 20 * 20000)
        return fail("stage size is too large");
    return true;
}

bool MovieReader::readTags(BitReader& r, TimelineData& timeline, bool inSprite)
{
    Frame frame;
    while (!r.atEnd()) {
        uint16_t header = r.u16();
        int code = header >> 6;
        uint32_t length = header & 0x3f;
        if (length == 0x3f)
            length = r.u32();
        if (!r.ok())
            return fail("tag header is truncated");
        if (length > r.remaining())
            return fail(QString("%1 runs past the end of its container (%2 bytes, %3 left)")
                            .arg(tagName(code)).arg(length).arg(r.remaining()));
        BitReader tag = r.sub(length);
        if (code == TagEnd)
            break;  // a missing End tag is tolerated too
        if (code == TagShowFrame) {
            if (int(timeline.frames.size()) >= MaxFramesPerTimeline || ++m_totalFrames > MaxTotalFrames)
                return fail("too many frames");
            timeline.frames.push_back(std::move(frame));
            frame = Frame();
            continue;
        }
        if (!readTag(code, tag, timeline, frame, inSprite))
            return fail(QString("%1 is malformed").arg(tagName(code)));
    }
    // Tags after the last ShowFrame belong to no frame; a timeline without any ShowFrame
    // still shows what it placed.
    if (timeline.frames.empty())
        timeline.frames.push_back(std::move(frame));
    return true;
}

bool MovieReader::readTag(int code, BitReader& tag, TimelineData& timeline, Frame& frame, bool inSprite)
{
    switch (code) {
    case TagSetBackgroundColor: {
        // Only the first background colour of a movie counts; later ones are ignored.
        Rgba color = readRgb(tag);
        if (!m_backgroundSeen && tag.ok()) {
            m_movie->background = color;
            m_backgroundSeen = true;
        }
        return tag.ok();
    }
    case TagFileAttributes: {
        uint32_t flags = tag.u8();
        m_movie->usesAs3 = flags & 0x08;
        return true;
    }
    case TagPlaceObject:
    case TagPlaceObject2:
    case TagPlaceObject3:
    case TagRemoveObject:
    case TagRemoveObject2:
        if (++m_totalCommands > MaxTotalCommands)
            return fail("too many display list commands");
        return readPlace(code, tag, frame);
    case TagFrameLabel:
        frame.label = tag.string();
        return true;  // the optional anchor flag after the name is of no use here
    case TagDoAction:
        return readActions(tag, frame);
    case TagStartSound:
    case TagStartSound2: {
        StartSound s;
        if (code == TagStartSound)
            s.soundId = tag.u16();
        else
            s.className = tag.string();
        if (!readSoundInfo(tag, s.info) || !tag.ok())
            return false;
        frame.sounds.push_back(std::move(s));
        return true;
    }
    case TagSoundStreamHead:
    case TagSoundStreamHead2: {
        sound::StreamFormat h;
        tag.ub(8);  // the playback fields: the mixer decides how it plays
        h.format = readSoundFormat(tag);
        h.samplesPerBlock = tag.u16();
        if (h.format.codec == int(sound::Codec::Mp3) && tag.remaining() >= 2)
            h.latencySeek = tag.s16();
        if (!tag.ok())
            return false;
        timeline.streamHeads.push_back(h);
        return true;
    }
    case TagSoundStreamBlock:
        m_soundBytes += qint64(tag.remaining());
        if (m_soundBytes > MaxSoundBytes)
            return fail("too much sound data");
        frame.streamBlocks.push_back(tag.bytes(tag.remaining()));
        return true;
    default:
        break;
    }

    // Definitions live in the movie's one dictionary; inside a sprite they are not allowed.
    if (inSprite)
        return true;
    switch (code) {
    case TagDefineShape:
    case TagDefineShape2:
    case TagDefineShape3:
    case TagDefineShape4:
        return readShape(code, tag);
    case TagDefineMorphShape:
    case TagDefineMorphShape2:
        return readMorphShape(code, tag);
    case TagJpegTables:
        m_jpegTables = tag.bytes(tag.remaining());
        return true;
    case TagDefineBits:
    case TagDefineBitsJpeg2:
    case TagDefineBitsJpeg3:
    case TagDefineBitsJpeg4:
    case TagDefineBitsLossless:
    case TagDefineBitsLossless2:
        return readBitmap(code, tag);
    case TagDefineButton:
    case TagDefineButton2:
        return readButton(code, tag);
    case TagDefineFont:
    case TagDefineFont2:
    case TagDefineFont3:
        return readFont(code, tag);
    case TagDefineText:
    case TagDefineText2:
        return readText(code, tag);
    case TagDefineSprite:
        return readSprite(tag);
    case TagDefineSound:
        return readSound(tag);
    case TagDoAbc:
    case TagDoAbc2:
        m_movie->usesAs3 = true;
        return true;
    default:
        return true;  // everything else is skipped by its length
    }
}

bool MovieReader::addCharacter(uint16_t id, Character c)
{
    // A repeated id keeps the first definition; later ones are ignored.
    if (!m_movie->characters.contains(id))
        m_movie->characters.insert(id, std::move(c));
    return true;
}

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
        fill.kind = type == 0x10 ? FillStyle::Kind::Linear : type == 0x12 ? FillStyle::Kind::Radial : FillStyle::Kind::Focal;
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
        fill.kind = FillStyle::Kind::Bitmap;
        fill.bitmapId = r.u16();
        fill.matrix = readMatrix(r);
        fill.repeating = type == 0x40 || type == 0x42;
        fill.smoothed = type == 0x40 || type == 0x41;
        return r.ok();
    default:
        return fail(QString("unknown fill style type %1").arg(type));
    }
}

bool MovieReader::readGradient(BitReader& r, int shapeVersion, FillStyle& fill)
{
    r.align();
    uint32_t spread = r.ub(2);
    uint32_t interp = r.ub(2);
    int count = int(r.ub(4));
    fill.spread = spread == 1 ? SpreadMode::Reflect : spread == 2 ? SpreadMode::Repeat : SpreadMode::Pad;
    fill.interpolation = interp == 1 ? Interpolation::LinearRgb : Interpolation::Normal;
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
            l.cap = capStyle(r.ub(2));
            uint32_t join = r.ub(2);
            l.join = joinStyle(join);
            l.hasFill = r.flag();
            bool noH = r.flag();
            bool noV = r.flag();
            l.noHScale = noH;
            l.noVScale = noV;
            r.ub(1);  // pixel hinting
            r.ub(5);
            l.noClose = r.flag();
            r.ub(2);  // end cap: the painter has one cap style per stroke
            if (join == 2)
                l.miterLimit = std::max(1.0, r.u16() / 256.0);
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
    const bool withStyles = source == StyleSource::Read;
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    if (withStyles) {
        if (!readStyles(r, shapeVersion, fills, lines))
            return false;
    }
    size_t fillBase = g.fills.size(), lineBase = g.lines.size();
    size_t fillCount = fills.size(), lineCount = lines.size();
    if (source == StyleSource::Given) {
        fillBase = lineBase = 0;
        fillCount = g.fills.size();
        lineCount = g.lines.size();
    }
    g.fills.insert(g.fills.end(), fills.begin(), fills.end());
    g.lines.insert(g.lines.end(), lines.begin(), lines.end());

    r.align();
    int fillBits = int(r.ub(4));
    int lineBits = int(r.ub(4));
    QPointF pen(0, 0);
    int fill0 = 0, fill1 = 0, line = 0, group = 0;
    int records = 0;
    // A style index past the table is treated as "no style" rather than refusing the file:
    // some exporters write them for unused sides.
    auto fillIndex = [&](uint32_t idx) { return idx == 0 || idx > fillCount ? 0 : int(fillBase + idx); };
    auto lineIndex = [&](uint32_t idx) { return idx == 0 || idx > lineCount ? 0 : int(lineBase + idx); };
    while (r.ok()) {
        if (++records > MaxShapeRecords)
            return fail("shape has too many records");
        bool isEdge = r.flag();
        if (!isEdge) {
            uint32_t flags = r.ub(5);
            if (flags == 0)
                break;
            bool newStyles = flags & 0x10, hasLine = flags & 0x08, hasFill1 = flags & 0x04, hasFill0 = flags & 0x02,
                 moveTo = flags & 0x01;
            if (moveTo) {
                int bits = int(r.ub(5));
                double x = r.sb(bits), y = r.sb(bits);
                pen = QPointF(x, y);
            }
            uint32_t f0 = hasFill0 ? r.ub(fillBits) : 0;
            uint32_t f1 = hasFill1 ? r.ub(fillBits) : 0;
            uint32_t l = hasLine ? r.ub(lineBits) : 0;
            if (newStyles && source == StyleSource::Given)
                return fail("morph shapes cannot replace their styles");
            if (newStyles && withStyles && shapeVersion >= 2) {
                if (!readStyles(r, shapeVersion, fills, lines))
                    return false;
                fillBase = g.fills.size();
                lineBase = g.lines.size();
                g.fills.insert(g.fills.end(), fills.begin(), fills.end());
                g.lines.insert(g.lines.end(), lines.begin(), lines.end());
                fillCount = fills.size();
                lineCount = lines.size();
                r.align();
                fillBits = int(r.ub(4));
                lineBits = int(r.ub(4));
                ++group;
                fill0 = fill1 = line = 0;
            }
            if (hasFill0)
                fill0 = fillIndex(f0);
            if (hasFill1)
                fill1 = fillIndex(f1);
            if (hasLine)
                line = lineIndex(l);
            if (source == StyleSource::Glyph) {
                // Glyphs have one implied fill.
                fill0 = hasFill0 ? (f0 ? 1 : 0) : fill0;
                fill1 = hasFill1 ? (f1 ? 1 : 0) : fill1;
            }
            continue;
        }
        bool straight = r.flag();
        int bits = int(r.ub(4)) + 2;
        Edge e;
        e.from = pen;
        e.fill0 = fill0;
        e.fill1 = fill1;
        e.line = line;
        e.group = group;
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
            e.to = pen + QPointF(dx, dy);
            e.control = (e.from + e.to) / 2;
        } else {
            double cx = r.sb(bits), cy = r.sb(bits), ax = r.sb(bits), ay = r.sb(bits);
            e.curve = true;
            e.control = pen + QPointF(cx, cy);
            e.to = e.control + QPointF(ax, ay);
        }
        pen = e.to;
        if (++m_totalEdges > MaxTotalEdges)
            return fail("movie has too many shape edges");
        g.edges.push_back(e);
    }
    if (source == StyleSource::Glyph && g.fills.empty())
        g.fills.push_back(FillStyle());
    return r.ok();
}

bool MovieReader::readShape(int code, BitReader& r)
{
    int version = code == TagDefineShape ? 1 : code == TagDefineShape2 ? 2 : code == TagDefineShape3 ? 3 : 4;
    uint16_t id = r.u16();
    ShapeCharacter shape;
    shape.bounds = readRect(r);
    ShapeGeometry g;
    if (version == 4) {
        readRect(r);
        uint32_t flags = r.u8();
        g.nonZeroWinding = flags & 0x04;
    }
    if (!readShapeRecords(r, version, g, StyleSource::Read))
        return false;
    shape.shape = ShapeBuilder::compile(g);
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
        auto kind = type == 0x10 ? FillStyle::Kind::Linear : type == 0x12 ? FillStyle::Kind::Radial : FillStyle::Kind::Focal;
        start.kind = end.kind = kind;
        start.matrix = readMatrix(r);
        end.matrix = readMatrix(r);
        r.align();
        uint32_t spread = r.ub(2);
        uint32_t interp = r.ub(2);
        int count = int(r.ub(4));
        start.spread = end.spread = spread == 1 ? SpreadMode::Reflect : spread == 2 ? SpreadMode::Repeat : SpreadMode::Pad;
        start.interpolation = end.interpolation = interp == 1 ? Interpolation::LinearRgb : Interpolation::Normal;
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
        start.kind = end.kind = FillStyle::Kind::Bitmap;
        start.bitmapId = end.bitmapId = r.u16();
        start.matrix = readMatrix(r);
        end.matrix = readMatrix(r);
        start.repeating = end.repeating = type == 0x40 || type == 0x42;
        start.smoothed = end.smoothed = type == 0x40 || type == 0x41;
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
        start.cap = end.cap = capStyle(r.ub(2));
        uint32_t join = r.ub(2);
        start.join = end.join = joinStyle(join);
        bool hasFill = r.flag();
        bool noH = r.flag(), noV = r.flag();
        start.noHScale = end.noHScale = noH;
        start.noVScale = end.noVScale = noV;
        r.ub(1);
        r.ub(5);
        start.noClose = end.noClose = r.flag();
        r.ub(2);
        if (join == 2)
            start.miterLimit = end.miterLimit = std::max(1.0, r.u16() / 256.0);
        if (hasFill) {
            start.hasFill = end.hasFill = true;
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
    if (!r.ok())
        return false;

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
    return addCharacter(id, std::move(morph));
}

bool MovieReader::readBitmap(int code, BitReader& r)
{
    uint16_t id = r.u16();
    Result<QImage> image = QImage();
    if (code == TagDefineBits) {
        if (!r.ok())
            return false;
        m_pendingJpegs.push_back({id, r.bytes(r.remaining())});
        return true;
    }
    if (code == TagDefineBitsJpeg2) {
        image = BitmapDecoder::decodeJpeg(r.bytes(r.remaining()), {}, {});
    } else if (code == TagDefineBitsJpeg3 || code == TagDefineBitsJpeg4) {
        uint32_t alphaOffset = r.u32();
        if (code == TagDefineBitsJpeg4)
            r.u16();
        if (!r.ok() || alphaOffset > r.remaining())
            return fail("bitmap alpha offset points past its tag");
        QByteArray jpeg = r.bytes(alphaOffset);
        QByteArray alpha = r.bytes(r.remaining());
        image = BitmapDecoder::decodeJpeg(jpeg, {}, alpha);
    } else {
        int format = r.u8();
        int width = r.u16();
        int height = r.u16();
        int tableSize = format == 3 ? r.u8() + 1 : 0;
        if (!r.ok())
            return false;
        image = BitmapDecoder::decodeLossless(format, width, height, tableSize, r.bytes(r.remaining()),
                                              code == TagDefineBitsLossless2);
    }
    if (!image)
        return fail(QString("bitmap %1: %2").arg(id).arg(image.error()));
    m_totalPixels += qint64(image->width()) * image->height();
    if (m_totalPixels > MaxTotalBitmapPixels)
        return fail("bitmaps exceed the total pixel limit");
    return addCharacter(id, BitmapCharacter{image.value(), {}, {}});
}

QPainterPath MovieReader::glyphPath(BitReader& r)
{
    ShapeGeometry g;
    if (!readShapeRecords(r, 1, g, StyleSource::Glyph))
        return {};
    g.fills.assign(1, FillStyle());
    CompiledShape s = ShapeBuilder::compile(g);
    return s.fillOutline;
}

// Glyph i lies between offsets[i] and the next offset (or `end` for the last one), all
// relative to `table` and within `limit`.
bool MovieReader::readGlyphs(const BitReader& table, const std::vector<uint32_t>& offsets, size_t end,
                             size_t limit, FontCharacter& font)
{
    const size_t count = offsets.size();
    for (size_t i = 0; i < count; ++i) {
        const size_t from = offsets[i];
        const size_t to = i + 1 < count ? offsets[i + 1] : end;
        if (from > to || to > limit)
            return fail("glyph offsets are out of order");
        BitReader all = table;
        all.skip(from);
        BitReader glyph = all.sub(to - from);
        if (++m_totalGlyphs > MaxTotalGlyphs)
            return fail("too many glyphs");
        font.glyphs.push_back(glyphPath(glyph));
    }
    return true;
}

bool MovieReader::readFont(int code, BitReader& r)
{
    uint16_t id = r.u16();
    FontCharacter font;
    if (code == TagDefineFont) {
        BitReader table = r;
        size_t base = r.position();
        uint16_t first = r.u16();
        if (!r.ok())
            return false;
        int count = first / 2;
        std::vector<uint32_t> offsets;
        offsets.push_back(first);
        for (int i = 1; i < count; ++i)
            offsets.push_back(r.u16());
        if (!r.ok())
            return false;
        const size_t tagSize = r.size() - base;
        if (!readGlyphs(table, offsets, tagSize, tagSize, font))
            return false;
    } else {
        uint8_t flags = r.u8();
        bool wideOffsets = flags & 0x08;
        r.u8();
        int nameLength = r.u8();
        r.skip(size_t(nameLength));
        int count = r.u16();
        if (!r.ok())
            return false;
        BitReader table = r;
        size_t tableSize = r.remaining();
        std::vector<uint32_t> offsets;
        for (int i = 0; i < count; ++i)
            offsets.push_back(wideOffsets ? r.u32() : r.u16());
        uint32_t codeOffset = count > 0 ? (wideOffsets ? r.u32() : r.u16()) : 0;
        if (!r.ok())
            return false;
        if (codeOffset > tableSize)
            codeOffset = uint32_t(tableSize);
        if (!readGlyphs(table, offsets, codeOffset, tableSize, font))
            return false;
        if (code == TagDefineFont3)
            font.unitsPerEm = 1024 * 20;
        // Code table, layout and kerning are only needed for editable text.
    }
    return addCharacter(id, std::move(font));
}

bool MovieReader::readText(int code, BitReader& r)
{
    uint16_t id = r.u16();
    TextCharacter text;
    text.bounds = readRect(r);
    text.matrix = readMatrix(r);
    int glyphBits = r.u8();
    int advanceBits = r.u8();
    if (glyphBits > 32 || advanceBits > 32)
        return fail("glyph field widths are out of range");
    uint16_t fontId = 0;
    double height = 0, x = 0, y = 0;
    Rgba color;
    while (r.ok()) {
        uint8_t flags = r.u8();
        if (flags == 0)
            break;
        if (flags & 0x08)
            fontId = r.u16();
        if (flags & 0x04)
            color = readColor(r, code == TagDefineText2);
        if (flags & 0x01)
            x = r.s16();
        if (flags & 0x02)
            y = r.s16();
        if (flags & 0x08)
            height = r.u16();
        int count = r.u8();
        m_totalGlyphs += count + 1;
        if (m_totalGlyphs > MaxTotalGlyphs)
            return fail("too many glyphs");
        TextRun run;
        run.fontId = fontId;
        run.color = color;
        run.height = height;
        run.y = y;
        for (int i = 0; i < count; ++i) {
            GlyphEntry g;
            g.index = int(r.ub(glyphBits));
            g.x = x;
            x += r.sb(advanceBits);
            run.glyphs.push_back(g);
        }
        r.align();
        text.glyphRuns.push_back(std::move(run));
    }
    if (!r.ok())
        return false;
    return addCharacter(id, std::move(text));
}

// Glyph outlines are placed once all tags are read: a font may follow the text using it.
bool MovieReader::resolveTexts()
{
    // Each glyph use copies the glyph's outline: bound the total, or a long text repeating
    // a detailed glyph could need gigabytes.
    qint64 elements = 0;
    for (auto it = m_movie->characters.begin(); it != m_movie->characters.end(); ++it) {
        auto* text = std::get_if<TextCharacter>(&it.value());
        if (!text)
            continue;
        for (const TextRun& run : text->glyphRuns) {
            const FontCharacter* font = m_movie->character<FontCharacter>(run.fontId);
            if (!font)
                continue;
            double scale = run.height / font->unitsPerEm;
            QPainterPath path;
            path.setFillRule(Qt::WindingFill);
            for (const GlyphEntry& g : run.glyphs) {
                if (g.index < 0 || size_t(g.index) >= font->glyphs.size())
                    continue;
                const QPainterPath& glyph = font->glyphs[size_t(g.index)];
                elements += glyph.elementCount();
                if (elements > MaxTextPathElements)
                    return fail("text outlines exceed the size limit");
                path.addPath(QTransform(scale, 0, 0, scale, g.x, run.y).map(glyph));
            }
            text->runs.push_back({run.color, path});
        }
        text->glyphRuns.clear();
    }
    return true;
}

bool MovieReader::readSound(BitReader& r)
{
    uint16_t id = r.u16();
    SoundCharacter sound;
    sound.format = readSoundFormat(r);
    sound.sampleCount = r.u32();
    if (!r.ok())
        return false;
    m_soundBytes += qint64(r.remaining());
    if (m_soundBytes > MaxSoundBytes)
        return fail("too much sound data");
    sound.data = r.bytes(r.remaining());
    return addCharacter(id, std::move(sound));
}

bool MovieReader::readSoundInfo(BitReader& r, sound::SoundInfo& info)
{
    r.ub(2);
    info.syncStop = r.flag();
    info.syncNoMultiple = r.flag();
    const bool hasEnvelope = r.flag();
    const bool hasLoops = r.flag();
    const bool hasOutPoint = r.flag();
    const bool hasInPoint = r.flag();
    if (hasInPoint)
        info.inPoint = r.u32();
    if (hasOutPoint)
        info.outPoint = r.u32();
    if (hasLoops)
        info.loopCount = r.u16();
    if (hasEnvelope) {
        int count = r.u8();
        for (int i = 0; i < count && r.ok(); ++i) {
            sound::SoundInfo::EnvelopePoint p;
            p.position44 = r.u32();
            p.left = r.u16();
            p.right = r.u16();
            info.envelope.push_back(p);
        }
    }
    return r.ok();
}

bool MovieReader::readButton(int code, BitReader& r)
{
    uint16_t id = r.u16();
    if (code == TagDefineButton2) {
        r.u8();
        r.u16();
    }
    ButtonCharacter button;
    while (r.ok()) {
        uint8_t flags = r.u8();
        if (flags == 0)
            break;
        ButtonRecord rec;
        rec.characterId = r.u16();
        rec.depth = r.u16();
        rec.matrix = readMatrix(r);
        if (code == TagDefineButton2) {
            rec.colorTransform = readColorTransform(r, true);
            if (flags & 0x10) {
                skipFilters(r);
                if (!r.ok())
                    return fail("unknown filter");
            }
            if (flags & 0x20)
                r.u8();
        }
        if ((flags & 0x01) && button.upState.size() < 1024)
            button.upState.push_back(rec);
    }
    // Button actions follow; buttons are not interactive here, so they are not read.
    if (!r.ok())
        return false;
    std::stable_sort(button.upState.begin(), button.upState.end(),
                     [](const ButtonRecord& a, const ButtonRecord& b) { return a.depth < b.depth; });
    return addCharacter(id, std::move(button));
}

bool MovieReader::readSprite(BitReader& r)
{
    uint16_t id = r.u16();
    r.u16();  // frame count: the ShowFrame tags are what counts
    if (!r.ok())
        return false;
    auto timeline = std::make_shared<TimelineData>();
    BitReader body = r.sub(r.remaining());
    if (!readTags(body, *timeline, true))
        return false;
    return addCharacter(id, SpriteCharacter{timeline});
}

bool MovieReader::readPlace(int code, BitReader& r, Frame& frame)
{
    PlaceCommand cmd;
    if (code == TagRemoveObject || code == TagRemoveObject2) {
        cmd.kind = PlaceCommand::Kind::Remove;
        if (code == TagRemoveObject)
            r.u16();
        cmd.depth = r.u16();
        if (!r.ok())
            return false;
        frame.commands.push_back(cmd);
        return true;
    }
    if (code == TagPlaceObject) {
        cmd.characterId = r.u16();
        cmd.depth = r.u16();
        cmd.matrix = readMatrix(r);
        if (!r.ok())
            return false;
        if (!r.atEnd()) {
            cmd.colorTransform = readColorTransform(r, false);
            if (!r.ok())
                return false;
        }
        frame.commands.push_back(cmd);
        return true;
    }
    uint8_t flags = r.u8();
    uint8_t flags2 = code == TagPlaceObject3 ? r.u8() : 0;
    cmd.depth = r.u16();
    cmd.move = flags & 0x01;
    if (code == TagPlaceObject3 && ((flags2 & 0x08) || ((flags2 & 0x10) && (flags & 0x02))))
        r.string();  // class name
    if (flags & 0x02)
        cmd.characterId = r.u16();
    if (flags & 0x04)
        cmd.matrix = readMatrix(r);
    if (flags & 0x08)
        cmd.colorTransform = readColorTransform(r, true);
    if (flags & 0x10)
        cmd.ratio = r.u16();
    if (flags & 0x20)
        cmd.name = r.string();
    if (flags & 0x40)
        cmd.clipDepth = r.u16();
    if (!r.ok())
        return false;
    if (code == TagPlaceObject3) {
        // Filters, blend mode and caching are read to reach the visibility flag, then ignored.
        BitReader rest = r;
        if (flags2 & 0x01)
            skipFilters(rest);
        if (flags2 & 0x02)
            rest.u8();
        if (flags2 & 0x04)
            rest.u8();
        if (flags2 & 0x20) {
            uint8_t visible = rest.u8();
            if (rest.ok())
                cmd.visible = visible != 0;
        }
    }
    // Clip actions (event scripts) follow; they are not run here.
    frame.commands.push_back(cmd);
    return true;
}

bool MovieReader::readActions(BitReader& r, Frame& frame)
{
    std::vector<Action> list;
    // Action blocks are read leniently: unknown actions are skipped, a cut-off one ends the block.
    while (!r.atEnd()) {
        uint8_t op = r.u8();
        if (op == 0)
            break;
        BitReader payload;
        if (op >= 0x80) {
            uint16_t len = r.u16();
            if (!r.ok() || len > r.remaining())
                break;
            payload = r.sub(len);
        }
        if (++m_totalActions > MaxTotalActions)
            return fail("too many actions");
        Action a;
        switch (op) {
        case 0x04: a.op = Action::Op::NextFrame; break;
        case 0x05: a.op = Action::Op::PrevFrame; break;
        case 0x06: a.op = Action::Op::Play; break;
        case 0x07: a.op = Action::Op::Stop; break;
        case 0x09: a.op = Action::Op::StopSounds; break;
        case 0x81:
            a.op = Action::Op::GotoFrame;
            a.frame = payload.u16();
            if (!payload.ok())
                continue;
            break;
        case 0x8c:
            a.op = Action::Op::GotoLabel;
            a.label = payload.string();
            if (!payload.ok())
                continue;
            break;
        default:
            continue;
        }
        list.push_back(std::move(a));
    }
    if (!list.empty())
        frame.actions.push_back(std::move(list));
    return true;
}

} // namespace movie
