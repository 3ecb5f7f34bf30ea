#include "PaintCaches.h"
#include "ShapeBuilder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace movie;

namespace {

Edge line(QPointF a, QPointF b, int fill0, int fill1, int ln = 0, int group = 0)
{
    Edge e;
    e.from = a;
    e.to = b;
    e.control = (a + b) / 2;
    e.fill0 = fill0;
    e.fill1 = fill1;
    e.line = ln;
    e.group = group;
    return e;
}

ShapeGeometry withFills(int count)
{
    ShapeGeometry g;
    for (int i = 0; i < count; ++i) {
        FillStyle f;
        f.color = {uint8_t(i * 50), 0, 0, 255};
        g.fills.push_back(f);
    }
    return g;
}

const CompiledShape::Part* fillPart(const CompiledShape& s, int style)
{
    for (const auto& p : s.parts)
        if (!p.stroke && p.style == style)
            return &p;
    return nullptr;
}

} // namespace

TEST(ShapeBuilder, ClosesASquareFromFill1Edges)
{
    ShapeGeometry g = withFills(1);
    g.edges = {line({0, 0}, {10, 0}, 0, 1), line({10, 0}, {10, 10}, 0, 1), line({10, 10}, {0, 10}, 0, 1),
               line({0, 10}, {0, 0}, 0, 1)};
    CompiledShape s = ShapeBuilder::compile(g);
    ASSERT_EQ(s.parts.size(), 1u);
    EXPECT_TRUE(s.parts[0].path.contains(QPointF(5, 5)));
    EXPECT_FALSE(s.parts[0].path.contains(QPointF(15, 5)));
}

TEST(ShapeBuilder, SharedEdgeBoundsBothFills)
{
    // Two squares side by side; the middle edge has fill 1 on one side and fill 2 on the
    // other, and each outer edge names only its own fill, on either side.
    ShapeGeometry g = withFills(2);
    g.edges = {
        line({0, 0}, {10, 0}, 0, 1), line({10, 0}, {10, 10}, 2, 1),  // shared edge
        line({10, 10}, {0, 10}, 0, 1), line({0, 10}, {0, 0}, 0, 1),
        // right square walked the other way: its fill is on the fill0 side
        line({20, 0}, {10, 0}, 2, 0), line({20, 0}, {20, 10}, 0, 2), line({20, 10}, {10, 10}, 0, 2),
    };
    CompiledShape s = ShapeBuilder::compile(g);
    const auto* left = fillPart(s, 0);
    const auto* right = fillPart(s, 1);
    ASSERT_TRUE(left && right);
    EXPECT_TRUE(left->path.contains(QPointF(5, 5)));
    EXPECT_FALSE(left->path.contains(QPointF(15, 5)));
    EXPECT_TRUE(right->path.contains(QPointF(15, 5)));
    EXPECT_FALSE(right->path.contains(QPointF(5, 5)));
    // Each fill is one closed contour.
    EXPECT_EQ(left->path.toSubpathPolygons().size(), 1);
    EXPECT_EQ(right->path.toSubpathPolygons().size(), 1);
}

TEST(ShapeBuilder, JoinsEdgesGivenOutOfOrder)
{
    ShapeGeometry g = withFills(1);
    g.edges = {line({10, 10}, {0, 10}, 0, 1), line({0, 0}, {10, 0}, 0, 1), line({0, 10}, {0, 0}, 0, 1),
               line({10, 0}, {10, 10}, 0, 1)};
    CompiledShape s = ShapeBuilder::compile(g);
    ASSERT_EQ(s.parts.size(), 1u);
    auto polys = s.parts[0].path.toSubpathPolygons();
    ASSERT_EQ(polys.size(), 1);
    EXPECT_EQ(polys[0].size(), 5);  // four corners and the closing point
    EXPECT_TRUE(s.parts[0].path.contains(QPointF(5, 5)));
}

