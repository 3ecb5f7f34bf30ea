#include "Resampler.h"

#include <gtest/gtest.h>

using namespace movie::sound;

TEST(Resampler, IntegerRatioHitsSourceSamplesExactly)
{
    Pcm pcm;
    pcm.sampleRate = 5512.5;
    pcm.samples = {0, 800, 800, 0, -800, 1600};
    const auto out = Resampler::convert(pcm);
    ASSERT_EQ(out.size(), 3u * 8 * 2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(out[size_t(i) * 16], pcm.samples[size_t(i) * 2]);
        EXPECT_EQ(out[size_t(i) * 16 + 1], pcm.samples[size_t(i) * 2 + 1]);
    }
    // Halfway between (0, 800) and (800, 0).
    EXPECT_EQ(out[8], 400);
    EXPECT_EQ(out[9], 400);
    // The last frame is held to the end.
    EXPECT_EQ(out.back(), 1600);
}

TEST(Resampler, SameRateIsACopy)
{
    Pcm pcm;
    pcm.sampleRate = 44100;
    pcm.samples = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(Resampler::convert(pcm), pcm.samples);
}

TEST(Resampler, BlocksJoinWithoutSeams)
{
    std::vector<int16_t> input;
    for (int i = 0; i < 1000; ++i) {
        input.push_back(int16_t(i * 7 % 2000 - 1000));
        input.push_back(int16_t(i * 3));
    }
    for (double rate : {11025.0, 22050.0, 32000.0, 48000.0}) {
        Resampler whole(rate);
        std::vector<int16_t> expected;
        whole.process(input, expected);

        Resampler pieces(rate);
        std::vector<int16_t> joined;
        size_t at = 0;
        for (size_t len : {1u, 7u, 130u, 2u, 500u}) {
            const size_t n = std::min(len * 2, input.size() - at);
            pieces.process(std::span(input).subspan(at, n), joined);
            at += n;
        }
        pieces.process(std::span(input).subspan(at), joined);
        EXPECT_EQ(joined, expected) << rate;
    }
}

TEST(Resampler, LengthFollowsTheRatio)
{
    Pcm pcm;
    pcm.sampleRate = 22050;
    pcm.samples.assign(22050 * 2, 100);
    EXPECT_EQ(Resampler::convert(pcm).size(), 44100u * 2);
    pcm.sampleRate = 48000;
    pcm.samples.assign(48000 * 2, 100);
    const auto down = Resampler::convert(pcm);
    EXPECT_NEAR(double(down.size() / 2), 44100.0, 1.0);
}
