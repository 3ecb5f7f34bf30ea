#include "PaintCaches.h"

#include "ShapeBuilder.h"

#include <algorithm>

namespace movie {

namespace {

PaintCaches::Shape sizedFor(const CompiledShape& shape)
{
    PaintCaches::Shape kept;
    kept.parts.resize(shape.parts.size());
    kept.ramps.resize(shape.fills.size() + shape.lines.size());
    return kept;
}

} // namespace

PaintCaches::Shape& PaintCaches::of(const CompiledShape& shape)
{
    auto it = m_shapes.find(&shape);
    if (it == m_shapes.end())
        it = m_shapes.emplace(&shape, sizedFor(shape)).first;
    return it->second;
}

std::shared_ptr<PaintCaches::MorphShape> PaintCaches::morphAt(const MorphCharacter& morph, int ratio, qint64* edgeBudget)
{
    ratio = std::clamp(ratio, 0, 65535);
    auto& built = m_morphs[&morph];
    if (auto it = built.find(ratio); it != built.end())
        return it->second;
    const qint64 edges = qint64(morph.startEdges.size());
    // Out of budget for this picture: the nearest shape already built will do.
    if (edgeBudget && *edgeBudget <= 0 && !built.empty()) {
        auto next = built.lower_bound(ratio);
        if (next == built.end())
            return std::prev(next)->second;
        if (next != built.begin() && ratio - std::prev(next)->first < next->first - ratio)
            return std::prev(next)->second;
        return next->second;
    }
    const size_t maxEntries = size_t(std::clamp<qint64>(300000 / (edges + 1), 2, 64));
    if (built.size() >= maxEntries)
        built.clear();
    auto made = std::make_shared<MorphShape>();
    made->shape = ShapeBuilder::compile(ShapeBuilder::interpolate(morph, ratio / 65535.0));
    made->kept = sizedFor(made->shape);
    if (edgeBudget)
        *edgeBudget -= edges + 1;
    built.emplace(ratio, made);
    return made;
}

size_t PaintCaches::morphShapesKept(const MorphCharacter& morph) const
{
    auto it = m_morphs.find(&morph);
    return it == m_morphs.end() ? 0 : it->second.size();
}

const QImage& PaintCaches::recoloured(const BitmapCharacter& bitmap, const ColorTransform& colors)
{
    Recoloured& r = m_bitmaps[&bitmap];
    if (r.image.isNull() || !(r.colors == colors)) {
        r.image = colors.applied(bitmap.image);
        r.colors = colors;
    }
    return r.image;
}

} // namespace movie
