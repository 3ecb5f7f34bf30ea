#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <vector>

class QPainter;

namespace screens {

// What has been drawn on a panel: every dot in order, and the same dots on a fine raster.
// The drawing belongs to the panel, so it survives any repaint and is shown at any scale.
class Drawing {
public:
    // Raster pixels per design pixel: fine enough for the largest screens.
    static constexpr int kResolution = 4;

    struct Dot {
        QPointF centre; // design pixels in the panel's client area
        float diameter; // design pixels
        QRgb color;
    };

    explicit Drawing(QSizeF designPixels);

    // A filled dot; parts outside the panel are clipped away.
    void addDot(QPointF centre, double diameter, QColor color);
    const std::vector<Dot>& dots() const { return m_dots; }
    const QImage& raster() const { return m_raster; }
    QSizeF size() const { return m_size; }

    // Paints dots [from, dots().size()) into a painter whose coordinates are design pixels
    // scaled by `scale`.
    void paintDots(QPainter& painter, double scale, std::size_t from) const;

private:
    QSizeF m_size;
    QImage m_raster;
    std::vector<Dot> m_dots;
};

} // namespace screens
