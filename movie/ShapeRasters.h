#pragma once

#include "ColorTransform.h"

#include <QImage>
#include <QPoint>
#include <QTransform>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace movie {

struct CompiledShape;

// Shapes already drawn, kept as pictures: a shape drawn again with the same scale, rotation,
// colours and position within a pixel (a still backdrop, or one moved by whole pixels) is
// copied rather than drawn from its outlines again. One set belongs to one movie's data and
// lives as long as it; together all sets keep within a byte budget, the least recently used
// pictures going first. A shape is kept only once it has been drawn alike in two paints, so
// that what moves smoothly costs no more than before. Used from the user-interface thread.
class ShapeRasters {
public:
    static constexpr qint64 BudgetBytes = 16ll * 1024 * 1024;
    // Larger pictures are not kept: one shape should not push out all the others.
    static constexpr qint64 MaxPictureBytes = 8ll * 1024 * 1024;

    ShapeRasters();
    ~ShapeRasters();
    ShapeRasters(const ShapeRasters&) = delete;
    ShapeRasters& operator=(const ShapeRasters&) = delete;

    // Where to put a shape drawn under `world` (device pixels) with `colors`.
    struct Picture {
        const QImage* image = nullptr;  // null: draw the shape itself
        QPoint at;                      // the picture's top left, in device pixels
    };
    // The kept picture for this drawing, or null. With `make` (called to draw the shape into
    // a transparent image whose pixel (0, 0) lies at `origin`), a drawing seen in an earlier
    // paint is made into a picture now. `make` returns false when it could not draw all of
    // the shape; nothing is kept then.
    template <class Make>
    Picture find(const CompiledShape& shape, const QTransform& world, const ColorTransform& colors,
                 bool antialiasing, const QRectF& deviceBounds, uint64_t paint, Make&& make);

    // Numbers paints for all sets alike, so that what was used least recently is known.
    static uint64_t nextPaint();

    // Bytes kept by all sets together.
    static qint64 totalBytes();
    qint64 bytes() const { return m_bytes; }
    int pictureCount() const;

private:
    struct Key {
        const CompiledShape* shape;
        double m11, m12, m21, m22, fx, fy;
        ColorTransform colors;
        bool antialiasing;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const;
    };
    struct Entry {
        QImage image;
        QPoint offset;  // from the whole pixel of the translation to the picture's top left
        uint64_t firstPaint = 0, lastUsed = 0;
    };
    Picture lookUp(const Key& key, QPoint whole, uint64_t paint, bool& wanted, Entry*& entry);
    void store(Entry& entry, QImage image, QPoint offset);
    void forgetCandidates(uint64_t paint);
    static bool makeRoom(qint64 bytes, uint64_t paint);

    std::unordered_map<Key, Entry, KeyHash> m_entries;
    qint64 m_bytes = 0;
};

template <class Make>
ShapeRasters::Picture ShapeRasters::find(const CompiledShape& shape, const QTransform& world,
                                         const ColorTransform& colors, bool antialiasing,
                                         const QRectF& deviceBounds, uint64_t paint, Make&& make)
{
    const double ix = std::floor(world.dx()), iy = std::floor(world.dy());
    const Key key{&shape, world.m11(), world.m12(), world.m21(), world.m22(), world.dx() - ix, world.dy() - iy,
                  colors, antialiasing};
    const QPoint whole{int(ix), int(iy)};
    bool wanted = false;
    Entry* entry = nullptr;
    Picture found = lookUp(key, whole, paint, wanted, entry);
    if (found.image || !wanted)
        return found;
    const QRect area = deviceBounds.toAlignedRect().adjusted(-1, -1, 1, 1);
    const qint64 bytes = qint64(area.width()) * area.height() * 4;
    if (area.isEmpty() || bytes > MaxPictureBytes || !makeRoom(bytes, paint))
        return {};
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!make(image, area.topLeft()))
        return {};
    store(*entry, std::move(image), area.topLeft() - whole);
    return {&entry->image, area.topLeft()};
}

} // namespace movie
