#include "MovieReader.h"

#include "ReaderFields.h"
#include "SwfTags.h"

#include <algorithm>

namespace movie {

using namespace swf;

bool MovieReader::readButton(int code, BitReader& r)
{
    uint16_t id = r.u16();
    if (code == TagDefineButton2) {
        r.u8();
        r.u16();
    }
    ButtonCharacter button;
    while (r.ok()) {
        uint8_t flags = r.u8();
        if (flags == 0)
            break;
        ButtonRecord rec;
        rec.characterId = r.u16();
        rec.depth = r.u16();
        rec.matrix = readMatrix(r);
        if (code == TagDefineButton2) {
            rec.colorTransform = readColorTransform(r, true);
            if (flags & 0x10) {
                skipFilters(r);
                if (!r.ok())
                    return fail("unknown filter");
            }
            if (flags & 0x20)
                r.u8();
        }
        if ((flags & 0x01) && button.upState.size() < 1024)
            button.upState.push_back(rec);
    }
    // Button actions follow; buttons are not interactive here, so they are not read.
    if (!r.ok())
        return false;
    std::stable_sort(button.upState.begin(), button.upState.end(),
                     [](const ButtonRecord& a, const ButtonRecord& b) { return a.depth < b.depth; });
    return addCharacter(id, std::move(button));
}

bool MovieReader::readSprite(BitReader& r)
{
    uint16_t id = r.u16();
    r.u16();  // frame count: the ShowFrame tags are what counts
    if (!r.ok())
        return false;
    auto timeline = std::make_shared<TimelineData>();
    BitReader body = r.sub(r.remaining());
    if (!readTags(body, *timeline, true))
        return false;
    return addCharacter(id, SpriteCharacter{timeline});
}

bool MovieReader::readPlace(int code, BitReader& r, Frame& frame)
{
    PlaceCommand cmd;
    if (code == TagRemoveObject || code == TagRemoveObject2) {
        cmd.kind = PlaceCommand::Kind::Remove;
        if (code == TagRemoveObject)
            r.u16();
        cmd.depth = r.u16();
    } else if (code == TagPlaceObject) {
        cmd.characterId = r.u16();
        cmd.depth = r.u16();
        cmd.matrix = readMatrix(r);
        if (r.ok() && !r.atEnd())
            cmd.colorTransform = readColorTransform(r, false);
    } else if (!readPlaceObject2(code, r, cmd)) {
        return false;
    }
    if (!r.ok())
        return false;
    frame.commands.push_back(cmd);
    return true;
}

bool MovieReader::readPlaceObject2(int code, BitReader& r, PlaceCommand& cmd)
{
    uint8_t flags = r.u8();
    uint8_t flags2 = code == TagPlaceObject3 ? r.u8() : 0;
    cmd.depth = r.u16();
    cmd.move = flags & 0x01;
    if (code == TagPlaceObject3 && ((flags2 & 0x08) || ((flags2 & 0x10) && (flags & 0x02))))
        r.string();  // class name
    if (flags & 0x02)
        cmd.characterId = r.u16();
    if (flags & 0x04)
        cmd.matrix = readMatrix(r);
    if (flags & 0x08)
        cmd.colorTransform = readColorTransform(r, true);
    if (flags & 0x10)
        cmd.ratio = r.u16();
    if (flags & 0x20)
        cmd.name = r.string();
    if (flags & 0x40)
        cmd.clipDepth = r.u16();
    if (!r.ok())
        return false;
    if (code == TagPlaceObject3) {
        // Filters, blend mode and caching are read to reach the visibility flag, then ignored.
        BitReader rest = r;
        if (flags2 & 0x01)
            skipFilters(rest);
        if (flags2 & 0x02)
            rest.u8();
        if (flags2 & 0x04)
            rest.u8();
        if (flags2 & 0x20) {
            uint8_t visible = rest.u8();
            if (rest.ok())
                cmd.visible = visible != 0;
        }
    }
    // Clip actions (event scripts) follow; they are not run here.
    return true;
}

bool MovieReader::readActions(BitReader& r, Frame& frame)
{
    std::vector<Action> list;
    // Action blocks are read leniently: unknown actions are skipped, a cut-off one ends the block.
    while (!r.atEnd()) {
        uint8_t op = r.u8();
        if (op == 0)
            break;
        BitReader payload;
        if (op >= 0x80) {
            uint16_t len = r.u16();
            if (!r.ok() || len > r.remaining())
                break;
            payload = r.sub(len);
        }
        if (++m_totalActions > MaxTotalActions)
            return fail("too many actions");
        Action a;
        switch (op) {
        case 0x04: a.op = Action::Op::NextFrame; break;
        case 0x05: a.op = Action::Op::PrevFrame; break;
        case 0x06: a.op = Action::Op::Play; break;
        case 0x07: a.op = Action::Op::Stop; break;
        case 0x09: a.op = Action::Op::StopSounds; break;
        case 0x81:
            a.op = Action::Op::GotoFrame;
            a.frame = payload.u16();
            if (!payload.ok())
                continue;
            break;
        case 0x8c:
            a.op = Action::Op::GotoLabel;
            a.label = payload.string();
            if (!payload.ok())
                continue;
            break;
        default:
            continue;
        }
        list.push_back(std::move(a));
    }
    if (!list.empty())
        frame.actions.push_back(std::move(list));
    return true;
}

} // namespace movie
