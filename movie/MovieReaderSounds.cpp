#include "MovieReader.h"

#include "ReaderFields.h"
#include "SwfTags.h"

namespace movie {

using namespace swf;

bool MovieReader::readSound(BitReader& r)
{
    uint16_t id = r.u16();
    SoundCharacter sound;
    sound.format = readSoundFormat(r);
    sound.sampleCount = r.u32();
    if (!r.ok())
        return false;
    m_soundBytes += qint64(r.remaining());
    if (m_soundBytes > MaxSoundBytes)
        return fail("too much sound data");
    sound.data = r.bytes(r.remaining());
    return addCharacter(id, std::move(sound));
}

bool MovieReader::readSoundInfo(BitReader& r, sound::SoundInfo& info)
{
    r.ub(2);
    info.syncStop = r.flag();
    info.syncNoMultiple = r.flag();
    const bool hasEnvelope = r.flag();
    const bool hasLoops = r.flag();
    const bool hasOutPoint = r.flag();
    const bool hasInPoint = r.flag();
    if (hasInPoint)
        info.inPoint = r.u32();
    if (hasOutPoint)
        info.outPoint = r.u32();
    if (hasLoops)
        info.loopCount = r.u16();
    if (hasEnvelope) {
        int count = r.u8();
        for (int i = 0; i < count && r.ok(); ++i) {
            sound::SoundInfo::EnvelopePoint p;
            p.position44 = r.u32();
            p.left = r.u16();
            p.right = r.u16();
            info.envelope.push_back(p);
        }
    }
    return r.ok();
}

bool MovieReader::readStartSound(int code, BitReader& r, Frame& frame)
{
    StartSound s;
    if (code == TagStartSound)
        s.soundId = r.u16();
    else
        s.className = r.string();
    if (!readSoundInfo(r, s.info) || !r.ok())
        return false;
    frame.sounds.push_back(std::move(s));
    return true;
}

bool MovieReader::readStreamHead(BitReader& r, TimelineData& timeline)
{
    sound::StreamFormat head;
    r.ub(8);  // the playback fields: the mixer decides how it plays
    head.format = readSoundFormat(r);
    head.samplesPerBlock = r.u16();
    if (head.format.codec == int(sound::Codec::Mp3) && r.remaining() >= 2)
        head.latencySeek = r.s16();
    if (!r.ok())
        return false;
    timeline.streamHeads.push_back(head);
    return true;
}

bool MovieReader::readStreamBlock(BitReader& r, Frame& frame)
{
    m_soundBytes += qint64(r.remaining());
    if (m_soundBytes > MaxSoundBytes)
        return fail("too much sound data");
    frame.streamBlocks.push_back(r.bytes(r.remaining()));
    return true;
}

} // namespace movie
