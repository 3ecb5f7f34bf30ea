#include "MovieSound.h"

#include "sound/SoundDecoder.h"

#include <cstdio>

namespace movie {

namespace {
// Sounds of one movie kept decoded; a file with more is not one of ours and plays the rest
// silently rather than holding unbounded memory.
constexpr std::size_t kMaxDecodedSounds = 256;
constexpr std::size_t kMaxStreams = 64;
} // namespace

MovieSound::MovieSound(sound::Mixer& mixer, std::shared_ptr<const MovieData> data)
    : m_mixer(mixer), m_data(std::move(data)), m_owner(sound::Mixer::newOwner())
{
}

MovieSound::~MovieSound() { stop(); }

void MovieSound::stop()
{
    m_mixer.stopOwner(m_owner);
    m_streams.clear();
}

sound::SharedSound MovieSound::decoded(uint16_t soundId)
{
    if (auto it = m_sounds.find(soundId); it != m_sounds.end())
        return it->second;
    const SoundCharacter* s = m_data->character<SoundCharacter>(soundId);
    if (!s || m_sounds.size() >= kMaxDecodedSounds)
        return nullptr;
    auto result = sound::decodeSound(s->format, s->sampleCount, sound::bytesOf(s->data));
    sound::SharedSound out = result ? result.value() : nullptr;
    if (!result)
        std::fprintf(stderr, "movie: sound %u: %s\n", unsigned(soundId), qPrintable(result.error()));
    m_sounds.emplace(soundId, out);
    return out;
}

MovieSound::Stream* MovieSound::streamFor(const PlayContext::StreamBlock& block)
{
    if (auto it = m_streams.find(block.timeline); it != m_streams.end())
        return &it->second;
    if (!block.data || block.data->streamHeads.empty() || m_streams.size() >= kMaxStreams)
        return nullptr;
    const sound::StreamFormat& format = block.data->streamHeads.back();
    Stream& stream = m_streams[block.timeline];
    stream.id = m_nextStream++;
    stream.decoder = std::make_unique<sound::StreamDecoder>(format);
    m_mixer.streamOpen(m_owner, stream.id, sound::StreamParams{m_data->frameRate});
    return &stream;
}

void MovieSound::frameShown(Movie::SoundEvents events)
{
    if (events.stopAll)
        m_mixer.stopAll(m_owner);
    for (const StartSound* start : events.started) {
        if (start->soundId == 0)
            continue; // named by class: a script's sound, which this player does not run
        const sound::SoundInfo& info = start->info;
        // A stop record needs no samples; anything else needs the decoded sound.
        sound::SharedSound samples = info.syncStop ? nullptr : decoded(start->soundId);
        if (!info.syncStop && !samples)
            continue;
        m_mixer.startEvent(m_owner, start->soundId, std::move(samples), info);
    }
    for (const auto& block : events.streamBlocks) {
        Stream* stream = streamFor(block);
        if (!stream)
            continue;
        // The mixer is told frames in the order they are played: playing on, the loop back to
        // the first frame included, continues the sound seamlessly; a jump starts it anew.
        const bool continues = stream->sequence >= 0 && block.follows;
        if (stream->sequence >= 0 && !continues)
            stream->decoder->reset(); // the timeline jumped: old decoder state no longer fits
        stream->sequence += continues ? 1 : 2;
        auto samples = stream->decoder->decodeBlock(sound::bytesOf(*block.block));
        if (samples)
            m_mixer.streamPush(m_owner, stream->id, stream->sequence, std::move(samples.value()));
        m_mixer.streamShowFrame(m_owner, stream->id, stream->sequence);
    }
}

} // namespace movie
