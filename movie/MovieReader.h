#pragma once

#include "BitReader.h"
#include "MovieRecords.h"
#include "Result.h"

#include <memory>

namespace movie {

using swf::BitReader;

// Reads a movie file's tags into MovieRecords (the tags by subject in MovieReaderShapes.cpp,
// MovieReaderBitmaps.cpp, MovieReaderText.cpp, MovieReaderSounds.cpp and
// MovieReaderDisplayList.cpp). The whole file is checked here, once: a file
// that breaks the format or a limit is refused with a reason and nothing of it is kept.
class MovieReader {
public:
    // Limits that keep an untrusted file from costing unbounded memory or time.
    static constexpr int MaxShapeRecords = 256 * 1024;
    static constexpr qint64 MaxTotalEdges = 1024 * 1024;
    static constexpr int MaxFramesPerTimeline = 65536;
    static constexpr qint64 MaxTotalFrames = 256 * 1024;
    static constexpr qint64 MaxTotalCommands = 512 * 1024;
    static constexpr qint64 MaxTotalGlyphs = 1024 * 1024;
    static constexpr qint64 MaxTotalActions = 1024 * 1024;
    static constexpr qint64 MaxSoundBytes = 64 * 1024 * 1024;

    static Result<std::shared_ptr<MovieRecords>> read(const QByteArray& file);

private:
    MovieReader() = default;
    bool readHeader(BitReader& r);
    bool readTags(BitReader& r, TimelineData& timeline, bool inSprite);
    bool readTag(int code, BitReader& tag, TimelineData& timeline, Frame& frame, bool inSprite);
    bool readDefinition(int code, BitReader& tag);
    // Puts the failed tag's name (and its character's id) in front of the reason.
    bool failIn(int code, BitReader start);

    bool readShape(int code, BitReader& r);
    bool readMorphShape(int code, BitReader& r);
    bool readStyles(BitReader& r, int shapeVersion, std::vector<FillStyle>& fills, std::vector<LineStyle>& lines);
    bool readFillStyle(BitReader& r, int shapeVersion, FillStyle& fill);
    bool readGradient(BitReader& r, int shapeVersion, FillStyle& fill);
    // Where edge records take their style tables from: read before the records, already in
    // `geometry` (morph shapes), or one implied fill (glyphs, morph end shapes).
    enum class StyleSource { Read, Given, Glyph };
    bool readShapeRecords(BitReader& r, int shapeVersion, ShapeGeometry& geometry, StyleSource source);
    // Where the shape records have got to: the pen, the selected styles and the tables they
    // index into.
    struct RecordState {
        StyleSource source = StyleSource::Read;
        int shapeVersion = 1;
        QPointF pen;
        int fill0 = 0, fill1 = 0, line = 0, group = 0;
        size_t fillBase = 0, lineBase = 0, fillCount = 0, lineCount = 0;
        int fillBits = 0, lineBits = 0;
    };
    bool takeStyles(BitReader& r, RecordState& state, ShapeGeometry& geometry);
    bool readStyleChange(BitReader& r, uint32_t flags, RecordState& state, ShapeGeometry& geometry);
    bool readEdge(BitReader& r, RecordState& state, ShapeGeometry& geometry);
    bool readMorphStyles(BitReader& r, int version, MorphCharacter& morph);
    bool readMorphEdges(const BitReader& r, size_t endEdgesAt, MorphCharacter& morph);
    bool readMorphFillStyle(BitReader& r, FillStyle& start, FillStyle& end);
    bool readMorphLineStyle(BitReader& r, int version, LineStyle& start, LineStyle& end);

    bool readBitmap(int code, BitReader& r);
    void addPendingJpegs();
    bool readButton(int code, BitReader& r);
    bool readFont(int code, BitReader& r);
    bool readGlyphs(const BitReader& table, const std::vector<uint32_t>& offsets, size_t end, size_t limit,
                    FontRecord& font);
    bool readText(int code, BitReader& r);
    bool readSprite(BitReader& r);
    bool readSound(BitReader& r);
    bool readStartSound(int code, BitReader& r, Frame& frame);
    bool readStreamHead(BitReader& r, TimelineData& timeline);
    bool readStreamBlock(BitReader& r, Frame& frame);
    bool readPlace(int code, BitReader& r, Frame& frame);
    bool readPlaceObject2(int code, BitReader& r, PlaceCommand& cmd);
    bool readActions(BitReader& r, Frame& frame);
    bool readSoundInfo(BitReader& r, sound::SoundInfo& info);

    bool fail(const QString& reason);
    bool addCharacter(uint16_t id, CharacterRecord c);
    ShapeGeometry readGlyph(BitReader& r);

    std::shared_ptr<MovieRecords> m_movie;
    QString m_error;
    struct PendingJpeg {
        uint16_t id;
        BitmapRecord bitmap;
    };
    std::vector<PendingJpeg> m_pendingJpegs;
    qint64 m_totalEdges = 0;
    qint64 m_totalFrames = 0;
    qint64 m_totalCommands = 0;
    qint64 m_totalGlyphs = 0;
    qint64 m_totalActions = 0;
    qint64 m_soundBytes = 0;
    bool m_backgroundSeen = false;
};

} // namespace movie
