// The renderer's budget for the drawing work of one paint: movies far too costly to draw
// are drawn in part, marked, and reported once; every real movie draws whole.

#include "HostileMovies.h"
#include "Renderer.h"
#include "TestSupport.h"

#include <QDir>
#include <QPainter>
#include <cstdio>
#include <gtest/gtest.h>

using namespace movietest;
using movie::Renderer;

namespace {

// Paints the current frame at stage size on white, returning what standard error got.
std::string paintCapturingStderr(const movie::Movie& m, QImage& image)
{
    image = QImage(m.stageSize().toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    ::testing::internal::CaptureStderr();
    QPainter painter(&image);
    m.paint(painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    std::fflush(stderr);
    return ::testing::internal::GetCapturedStderr();
}

int lines(const std::string& s) { return int(std::count(s.begin(), s.end(), '\n')); }

// A zigzag stroke of short segments, cheap for the painter whatever its width.
QByteArray shortZigzag(int segments, int width)
{
    SwfWriter w(200, 200);
    ShapeWriter s;
    int line = s.line(width, {0, 0, 0});
    s.change(-1, -1, line, true, 200, 200);
    for (int i = 0; i < segments; ++i)
        s.lineTo(i % 2 == 0 ? 40 : -40, (i / 2) % 80 == 79 ? -79 * 40 : 20);
    w.defineShape(1, s, 3, 4000, 4000);
    placeCharacter(w, 1);
    w.showFrame();
    w.end();
    return w.file();
}

} // namespace

TEST(DrawingBudget, DenseShapesPlacedManyTimesAreLeftOutAndReportedOnce)
{
    const struct {
        int edges, placements;
    } cases[] = {{100000, 10}, {250000, 10}, {100000, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.edges << " edges placed " << c.placements << " times");
        const QByteArray file = denseCombMovie(c.edges, c.placements);
        EXPECT_LT(file.size(), 4096);
        auto m = loadMovie(file);
        ASSERT_TRUE(m);
        m->setName("comb.swf");
        EXPECT_FALSE(m->drawingCut());
        QImage image;
        const std::string err = paintCapturingStderr(*m, image);
        EXPECT_TRUE(m->drawingCut());
        EXPECT_LE(m->lastDrawingWork(), Renderer::DrawingBudget);
        EXPECT_EQ(lines(err), 1) << err;
        EXPECT_NE(err.find("comb.swf"), std::string::npos) << err;
        // The movie is marked once; later paints say nothing more.
        EXPECT_EQ(paintCapturingStderr(*m, image), "");
        EXPECT_TRUE(m->drawingCut());
    }
}

TEST(DrawingBudget, WhatFitsIsStillDrawn)
{
    // The dense comb below, a red square above it: the square is drawn, the comb is not.
    SwfWriter w(100, 100);
    w.background(255, 255, 255);
    ShapeWriter comb;
    int f = comb.solidFill({0, 0, 255});
    comb.change(-1, f, -1, true, 0, 0);
    for (int i = 0; i < 60000; ++i)
        comb.lineTo(0, i % 2 == 0 ? 2000 : -2000);
    comb.change(-1, -1, -1);
    comb.rectangle(0, 0, 2000, 2000);
    w.defineShape(1, comb);
    ShapeWriter square;
    int red = square.solidFill({255, 0, 0});
    square.change(-1, red, -1);
    square.rectangle(1000, 1000, 400, 400);
    w.defineShape(2, square);
    SwfWriter::Place p;
    p.characterId = 1;
    w.place(p);
    p.depth = 2;
    p.characterId = 2;
    w.place(p);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    QImage image;
    const std::string err = paintCapturingStderr(*m, image);
    EXPECT_TRUE(m->drawingCut());
    EXPECT_EQ(lines(err), 1) << err;
    EXPECT_TRUE(colorNear(pixelAt(image, 60, 60), qRgb(255, 0, 0)));
    EXPECT_TRUE(colorNear(pixelAt(image, 20, 20), qRgb(255, 255, 255)));
    // Under a clip layer made of the comb, the square is left out too.
    SwfWriter masked(100, 100);
    masked.background(255, 255, 255);
    masked.defineShape(1, comb);
    masked.defineShape(2, square);
    SwfWriter::Place mask;
    mask.characterId = 1;
    mask.clipDepth = 3;
    masked.place(mask);
    masked.place(p);
    masked.showFrame();
    masked.end();
    m = loadMovie(masked.file());
    ASSERT_TRUE(m);
    paintCapturingStderr(*m, image);
    EXPECT_TRUE(m->drawingCut());
    EXPECT_TRUE(colorNear(pixelAt(image, 60, 60), qRgb(255, 255, 255)));
}

TEST(DrawingBudget, WideStrokesCostMorePerSegment)
{
    // 10,000 segments: within the budget as a hairline, far past it ten pixels wide.
    for (int width : {20, 200}) {
        SCOPED_TRACE(width);
        auto m = loadMovie(shortZigzag(10000, width));
        ASSERT_TRUE(m);
        QImage image;
        const std::string err = paintCapturingStderr(*m, image);
        EXPECT_EQ(m->drawingCut(), width == 200);
        EXPECT_EQ(lines(err), width == 200 ? 1 : 0) << err;
        EXPECT_LE(m->lastDrawingWork(), Renderer::DrawingBudget);
        if (width == 20) {
            EXPECT_GT(m->lastDrawingWork(), 10000);
        }
    }
}

TEST(DrawingBudget, LongEdgesCostMoreThanShortOnes)
{
    // 20,000 segments as a hairline: two pixels long each they fit, the height of the
    // stage each they do not, nor ten pixels wide.
    for (const QByteArray& file : {shortZigzag(20000, 20), zigzagLineMovie(20000, 20), zigzagLineMovie(20000, 200)}) {
        auto m = loadMovie(file);
        ASSERT_TRUE(m);
        const bool longSegments = m->stageSize().width() > 200;
        SCOPED_TRACE(longSegments ? "long segments" : "short segments");
        QImage image;
        EXPECT_EQ(lines(paintCapturingStderr(*m, image)), longSegments ? 1 : 0);
        EXPECT_EQ(m->drawingCut(), longSegments);
        EXPECT_LE(m->lastDrawingWork(), Renderer::DrawingBudget);
    }
}

// Whatever the counting says, time bounds a paint: a paint out of time draws nothing more and
// the next one draws everything again; a part slow in two paints is left out from then on,
// without making every later frame a whole repaint. The limits are set to nothing here so that
// the rules show without a slow file.
TEST(DrawingBudget, TimeBoundsAPaintAndLeavesOutPartsSlowInTwoPaints)
{
    SwfWriter w(100, 100);
    w.background(255, 255, 255);
    defineRectangle(w, 1, {255, 0, 0}, 400, 400, 1200, 1200);
    auto m = placeAndLoad(w);
    ASSERT_TRUE(m);
    m->setName("slow.swf");
    (void)m->takeChanges();
    QImage image;
    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);

    m->setPaintTimeLimits({0, Renderer::TimeLimits().partNs});
    std::string err = paintCapturingStderr(*m, image);
    EXPECT_TRUE(colorNear(pixelAt(image, 50, 50), white));
    EXPECT_TRUE(m->drawingCut());
    EXPECT_EQ(lines(err), 1) << err;
    EXPECT_NE(err.find("slow.swf: frame 1 takes too long to draw"), std::string::npos) << err;
    EXPECT_TRUE(m->takeChanges().everything);
    m->setPaintTimeLimits({});
    paintCapturingStderr(*m, image);
    EXPECT_TRUE(colorNear(pixelAt(image, 50, 50), red));
    EXPECT_TRUE(m->takeChanges().empty());

    auto again = placeAndLoad(w);
    ASSERT_TRUE(again);
    (void)again->takeChanges();
    again->setPaintTimeLimits({Renderer::TimeLimits().paintNs, 0});
    for (int paint = 1; paint <= 3; ++paint) {
        SCOPED_TRACE(paint);
        err = paintCapturingStderr(*again, image);
        EXPECT_TRUE(colorNear(pixelAt(image, 50, 50), paint <= 2 ? red : white));
        EXPECT_EQ(again->drawingCut(), paint == 3);
        EXPECT_EQ(lines(err), paint == 3 ? 1 : 0) << err;
        EXPECT_TRUE(again->takeChanges().empty());
    }
}
