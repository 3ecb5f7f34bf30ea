#include "SoundDecoder.h"

#include "Adpcm.h"
#include "Mp3Decoder.h"
#include "Resampler.h"
#include "UncompressedDecoder.h"

#include <algorithm>
#include <cmath>

namespace movie::sound {

namespace {

int64_t maxSourceFrames(double rate)
{
    return int64_t(double(MaxSoundFrames) * std::max(rate, 1.0) / double(OutputRate));
}

} // namespace

Result<Pcm> decodeSourcePcm(const SoundFormat& format, uint32_t sampleCount,
                            std::span<const uint8_t> data)
{
    const double rate = format.sampleRate();
    const int64_t cap = maxSourceFrames(rate);
    const int64_t limit = sampleCount ? std::min<int64_t>(sampleCount, cap) : cap;

    if (format.isSilentCodec()) {
        // No codec packs more than a few dozen samples into a byte, so a count beyond that
        // is a lie and is cut to what the data could hold.
        Pcm pcm;
        pcm.sampleRate = rate;
        const int64_t frames = std::min({int64_t(sampleCount), cap, int64_t(data.size()) * 64});
        pcm.samples.assign(size_t(frames) * 2, 0);
        return pcm;
    }
    switch (format.codec) {
    case int(Codec::UncompressedNative):
    case int(Codec::UncompressedLittleEndian):
        return decodeUncompressed(format, data, limit);
    case int(Codec::Adpcm):
        return decodeAdpcm(format, data, limit);
    case int(Codec::Mp3): {
        if (data.size() < 2)
            return Result<Pcm>::failure(QStringLiteral("MP3 sound data too short"));
        const int skip = std::max(0, int(int16_t(uint16_t(data[0]) | uint16_t(data[1]) << 8)));
        Pcm pcm;
        pcm.sampleRate = rate;
        Mp3Decoder decoder;
        // MPEG rates can differ from the header's; the cap is taken at the highest rate.
        auto decoded = decoder.feed(data.subspan(2), pcm, maxSourceFrames(48000.0) + skip);
        if (!decoded)
            return Result<Pcm>::failure(decoded.error());
        const size_t dropped = std::min(pcm.samples.size(), size_t(skip) * 2);
        pcm.samples.erase(pcm.samples.begin(), pcm.samples.begin() + ptrdiff_t(dropped));
        if (sampleCount && pcm.frames() > int64_t(sampleCount))
            pcm.samples.resize(size_t(sampleCount) * 2);
        if (pcm.frames() > maxSourceFrames(pcm.sampleRate))
            pcm.samples.resize(size_t(maxSourceFrames(pcm.sampleRate)) * 2);
        return pcm;
    }
    default:
        return Result<Pcm>::failure(QStringLiteral("unknown sound format %1").arg(format.codec));
    }
}

Result<SharedSound> decodeSound(const SoundFormat& format, uint32_t sampleCount,
                                std::span<const uint8_t> data)
{
    auto pcm = decodeSourcePcm(format, sampleCount, data);
    if (!pcm)
        return Result<SharedSound>::failure(pcm.error());
    auto sound = std::make_shared<DecodedSound>();
    sound->samples = Resampler::convert(pcm.value(), OutputRate);
    if (sound->frames() > MaxSoundFrames)
        sound->samples.resize(size_t(MaxSoundFrames) * 2);
    return SharedSound(std::move(sound));
}

} // namespace movie::sound
