// Character kinds read from tags and drawn: JPEG bitmaps (with tables, with alpha),
// lossless bitmaps with alpha, morph shapes, buttons, and placements with filters.

#include "TestSupport.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <zlib.h>

using namespace movietest;

namespace {

QByteArray jpegOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    image.save(&buf, "JPG", 95);
    return bytes;
}

QByteArray zlibOf(const QByteArray& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray z(qsizetype(size), 0);
    compress(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.constData()), uLong(raw.size()));
    z.resize(qsizetype(size));
    return z;
}

// A 20x20 px square filled with bitmap `bitmapId` at one bitmap pixel per screen pixel.
void bitmapSquare(SwfWriter& w, int shapeId, int bitmapId)
{
    ShapeWriter s;
    int f = s.bitmapFill(bitmapId, 20, false);
    s.change(-1, f, -1);
    s.rectangle(0, 0, 400, 400);
    w.defineShape(shapeId, s);
    SwfWriter::Place p;
    p.characterId = shapeId;
    p.depth = shapeId;
    w.place(p);
}

QImage halves()
{
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 0));
    for (int y = 0; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            img.setPixel(x, y, qRgb(0, 0, 255));
    return img;
}

} // namespace

TEST(Bitmaps, JpegWithAndWithoutSharedTables)
{
    QByteArray jpeg = jpegOf(halves());
    // Split into "tables" (everything up to the frame header) and "image" parts the way
    // old files store them: each its own SOI..EOI stream.
    qsizetype sof = jpeg.indexOf(QByteArray("\xff\xc0", 2));
    ASSERT_GT(sof, 0);
    QByteArray tables = jpeg.left(sof) + QByteArray("\xff\xd9", 2);
    QByteArray image = QByteArray("\xff\xd8", 2) + jpeg.mid(sof);

    SwfWriter w(40, 20);
    w.background(255, 255, 255);
    w.tag(8, tables, true);
    BitWriter bits;
    bits.u16(10);
    bits.bytes(QByteArray("\xff\xd9\xff\xd8", 4) + image);  // with the old erroneous header
    w.tag(6, bits.data(), true);
    bitmapSquare(w, 1, 10);
    BitWriter bits2;
    bits2.u16(11);
    bits2.bytes(jpeg);
    w.tag(21, bits2.data(), true);
    ShapeWriter s;
    int f = s.bitmapFill(11, 20, false);
    s.change(-1, f, -1);
    s.rectangle(0, 0, 400, 400);
    w.defineShape(2, s);
    SwfWriter::Place p;
    p.characterId = 2;
    p.depth = 2;
    p.hasMatrix = true;
    p.tx = 400;
    w.place(p);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    QImage out = m->snapshot();
    EXPECT_TRUE(colorNear(pixelAt(out, 4, 10), qRgb(255, 0, 0), 24));
    EXPECT_TRUE(colorNear(pixelAt(out, 15, 10), qRgb(0, 0, 255), 24));
    EXPECT_TRUE(colorNear(pixelAt(out, 24, 10), qRgb(255, 0, 0), 24));
    EXPECT_TRUE(colorNear(pixelAt(out, 35, 10), qRgb(0, 0, 255), 24));
}

