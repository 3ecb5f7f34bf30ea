#include "Renderer.h"
#include "TestSupport.h"

#include <QPainter>
#include <zlib.h>
#include <gtest/gtest.h>

using namespace movietest;

namespace {

void square(SwfWriter& w, int id, Color c, int x, int y, int size) { defineRectangle(w, id, c, x, y, size, size); }

} // namespace

TEST(ShowAll, FitsTheStageInsideTheTargetCentred)
{
    QRectF stage(0, 0, 2000, 1000);  // 100 x 50 px
    QTransform t = movie::Renderer::showAllTransform(stage, QRectF(0, 0, 200, 200));
    EXPECT_EQ(t.mapRect(stage), QRectF(0, 50, 200, 100));
    t = movie::Renderer::showAllTransform(stage, QRectF(10, 10, 400, 100));
    EXPECT_EQ(t.mapRect(stage), QRectF(110, 10, 200, 100));
    // A stage that does not start at the origin still lands in the target.
    QRectF shifted(1000, 1000, 2000, 2000);
    t = movie::Renderer::showAllTransform(shifted, QRectF(0, 0, 50, 50));
    EXPECT_EQ(t.mapRect(shifted), QRectF(0, 0, 50, 50));
}

TEST(Render, MarginsAndStageTakeTheBackgroundColour)
{
    SwfWriter w(100, 50);
    w.background(0, 0, 255);
    ShapeWriter s;
    int f = s.solidFill({255, 0, 0});
    s.change(-1, f, -1);
    s.rectangle(0, 0, 2000, 1000);  // exactly the stage
    w.defineShape(1, s);
    auto m = placeAndLoad(w);
    ASSERT_TRUE(m);
    QImage img(200, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    m->paint(painter, QRectF(0, 0, 200, 200));
    painter.end();
    EXPECT_TRUE(colorNear(pixelAt(img, 100, 20), qRgb(0, 0, 255)));   // top margin
    EXPECT_TRUE(colorNear(pixelAt(img, 100, 180), qRgb(0, 0, 255)));  // bottom margin
    EXPECT_TRUE(colorNear(pixelAt(img, 100, 100), qRgb(255, 0, 0)));  // the stage
}

// A stage of 50.25 x 50.5 pixels: its picture is drawn at its own scale and cut to 50 x 50,
// so a one-pixel column at its 50th pixel lands on the image's last column, whole.
TEST(Render, AStageOfPartPixelsIsCutNotSqueezed)
{
    SwfWriter w;
    w.stageInTwips(1005, 1010);
    w.background(255, 255, 255);
    defineRectangle(w, 1, {0, 0, 255}, 980, 0, 20, 1010);
    auto m = placeAndLoad(w);
    ASSERT_TRUE(m);
    const QImage img = m->snapshot();
    ASSERT_EQ(img.size(), QSize(50, 50));
    EXPECT_EQ(pixelAt(img, 49, 25), 0x0000ffu);
    EXPECT_EQ(pixelAt(img, 48, 25), 0xffffffu);
}

TEST(Render, WhatLiesBeyondTheStageShowsInTheMarginsButNotOutsideThePlayer)
{
    // A 100 x 50 stage with a green band running from far above it to far below it; the
    // player is square, so there are margins above and below the stage.
    SwfWriter w(100, 50);
    w.background(0, 0, 255);
    defineRectangle(w, 1, {0, 160, 0}, 800, -4000, 400, 9000);
    auto m = placeAndLoad(w);
    ASSERT_TRUE(m);
    QImage img(300, 300, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    m->paint(painter, QRectF(50, 50, 200, 200));  // stage drawn at (50,100)-(250,200)
    painter.end();
    EXPECT_TRUE(colorNear(pixelAt(img, 150, 150), qRgb(0, 160, 0)));  // on the stage
    EXPECT_TRUE(colorNear(pixelAt(img, 150, 60), qRgb(0, 160, 0)));   // top margin
    EXPECT_TRUE(colorNear(pixelAt(img, 150, 240), qRgb(0, 160, 0)));  // bottom margin
    EXPECT_TRUE(colorNear(pixelAt(img, 80, 60), qRgb(0, 0, 255)));    // margin beside the band
    EXPECT_TRUE(colorNear(pixelAt(img, 150, 20), qRgb(255, 255, 255)));  // outside the player
    EXPECT_TRUE(colorNear(pixelAt(img, 150, 280), qRgb(255, 255, 255)));
}

TEST(Render, ShapesUseTwipsAndPlacementMatrix)
{
    SwfWriter w(100, 100);
    w.background(255, 255, 255);
    square(w, 1, {0, 128, 0}, 0, 0, 400);  // 20 x 20 px
    SwfWriter::Place p;
    p.characterId = 1;
    p.hasMatrix = true;
    p.sx = 2;
    p.sy = 2;
    p.tx = 1000;
    p.ty = 200;
    w.place(p);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    QImage img = m->snapshot();
    ASSERT_EQ(img.size(), QSize(100, 100));
    EXPECT_TRUE(colorNear(pixelAt(img, 52, 12), qRgb(0, 128, 0)));
    EXPECT_TRUE(colorNear(pixelAt(img, 88, 48), qRgb(0, 128, 0)));
    EXPECT_TRUE(colorNear(pixelAt(img, 48, 12), qRgb(255, 255, 255)));
    EXPECT_TRUE(colorNear(pixelAt(img, 52, 52), qRgb(255, 255, 255)));
}

TEST(Render, ColourTransformChangesFill)
{
    SwfWriter w(20, 20);
    square(w, 1, {200, 100, 0}, 0, 0, 400);
    SwfWriter::Place p;
    p.characterId = 1;
    p.hasColor = true;
    p.mult[0] = 128;  // red halved
    p.add[2] = 255;   // blue full
    w.place(p);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    EXPECT_TRUE(colorNear(pixelAt(m->snapshot(), 10, 10), qRgb(100, 100, 255)));
}

TEST(Render, ClipLayerMasksOnlyDepthsUpToItsClipDepth)
{
    SwfWriter w(100, 100);
    w.background(255, 255, 255);
    square(w, 1, {255, 0, 0}, 0, 0, 2000);     // red, whole stage
    square(w, 2, {0, 0, 0}, 0, 0, 1000);       // mask: top-left quarter
    square(w, 3, {0, 0, 255}, 1000, 1000, 1000);  // blue: bottom-right quarter
    SwfWriter::Place mask;
    mask.characterId = 2;
    mask.depth = 1;
    mask.clipDepth = 2;
    w.place(mask);
    SwfWriter::Place red;
    red.characterId = 1;
    red.depth = 2;
    w.place(red);
    SwfWriter::Place blue;
    blue.characterId = 3;
    blue.depth = 3;
    w.place(blue);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    QImage img = m->snapshot();
    EXPECT_TRUE(colorNear(pixelAt(img, 25, 25), qRgb(255, 0, 0)));      // red inside the mask
    EXPECT_TRUE(colorNear(pixelAt(img, 75, 25), qRgb(255, 255, 255)));  // red clipped away
    EXPECT_TRUE(colorNear(pixelAt(img, 75, 75), qRgb(0, 0, 255)));      // above clip depth: not masked
    EXPECT_TRUE(colorNear(pixelAt(img, 10, 60), qRgb(255, 255, 255)));  // the mask itself is not drawn
}

TEST(Render, NewStylesMidShapeDrawOverEarlierOnes)
{
    SwfWriter w(100, 100);
    w.background(255, 255, 255);
    ShapeWriter s;
    int red = s.solidFill({255, 0, 0});
    s.change(-1, red, -1);
    s.rectangle(0, 0, 2000, 2000);
    ShapeWriter styles;
    int green = styles.solidFill({0, 255, 0});
    s.newStyles(styles, 0, green, 0);
    s.rectangle(0, 0, 1000, 1000);
    w.defineShape(1, s);
    auto m = placeAndLoad(w);
    ASSERT_TRUE(m);
    QImage img = m->snapshot();
    EXPECT_TRUE(colorNear(pixelAt(img, 25, 25), qRgb(0, 255, 0)));
    EXPECT_TRUE(colorNear(pixelAt(img, 75, 75), qRgb(255, 0, 0)));
}

TEST(Render, CurvedEdgesAndStrokes)
{
    SwfWriter w(100, 100);
    w.background(255, 255, 255);
    ShapeWriter s;
    int fill = s.solidFill({0, 0, 255});
    int stroke = s.line(100, {0, 0, 0});  // 5 px
    s.change(-1, fill, stroke, true, 200, 1000);
    s.curveTo(800, -800, 800, 800);  // arc over the top to (1800, 1000)
    s.lineTo(-1600, 0);
    w.defineShape(1, s);
    auto m = placeAndLoad(w);
    ASSERT_TRUE(m);
    QImage img = m->snapshot();
    EXPECT_TRUE(colorNear(pixelAt(img, 50, 40), qRgb(0, 0, 255)));      // under the arc
    EXPECT_TRUE(colorNear(pixelAt(img, 50, 10), qRgb(255, 255, 255)));  // above the arc's peak (y=30)
    EXPECT_TRUE(colorNear(pixelAt(img, 50, 50), qRgb(0, 0, 0), 30));    // the closing stroke
    EXPECT_TRUE(colorNear(pixelAt(img, 50, 70), qRgb(255, 255, 255)));
}

TEST(Render, LinearGradientRunsAcrossItsSquare)
{
    SwfWriter w(100, 100);
    ShapeWriter s;
    int g = s.linearGradient({0, 0, 0}, {255, 255, 255});
    s.change(-1, g, -1);
    s.rectangle(0, 0, 2000, 2000);
    w.defineShape(1, s);
    auto m = placeAndLoad(w);
    ASSERT_TRUE(m);
    QImage img = m->snapshot();
    EXPECT_LT(qRed(img.pixel(5, 50)), 30);
    EXPECT_NEAR(qRed(img.pixel(50, 50)), 128, 12);
    EXPECT_GT(qRed(img.pixel(95, 50)), 225);
}

TEST(Render, LosslessBitmapFill)
{
    // A 2x2 colour-mapped bitmap scaled up 20x (one pixel per 20 twips -> 1 px) then 10x.
    SwfWriter w(20, 20);
    BitWriter bm;
    bm.u16(7);
    bm.u8(3);
    bm.u16(2);
    bm.u16(2);
    bm.u8(1);  // two colours
    QByteArray raw;
    raw.append("\xff\x00\x00\x00\x00\xff", 6);  // red, blue
    raw.append(QByteArray("\x00\x01\x00\x00\x01\x00\x00\x00", 8));  // rows padded to 4
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray z(qsizetype(size), 0);
    compress(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.constData()), uLong(raw.size()));
    z.resize(qsizetype(size));
    bm.bytes(z);
    w.tag(20, bm.data());
    ShapeWriter s;
    int f = s.bitmapFill(7, 200, false);  // 10 px per bitmap pixel
    s.change(-1, f, -1);
    s.rectangle(0, 0, 400, 400);
    w.defineShape(1, s);
    auto m = placeAndLoad(w);
    ASSERT_TRUE(m);
    QImage img = m->snapshot();
    EXPECT_TRUE(colorNear(pixelAt(img, 5, 5), qRgb(255, 0, 0)));
    EXPECT_TRUE(colorNear(pixelAt(img, 15, 5), qRgb(0, 0, 255)));
    EXPECT_TRUE(colorNear(pixelAt(img, 5, 15), qRgb(0, 0, 255)));
    EXPECT_TRUE(colorNear(pixelAt(img, 15, 15), qRgb(255, 0, 0)));
}

namespace {
movie::FillStyle gradientOf(std::vector<std::pair<int, QRgb>> stops)
{
    movie::FillStyle f;
    f.kind = movie::FillStyle::Kind::Linear;
    for (auto [ratio, rgb] : stops)
        f.stops.push_back({uint8_t(ratio), {uint8_t(qRed(rgb)), uint8_t(qGreen(rgb)), uint8_t(qBlue(rgb)), 255}});
    return f;
}
QRgb rampAt(const QGradientStops& ramp, int ratio) { return ramp[ratio].second.rgb() & 0xffffff; }
} // namespace

TEST(GradientRamp, InterpolatesBetweenStopsAndPadsTheEnds)
{
    auto ramp = movie::Renderer::gradientRamp(gradientOf({{50, qRgb(0, 0, 0)}, {150, qRgb(200, 100, 0)}}), {});
    ASSERT_EQ(ramp.size(), 257);
    EXPECT_EQ(rampAt(ramp, 0), 0u);
    EXPECT_EQ(rampAt(ramp, 50), 0u);
    EXPECT_TRUE(colorNear(rampAt(ramp, 100), qRgb(100, 50, 0), 1));
    EXPECT_TRUE(colorNear(rampAt(ramp, 255), qRgb(200, 100, 0), 0));
}

TEST(GradientRamp, RepeatedRatioIsAHardEdge)
{
    auto ramp = movie::Renderer::gradientRamp(
        gradientOf({{0, qRgb(0, 0, 0)}, {100, qRgb(255, 0, 0)}, {100, qRgb(0, 0, 255)}, {255, qRgb(0, 0, 255)}}), {});
    EXPECT_TRUE(colorNear(rampAt(ramp, 99), qRgb(252, 0, 0), 3));
    EXPECT_TRUE(colorNear(rampAt(ramp, 102), qRgb(0, 0, 255), 0));
}

TEST(GradientRamp, StopGoingBackwardsIsPassedOver)
{
    // 0 red, 100 green, 50 blue, 200 white: past 100 the ramp runs from the blue stop.
    auto ramp = movie::Renderer::gradientRamp(
        gradientOf({{0, qRgb(255, 0, 0)}, {100, qRgb(0, 255, 0)}, {50, qRgb(0, 0, 255)}, {200, qRgb(255, 255, 255)}}), {});
    EXPECT_TRUE(colorNear(rampAt(ramp, 50), qRgb(128, 128, 0), 2));
    EXPECT_TRUE(colorNear(rampAt(ramp, 125), qRgb(128, 128, 255), 2));
    EXPECT_TRUE(colorNear(rampAt(ramp, 250), qRgb(255, 255, 255), 0));
}

TEST(GradientRamp, LinearLightBlendsBrighter)
{
    auto f = gradientOf({{0, qRgb(255, 0, 0)}, {255, qRgb(0, 0, 255)}});
    f.interpolation = movie::Interpolation::LinearRgb;
    auto ramp = movie::Renderer::gradientRamp(f, {});
    QRgb mid = rampAt(ramp, 128);
    EXPECT_NEAR(qRed(mid), 187, 3);  // half of full in linear light, not 128
    EXPECT_NEAR(qBlue(mid), 188, 3);
}

TEST(Render, KeepsThePainterTransformOfTheCaller)
{
    SwfWriter w(20, 20);
    w.background(255, 255, 255);
    ShapeWriter s;
    int f = s.solidFill({255, 0, 0});
    s.change(-1, f, -1);
    s.rectangle(0, 0, 200, 200);  // top-left quarter
    w.defineShape(1, s);
    auto m = placeAndLoad(w);
    ASSERT_TRUE(m);
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter painter(&img);
    painter.translate(50, 50);
    painter.scale(2, 2);
    m->paint(painter, QRectF(0, 0, 20, 20));  // lands on (50..90, 50..90)
    painter.end();
    EXPECT_TRUE(colorNear(pixelAt(img, 55, 55), qRgb(255, 0, 0)));
    EXPECT_TRUE(colorNear(pixelAt(img, 85, 85), qRgb(255, 255, 255)));
    EXPECT_TRUE(colorNear(pixelAt(img, 25, 25), qRgb(0, 0, 0)));
    EXPECT_TRUE(colorNear(pixelAt(img, 95, 95), qRgb(0, 0, 0)));
}

TEST(Render, StrokeWidthScalesUnlessTheStyleSaysNot)
{
    // Two horizontal 2 px lines in a 4x scaled placement: the plain one becomes 8 px wide,
    // the one that ignores placement scale stays 2 px.
    SwfWriter w(100, 100);
    w.background(255, 255, 255);
    for (int id : {1, 2}) {
        ShapeWriter s(4);
        int l = s.line2(40, {0, 0, 0}, 1, 2, id == 2, id == 2);
        s.change(-1, -1, l, true, 0, 0);
        s.lineTo(400, 0);
        w.defineShape(id, s, 4);
        SwfWriter::Place p;
        p.characterId = id;
        p.depth = id;
        p.hasMatrix = true;
        p.sx = 4;
        p.sy = 4;
        p.tx = 200;
        p.ty = id == 1 ? 400 : 1400;
        w.place(p);
    }
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    QImage img = m->snapshot();
    EXPECT_TRUE(colorNear(pixelAt(img, 50, 20), qRgb(0, 0, 0)));
    EXPECT_TRUE(colorNear(pixelAt(img, 50, 23), qRgb(0, 0, 0), 8));      // inside 8 px
    EXPECT_TRUE(colorNear(pixelAt(img, 50, 70), qRgb(0, 0, 0), 64));
    EXPECT_TRUE(colorNear(pixelAt(img, 50, 73), qRgb(255, 255, 255), 8));  // outside 2 px
    EXPECT_TRUE(colorNear(pixelAt(img, 5, 20), qRgb(255, 255, 255), 8));  // flat caps: no overhang
}
