#include "MoviePreparer.h"
#include "MovieReader.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <functional>
#include <zlib.h>

using namespace movietest;
using movie::MovieReader;

namespace {

SwfWriter simpleMovie()
{
    SwfWriter w(40, 30, 24);
    w.background(1, 2, 3);
    defineRectangle(w, 1, {255, 0, 0}, 0, 0, 200, 200);
    placeCharacter(w, 1);
    w.showFrame();
    w.showFrame();
    w.end();
    return w;
}

// Why a file is refused on loading, reading and preparing it as the player does.
QString refusal(const QByteArray& bytes)
{
    auto r = movie::MoviePreparer::load(bytes);
    return r.ok() ? QString() : r.error();
}

} // namespace

TEST(Reader, ReadsHeaderAndBackground)
{
    auto r = MovieReader::read(simpleMovie().file());
    ASSERT_TRUE(r.ok()) << qPrintable(r.error());
    const movie::MovieRecords& d = *r.value();
    EXPECT_EQ(d.stage, QRectF(0, 0, 800, 600));
    EXPECT_DOUBLE_EQ(d.frameRate, 24);
    EXPECT_EQ(d.background, (movie::Rgba{1, 2, 3, 255}));
    EXPECT_EQ(d.root->frames.size(), 2u);
    ASSERT_TRUE(d.character(1));
    EXPECT_EQ(d.character(1)->kind(), movie::Character::Kind::Shape);
}

TEST(Reader, CompressedBodiesGiveTheSameMovie)
{
    SwfWriter w = simpleMovie();
    for (char c : {'C', 'Z'}) {
        auto r = MovieReader::read(w.file(c));
        ASSERT_TRUE(r.ok()) << c << ": " << qPrintable(r.error());
        EXPECT_EQ(r.value()->root->frames.size(), 2u);
        EXPECT_TRUE(r.value()->character(1));
    }
}

TEST(Reader, AnyVersionByteIsAccepted)
{
    QByteArray f = simpleMovie().file();
    for (int v : {1, 10, 45, 255}) {
        f[3] = char(v);
        EXPECT_TRUE(MovieReader::read(f).ok()) << v;
    }
}

TEST(Reader, RefusesWrongSignatureAndShortFiles)
{
    QByteArray f = simpleMovie().file();
    QByteArray bad = f;
    bad[0] = 'X';
    EXPECT_FALSE(refusal(bad).isEmpty());
    EXPECT_FALSE(refusal(f.left(5)).isEmpty());
    EXPECT_FALSE(refusal(QByteArray()).isEmpty());
    EXPECT_FALSE(refusal(f.left(10)).isEmpty());  // header RECT cut
}

TEST(Reader, RefusesATagRunningPastTheEnd)
{
    SwfWriter w;
    w.showFrame();
    BitWriter t;
    t.u16((2 << 6) | 0x3f);
    t.u32(1000);
    t.u8(1);
    QByteArray bad = w.file() + t.data();
    uint32_t len = uint32_t(bad.size());
    for (int i = 0; i < 4; ++i)
        bad[4 + i] = char((len >> (8 * i)) & 0xff);
    EXPECT_TRUE(refusal(bad).contains("past the end")) << qPrintable(refusal(bad));
}

TEST(Reader, RefusesAShapeWhoseRecordsRunPastItsTag)
{
    SwfWriter w;
    ShapeWriter s;
    int f = s.solidFill({1, 2, 3});
    s.change(-1, f, -1);
    s.rectangle(0, 0, 100, 100);
    BitWriter out;
    out.u16(1);
    writeRect(out, 0, 100, 0, 100);
    QByteArray payload = out.data() + s.shapeWithStyles();
    payload.chop(3);  // cut inside the edge records
    w.tag(32, payload);
    w.showFrame();
    w.end();
    EXPECT_FALSE(refusal(w.file()).isEmpty());
}

TEST(Reader, RefusesOversizedDeclaredLength)
{
    QByteArray f = simpleMovie().file('C');
    uint32_t len = 65u * 1024 * 1024;
    for (int i = 0; i < 4; ++i)
        f[4 + i] = char((len >> (8 * i)) & 0xff);
    EXPECT_TRUE(refusal(f).contains("64 MiB")) << qPrintable(refusal(f));
}