TEST(ShapeBuilder, InnerContourWithFillOnOtherSideIsAHole)
{
    ShapeGeometry g = withFills(1);
    g.edges = {line({0, 0}, {30, 0}, 0, 1), line({30, 0}, {30, 30}, 0, 1), line({30, 30}, {0, 30}, 0, 1),
               line({0, 30}, {0, 0}, 0, 1),
               // the hole walked in the same direction with the fill on its fill0 side
               line({10, 10}, {20, 10}, 1, 0), line({20, 10}, {20, 20}, 1, 0), line({20, 20}, {10, 20}, 1, 0),
               line({10, 20}, {10, 10}, 1, 0)};
    for (bool nonZero : {false, true}) {
        g.nonZeroWinding = nonZero;
        CompiledShape s = ShapeBuilder::compile(g);
        ASSERT_EQ(s.parts.size(), 1u);
        EXPECT_TRUE(s.parts[0].path.contains(QPointF(5, 5)));
        EXPECT_FALSE(s.parts[0].path.contains(QPointF(15, 15))) << "non-zero " << nonZero;
    }
}

TEST(ShapeBuilder, CurvesBulgeTowardTheirControlPoint)
{
    ShapeGeometry g = withFills(1);
    Edge curve = line({10, 0}, {10, 10}, 0, 1);
    curve.curve = true;
    curve.control = QPointF(30, 5);  // bulges to x = 20
    g.edges = {line({0, 0}, {10, 0}, 0, 1), curve, line({10, 10}, {0, 10}, 0, 1), line({0, 10}, {0, 0}, 0, 1)};
    CompiledShape s = ShapeBuilder::compile(g);
    ASSERT_EQ(s.parts.size(), 1u);
    EXPECT_TRUE(s.parts[0].path.contains(QPointF(18, 5)));
    EXPECT_FALSE(s.parts[0].path.contains(QPointF(22, 5)));
    EXPECT_FALSE(s.parts[0].path.contains(QPointF(18, 1)));
}

TEST(ShapeBuilder, SameFillOnBothSidesDrawsNoBoundary)
{
    ShapeGeometry g = withFills(1);
    g.edges = {line({0, 0}, {10, 0}, 0, 1), line({10, 0}, {10, 10}, 0, 1), line({10, 10}, {0, 10}, 0, 1),
               line({0, 10}, {0, 0}, 0, 1), line({5, 0}, {5, 10}, 1, 1)};
    CompiledShape s = ShapeBuilder::compile(g);
    ASSERT_EQ(s.parts.size(), 1u);
    EXPECT_EQ(s.parts[0].path.toSubpathPolygons().size(), 1);
}

TEST(ShapeBuilder, NewStyleGroupsDrawAfterEarlierGroups)
{
    ShapeGeometry g = withFills(2);
    LineStyle l;
    g.lines.push_back(l);
    g.edges = {line({0, 0}, {10, 0}, 0, 2, 1, 0), line({10, 0}, {0, 0}, 0, 2, 1, 0),
               line({0, 0}, {5, 0}, 0, 1, 0, 1), line({5, 0}, {5, 5}, 0, 1, 0, 1), line({5, 5}, {0, 0}, 0, 1, 0, 1)};
    CompiledShape s = ShapeBuilder::compile(g);
    ASSERT_EQ(s.parts.size(), 3u);
    // group 0: fill 2 then its stroke; group 1: fill 1
    EXPECT_FALSE(s.parts[0].stroke);
    EXPECT_EQ(s.parts[0].style, 1);
    EXPECT_TRUE(s.parts[1].stroke);
    EXPECT_FALSE(s.parts[2].stroke);
    EXPECT_EQ(s.parts[2].style, 0);
}

