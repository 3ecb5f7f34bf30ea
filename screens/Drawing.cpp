#include "Drawing.h"

#include <QPainter>
#include <cmath>

namespace screens {

Drawing::Drawing(QSizeF designPixels)
    : m_size(designPixels),
      m_raster(QSize(std::max(1, int(std::ceil(designPixels.width() * kResolution))),
                     std::max(1, int(std::ceil(designPixels.height() * kResolution)))),
               QImage::Format_ARGB32_Premultiplied)
{
    m_raster.fill(Qt::transparent);
}

void Drawing::addDot(QPointF centre, double diameter, QColor color)
{
    m_dots.push_back(Dot{centre, float(diameter), color.rgba()});
    QPainter painter(&m_raster);
    paintDots(painter, kResolution, m_dots.size() - 1);
}

void Drawing::paintDots(QPainter& painter, double scale, std::size_t from) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QRgb current = 0;
    bool first = true;
    for (std::size_t i = from; i < m_dots.size(); ++i) {
        const Dot& d = m_dots[i];
        if (first || d.color != current) {
            painter.setBrush(QColor::fromRgba(d.color));
            current = d.color;
            first = false;
        }
        const double r = d.diameter * scale / 2;
        painter.drawEllipse(d.centre * scale, r, r);
    }
}

} // namespace screens
