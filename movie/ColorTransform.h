#pragma once

#include <QColor>
#include <QImage>

namespace movie {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba&) const = default;
};

// Multiplies then adds per channel; add terms are in 0..255 units as stored in files.
class ColorTransform {
public:
    double mr = 1, mg = 1, mb = 1, ma = 1;
    double ar = 0, ag = 0, ab = 0, aa = 0;

    bool isIdentity() const
    {
        return mr == 1 && mg == 1 && mb == 1 && ma == 1 && ar == 0 && ag == 0 && ab == 0 && aa == 0;
    }
    bool onlyAlphaMultiplier() const
    {
        return mr == 1 && mg == 1 && mb == 1 && ar == 0 && ag == 0 && ab == 0 && aa == 0;
    }
    bool operator==(const ColorTransform&) const = default;

    Rgba apply(Rgba c) const;
    QColor toColor(Rgba c) const;
    // The transform that applies `inner` first, then this one.
    ColorTransform combined(const ColorTransform& inner) const;
    // Applies the transform to every pixel of a premultiplied image.
    QImage applied(const QImage& image) const;
};

} // namespace movie
