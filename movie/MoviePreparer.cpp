#include "MoviePreparer.h"

#include "BitmapDecoder.h"
#include "MovieReader.h"
#include "ShapeBuilder.h"
#include "SwfTags.h"

namespace movie {

using namespace swf;

namespace {

std::vector<QPainterPath> outlines(const FontRecord& font)
{
    std::vector<QPainterPath> out;
    out.reserve(font.glyphs.size());
    for (const ShapeGeometry& glyph : font.glyphs)
        out.push_back(ShapeBuilder::compile(glyph).fillOutline);
    return out;
}

// Overloaded lambdas for std::visit.
template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

} // namespace

Result<std::shared_ptr<MovieData>> MoviePreparer::load(const QByteArray& file)
{
    auto records = MovieReader::read(file);
    if (!records)
        return Result<std::shared_ptr<MovieData>>::failure(records.error());
    return prepare(*records.value());
}

Result<std::shared_ptr<MovieData>> MoviePreparer::prepare(const MovieRecords& records)
{
    MoviePreparer preparer(records);
    preparer.m_movie = std::make_shared<MovieData>();
    static_cast<MovieHeader&>(*preparer.m_movie) = records;
    // Fonts first: a text takes its outlines from them.
    for (auto it = records.characters.begin(); it != records.characters.end(); ++it) {
        if (const auto* font = std::get_if<FontRecord>(&it.value()))
            preparer.m_glyphs.emplace(it.key(), outlines(*font));
    }
    for (auto it = records.characters.begin(); it != records.characters.end(); ++it) {
        if (!preparer.prepareCharacter(it.key(), it.value()))
            return Result<std::shared_ptr<MovieData>>::failure(preparer.m_error);
    }
    return preparer.m_movie;
}

bool MoviePreparer::fail(const QString& reason)
{
    m_error = reason;
    return false;
}

bool MoviePreparer::prepareCharacter(uint16_t id, const CharacterRecord& record)
{
    auto& characters = m_movie->characters;
    return std::visit(Overloaded{
                          [&](const ShapeRecord& shape) {
                              characters.insert(id, ShapeCharacter{shape.bounds, ShapeBuilder::compile(shape.geometry)});
                              return true;
                          },
                          [&](const BitmapRecord& bitmap) { return prepareBitmap(id, bitmap); },
                          [&](const TextRecord& text) { return prepareText(id, text); },
                          [&](const auto& same) {
                              // Morphs, fonts, buttons, sprites and sounds stay as they were read.
                              characters.insert(id, same);
                              return true;
                          },
                      },
                      static_cast<const CharacterRecordVariant&>(record));
}

bool MoviePreparer::prepareBitmap(uint16_t id, const BitmapRecord& bitmap)
{
    Result<QImage> image = QImage();
    switch (bitmap.encoding) {
    case BitmapRecord::Encoding::Jpeg:
        image = BitmapDecoder::decodeJpeg(bitmap.data, {}, bitmap.alpha);
        break;
    case BitmapRecord::Encoding::JpegWithTables:
        image = BitmapDecoder::decodeJpeg(bitmap.data, m_records.jpegTables, {});
        break;
    case BitmapRecord::Encoding::Lossless:
        image = BitmapDecoder::decodeLossless(bitmap.format, bitmap.width, bitmap.height, bitmap.tableSize,
                                              bitmap.data, bitmap.withAlpha);
        break;
    }
    const QString where = QStringLiteral("%1 #%2: ").arg(tagName(bitmap.tag)).arg(id);
    if (!image)
        return fail(where + image.error());
    m_totalPixels += qint64(image->width()) * image->height();
    if (m_totalPixels > MaxTotalBitmapPixels)
        return fail(where + QStringLiteral("bitmaps exceed the total pixel limit"));
    m_movie->characters.insert(id, BitmapCharacter{image.value()});
    return true;
}

// Each glyph use copies the glyph's outline: the total is bounded, or a long text repeating
// a detailed glyph could need gigabytes.
bool MoviePreparer::prepareText(uint16_t id, const TextRecord& record)
{
    TextCharacter text{record.bounds, record.matrix, {}};
    for (const TextRun& run : record.glyphRuns) {
        const FontRecord* font = m_records.character<FontRecord>(run.fontId);
        if (!font)
            continue;
        const std::vector<QPainterPath>& glyphs = m_glyphs.at(run.fontId);
        double scale = run.height / font->unitsPerEm;
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (const GlyphEntry& g : run.glyphs) {
            if (g.index < 0 || size_t(g.index) >= glyphs.size())
                continue;
            const QPainterPath& glyph = glyphs[size_t(g.index)];
            m_textElements += glyph.elementCount();
            if (m_textElements > MaxTextPathElements)
                return fail(QStringLiteral("DefineText #%1: text outlines exceed the size limit").arg(id));
            path.addPath(QTransform(scale, 0, 0, scale, g.x, run.y).map(glyph));
        }
        text.runs.push_back({run.color, path});
    }
    m_movie->characters.insert(id, std::move(text));
    return true;
}

} // namespace movie