TEST(Bitmaps, JpegAlphaPlane)
{
    QByteArray jpeg = jpegOf(halves());
    QByteArray alpha(400, char(255));
    for (int y = 10; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            alpha[y * 20 + x] = 0;  // bottom half transparent
    SwfWriter w(20, 20);
    w.background(0, 255, 0);
    BitWriter bits;
    bits.u16(10);
    bits.u32(uint32_t(jpeg.size()));
    bits.bytes(jpeg);
    bits.bytes(zlibOf(alpha));
    w.tag(35, bits.data(), true);
    bitmapSquare(w, 1, 10);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    QImage out = m->snapshot();
    EXPECT_TRUE(colorNear(pixelAt(out, 4, 4), qRgb(255, 0, 0), 24));
    EXPECT_TRUE(colorNear(pixelAt(out, 4, 15), qRgb(0, 255, 0), 4));
}

TEST(Bitmaps, Lossless2PremultipliedAlphaAndFormats)
{
    // 2x1 ARGB: opaque red, half-transparent white (premultiplied 128,128,128).
    QByteArray raw("\xff\xff\x00\x00\x80\x80\x80\x80", 8);
    SwfWriter w(20, 20);
    w.background(0, 0, 0);
    BitWriter bm;
    bm.u16(10);
    bm.u8(5);
    bm.u16(2);
    bm.u16(1);
    bm.bytes(zlibOf(raw));
    w.tag(36, bm.data());
    ShapeWriter s;
    int f = s.bitmapFill(10, 200, false);  // 10 px per bitmap pixel
    s.change(-1, f, -1);
    s.rectangle(0, 0, 400, 200);
    w.defineShape(1, s);
    // 15-bit lossless: one pure green pixel (0 00000 11111 00000), row padded to 4 bytes.
    BitWriter b15;
    b15.u16(11);
    b15.u8(4);
    b15.u16(1);
    b15.u16(1);
    b15.bytes(zlibOf(QByteArray("\x03\xe0\x00\x00", 4)));
    w.tag(20, b15.data());
    ShapeWriter s2;
    int f2 = s2.bitmapFill(11, 400, false);
    s2.change(-1, f2, -1);
    s2.rectangle(0, 200, 400, 200);
    w.defineShape(2, s2);
    SwfWriter::Place p;
    p.characterId = 1;
    w.place(p);
    p.characterId = 2;
    p.depth = 2;
    p.hasMatrix = true;
    p.ty = 0;
    w.place(p);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    QImage out = m->snapshot();
    EXPECT_TRUE(colorNear(pixelAt(out, 5, 5), qRgb(255, 0, 0)));
    EXPECT_TRUE(colorNear(pixelAt(out, 15, 5), qRgb(128, 128, 128), 3));
    EXPECT_TRUE(colorNear(pixelAt(out, 10, 15), qRgb(0, 255, 0)));
}

TEST(Morph, PlacementRatioBlendsShapeAndColour)
{
    SwfWriter w(100, 20);
    w.background(255, 255, 255);
    // Start: 20 px wide black bar; end: 100 px wide white-blue bar.
    BitWriter t;
    t.u16(1);
    writeRect(t, 0, 2000, 0, 400);
    writeRect(t, 0, 2000, 0, 400);
    ShapeWriter startShape, endShape;
    startShape.change(-1, 1, -1);
    startShape.rectangle(0, 0, 400, 400);
    endShape.rectangle(0, 0, 2000, 400);
    QByteArray startEdges = startShape.shapeOnly();
    QByteArray styles;
    {
        BitWriter s;
        s.u8(1);
        s.u8(0);  // solid
        s.u8(0);
        s.u8(0);
        s.u8(0);
        s.u8(255);
        s.u8(0);
        s.u8(0);
        s.u8(255);
        s.u8(255);
        s.u8(0);  // no line styles
        styles = s.data();
    }
    t.u32(uint32_t(styles.size() + startEdges.size()));
    t.bytes(styles);
    t.bytes(startEdges);
    t.bytes(endShape.shapeOnly());
    w.tag(46, t.data(), true);
    SwfWriter::Place p;
    p.characterId = 1;
    p.ratio = 32768;
    w.place(p);
    w.showFrame();
    SwfWriter::Place mv;
    mv.move = true;
    mv.ratio = 65535;
    w.place(mv);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    QImage half = m->snapshot();
    // Half way: 60 px wide, colour (0,0,128).
    EXPECT_TRUE(colorNear(pixelAt(half, 50, 10), qRgb(0, 0, 128), 3));
    EXPECT_TRUE(colorNear(pixelAt(half, 70, 10), qRgb(255, 255, 255)));
    m->tick();
    QImage end = m->snapshot();
    EXPECT_TRUE(colorNear(pixelAt(end, 90, 10), qRgb(0, 0, 255)));
}

TEST(Buttons, UpStateIsDrawn)
{
    SwfWriter w(40, 20);
    w.background(255, 255, 255);
    ShapeWriter red, blue;
    int fr = red.solidFill({255, 0, 0});
    red.change(-1, fr, -1);
    red.rectangle(0, 0, 400, 400);
    w.defineShape(1, red);
    int fb = blue.solidFill({0, 0, 255});
    blue.change(-1, fb, -1);
    blue.rectangle(0, 0, 400, 400);
    w.defineShape(2, blue);
    BitWriter b;
    b.u16(3);
    b.u8(0);
    b.u16(0);  // no actions
    b.u8(0x01);  // up
    b.u16(1);
    b.u16(1);
    writeMatrix(b);
    const int mult[4] = {256, 256, 256, 256}, add[4] = {0, 0, 0, 0};
    writeColorTransform(b, true, mult, add);
    b.u8(0x0e);  // over, down, hit only: not drawn
    b.u16(2);
    b.u16(2);
    writeTranslate(b, 400, 0);
    writeColorTransform(b, true, mult, add);
    b.u8(0);
    w.tag(34, b.data());
    auto m = placeAndLoad(w, 3);
    ASSERT_TRUE(m);
    QImage out = m->snapshot();
    EXPECT_TRUE(colorNear(pixelAt(out, 10, 10), qRgb(255, 0, 0)));
    EXPECT_TRUE(colorNear(pixelAt(out, 30, 10), qRgb(255, 255, 255)));
}

TEST(Placement, PlaceObject3FiltersAreSkippedAndVisibilityKept)
{
    SwfWriter w(20, 20);
    w.background(255, 255, 255);
    defineRectangle(w, 1, {0, 0, 0}, 0, 0, 400, 400);
    BitWriter p;
    p.u8(0x02);         // has character
    p.u8(0x01 | 0x02 | 0x04 | 0x20);  // filters, blend mode, cache, visible
    p.u16(1);
    p.u16(1);
    p.u8(2);            // two filters
    p.u8(1);            // blur
    p.bytes(QByteArray(9, '\x01'));
    p.u8(4);            // gradient glow with two colours
    p.u8(2);
    p.bytes(QByteArray(2 * 5 + 19, '\x02'));
    p.u8(3);            // blend mode
    p.u8(1);            // cache as bitmap
    p.u8(0);            // not visible
    w.tag(70, p.data());
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    ASSERT_EQ(m->root().displayList().size(), 1u);
    EXPECT_FALSE(m->root().displayList().at(1).visible);
    EXPECT_TRUE(colorNear(pixelAt(m->snapshot(), 10, 10), qRgb(255, 255, 255)));
}
