#pragma once

#include "DisplayObject.h"

#include <QRectF>
#include <unordered_map>
#include <vector>

namespace movie {

class Timeline;

// The area a character may cover, in its own twips: every edge and control point, strokes at
// their full width, and the bounds the file declares. Worked out once per character.
class CharacterBounds {
public:
    // Null for characters that draw nothing themselves (sprites, buttons, sounds).
    QRectF of(const Character& character);

private:
    std::unordered_map<const Character*, QRectF> m_known;
};

// What a frame shows, flattened: every object that draws, with its place and colours on the
// stage, keyed by its depths from the root. Two scenes compared give the parts of the stage
// where the picture may differ, so that a player repaints only those.
class Scene {
public:
    void capture(const Timeline& root, CharacterBounds& bounds);

    // Stage rectangles (twips) where `after` may look different from `before`: the old and
    // new bounds of every object added, removed, moved or otherwise changed. Overlapping
    // rectangles are joined; past `MaxRects` they become one.
    static std::vector<QRectF> changes(const Scene& before, const Scene& after);
    static constexpr size_t MaxRects = 12;

private:
    struct Item {
        uint32_t pathStart = 0, pathLength = 0;  // into m_paths
        const Character* character = nullptr;
        int ratio = 0;
        int clipDepth = 0;
        QTransform matrix;
        ColorTransform colors;
        QRectF bounds;  // stage twips
        bool sameLook(const Item& other) const;
    };
    void add(const DisplayObject& obj, const QTransform& parentMatrix, const ColorTransform& parentColors,
             std::vector<int>& path, CharacterBounds& bounds, int nesting);
    int comparePaths(const Item& a, const Scene& other, const Item& b) const;

    std::vector<Item> m_items;  // in drawing order, which is the order of their paths
    std::vector<int> m_paths;
};

} // namespace movie
