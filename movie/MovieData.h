#pragma once

// A movie ready to play: its records with shapes compiled, glyph outlines placed and bitmaps
// decoded (MoviePreparer). The timeline and the renderer read these and never change them.

#include "MovieRecords.h"

#include <QImage>
#include <QPainterPath>

namespace movie {

// A shape ready to paint: paths in twips, drawn in order.
struct CompiledShape {
    struct Part {
        QPainterPath path;
        bool stroke = false;
        int style = 0;  // index into fills or lines (0-based)
    };
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    std::vector<Part> parts;
    QPainterPath fillOutline;  // every filled area, for clip layers
};

struct ShapeCharacter {
    QRectF bounds;
    CompiledShape shape;
};

struct BitmapCharacter {
    QImage image;  // premultiplied ARGB32
};

// Static text with its glyph outlines already placed, one path per colour run.
struct TextCharacter {
    QRectF bounds;
    QTransform matrix;
    struct Run {
        Rgba color;
        QPainterPath path;
    };
    std::vector<Run> runs;
};

// Fonts stay as read: their outlines are placed along the texts when the movie is prepared.
using CharacterVariant = std::variant<ShapeCharacter, MorphCharacter, BitmapCharacter, FontRecord,
                                      TextCharacter, ButtonCharacter, SpriteCharacter, SoundCharacter>;
struct Character : CharacterVariant {
    using CharacterVariant::CharacterVariant;
    using Kind = CharacterKind;
    Kind kind() const { return Kind(index()); }
};

struct MovieData : MovieHeader, CharacterTable<Character> {};

} // namespace movie
