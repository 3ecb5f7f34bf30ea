#include "Scene.h"

#include "PlayContext.h"
#include "Timeline.h"

#include <algorithm>

namespace movie {

namespace {

void addPoint(QRectF& r, const QPointF& p)
{
    r = r.isNull() ? QRectF(p, QSizeF(0, 0)) : r.united(QRectF(p, QSizeF(0, 0)));
}

QRectF pathsBounds(const CompiledShape& shape)
{
    QRectF r;
    for (const CompiledShape::Part& part : shape.parts) {
        QRectF b = part.path.controlPointRect();
        if (part.stroke) {
            const LineStyle& line = shape.lines[size_t(part.style)];
            // A mitred corner may reach past half the width; non-scaling strokes are made
            // up for by the painter's margin.
            const double reach = line.width / 2 * std::max(1.0, line.join == Qt::MiterJoin ? line.miterLimit : 1.0);
            b.adjust(-reach, -reach, reach, reach);
        }
        r = r.isNull() ? b : r.united(b);
    }
    return r;
}

QRectF edgesBounds(const std::vector<Edge>& edges, const std::vector<LineStyle>& lines)
{
    QRectF r;
    for (const Edge& e : edges) {
        addPoint(r, e.from);
        addPoint(r, e.to);
        if (e.curve)
            addPoint(r, e.control);
    }
    double reach = 0;
    for (const LineStyle& line : lines)
        reach = std::max(reach, line.width / 2 * std::max(1.0, line.join == Qt::MiterJoin ? line.miterLimit : 1.0));
    return r.adjusted(-reach, -reach, reach, reach);
}

QRectF unite(const QRectF& a, const QRectF& b)
{
    if (a.isNull())
        return b;
    return b.isNull() ? a : a.united(b);
}

} // namespace

QRectF CharacterBounds::of(const Character& c)
{
    auto it = m_known.find(&c);
    if (it != m_known.end())
        return it->second;
    QRectF r;
    if (const auto* shape = std::get_if<ShapeCharacter>(&c)) {
        r = unite(shape->bounds, pathsBounds(shape->shape));
    } else if (const auto* morph = std::get_if<MorphCharacter>(&c)) {
        const MorphCharacter& m = *morph;
        // Every blended point lies between its start and end points.
        r = unite(unite(m.startBounds, m.endBounds),
                  unite(edgesBounds(m.startEdges, m.startLines), edgesBounds(m.endEdges, m.endLines)));
    } else if (const auto* text = std::get_if<TextCharacter>(&c)) {
        QRectF runs;
        for (const auto& run : text->runs)
            runs = unite(runs, run.path.controlPointRect());
        r = unite(text->bounds, text->matrix.mapRect(runs));
    }
    m_known.emplace(&c, r);
    return r;
}

bool Scene::Item::sameLook(const Item& o) const
{
    return character == o.character && ratio == o.ratio && clipDepth == o.clipDepth && matrix == o.matrix
        && colors == o.colors;
}

void Scene::capture(const Timeline& root, CharacterBounds& bounds)
{
    m_items.clear();
    m_paths.clear();
    std::vector<int> path;
    for (const auto& [depth, obj] : root.displayList()) {
        path.assign(1, depth);
        add(obj, QTransform(), ColorTransform(), path, bounds, 0);
    }
}

void Scene::add(const DisplayObject& obj, const QTransform& parentMatrix, const ColorTransform& parentColors,
                std::vector<int>& path, CharacterBounds& bounds, int nesting)
{
    // The same objects the renderer draws: clip layers count, hidden objects do not.
    if (!obj.character || nesting > PlayContext::MaxNesting + 2 || (!obj.visible && obj.clipDepth == 0))
        return;
    const QTransform matrix = obj.matrix * parentMatrix;
    const ColorTransform colors = parentColors.combined(obj.colorTransform);
    auto nested = [&](const DisplayObject& child) {
        path.push_back(child.depth);
        add(child, matrix, colors, path, bounds, nesting + 1);
        path.pop_back();
    };
    switch (obj.character->kind()) {
    case Character::Kind::Sprite:
        if (obj.sprite)
            for (const auto& [depth, child] : obj.sprite->displayList())
                nested(child);
        return;
    case Character::Kind::Button:
        for (const DisplayObject& child : obj.children)
            nested(child);
        return;
    default:
        break;
    }
    const QRectF local = bounds.of(*obj.character);
    if (local.isNull())
        return;
    Item item;
    item.pathStart = uint32_t(m_paths.size());
    item.pathLength = uint32_t(path.size());
    m_paths.insert(m_paths.end(), path.begin(), path.end());
    item.character = obj.character;
    item.ratio = obj.character->kind() == Character::Kind::Morph ? obj.ratio : 0;
    item.clipDepth = obj.clipDepth;
    item.matrix = matrix;
    item.colors = colors;
    item.bounds = matrix.mapRect(local);
    m_items.push_back(item);
}

int Scene::comparePaths(const Item& a, const Scene& other, const Item& b) const
{
    const auto pa = m_paths.begin() + a.pathStart;
    const auto pb = other.m_paths.begin() + b.pathStart;
    const auto c = std::lexicographical_compare_three_way(pa, pa + a.pathLength, pb, pb + b.pathLength);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::vector<QRectF> Scene::changes(const Scene& before, const Scene& after)
{
    std::vector<QRectF> rects;
    auto add = [&rects](QRectF r) {
        if (r.isNull())
            return;
        // A frame where very many things change is repainted as one rectangle.
        if (rects.size() >= 4 * MaxRects) {
            rects[0] = rects[0].united(r);
            return;
        }
        // Joined with every rectangle it overlaps, until it overlaps none.
        for (size_t i = 0; i < rects.size();) {
            if (rects[i].intersects(r) || rects[i].contains(r) || r.contains(rects[i])) {
                r = r.united(rects[i]);
                rects.erase(rects.begin() + long(i));
                i = 0;
            } else {
                ++i;
            }
        }
        rects.push_back(r);
    };
    // Both lists are in path order: one walk pairs the objects at the same place.
    size_t i = 0, j = 0;
    while (i < before.m_items.size() || j < after.m_items.size()) {
        const int order = i == before.m_items.size() ? 1
            : j == after.m_items.size()              ? -1
                                                     : before.comparePaths(before.m_items[i], after, after.m_items[j]);
        if (order < 0) {
            add(before.m_items[i++].bounds);
        } else if (order > 0) {
            add(after.m_items[j++].bounds);
        } else {
            const Item& a = before.m_items[i++];
            const Item& b = after.m_items[j++];
            if (!a.sameLook(b)) {
                add(a.bounds);
                add(b.bounds);
            }
        }
    }
    if (rects.size() > MaxRects) {
        QRectF all;
        for (const QRectF& r : rects)
            all = all.united(r);
        rects.assign(1, all);
    }
    return rects;
}

} // namespace movie