TEST(Reader, RefusesCorruptCompressedData)
{
    QByteArray f = simpleMovie().file('C');
    for (int i = 8; i < f.size(); ++i)
        f[i] = char(0x5a ^ i);
    EXPECT_FALSE(refusal(f).isEmpty());
    QByteArray z = simpleMovie().file('Z');
    z = z.left(20);
    EXPECT_FALSE(refusal(z).isEmpty());
}

TEST(Reader, RefusesOversizedBitmaps)
{
    SwfWriter w;
    BitWriter bm;
    bm.u16(3);
    bm.u8(5);
    bm.u16(60000);
    bm.u16(60000);
    bm.bytes(QByteArray(16, 0));
    w.tag(36, bm.data());
    w.showFrame();
    w.end();
    EXPECT_TRUE(refusal(w.file()).contains("not allowed")) << qPrintable(refusal(w.file()));
}

TEST(Reader, RefusesShortPixelData)
{
    SwfWriter w;
    BitWriter bm;
    bm.u16(3);
    bm.u8(5);
    bm.u16(4);
    bm.u16(4);
    QByteArray raw(10, 0);  // far fewer than 4*4*4 bytes
    uLongf size = 64;
    QByteArray z(64, 0);
    compress(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.constData()), 10);
    z.resize(qsizetype(size));
    bm.bytes(z);
    w.tag(20, bm.data());
    w.showFrame();
    w.end();
    EXPECT_TRUE(refusal(w.file()).contains("short")) << qPrintable(refusal(w.file()));
}

// A refusal names the tag by name and the character by id, with the reason from within, so
// a bad movie can be found in its source.
TEST(Reader, RefusalsNameTheTagAndTheCharacter)
{
    auto unknownFill = [] {
        BitWriter shape;
        shape.u16(12);
        writeRect(shape, 0, 100, 0, 100);
        shape.u8(1);  // one fill style
        shape.u8(7);  // of a type that does not exist
        SwfWriter w;
        w.tag(32, shape.data());
        return w;
    };
    auto cutPlacementInSprite = [] {
        SwfWriter body;
        body.tag(26, QByteArray(1, 0x02));  // PlaceObject2 that has a character, then nothing
        SwfWriter w;
        w.sprite(5, body.body(), 1);
        return w;
    };
    auto shortPixels = [] {
        BitWriter bm;
        bm.u16(3);
        bm.u8(5);
        bm.u16(4);
        bm.u16(4);
        bm.bytes(qCompress(QByteArray(10, 0)).mid(4));  // a zlib stream of 10 bytes, not 64
        SwfWriter w;
        w.tag(20, bm.data());
        return w;
    };
    const struct {
        const char* what;
        std::function<SwfWriter()> movie;
        QString refusal;
    } cases[] = {
        {"unknown fill style", unknownFill, "DefineShape3 #12: unknown fill style type 7"},
        {"cut placement in a sprite", cutPlacementInSprite, "DefineSprite #5: PlaceObject2: the tag is cut short or malformed"},
        {"short pixel data", shortPixels, "DefineBitsLossless #3: pixel data is short (10 of 64 bytes)"},
    };
    for (const auto& c : cases) {
        SwfWriter w = c.movie();
        w.showFrame();
        w.end();
        EXPECT_EQ(refusal(w.file()), c.refusal) << c.what;
    }
}

TEST(Reader, SkipsUnknownTagsByLength)
{
    SwfWriter w = simpleMovie();
    SwfWriter x;
    x.tag(200, QByteArray(70, '\x01'), true);
    x.tag(77, QByteArray("<metadata/>"));
    QByteArray f = w.file();
    // Insert the unknown tags right after the header.
    int headerLen = int(f.size() - w.body().size());
    QByteArray patched = f.left(headerLen) + x.body() + f.mid(headerLen);
    uint32_t len = uint32_t(patched.size());
    for (int i = 0; i < 4; ++i)
        patched[4 + i] = char((len >> (8 * i)) & 0xff);
    auto r = MovieReader::read(patched);
    ASSERT_TRUE(r.ok()) << qPrintable(r.error());
    EXPECT_EQ(r.value()->root->frames.size(), 2u);
}

TEST(Reader, MissingEndTagIsTolerated)
{
    SwfWriter w;
    w.showFrame();
    w.showFrame();
    auto r = MovieReader::read(w.file());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value()->root->frames.size(), 2u);
}

