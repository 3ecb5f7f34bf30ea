#include "UncompressedDecoder.h"

#include <algorithm>

namespace movie::sound {

Result<Pcm> decodeUncompressed(const SoundFormat& format, std::span<const uint8_t> data,
                               int64_t maxFrames)
{
    if (format.codec != int(Codec::UncompressedNative)
        && format.codec != int(Codec::UncompressedLittleEndian))
        return Result<Pcm>::failure(QStringLiteral("not uncompressed sound data"));

    const int channels = format.channels();
    const int bytesPerSample = format.sixteenBit ? 2 : 1;
    const int64_t frameBytes = int64_t(channels) * bytesPerSample;
    const int64_t frames = std::clamp<int64_t>(int64_t(data.size()) / frameBytes, 0,
                                               std::max<int64_t>(maxFrames, 0));

    Pcm pcm;
    pcm.sampleRate = format.sampleRate();
    pcm.samples.resize(size_t(frames) * 2);
    const uint8_t* in = data.data();
    for (int64_t f = 0; f < frames; ++f) {
        int16_t values[2];
        for (int c = 0; c < channels; ++c) {
            if (format.sixteenBit) {
                values[c] = int16_t(uint16_t(in[0]) | uint16_t(in[1]) << 8);
                in += 2;
            } else {
                values[c] = int16_t((int(in[0]) - 128) * 256);
                in += 1;
            }
        }
        pcm.samples[size_t(f) * 2] = values[0];
        pcm.samples[size_t(f) * 2 + 1] = values[channels - 1];
    }
    return pcm;
}

} // namespace movie::sound
