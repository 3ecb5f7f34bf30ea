#include "Resampler.h"

#include <algorithm>
#include <cmath>

namespace movie::sound {

Resampler::Resampler(double sourceRate, double targetRate)
{
    const double ratio = (sourceRate > 0 && targetRate > 0) ? sourceRate / targetRate : 1.0;
    // Rates outside what any sound uses are clamped so a bad header cannot make the step 0.
    m_step = uint64_t(std::llround(std::clamp(ratio, 1.0 / 64.0, 64.0) * double(One)));
}

void Resampler::reset()
{
    m_position = 0;
    m_havePrevious = false;
}

// Outputs every position in [previous, next) and moves the window on by one source frame.
void Resampler::advance(int16_t nextLeft, int16_t nextRight, std::vector<int16_t>& output)
{
    while (m_position < One) {
        const int64_t frac = int64_t(m_position >> 16);  // 16-bit fraction
        const int left = m_previous[0] + int((int64_t(nextLeft - m_previous[0]) * frac) >> 16);
        const int right
            = m_previous[1] + int((int64_t(nextRight - m_previous[1]) * frac) >> 16);
        output.push_back(int16_t(left));
        output.push_back(int16_t(right));
        m_position += m_step;
    }
    m_position -= One;
    m_previous[0] = nextLeft;
    m_previous[1] = nextRight;
}

void Resampler::process(std::span<const int16_t> input, std::vector<int16_t>& output)
{
    const size_t frames = input.size() / 2;
    if (frames == 0)
        return;
    if (isIdentity()) {
        output.insert(output.end(), input.begin(), input.begin() + ptrdiff_t(frames * 2));
        return;
    }
    output.reserve(output.size() + size_t(double(frames) * double(One) / double(m_step)) * 2 + 4);
    size_t i = 0;
    if (!m_havePrevious) {
        m_previous[0] = input[0];
        m_previous[1] = input[1];
        m_havePrevious = true;
        m_position = 0;
        i = 1;
    }
    for (; i < frames; ++i)
        advance(input[i * 2], input[i * 2 + 1], output);
}

void Resampler::flush(std::vector<int16_t>& output)
{
    if (!m_havePrevious || isIdentity())
        return;
    advance(m_previous[0], m_previous[1], output);
    m_havePrevious = false;
    m_position = 0;
}

std::vector<int16_t> Resampler::convert(const Pcm& pcm, double targetRate)
{
    Resampler resampler(pcm.sampleRate, targetRate);
    std::vector<int16_t> out;
    resampler.process(pcm.samples, out);
    resampler.flush(out);
    return out;
}

} // namespace movie::sound
