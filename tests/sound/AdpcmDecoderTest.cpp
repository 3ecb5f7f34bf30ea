#include "Adpcm.h"
#include "BitWriter.h"
#include "SoundDecoder.h"
#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace movie::sound;
using swf::BitWriter;

namespace {

SoundFormat adpcm(bool stereo, int rateCode = 2)
{
    SoundFormat f;
    f.codec = int(Codec::Adpcm);
    f.rateCode = rateCode;
    f.sixteenBit = true;
    f.stereo = stereo;
    return f;
}

std::vector<int16_t> left(const std::vector<int16_t>& stereo) { return soundtest::leftChannel(stereo); }

} // namespace

// Worked by hand: step 7 at index 0; code 0111 adds 7 + 3 + 1 + 0 = 11 and moves the index by
// 8 (step 16); code 1111 takes 16 + 8 + 4 + 2 = 30 (index 16, step 34); code 0000 adds 34 >> 3.
TEST(AdpcmDecoder, FourBitHandVector)
{
    BitWriter w;
    w.ub(2, 2);  // 4-bit codes
    w.sb(16, 0);
    w.ub(6, 0);
    w.ub(4, 0b0111);
    w.ub(4, 0b1111);
    w.ub(4, 0b0000);
    auto pcm = decodeAdpcm(adpcm(false), soundtest::bytes(w.data()), 1000);
    ASSERT_TRUE(pcm.ok());
    // 36 bits fill five bytes: the four padding bits read as one more code 0000
    // (index 15, step 31, adds 3).
    EXPECT_EQ(left(pcm->samples), (std::vector<int16_t>{0, 11, -19, -15, -12}));
    EXPECT_EQ(pcm->samples[1], pcm->samples[0]);  // mono goes to both channels
    EXPECT_DOUBLE_EQ(pcm->sampleRate, 22050.0);

    // The header's count cuts the padding off.
    auto counted = decodeSourcePcm(adpcm(false), 4, soundtest::bytes(w.data()));
    ASSERT_TRUE(counted.ok());
    EXPECT_EQ(left(counted->samples), (std::vector<int16_t>{0, 11, -19, -15}));
}

// Two-bit codes: from 100 at index 10 (step 19): 01 adds 19 + 9, index 12 (step 23);
// 10 takes 11, index 11 (step 21); 11 takes 21 + 10, index 13 (step 25); padding 00 adds 12.
TEST(AdpcmDecoder, TwoBitHandVector)
{
    BitWriter w;
    w.ub(2, 0);
    w.sb(16, 100);
    w.ub(6, 10);
    w.ub(2, 0b01);
    w.ub(2, 0b10);
    w.ub(2, 0b11);
    auto pcm = decodeAdpcm(adpcm(false), soundtest::bytes(w.data()), 1000);
    ASSERT_TRUE(pcm.ok());
    EXPECT_EQ(left(pcm->samples), (std::vector<int16_t>{100, 128, 117, 86, 98}));
}

// Stereo, three-bit codes, channels interleaved: left 011 from 0 at step 7 adds 1 + 7 + 3;
// right 100 from -100 takes 7 >> 2.
TEST(AdpcmDecoder, ThreeBitStereoHandVector)
{
    BitWriter w;
    w.ub(2, 1);
    w.sb(16, 0);
    w.ub(6, 0);
    w.sb(16, -100);
    w.ub(6, 0);
    w.ub(3, 0b011);
    w.ub(3, 0b100);
    auto pcm = decodeAdpcm(adpcm(true), soundtest::bytes(w.data()), 2);
    ASSERT_TRUE(pcm.ok());
    EXPECT_EQ(pcm->samples, (std::vector<int16_t>{0, -100, 11, -101}));
}

// Five-bit codes use the uneven index table: magnitude 8 moves the index by 1, 15 by 16.
TEST(AdpcmDecoder, FiveBitHandVector)
{
    BitWriter w;
    w.ub(2, 3);
    w.sb(16, 0);
    w.ub(6, 0);
    w.ub(5, 0b01000);  // adds 7 (+ 7 >> 4 = 0), index 1 (step 8)
    w.ub(5, 0b11111);  // takes 8 + 4 + 2 + 1, index 17 (step 37)
    w.ub(5, 0b00001);  // adds 37 >> 3 + 37 >> 4 = 4 + 2
    auto pcm = decodeAdpcm(adpcm(false), soundtest::bytes(w.data()), 4);
    ASSERT_TRUE(pcm.ok());
    EXPECT_EQ(left(pcm->samples), (std::vector<int16_t>{0, 7, -8, -2}));
}

TEST(AdpcmDecoder, SamplesSaturateAtSixteenBits)
{
    BitWriter w;
    w.ub(2, 2);
    w.sb(16, 32700);
    w.ub(6, 63);  // step 24623: code 0111 adds 46166
    w.ub(4, 0b0111);
    auto pcm = decodeAdpcm(adpcm(false), soundtest::bytes(w.data()), 2);
    ASSERT_TRUE(pcm.ok());
    ASSERT_EQ(pcm->frames(), 2);
    EXPECT_EQ(pcm->samples[2], 32767);
}

struct RoundTrip {
    int bits;
    bool stereo;
    double maxRelativeError;  // rms error over rms signal
};

class AdpcmRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(AdpcmRoundTrip, DecodesWhatTheEncoderMeant)
{
    const RoundTrip p = GetParam();
    // Three packets and a short one; the right channel carries a different tone.
    const size_t frames = 4096 * 3 + 1000;
    const auto signal = soundtest::sine(22050, 440, 9000, frames, 1250);
    AdpcmEncoder encoder(p.bits, p.stereo);
    const auto data = encoder.encode(p.stereo ? signal : left(signal));

    auto pcm = decodeSourcePcm(adpcm(p.stereo), uint32_t(frames), soundtest::bytes(data));
    ASSERT_TRUE(pcm.ok());
    ASSERT_EQ(pcm->frames(), int64_t(frames));
    EXPECT_EQ(pcm->samples, encoder.reconstructed());

    for (int c = 0; c < (p.stereo ? 2 : 1); ++c) {
        double error = 0, energy = 0;
        for (size_t i = 0; i < frames; ++i) {
            const double d = double(pcm->samples[i * 2 + c]) - signal[i * 2 + c];
            error += d * d;
            energy += double(signal[i * 2 + c]) * signal[i * 2 + c];
        }
        EXPECT_LT(std::sqrt(error / energy), p.maxRelativeError) << "channel " << c;
        const double hz = c == 0 ? 440 : 1250;
        EXPECT_GT(soundtest::toneShare(pcm->samples, c, 22050, hz), 0.8);
    }
    if (!p.stereo) {
        EXPECT_EQ(pcm->samples[101], pcm->samples[100]);
    }
}

INSTANTIATE_TEST_SUITE_P(AllCodeSizes, AdpcmRoundTrip,
                         testing::Values(RoundTrip{2, false, 0.6}, RoundTrip{2, true, 0.6},
                                         RoundTrip{3, false, 0.25}, RoundTrip{3, true, 0.25},
                                         RoundTrip{4, false, 0.1}, RoundTrip{4, true, 0.1},
                                         RoundTrip{5, false, 0.05}, RoundTrip{5, true, 0.05}),
                         [](const auto& info) {
                             return std::to_string(info.param.bits) + "bit"
                                 + (info.param.stereo ? "Stereo" : "Mono");
                         });
