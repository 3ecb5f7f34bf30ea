#include "SwfWriter.h"

#include <cmath>
#include <lzma.h>
#include <zlib.h>

namespace movietest {

void writeRect(BitWriter& w, int xmin, int xmax, int ymin, int ymax)
{
    w.align();
    w.ub(20, 5);
    w.sb(xmin, 20);
    w.sb(xmax, 20);
    w.sb(ymin, 20);
    w.sb(ymax, 20);
    w.align();
}

void writeMatrix(BitWriter& w, double sx, double sy, double r0, double r1, int tx, int ty)
{
    w.align();
    bool scale = sx != 1 || sy != 1;
    w.ub(scale, 1);
    if (scale) {
        w.ub(31, 5);
        w.sb(int32_t(std::lround(sx * 65536)), 31);
        w.sb(int32_t(std::lround(sy * 65536)), 31);
    }
    bool rotate = r0 != 0 || r1 != 0;
    w.ub(rotate, 1);
    if (rotate) {
        w.ub(31, 5);
        w.sb(int32_t(std::lround(r0 * 65536)), 31);
        w.sb(int32_t(std::lround(r1 * 65536)), 31);
    }
    w.ub(24, 5);
    w.sb(tx, 24);
    w.sb(ty, 24);
    w.align();
}

void writeTranslate(BitWriter& w, int tx, int ty) { writeMatrix(w, 1, 1, 0, 0, tx, ty); }

void writeColorTransform(BitWriter& w, bool alpha, const int mult[4], const int add[4])
{
    w.align();
    w.ub(1, 1);
    w.ub(1, 1);
    w.ub(12, 4);
    for (int i = 0; i < (alpha ? 4 : 3); ++i)
        w.sb(mult[i], 12);
    for (int i = 0; i < (alpha ? 4 : 3); ++i)
        w.sb(add[i], 12);
    w.align();
}

static void writeColor(BitWriter& w, Color c, bool alpha)
{
    w.u8(c.r);
    w.u8(c.g);
    w.u8(c.b);
    if (alpha)
        w.u8(c.a);
}

int ShapeWriter::solidFill(Color c)
{
    m_fillStyles.u8(0);
    writeColor(m_fillStyles, c, m_version >= 3);
    return ++m_fillCount;
}

int ShapeWriter::linearGradient(Color from, Color to)
{
    m_fillStyles.u8(0x10);
    // Maps the gradient square onto 0..2000 twips horizontally.
    writeMatrix(m_fillStyles, 2000.0 / 32768, 2000.0 / 32768, 0, 0, 1000, 1000);
    m_fillStyles.ub(0, 2);
    m_fillStyles.ub(0, 2);
    m_fillStyles.ub(2, 4);
    m_fillStyles.u8(0);
    writeColor(m_fillStyles, from, m_version >= 3);
    m_fillStyles.u8(255);
    writeColor(m_fillStyles, to, m_version >= 3);
    return ++m_fillCount;
}

int ShapeWriter::bitmapFill(int bitmapId, double scale, bool repeating)
{
    m_fillStyles.u8(repeating ? 0x42 : 0x43);
    m_fillStyles.u16(bitmapId);
    writeMatrix(m_fillStyles, scale, scale);
    return ++m_fillCount;
}

int ShapeWriter::line(int width, Color c)
{
    m_lineStyles.u16(width);
    writeColor(m_lineStyles, c, m_version >= 3);
    return ++m_lineCount;
}

int ShapeWriter::line2(int width, Color c, int cap, int join, bool noHScale, bool noVScale)
{
    m_lineStyles.u16(width);
    m_lineStyles.ub(uint32_t(cap), 2);
    m_lineStyles.ub(uint32_t(join), 2);
    m_lineStyles.ub(0, 1);  // no fill
    m_lineStyles.ub(noHScale, 1);
    m_lineStyles.ub(noVScale, 1);
    m_lineStyles.ub(0, 1);
    m_lineStyles.ub(0, 5);
    m_lineStyles.ub(0, 1);
    m_lineStyles.ub(uint32_t(cap), 2);
    if (join == 2)
        m_lineStyles.u16(3 << 8);
    writeColor(m_lineStyles, c, true);
    return ++m_lineCount;
}

void ShapeWriter::change(int fill0, int fill1, int line, bool move, int x, int y)
{
    m_records.push_back({0, fill0, fill1, line, x, y, move, {}});
}

void ShapeWriter::newStyles(const ShapeWriter& styles, int fill0, int fill1, int line)
{
    BitWriter w;
    styles.writeStyles(w);
    m_records.push_back({3, fill0, fill1, line, 0, 0, false, w.data()});
}

void ShapeWriter::lineTo(int dx, int dy) { m_records.push_back({1, dx, dy, 0, 0, 0, false, {}}); }

void ShapeWriter::curveTo(int cx, int cy, int ax, int ay) { m_records.push_back({2, cx, cy, ax, ay, 0, false, {}}); }

void ShapeWriter::rectangle(int x, int y, int w, int h)
{
    change(-1, -1, -1, true, x, y);
    lineTo(w, 0);
    lineTo(0, h);
    lineTo(-w, 0);
    lineTo(0, -h);
}

void ShapeWriter::writeStyles(BitWriter& w) const
{
    BitWriter fills = m_fillStyles, lines = m_lineStyles;
    w.u8(m_fillCount);
    w.bytes(fills.data());
    w.u8(m_lineCount);
    w.bytes(lines.data());
}

void ShapeWriter::writeRecords(BitWriter& w) const
{
    w.align();
    w.ub(4, 4);
    w.ub(4, 4);
    for (const Rec& r : m_records) {
        if (r.kind == 0 || r.kind == 3) {
            w.ub(0, 1);
            bool newStyles = r.kind == 3;
            bool hasLine = r.c >= 0, hasFill1 = r.b >= 0, hasFill0 = r.a >= 0;
            w.ub(newStyles, 1);
            w.ub(hasLine, 1);
            w.ub(hasFill1, 1);
            w.ub(hasFill0, 1);
            w.ub(r.move, 1);
            if (r.move) {
                w.ub(20, 5);
                w.sb(r.d, 20);
                w.sb(r.e, 20);
            }
            if (hasFill0)
                w.ub(uint32_t(r.a), 4);
            if (hasFill1)
                w.ub(uint32_t(r.b), 4);
            if (hasLine)
                w.ub(uint32_t(r.c), 4);
            if (newStyles) {
                w.bytes(r.styles);
                w.ub(4, 4);
                w.ub(4, 4);
            }
        } else if (r.kind == 1) {
            w.ub(1, 1);
            w.ub(1, 1);
            w.ub(17 - 2, 4);
            w.ub(1, 1);  // general line
            w.sb(r.a, 17);
            w.sb(r.b, 17);
        } else {
            w.ub(1, 1);
            w.ub(0, 1);
            w.ub(17 - 2, 4);
            w.sb(r.a, 17);
            w.sb(r.b, 17);
            w.sb(r.c, 17);
            w.sb(r.d, 17);
        }
    }
    w.ub(0, 6);
    w.align();
}

QByteArray ShapeWriter::shapeWithStyles()
{
    BitWriter w;
    writeStyles(w);
    writeRecords(w);
    return w.data();
}

QByteArray ShapeWriter::shapeOnly()
{
    BitWriter w;
    writeRecords(w);
    return w.data();
}

SwfWriter::SwfWriter(int width, int height, double fps, int version)
    : m_width(width), m_height(height), m_version(version), m_fps(fps)
{
}

void SwfWriter::tag(int code, const QByteArray& payload, bool forceLong)
{
    BitWriter w;
    if (payload.size() < 63 && !forceLong) {
        w.u16((code << 6) | int(payload.size()));
    } else {
        w.u16((code << 6) | 0x3f);
        w.u32(uint32_t(payload.size()));
    }
    w.bytes(payload);
    m_tags.append(w.data());
}

void SwfWriter::background(int r, int g, int b)
{
    BitWriter w;
    w.u8(r);
    w.u8(g);
    w.u8(b);
    tag(9, w.data());
}

void SwfWriter::defineShape(int id, ShapeWriter& shape, int version, int w, int h)
{
    BitWriter out;
    out.u16(id);
    writeRect(out, 0, w, 0, h);
    if (version == 4) {
        writeRect(out, 0, w, 0, h);
        out.u8(0);
    }
    out.bytes(shape.shapeWithStyles());
    static const int codes[] = {0, 2, 22, 32, 83};
    tag(codes[version], out.data());
}

QByteArray SwfWriter::placePayload(const Place& p)
{
    BitWriter w;
    int flags = (p.move ? 0x01 : 0) | (p.characterId ? 0x02 : 0) | (p.hasMatrix ? 0x04 : 0) | (p.hasColor ? 0x08 : 0)
        | (p.ratio >= 0 ? 0x10 : 0) | (!p.name.isEmpty() ? 0x20 : 0) | (p.clipDepth ? 0x40 : 0);
    w.u8(flags);
    w.u16(p.depth);
    if (p.characterId)
        w.u16(p.characterId);
    if (p.hasMatrix)
        writeMatrix(w, p.sx, p.sy, 0, 0, p.tx, p.ty);
    if (p.hasColor)
        writeColorTransform(w, true, p.mult, p.add);
    if (p.ratio >= 0)
        w.u16(p.ratio);
    if (!p.name.isEmpty())
        w.string(p.name);
    if (p.clipDepth)
        w.u16(p.clipDepth);
    return w.data();
}

void SwfWriter::place(const Place& p) { tag(26, placePayload(p)); }

void SwfWriter::remove(int depth)
{
    BitWriter w;
    w.u16(depth);
    tag(28, w.data());
}

void SwfWriter::label(const QString& name)
{
    BitWriter w;
    w.string(name);
    tag(43, w.data());
}

void SwfWriter::doAction(const QByteArray& actions) { tag(12, actions + QByteArray(1, 0)); }

void SwfWriter::sprite(int id, const QByteArray& tags, int frames)
{
    BitWriter w;
    w.u16(id);
    w.u16(frames);
    w.bytes(tags);
    tag(39, w.data());
}

QByteArray SwfWriter::actGoto(int frame0)
{
    BitWriter w;
    w.u8(0x81);
    w.u16(2);
    w.u16(frame0);
    return w.data();
}

QByteArray SwfWriter::actGotoLabel(const QString& label)
{
    QByteArray s = label.toUtf8() + QByteArray(1, 0);
    BitWriter w;
    w.u8(0x8c);
    w.u16(int(s.size()));
    w.bytes(s);
    return w.data();
}

QByteArray SwfWriter::file(char compression) const
{
    BitWriter h;
    if (m_stageTwips.isValid())
        writeRect(h, 0, m_stageTwips.width(), 0, m_stageTwips.height());
    else
        writeRect(h, 0, m_width * 20, 0, m_height * 20);
    h.u16(int(std::lround(m_fps * 256)));
    h.u16(1);
    QByteArray body = h.data() + m_tags;
    uint32_t length = uint32_t(body.size() + 8);
    BitWriter out;
    out.u8(compression);
    out.u8('W');
    out.u8('S');
    out.u8(m_version);
    out.u32(length);
    if (compression == 'F') {
        out.bytes(body);
    } else if (compression == 'C') {
        uLongf size = compressBound(uLong(body.size()));
        QByteArray z(qsizetype(size), 0);
        compress(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(body.constData()),
                 uLong(body.size()));
        z.resize(qsizetype(size));
        out.bytes(z);
    } else {
        // Raw LZMA1 stream, stored after a 4-byte length and the 5 property bytes.
        lzma_options_lzma opt;
        lzma_lzma_preset(&opt, 6);
        lzma_stream ls = LZMA_STREAM_INIT;
        if (lzma_alone_encoder(&ls, &opt) != LZMA_OK)
            return {};
        QByteArray alone(qsizetype(body.size() * 2 + 1024), 0);
        ls.next_in = reinterpret_cast<const uint8_t*>(body.constData());
        ls.avail_in = size_t(body.size());
        ls.next_out = reinterpret_cast<uint8_t*>(alone.data());
        ls.avail_out = size_t(alone.size());
        while (lzma_code(&ls, LZMA_FINISH) == LZMA_OK) {
        }
        alone.resize(qsizetype(ls.total_out));
        lzma_end(&ls);
        // The classic header is 5 property bytes and an 8-byte size.
        QByteArray props = alone.left(5);
        QByteArray data = alone.mid(13);
        out.u32(uint32_t(data.size()));
        out.bytes(props);
        out.bytes(data);
    }
    return out.data();
}

} // namespace movietest
