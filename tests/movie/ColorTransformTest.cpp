#include "ColorTransform.h"

#include <gtest/gtest.h>

using movie::ColorTransform;
using movie::Rgba;

TEST(ColorTransform, IdentityKeepsColours)
{
    ColorTransform c;
    EXPECT_TRUE(c.isIdentity());
    EXPECT_EQ(c.apply({10, 20, 30, 40}), (Rgba{10, 20, 30, 40}));
}

TEST(ColorTransform, MultipliesThenAddsAndClamps)
{
    ColorTransform c;
    c.mr = 0.5;
    c.ag = 100;
    c.mb = 2;
    c.aa = -300;
    EXPECT_EQ(c.apply({200, 200, 200, 255}), (Rgba{100, 255, 255, 0}));
}

TEST(ColorTransform, CombinedAppliesInnerFirst)
{
    ColorTransform inner, outer;
    inner.mr = 0.5;
    inner.ar = 10;
    outer.mr = 2;
    outer.ar = 1;
    ColorTransform both = outer.combined(inner);
    Rgba c{100, 0, 0, 255};
    EXPECT_EQ(both.apply(c), outer.apply(inner.apply(c)));
    EXPECT_EQ(both.apply(c).r, 121);
}

TEST(ColorTransform, AppliesToPremultipliedImages)
{
    QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    image.setPixel(0, 0, qPremultiply(qRgba(200, 100, 0, 128)));
    ColorTransform c;
    c.mr = 0.5;
    c.ab = 255;
    QImage out = c.applied(image);
    QRgb p = qUnpremultiply(out.pixel(0, 0));
    EXPECT_NEAR(qRed(p), 100, 2);
    EXPECT_NEAR(qGreen(p), 100, 2);
    EXPECT_NEAR(qBlue(p), 255, 2);
    EXPECT_NEAR(qAlpha(p), 128, 1);
}
