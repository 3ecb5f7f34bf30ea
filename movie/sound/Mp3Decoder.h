#pragma once

#include "Result.h"
#include "Pcm.h"

#include <cstdint>
#include <span>

struct mpg123_handle_struct;

namespace movie::sound {

// An MP3 frame decoder that is fed bytes as they come (a whole DefineSound, or one
// SoundStreamBlock after another) and keeps its state between feeds.
class Mp3Decoder {
public:
    Mp3Decoder();
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Decodes what the new bytes complete and appends it to `out` (interleaved stereo).
    // `out.sampleRate` is set from the stream. Stops adding once `out` holds maxFrames.
    // Damaged data is skipped over; only a decoder that cannot run at all is an error.
    Result<int64_t> feed(std::span<const uint8_t> bytes, Pcm& out, int64_t maxFrames);

    // Forgets buffered data, as after a jump in a stream.
    void reset();

    double sampleRate() const { return m_rate; }

private:
    void open();

    mpg123_handle_struct* m_handle = nullptr;
    double m_rate = 0;
};

} // namespace movie::sound
