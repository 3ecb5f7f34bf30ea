#include "MovieReader.h"

#include "ReaderFields.h"
#include "SwfContainer.h"
#include "SwfTags.h"
#include "TagWalker.h"

#include <algorithm>

namespace movie {

using namespace swf;

int TimelineData::labelFrame(const QString& label) const
{
    for (size_t i = 0; i < frames.size(); ++i) {
        if (!frames[i].label.isEmpty() && frames[i].label.compare(label, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool MovieReader::fail(const QString& reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}

Result<std::shared_ptr<MovieRecords>> MovieReader::read(const QByteArray& file)
{
    using R = Result<std::shared_ptr<MovieRecords>>;
    auto container = SwfContainer::unpack(file);
    if (!container)
        return R::failure(container.error());

    MovieReader reader;
    reader.m_movie = std::make_shared<MovieRecords>();
    reader.m_movie->version = container->version;
    reader.m_movie->root = std::make_shared<TimelineData>();
    BitReader r(container->body);
    if (!reader.readHeader(r) || !reader.readTags(r, *reader.m_movie->root, false))
        return R::failure(reader.m_error.isEmpty() ? QString("malformed movie") : reader.m_error);
    reader.addPendingJpegs();
    return reader.m_movie;
}

bool MovieReader::readHeader(BitReader& r)
{
    m_movie->stage = readRect(r);
    m_movie->frameRate = r.u16() / 256.0;
    r.u16();  // the frame count: the ShowFrame tags are what counts
    if (!r.ok())
        return fail("movie header is truncated");
    if (m_movie->stage.width() <= 0 || m_movie->stage.height() <= 0)
        return fail("stage size is empty");
    if (m_movie->stage.width() > 20 * 20000 || m_movie->stage.height() > 20 * 20000)
        return fail("stage size is too large");
    return true;
}

bool MovieReader::readTags(BitReader& r, TimelineData& timeline, bool inSprite)
{
    Frame frame;
    TagWalker walker(r);
    TagWalker::Tag next;
    while (walker.next(next)) {
        const int code = next.code;
        BitReader& tag = next.body;
        if (code == TagEnd)
            break;  // a missing End tag is tolerated too
        if (code == TagShowFrame) {
            if (int(timeline.frames.size()) >= MaxFramesPerTimeline || ++m_totalFrames > MaxTotalFrames)
                return fail("too many frames");
            timeline.frames.push_back(std::move(frame));
            frame = Frame();
            continue;
        }
        const BitReader start = tag;
        if (!readTag(code, tag, timeline, frame, inSprite))
            return failIn(code, start);
    }
    if (!walker.error().isEmpty())
        return fail(walker.error());
    // Tags after the last ShowFrame belong to no frame; a timeline without any ShowFrame
    // still shows what it placed.
    if (timeline.frames.empty())
        timeline.frames.push_back(std::move(frame));
    return true;
}

bool MovieReader::failIn(int code, BitReader start)
{
    QString where = tagName(code);
    if (definesCharacter(code)) {
        const uint16_t id = start.u16();
        if (start.ok())
            where += QStringLiteral(" #%1").arg(id);
    }
    const QString reason = m_error.isEmpty() ? QStringLiteral("the tag is cut short or malformed") : m_error;
    m_error = where + QStringLiteral(": ") + reason;
    return false;
}

bool MovieReader::readTag(int code, BitReader& tag, TimelineData& timeline, Frame& frame, bool inSprite)
{
    switch (code) {
    case TagSetBackgroundColor: {
        // Only the first background colour of a movie counts; later ones are ignored.
        Rgba color = readRgb(tag);
        if (!m_backgroundSeen && tag.ok()) {
            m_movie->background = color;
            m_backgroundSeen = true;
        }
        return tag.ok();
    }
    case TagFileAttributes:
        m_movie->usesAs3 = tag.u8() & 0x08;
        return true;
    case TagPlaceObject:
    case TagPlaceObject2:
    case TagPlaceObject3:
    case TagRemoveObject:
    case TagRemoveObject2:
        if (++m_totalCommands > MaxTotalCommands)
            return fail("too many display list commands");
        return readPlace(code, tag, frame);
    case TagFrameLabel:
        frame.label = tag.string();
        return true;  // the optional anchor flag after the name is of no use here
    case TagDoAction:
        return readActions(tag, frame);
    case TagStartSound:
    case TagStartSound2:
        return readStartSound(code, tag, frame);
    case TagSoundStreamHead:
    case TagSoundStreamHead2:
        return readStreamHead(tag, timeline);
    case TagSoundStreamBlock:
        return readStreamBlock(tag, frame);
    default:
        // Definitions live in the movie's one dictionary; inside a sprite they are not allowed.
        return inSprite || readDefinition(code, tag);
    }
}

bool MovieReader::readDefinition(int code, BitReader& tag)
{
    switch (code) {
    case TagDefineShape:
    case TagDefineShape2:
    case TagDefineShape3:
    case TagDefineShape4:
        return readShape(code, tag);
    case TagDefineMorphShape:
    case TagDefineMorphShape2:
        return readMorphShape(code, tag);
    case TagJPEGTables:
        m_movie->jpegTables = tag.bytes(tag.remaining());
        return true;
    case TagDefineBits:
    case TagDefineBitsJPEG2:
    case TagDefineBitsJPEG3:
    case TagDefineBitsJPEG4:
    case TagDefineBitsLossless:
    case TagDefineBitsLossless2:
        return readBitmap(code, tag);
    case TagDefineButton:
    case TagDefineButton2:
        return readButton(code, tag);
    case TagDefineFont:
    case TagDefineFont2:
    case TagDefineFont3:
        return readFont(code, tag);
    case TagDefineText:
    case TagDefineText2:
        return readText(code, tag);
    case TagDefineSprite:
        return readSprite(tag);
    case TagDefineSound:
        return readSound(tag);
    case TagDoABC:
    case TagDoABC2:
        m_movie->usesAs3 = true;
        return true;
    default:
        return true;  // everything else is skipped by its length
    }
}

bool MovieReader::addCharacter(uint16_t id, CharacterRecord c)
{
    // A repeated id keeps the first definition; later ones are ignored.
    if (!m_movie->characters.contains(id))
        m_movie->characters.insert(id, std::move(c));
    return true;
}

} // namespace movie
