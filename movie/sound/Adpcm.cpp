#include "Adpcm.h"

#include "BitReader.h"
#include "BitWriter.h"

#include <algorithm>
#include <cstdlib>

namespace movie::sound {

namespace {

constexpr int StepTable[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// Index moves by code magnitude (the sign bit left out), one table per code size.
constexpr int IndexMoves2[2] = {-1, 2};
constexpr int IndexMoves3[4] = {-1, -1, 2, 4};
constexpr int IndexMoves4[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr int IndexMoves5[16] = {-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};

const int* indexMoves(int bits)
{
    switch (bits) {
    case 2: return IndexMoves2;
    case 3: return IndexMoves3;
    case 4: return IndexMoves4;
    default: return IndexMoves5;
    }
}

struct Channel {
    int sample = 0;
    int index = 0;

    int16_t decode(uint32_t code, int bits, const int* moves)
    {
        const uint32_t signBit = 1u << (bits - 1);
        int step = StepTable[index];
        int diff = 0;
        for (uint32_t mask = signBit >> 1; mask; mask >>= 1) {
            if (code & mask)
                diff += step;
            step >>= 1;
        }
        diff += step;
        sample = std::clamp((code & signBit) ? sample - diff : sample + diff, -32768, 32767);
        index = std::clamp(index + moves[code & (signBit - 1)], 0, 88);
        return int16_t(sample);
    }
};

// The largest step index a packet header can hold (six bits).
constexpr int MaxHeaderIndex = 63;

// Which code brings the channel nearest to x; ties keep the smaller code.
uint32_t bestCode(const Channel& channel, int x, int bits)
{
    uint32_t best = 0;
    long bestError = -1;
    for (uint32_t code = 0; code < (1u << bits); ++code) {
        Channel trial = channel;
        trial.decode(code, bits, indexMoves(bits));
        const long error = std::labs(long(trial.sample) - x);
        if (bestError < 0 || error < bestError) {
            bestError = error;
            best = code;
        }
    }
    return best;
}

// The starting step index that follows a channel's first samples most closely: a step far
// too small or too large would smear the opening.
int bestStartIndex(std::span<const int16_t> samples, int channel, int channels, int bits)
{
    const size_t frames = std::min<size_t>(samples.size() / size_t(channels), 48);
    const auto at = [&](size_t frame) { return samples[frame * size_t(channels) + size_t(channel)]; };
    int best = 0;
    double bestError = -1;
    for (int index = 0; index <= MaxHeaderIndex; index += 2) {
        Channel c{at(0), index};
        double error = 0;
        for (size_t i = 1; i < frames; ++i) {
            c.decode(bestCode(c, at(i), bits), bits, indexMoves(bits));
            const double d = double(c.sample) - at(i);
            error += d * d;
        }
        if (bestError < 0 || error < bestError) {
            bestError = error;
            best = index;
        }
    }
    return best;
}

} // namespace

AdpcmEncoder::AdpcmEncoder(int bits, bool stereo)
    : m_bits(std::clamp(bits, 2, 5)), m_channels(stereo ? 2 : 1)
{
}

std::vector<uint8_t> AdpcmEncoder::encode(std::span<const int16_t> samples, int startIndex)
{
    const size_t frames = samples.size() / size_t(m_channels);
    const int* moves = indexMoves(m_bits);
    swf::BitWriter out;
    out.ub(2, uint32_t(m_bits - 2));
    Channel state[2];
    for (int c = 0; c < m_channels; ++c) {
        if (startIndex >= 0)
            state[c].index = std::min(startIndex, MaxHeaderIndex);
        else if (frames > 1)
            state[c].index = bestStartIndex(samples, c, m_channels, m_bits);
    }
    m_reconstructed.clear();
    m_reconstructed.reserve(frames * 2);
    for (size_t f = 0; f < frames; ++f) {
        for (int c = 0; c < m_channels; ++c) {
            const int x = samples[f * size_t(m_channels) + size_t(c)];
            if (f % 4096 == 0) {
                // A larger index would be read back from six bits as a far smaller step, and
                // the whole packet would lose track of the sound.
                state[c].index = std::min(state[c].index, MaxHeaderIndex);
                state[c].sample = x;
                out.sb(16, x);
                out.ub(6, uint32_t(state[c].index));
            } else {
                const uint32_t code = bestCode(state[c], x, m_bits);
                state[c].decode(code, m_bits, moves);
                out.ub(m_bits, code);
            }
        }
        m_reconstructed.push_back(int16_t(state[0].sample));
        m_reconstructed.push_back(int16_t(state[m_channels - 1].sample));
    }
    m_endIndex = state[0].index;
    return out.take();
}

Result<Pcm> decodeAdpcm(const SoundFormat& format, std::span<const uint8_t> data,
                        int64_t maxFrames)
{
    if (format.codec != int(Codec::Adpcm))
        return Result<Pcm>::failure(QStringLiteral("not ADPCM sound data"));

    Pcm pcm;
    pcm.sampleRate = format.sampleRate();
    swf::BitReader bits(data.data(), data.size());
    if (int64_t(bits.remainingBits()) < 2)
        return Result<Pcm>::failure(QStringLiteral("ADPCM data too short"));
    const int codeBits = int(bits.ub(2)) + 2;
    const int* moves = indexMoves(codeBits);
    const int channels = format.channels();
    const int headerBits = 22 * channels;
    const int frameBits = codeBits * channels;

    // Every frame needs at least codeBits bits, which bounds the output before decoding.
    const int64_t limit = std::min<int64_t>(std::max<int64_t>(maxFrames, 0),
                                            int64_t(bits.remainingBits()) / codeBits + 1);
    pcm.samples.reserve(size_t(limit) * 2);

    int64_t frames = 0;
    Channel state[2];
    while (frames < limit && int64_t(bits.remainingBits()) >= headerBits) {
        for (int c = 0; c < channels; ++c) {
            state[c].sample = bits.sb(16);
            state[c].index = std::min(int(bits.ub(6)), 88);
        }
        pcm.samples.push_back(int16_t(state[0].sample));
        pcm.samples.push_back(int16_t(state[channels - 1].sample));
        ++frames;
        for (int i = 1; i < 4096 && frames < limit && int64_t(bits.remainingBits()) >= frameBits; ++i) {
            int16_t out[2];
            for (int c = 0; c < channels; ++c)
                out[c] = state[c].decode(bits.ub(codeBits), codeBits, moves);
            pcm.samples.push_back(out[0]);
            pcm.samples.push_back(out[channels - 1]);
            ++frames;
        }
    }
    return pcm;
}

} // namespace movie::sound
