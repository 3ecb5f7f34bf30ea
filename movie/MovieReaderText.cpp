#include "MovieReader.h"

#include "ReaderFields.h"
#include "SwfTags.h"

namespace movie {

using namespace swf;

// A glyph's outline has one implied fill; one that cannot be read is left empty.
ShapeGeometry MovieReader::readGlyph(BitReader& r)
{
    ShapeGeometry g;
    if (!readShapeRecords(r, 1, g, StyleSource::Glyph))
        return {};
    g.fills.assign(1, FillStyle());
    return g;
}

// Glyph i lies between offsets[i] and the next offset (or `end` for the last one), all
// relative to `table` and within `limit`.
bool MovieReader::readGlyphs(const BitReader& table, const std::vector<uint32_t>& offsets, size_t end,
                             size_t limit, FontRecord& font)
{
    const size_t count = offsets.size();
    for (size_t i = 0; i < count; ++i) {
        const size_t from = offsets[i];
        const size_t to = i + 1 < count ? offsets[i + 1] : end;
        if (from > to || to > limit)
            return fail("glyph offsets are out of order");
        BitReader all = table;
        all.skip(from);
        BitReader glyph = all.sub(to - from);
        if (++m_totalGlyphs > MaxTotalGlyphs)
            return fail("too many glyphs");
        font.glyphs.push_back(readGlyph(glyph));
    }
    return true;
}

bool MovieReader::readFont(int code, BitReader& r)
{
    uint16_t id = r.u16();
    FontRecord font;
    if (code == TagDefineFont) {
        BitReader table = r;
        size_t base = r.position();
        uint16_t first = r.u16();
        if (!r.ok())
            return false;
        int count = first / 2;
        std::vector<uint32_t> offsets;
        offsets.push_back(first);
        for (int i = 1; i < count; ++i)
            offsets.push_back(r.u16());
        if (!r.ok())
            return false;
        const size_t tagSize = r.size() - base;
        if (!readGlyphs(table, offsets, tagSize, tagSize, font))
            return false;
    } else {
        uint8_t flags = r.u8();
        bool wideOffsets = flags & 0x08;
        r.u8();
        int nameLength = r.u8();
        r.skip(size_t(nameLength));
        int count = r.u16();
        if (!r.ok())
            return false;
        BitReader table = r;
        size_t tableSize = r.remaining();
        std::vector<uint32_t> offsets;
        for (int i = 0; i < count; ++i)
            offsets.push_back(wideOffsets ? r.u32() : r.u16());
        uint32_t codeOffset = count > 0 ? (wideOffsets ? r.u32() : r.u16()) : 0;
        if (!r.ok())
            return false;
        if (codeOffset > tableSize)
            codeOffset = uint32_t(tableSize);
        if (!readGlyphs(table, offsets, codeOffset, tableSize, font))
            return false;
        if (code == TagDefineFont3)
            font.unitsPerEm = 1024 * 20;
        // Code table, layout and kerning are only needed for editable text.
    }
    return addCharacter(id, std::move(font));
}

bool MovieReader::readText(int code, BitReader& r)
{
    uint16_t id = r.u16();
    TextRecord text;
    text.bounds = readRect(r);
    text.matrix = readMatrix(r);
    int glyphBits = r.u8();
    int advanceBits = r.u8();
    if (glyphBits > 32 || advanceBits > 32)
        return fail("glyph field widths are out of range");
    uint16_t fontId = 0;
    double height = 0, x = 0, y = 0;
    Rgba color;
    while (r.ok()) {
        uint8_t flags = r.u8();
        if (flags == 0)
            break;
        if (flags & 0x08)
            fontId = r.u16();
        if (flags & 0x04)
            color = readColor(r, code == TagDefineText2);
        if (flags & 0x01)
            x = r.s16();
        if (flags & 0x02)
            y = r.s16();
        if (flags & 0x08)
            height = r.u16();
        int count = r.u8();
        m_totalGlyphs += count + 1;
        if (m_totalGlyphs > MaxTotalGlyphs)
            return fail("too many glyphs");
        TextRun run;
        run.fontId = fontId;
        run.color = color;
        run.height = height;
        run.y = y;
        for (int i = 0; i < count; ++i) {
            GlyphEntry g;
            g.index = int(r.ub(glyphBits));
            g.x = x;
            x += r.sb(advanceBits);
            run.glyphs.push_back(g);
        }
        r.align();
        text.glyphRuns.push_back(std::move(run));
    }
    if (!r.ok())
        return false;
    return addCharacter(id, std::move(text));
}


} // namespace movie
