#include "StreamDecoder.h"

#include "Adpcm.h"
#include "UncompressedDecoder.h"

#include <algorithm>

namespace movie::sound {

namespace {

// A block holds one movie frame of sound; more than two seconds is not believed.
constexpr int64_t MaxBlockFrames = 2 * 48000;

} // namespace

StreamDecoder::StreamDecoder(const StreamFormat& format)
    : m_format(format), m_resampler(format.format.sampleRate(), OutputRate)
{
    reset();
}

void StreamDecoder::reset()
{
    m_resampler = Resampler(m_format.format.sampleRate(), OutputRate);
    m_mp3.reset();
    m_mp3Rate = 0;
    if (m_format.format.codec == int(Codec::Mp3))
        m_mp3 = std::make_unique<Mp3Decoder>();
    m_skip = std::max(0, m_format.latencySeek);
}

Result<std::vector<int16_t>> StreamDecoder::decodeBlock(std::span<const uint8_t> block)
{
    using BlockResult = Result<std::vector<int16_t>>;
    const SoundFormat& format = m_format.format;
    const int64_t perBlock = std::clamp<int64_t>(m_format.samplesPerBlock, 0, MaxBlockFrames);
    Pcm pcm;
    pcm.sampleRate = format.sampleRate();

    if (format.isSilentCodec()) {
        pcm.samples.assign(size_t(perBlock) * 2, 0);
    } else if (format.codec == int(Codec::Mp3)) {
        // SampleCount (u16) and SeekSamples (s16) come before the frames; neither is needed
        // when blocks are played one after the other.
        if (block.size() < 4)
            return BlockResult::failure(QStringLiteral("MP3 stream block too short"));
        auto fed = m_mp3->feed(block.subspan(4), pcm, MaxBlockFrames);
        if (!fed)
            return BlockResult::failure(fed.error());
        if (pcm.frames() > 0 && pcm.sampleRate != m_mp3Rate) {
            // The first frame tells the real rate, which may differ from the header's.
            m_mp3Rate = pcm.sampleRate;
            m_resampler = Resampler(m_mp3Rate, OutputRate);
        }
        const int64_t skip = std::min(m_skip, pcm.frames());
        pcm.samples.erase(pcm.samples.begin(), pcm.samples.begin() + ptrdiff_t(skip * 2));
        m_skip -= skip;
    } else {
        Result<Pcm> decoded = format.codec == int(Codec::Adpcm)
            ? decodeAdpcm(format, block, MaxBlockFrames)
            : decodeUncompressed(format, block, MaxBlockFrames);
        if (!decoded)
            return BlockResult::failure(decoded.error());
        pcm = std::move(decoded.value());
        // The bits that pad ADPCM data to a whole byte can read as a few extra codes.
        if (format.codec == int(Codec::Adpcm) && perBlock > 0 && pcm.frames() > perBlock
            && pcm.frames() <= perBlock + 4)
            pcm.samples.resize(size_t(perBlock) * 2);
    }

    std::vector<int16_t> out;
    m_resampler.process(pcm.samples, out);
    return out;
}

} // namespace movie::sound
