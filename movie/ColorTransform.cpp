#include "ColorTransform.h"

#include <algorithm>
#include <cmath>

namespace movie {

namespace {
uint8_t channel(double value, double mul, double add)
{
    double v = value * mul + add;
    return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}
} // namespace

Rgba ColorTransform::apply(Rgba c) const
{
    return {channel(c.r, mr, ar), channel(c.g, mg, ag), channel(c.b, mb, ab), channel(c.a, ma, aa)};
}

QColor ColorTransform::toColor(Rgba c) const
{
    Rgba t = apply(c);
    return QColor(t.r, t.g, t.b, t.a);
}

ColorTransform ColorTransform::combined(const ColorTransform& inner) const
{
    ColorTransform out;
    out.mr = mr * inner.mr;
    out.mg = mg * inner.mg;
    out.mb = mb * inner.mb;
    out.ma = ma * inner.ma;
    out.ar = mr * inner.ar + ar;
    out.ag = mg * inner.ag + ag;
    out.ab = mb * inner.ab + ab;
    out.aa = ma * inner.aa + aa;
    return out;
}

QImage ColorTransform::applied(const QImage& image) const
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            QRgb p = line[x];
            int a = qAlpha(p);
            Rgba c;
            if (a == 0) {
                c = {0, 0, 0, 0};
            } else {
                c = {uint8_t(std::min(255, qRed(p) * 255 / a)), uint8_t(std::min(255, qGreen(p) * 255 / a)),
                     uint8_t(std::min(255, qBlue(p) * 255 / a)), uint8_t(a)};
            }
            Rgba t = apply(c);
            line[x] = qPremultiply(qRgba(t.r, t.g, t.b, t.a));
        }
    }
    return out;
}

} // namespace movie
