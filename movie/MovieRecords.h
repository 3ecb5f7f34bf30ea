#pragma once

// Plain values a movie file is read into (MovieReader): styles, edges, timelines, sounds and
// the dictionary of character records. Nothing here plays or paints; the player prepares
// these once into a MovieData (MoviePreparer).

#include "ColorTransform.h"
#include "sound/SoundFormat.h"
#include "sound/SoundInfo.h"

#include <QByteArray>
#include <QHash>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace movie {

struct CompiledShape;

enum class SpreadMode { Pad, Reflect, Repeat };
enum class Interpolation { Normal, LinearRgb };

struct GradientStop {
    uint8_t ratio = 0;
    Rgba color;
};

struct FillStyle {
    enum class Kind { Solid, Linear, Radial, Focal, Bitmap };
    Kind kind = Kind::Solid;
    Rgba color;
    QTransform matrix;  // gradient square or bitmap pixels -> shape twips
    SpreadMode spread = SpreadMode::Pad;
    Interpolation interpolation = Interpolation::Normal;
    std::vector<GradientStop> stops;
    double focal = 0;
    uint16_t bitmapId = 0;
    bool repeating = true;
    bool smoothed = true;
};

struct LineStyle {
    double width = 20;  // twips
    Rgba color;
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
    double miterLimit = 3;
    bool hasFill = false;
    FillStyle fill;
    bool noClose = false;
    bool noHScale = false;  // width ignores the horizontal scale of placements
    bool noVScale = false;
};

// One straight or quadratic edge with the styles on its two sides and its stroke, in twips.
// Style indices are 1-based into the shape's style tables (0 = none).
struct Edge {
    QPointF from, control, to;
    bool curve = false;
    int fill0 = 0, fill1 = 0, line = 0;
    int group = 0;  // styles replaced mid-shape start a new group drawn above earlier ones
};

struct ShapeGeometry {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    std::vector<Edge> edges;
    bool nonZeroWinding = false;
};

struct MorphCharacter {
    QRectF startBounds, endBounds;
    std::vector<FillStyle> startFills, endFills;
    std::vector<LineStyle> startLines, endLines;
    std::vector<Edge> startEdges, endEdges;
};

struct GlyphEntry {
    int index = 0;
    double x = 0;  // twips from the text origin
};

struct TextRun {
    uint16_t fontId = 0;
    Rgba color;
    double height = 0;  // twips
    double y = 0;
    std::vector<GlyphEntry> glyphs;
};

struct ButtonRecord {
    uint16_t characterId = 0;
    int depth = 0;
    QTransform matrix;
    ColorTransform colorTransform;
};

struct ButtonCharacter {
    std::vector<ButtonRecord> upState;  // sorted by depth
};

struct Action {
    enum class Op { Stop, Play, GotoFrame, GotoLabel, NextFrame, PrevFrame, StopSounds };
    Op op = Op::Stop;
    int frame = 0;  // 0-based
    QString label;
};

// A change to the display list at one depth. Each field a placement leaves out keeps what
// the object at that depth already has.
struct PlaceCommand {
    enum class Kind { Place, Remove };
    Kind kind = Kind::Place;
    int depth = 0;
    bool move = false;
    std::optional<uint16_t> characterId;
    std::optional<QTransform> matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<int> ratio;
    std::optional<QString> name;
    std::optional<int> clipDepth;
    std::optional<bool> visible;
};

struct SoundCharacter {
    sound::SoundFormat format;
    uint32_t sampleCount = 0;
    QByteArray data;
};

struct StartSound {
    uint16_t soundId = 0;  // 0 when named by class (StartSound2)
    QString className;
    sound::SoundInfo info;
};

struct Frame {
    std::vector<PlaceCommand> commands;
    std::vector<std::vector<Action>> actions;  // one list per action block, in file order
    std::vector<StartSound> sounds;
    std::vector<QByteArray> streamBlocks;
    QString label;
};

struct TimelineData {
    std::vector<Frame> frames;
    std::vector<sound::StreamFormat> streamHeads;
    int labelFrame(const QString& label) const;  // -1 when absent
};

struct SpriteCharacter {
    std::shared_ptr<TimelineData> timeline;
};

struct ShapeRecord {
    QRectF bounds;
    ShapeGeometry geometry;
};

// A bitmap as stored: decoded when the movie is prepared.
struct BitmapRecord {
    enum class Encoding { Jpeg, JpegWithTables, Lossless };
    int tag = 0;  // the tag it came from, for messages
    Encoding encoding = Encoding::Lossless;
    QByteArray data;   // JPEG (or PNG/GIF) bytes, or zlib-compressed pixels
    QByteArray alpha;  // a JPEG's zlib-compressed alpha plane, when it has one
    int format = 0, width = 0, height = 0, tableSize = 0;  // lossless: 3 colour-mapped, 4 15-bit, 5 32-bit
    bool withAlpha = false;
};

struct FontRecord {
    std::vector<ShapeGeometry> glyphs;  // in font units (1024 per em, 20480 for newer fonts)
    double unitsPerEm = 1024;
};

// Static text as glyph indices into fonts, placed once the movie is prepared.
struct TextRecord {
    QRectF bounds;
    QTransform matrix;
    std::vector<TextRun> glyphRuns;
};

// The kinds of character, in the order of the alternatives of CharacterRecord and Character.
enum class CharacterKind { Shape, Morph, Bitmap, Font, Text, Button, Sprite, Sound };

// One entry of the file's dictionary: exactly one of the character kinds.
using CharacterRecordVariant = std::variant<ShapeRecord, MorphCharacter, BitmapRecord, FontRecord, TextRecord,
                                            ButtonCharacter, SpriteCharacter, SoundCharacter>;
struct CharacterRecord : CharacterRecordVariant {
    using CharacterRecordVariant::CharacterRecordVariant;
    using Kind = CharacterKind;
    Kind kind() const { return Kind(index()); }
};

// What the header and the timelines say; the same for the records and the prepared movie.
struct MovieHeader {
    int version = 0;
    QRectF stage;  // twips
    double frameRate = 12;
    Rgba background{255, 255, 255, 255};
    bool usesAs3 = false;
    std::shared_ptr<TimelineData> root;

    // The rate frames are played at: rates below one frame a second or above the display's
    // are not useful for playback, and a movie without a rate plays at 12.
    double playbackRate() const { return frameRate > 0 ? std::clamp(frameRate, 1.0, 120.0) : 12.0; }
};

// A dictionary of characters by id.
template <class C>
struct CharacterTable {
    QHash<uint16_t, C> characters;

    const C* character(uint16_t id) const
    {
        auto it = characters.constFind(id);
        return it == characters.constEnd() ? nullptr : &it.value();
    }
    // The character of that id when it is of kind T.
    template <class T>
    const T* character(uint16_t id) const
    {
        const C* c = character(id);
        return c ? std::get_if<T>(c) : nullptr;
    }
};

struct MovieRecords : MovieHeader, CharacterTable<CharacterRecord> {
    QByteArray jpegTables;  // shared by the DefineBits bitmaps
};

} // namespace movie
