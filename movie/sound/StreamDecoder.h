#pragma once

#include "Result.h"
#include "Mp3Decoder.h"
#include "Resampler.h"
#include "SoundFormat.h"

#include <memory>
#include <span>
#include <vector>

namespace movie::sound {

// Turns a timeline's SoundStreamBlocks, in order, into 44.1 kHz interleaved stereo for
// Mixer::streamPush. Keeps MP3 and resampling state between blocks so that block edges do not
// click; call reset() when the timeline jumps.
class StreamDecoder {
public:
    explicit StreamDecoder(const StreamFormat& format);

    Result<std::vector<int16_t>> decodeBlock(std::span<const uint8_t> block);
    void reset();

    const StreamFormat& format() const { return m_format; }

private:
    StreamFormat m_format;
    Resampler m_resampler;
    std::unique_ptr<Mp3Decoder> m_mp3;
    double m_mp3Rate = 0;
    int64_t m_skip = 0;
};

} // namespace movie::sound
