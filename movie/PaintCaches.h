#pragma once

#include "ColorTransform.h"
#include "MovieData.h"

#include <QBrush>
#include <QImage>
#include <QPainterPath>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace movie {

// What the renderer works out once and draws from again for one movie's data: gradient
// ramps under a colour transform, stroke outlines and path lengths, recoloured bitmaps and
// the in-between shapes of morphs. The data itself never changes while it is drawn, so one
// parsed movie can be shown by several players; the player keeps one set of caches with each
// movie it has read. Used from one thread at a time.
class PaintCaches {
public:
    // What is kept for one compiled shape: per part, its stroke outline and its length; per
    // fill style (the shape's fills, then its lines' fills), its gradient brush.
    struct Part {
        QPainterPath outline;  // twips; empty until made
        bool outlineReady = false;
        double length = -1;  // each edge across plus up, in twips; < 0 until measured
        int slowPaints = 0;  // paints in which it took too long to draw: twice, and it is left out
    };
    // A gradient fill's brush under one colour transform.
    struct Ramp {
        ColorTransform colors;
        QBrush brush;
        bool ready = false;
    };
    struct Shape {
        std::vector<Part> parts;
        std::vector<Ramp> ramps;
    };
    // A morph's shape at one ratio, with what is kept for drawing it.
    struct MorphShape {
        CompiledShape shape;
        Shape kept;
    };

    // The caches of one of the data's compiled shapes (kept until the caches go).
    Shape& of(const CompiledShape& shape);

    // The morph's compiled shape at a placement ratio (0..65535), built on first use. With a
    // budget of edges, building stops when it is spent and the nearest ratio already built is
    // used instead. Fewer ratios are kept for detailed morphs, so the memory stays bounded.
    std::shared_ptr<MorphShape> morphAt(const MorphCharacter& morph, int ratio, qint64* edgeBudget = nullptr);
    size_t morphShapesKept(const MorphCharacter& morph) const;

    // The bitmap with `colors` applied, made again only when the colours change.
    const QImage& recoloured(const BitmapCharacter& bitmap, const ColorTransform& colors);

private:
    std::unordered_map<const CompiledShape*, Shape> m_shapes;
    std::unordered_map<const MorphCharacter*, std::map<int, std::shared_ptr<MorphShape>>> m_morphs;
    struct Recoloured {
        ColorTransform colors;
        QImage image;
    };
    std::unordered_map<const BitmapCharacter*, Recoloured> m_bitmaps;
};

} // namespace movie