TEST(Reader, ReadsActionsAndSkipsOthers)
{
    SwfWriter w;
    QByteArray unknown;
    unknown.append(char(0x96));  // push, with a payload
    unknown.append(char(3));
    unknown.append(char(0));
    unknown.append("\x00\x61\x00", 3);
    w.doAction(unknown + SwfWriter::actGoto(3) + QByteArray(1, 0x0b) + SwfWriter::actStop()
               + QByteArray(1, 0x09));
    w.showFrame();
    w.end();
    auto r = MovieReader::read(w.file());
    ASSERT_TRUE(r.ok());
    const auto& lists = r.value()->root->frames[0].actions;
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].size(), 3u);
    EXPECT_EQ(lists[0][0].op, movie::Action::Op::GotoFrame);
    EXPECT_EQ(lists[0][0].frame, 3);
    EXPECT_EQ(lists[0][1].op, movie::Action::Op::Stop);
    EXPECT_EQ(lists[0][2].op, movie::Action::Op::StopSounds);
}

TEST(Reader, KeepsSoundDefinitionsAndEvents)
{
    SwfWriter w;
    BitWriter snd;
    snd.u16(9);
    snd.ub(3, 4);  // format: raw little-endian
    snd.ub(2, 2);  // 22 kHz
    snd.ub(1, 1);  // 16-bit
    snd.ub(0, 1);  // mono
    snd.u32(4);
    snd.bytes(QByteArray(8, '\x11'));
    w.tag(14, snd.data());
    BitWriter start;
    start.u16(9);
    start.ub(0, 2);
    start.ub(0, 1);
    start.ub(0, 1);
    start.ub(0, 1);
    start.ub(1, 1);  // loops
    start.ub(0, 1);
    start.ub(0, 1);
    start.u16(3);
    w.tag(15, start.data());
    w.tag(19, QByteArray("abcd"));
    w.showFrame();
    w.end();
    auto r = MovieReader::read(w.file());
    ASSERT_TRUE(r.ok()) << qPrintable(r.error());
    const auto* c = r.value()->character<movie::SoundCharacter>(9);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->format.codec, 3);
    EXPECT_EQ(c->format.rateCode, 2);
    EXPECT_TRUE(c->format.sixteenBit);
    EXPECT_EQ(c->sampleCount, 4u);
    EXPECT_EQ(c->data.size(), 8);
    const auto& frame = r.value()->root->frames[0];
    ASSERT_EQ(frame.sounds.size(), 1u);
    EXPECT_EQ(frame.sounds[0].soundId, 9);
    EXPECT_EQ(frame.sounds[0].info.loopCount, 3);
    ASSERT_EQ(frame.streamBlocks.size(), 1u);
}

TEST(Reader, FontGlyphsBecomeTextOutlines)
{
    for (bool fontFirst : {true, false}) {
        SCOPED_TRACE(fontFirst ? "font before text" : "font after text");
        SwfWriter w(100, 100);
        w.background(255, 255, 255);
        // DefineFont with one square glyph covering the em box (1024 units).
        ShapeWriter glyph(1);
        glyph.change(-1, 1, -1);
        glyph.rectangle(0, -1024, 1024, 1024);
        QByteArray g = glyph.shapeOnly();
        BitWriter font;
        font.u16(4);
        font.u16(2);  // offset table of one entry
        font.bytes(g);
        // DefineText: 20 px high glyph at (20 px, 60 px) in black.
        BitWriter text;
        text.u16(5);
        writeRect(text, 0, 2000, 0, 2000);
        writeMatrix(text);
        text.u8(4);
        text.u8(12);
        text.u8(0x8f);  // font, colour, x and y
        text.u16(4);
        text.u8(0);
        text.u8(0);
        text.u8(0);
        text.u16(400);
        text.u16(1200);
        text.u16(400);
        text.u8(1);
        text.ub(0, 4);
        text.sb(400, 12);
        text.align();
        text.u8(0);
        if (fontFirst)
            w.tag(10, font.data());
        w.tag(11, text.data());
        if (!fontFirst)
            w.tag(10, font.data());
        auto m = placeAndLoad(w, 5);
        ASSERT_TRUE(m);
        QImage img = m->snapshot();
        EXPECT_TRUE(colorNear(pixelAt(img, 30, 50), qRgb(0, 0, 0)));
        EXPECT_TRUE(colorNear(pixelAt(img, 30, 70), qRgb(255, 255, 255)));
        EXPECT_TRUE(colorNear(pixelAt(img, 45, 50), qRgb(255, 255, 255)));
    }
}
