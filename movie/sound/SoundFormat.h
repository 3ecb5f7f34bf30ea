#pragma once

#include <QByteArray>
#include <cstdint>
#include <span>

namespace movie::sound {

// Codes as stored in DefineSound and SoundStreamHead. Kept as plain ints in SoundFormat so
// that an unknown code from a file is representable and can be refused as a value.
enum class Codec : int {
    UncompressedNative = 0,  // byte order of the authoring machine; read as little-endian
    Adpcm = 1,
    Mp3 = 2,
    UncompressedLittleEndian = 3,
    Nellymoser16k = 4,
    Nellymoser8k = 5,
    Nellymoser = 6,
    Speex = 11,
};

// The rate everything is mixed and played at.
inline constexpr int OutputRate = 44100;

struct SoundFormat {
    int codec = 0;
    int rateCode = 0;  // 0: 5.5 kHz, 1: 11 kHz, 2: 22 kHz, 3: 44 kHz
    bool sixteenBit = true;
    bool stereo = false;

    int channels() const { return stereo ? 2 : 1; }

    // The rate the data is stored at. The coded rates are fractions of 44.1 kHz; some
    // codecs have a fixed rate whatever the header says.
    double sampleRate() const
    {
        switch (codec) {
        case int(Codec::Nellymoser16k):
        case int(Codec::Speex):
            return 16000.0;
        case int(Codec::Nellymoser8k):
            return 8000.0;
        default:
            break;
        }
        static constexpr double rates[4] = {5512.5, 11025.0, 22050.0, 44100.0};
        return rates[rateCode & 3];
    }

    // Codecs this program cannot decode; they play as silence of the right length.
    bool isSilentCodec() const
    {
        return codec == int(Codec::Nellymoser16k) || codec == int(Codec::Nellymoser8k)
            || codec == int(Codec::Nellymoser) || codec == int(Codec::Speex);
    }
};

// What a SoundStreamHead says about the blocks that follow it.
struct StreamFormat {
    SoundFormat format;  // the stream's (not the playback) fields
    int samplesPerBlock = 0;  // frames per block at the stored rate
    int latencySeek = 0;  // MP3 frames to drop at the start of the stream
};

// Longest sound a single decode produces, in output frames; data that claims more is cut.
inline constexpr int64_t MaxSoundFrames = int64_t(OutputRate) * 600;

inline std::span<const uint8_t> bytesOf(const QByteArray& data)
{
    return {reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size())};
}

} // namespace movie::sound
