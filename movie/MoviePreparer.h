#pragma once

#include "MovieData.h"
#include "Result.h"

#include <map>
#include <memory>
#include <vector>

namespace movie {

// Turns a movie's records into what the player draws, once per file: shapes compiled into
// paths, glyph outlines placed along their texts, bitmaps decoded. A bitmap that does not
// decode or a limit passed refuses the whole movie, as a bad tag does.
class MoviePreparer {
public:
    // Limits on what preparing may build.
    static constexpr qint64 MaxTotalBitmapPixels = 32 * 1024 * 1024;
    static constexpr qint64 MaxTextPathElements = 4 * 1024 * 1024;

    static Result<std::shared_ptr<MovieData>> prepare(const MovieRecords& records);
    // Reads a movie file and prepares it.
    static Result<std::shared_ptr<MovieData>> load(const QByteArray& file);

private:
    explicit MoviePreparer(const MovieRecords& records) : m_records(records) {}
    bool prepareCharacter(uint16_t id, const CharacterRecord& record);
    bool prepareBitmap(uint16_t id, const BitmapRecord& bitmap);
    bool prepareText(uint16_t id, const TextRecord& text);
    bool fail(const QString& reason);

    const MovieRecords& m_records;
    std::shared_ptr<MovieData> m_movie;
    QString m_error;
    std::map<uint16_t, std::vector<QPainterPath>> m_glyphs;  // each font's outlines, by font id
    qint64 m_totalPixels = 0;
    qint64 m_textElements = 0;
};

} // namespace movie
