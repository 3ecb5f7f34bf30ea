#include "Adpcm.h"

#include <algorithm>
#include <cstdlib>

namespace author {

namespace {

const int kSteps[89] = {
    7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 19, 21, 23, 25, 28, 31, 34, 37, 41, 45,
    50, 55, 60, 66, 73, 80, 88, 97, 107, 118, 130, 143, 157, 173, 190, 209, 230, 253, 279, 307,
    337, 371, 408, 449, 494, 544, 598, 658, 724, 796, 876, 963, 1060, 1166, 1282, 1411, 1552, 1707, 1878, 2066,
    2272, 2499, 2749, 3024, 3327, 3660, 4026, 4428, 4871, 5358, 5894, 6484, 7132, 7845, 8630, 9493, 10442, 11487, 12635, 13899,
    15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// Index changes per magnitude, for code sizes 2 to 5 bits.
const int kIndex2[2] = {-1, 2};
const int kIndex3[4] = {-1, -1, 2, 4};
const int kIndex4[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
const int kIndex5[16] = {-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};
const int* const kIndexTables[4] = {kIndex2, kIndex3, kIndex4, kIndex5};

// The largest step index a block header can hold (six bits).
constexpr int kMaxHeaderIndex = 63;

struct State {
    int sample = 0;
    int index = 0;
};

// One code applied to the state, exactly as a player decodes it.
void apply(State& s, unsigned code, int bits)
{
    const unsigned signBit = 1u << (bits - 1);
    int step = kSteps[s.index];
    int diff = 0;
    for (unsigned mask = signBit >> 1; mask; mask >>= 1) {
        if (code & mask)
            diff += step;
        step >>= 1;
    }
    diff += step;
    s.sample += (code & signBit) ? -diff : diff;
    s.sample = std::clamp(s.sample, -32768, 32767);
    s.index = std::clamp(s.index + kIndexTables[bits - 2][code & (signBit - 1)], 0, 88);
}

} // namespace

namespace {

// Which code brings the state nearest to x.
unsigned bestCode(const State& s, int x, int bits)
{
    unsigned best = 0;
    long bestErr = -1;
    for (unsigned code = 0; code < (1u << bits); ++code) {
        State t = s;
        apply(t, code, bits);
        long err = std::labs(long(t.sample) - x);
        if (bestErr < 0 || err < bestErr) {
            bestErr = err;
            best = code;
        }
    }
    return best;
}

// The starting step index that follows the first samples most closely: a step far too small
// or too large would smear the opening.
int bestStartIndex(const std::vector<int16_t>& pcm, size_t first, size_t count, int bits)
{
    int best = 0;
    double bestErr = -1;
    size_t n = std::min<size_t>(count, 48);
    for (int index = 0; index <= kMaxHeaderIndex; index += 2) {
        State s{pcm[first], index};
        double err = 0;
        for (size_t i = 1; i < n; ++i) {
            apply(s, bestCode(s, pcm[first + i], bits), bits);
            double d = double(s.sample) - pcm[first + i];
            err += d * d;
        }
        if (bestErr < 0 || err < bestErr) {
            bestErr = err;
            best = index;
        }
    }
    return best;
}

} // namespace

Bytes adpcmEncode(const std::vector<int16_t>& pcm, size_t first, size_t count, int* index)
{
    count = std::min(count, pcm.size() - std::min(first, pcm.size()));
    BitWriter w;
    const int bits = 4;
    w.ub(2, bits - 2);
    State s;
    if (index && *index >= 0)
        s.index = std::clamp(*index, 0, kMaxHeaderIndex);
    else if (count > 1)
        s.index = bestStartIndex(pcm, first, count, bits);
    for (size_t i = 0; i < count; ++i) {
        int x = pcm[first + i];
        if (i % 4096 == 0) {
            // The header has six bits for the step index: a larger one would be read back
            // as a far smaller step and the whole block would lose track of the sound.
            s.index = std::min(s.index, kMaxHeaderIndex);
            s.sample = x;
            w.sb(16, x);
            w.ub(6, unsigned(s.index));
            continue;
        }
        // Of all codes, the one whose decoded sample lands nearest; ties keep the smaller step.
        unsigned best = bestCode(s, x, bits);
        apply(s, best, bits);
        w.ub(bits, best);
    }
    if (index)
        *index = s.index;
    return w.take();
}

std::vector<int16_t> adpcmDecode(const Bytes& data, size_t samples)
{
    std::vector<int16_t> out;
    out.reserve(samples);
    size_t bitPos = 0;
    auto read = [&](int n, bool& ok) -> uint32_t {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            size_t byte = bitPos >> 3;
            if (byte >= data.size()) {
                ok = false;
                return 0;
            }
            v = (v << 1) | ((data[byte] >> (7 - (bitPos & 7))) & 1);
            ++bitPos;
        }
        return v;
    };
    bool ok = true;
    const int bits = int(read(2, ok)) + 2;
    State s;
    while (ok && out.size() < samples) {
        uint32_t first = read(16, ok);
        s.sample = int16_t(uint16_t(first));
        s.index = int(read(6, ok));
        if (!ok)
            break;
        out.push_back(int16_t(s.sample));
        for (int i = 0; i < 4095 && out.size() < samples; ++i) {
            unsigned code = read(bits, ok);
            if (!ok)
                break;
            apply(s, code, bits);
            out.push_back(int16_t(s.sample));
        }
    }
    return out;
}

} // namespace author