TEST(ShapeBuilder, StrokesFollowConnectedEdgesAndCloseLoops)
{
    ShapeGeometry g;
    LineStyle l;
    g.lines.push_back(l);
    g.edges = {line({0, 0}, {10, 0}, 0, 0, 1), line({10, 0}, {10, 10}, 0, 0, 1), line({10, 10}, {0, 0}, 0, 0, 1),
               line({20, 0}, {30, 0}, 0, 0, 1)};
    CompiledShape s = ShapeBuilder::compile(g);
    ASSERT_EQ(s.parts.size(), 1u);
    ASSERT_TRUE(s.parts[0].stroke);
    auto polys = s.parts[0].path.toSubpathPolygons();
    ASSERT_EQ(polys.size(), 2);
    EXPECT_EQ(polys[0].size(), 4);
    EXPECT_EQ(polys[1].size(), 2);
}

TEST(MorphShape, InterpolatesEdgesStylesAndColours)
{
    MorphCharacter m;
    FillStyle a, b;
    a.color = {0, 0, 0, 255};
    b.color = {200, 100, 50, 55};
    m.startFills = {a};
    m.endFills = {b};
    m.startEdges = {line({0, 0}, {10, 0}, 0, 1), line({10, 0}, {10, 10}, 0, 1), line({10, 10}, {0, 0}, 0, 1)};
    m.endEdges = {line({0, 0}, {30, 0}, 0, 0), line({30, 0}, {30, 30}, 0, 0), line({30, 30}, {0, 0}, 0, 0)};
    m.endEdges[1].curve = true;
    m.endEdges[1].control = QPointF(40, 15);
    ShapeGeometry half = ShapeBuilder::interpolate(m, 0.5);
    ASSERT_EQ(half.edges.size(), 3u);
    EXPECT_EQ(half.edges[0].to, QPointF(20, 0));
    EXPECT_EQ(half.edges[1].to, QPointF(20, 20));
    EXPECT_TRUE(half.edges[1].curve);
    // Start straight edge's implied control (10,5) blends with (40,15).
    EXPECT_EQ(half.edges[1].control, QPointF(25, 10));
    EXPECT_EQ(half.edges[0].fill1, 1);  // styles come from the start edges
    EXPECT_EQ(half.fills[0].color, (Rgba{100, 50, 25, 155}));
    ShapeGeometry end = ShapeBuilder::interpolate(m, 1.0);
    EXPECT_EQ(end.edges[2].from, QPointF(30, 30));
    movie::PaintCaches caches;
    auto cached = caches.morphAt(m, 65535);
    EXPECT_TRUE(cached->shape.parts.at(0).path.contains(QPointF(25, 5)));
    EXPECT_EQ(caches.morphAt(m, 65535), cached);
}

TEST(MorphShape, SpentBudgetFallsBackToTheNearestCachedRatio)
{
    MorphCharacter m;
    FillStyle f;
    m.startFills = m.endFills = {f};
    m.startEdges = {line({0, 0}, {10, 0}, 0, 1), line({10, 0}, {10, 10}, 0, 1), line({10, 10}, {0, 0}, 0, 1)};
    m.endEdges = {line({0, 0}, {40, 0}, 0, 1), line({40, 0}, {40, 40}, 0, 1), line({40, 40}, {0, 0}, 0, 1)};
    movie::PaintCaches caches;
    qint64 budget = 3;
    auto start = caches.morphAt(m, 0, &budget);
    EXPECT_LE(budget, 0);
    auto end = caches.morphAt(m, 65535);  // no budget: always built
    EXPECT_EQ(caches.morphShapesKept(m), 2u);
    EXPECT_EQ(caches.morphAt(m, 10000, &budget), start);
    EXPECT_EQ(caches.morphAt(m, 60000, &budget), end);
    EXPECT_EQ(caches.morphShapesKept(m), 2u);
    qint64 fresh = 1000;
    EXPECT_NE(caches.morphAt(m, 30000, &fresh), start);
    EXPECT_EQ(caches.morphShapesKept(m), 3u);
}
