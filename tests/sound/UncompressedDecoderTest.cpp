#include "SoundDecoder.h"
#include "UncompressedDecoder.h"

#include <gtest/gtest.h>

using namespace movie::sound;

namespace {

SoundFormat raw(int codec, bool sixteen, bool stereo, int rateCode = 3)
{
    SoundFormat f;
    f.codec = codec;
    f.rateCode = rateCode;
    f.sixteenBit = sixteen;
    f.stereo = stereo;
    return f;
}

} // namespace

TEST(UncompressedDecoder, EightBitIsUnsignedAroundOneTwentyEight)
{
    const std::vector<uint8_t> data{0x80, 0xff, 0x00, 0x81, 0x7f};
    auto pcm = decodeUncompressed(raw(3, false, false), data, 100);
    ASSERT_TRUE(pcm.ok());
    EXPECT_EQ(pcm->samples, (std::vector<int16_t>{0, 0, 32512, 32512, -32768, -32768, 256, 256,
                                                  -256, -256}));
}

TEST(UncompressedDecoder, SixteenBitLittleEndianStereo)
{
    // (1, -2), (0x1234, -32768)
    const std::vector<uint8_t> data{0x01, 0x00, 0xfe, 0xff, 0x34, 0x12, 0x00, 0x80};
    for (int codec : {0, 3}) {  // "native" order is read as little-endian as well
        auto pcm = decodeUncompressed(raw(codec, true, true), data, 100);
        ASSERT_TRUE(pcm.ok());
        EXPECT_EQ(pcm->samples, (std::vector<int16_t>{1, -2, 0x1234, -32768}));
    }
}

TEST(UncompressedDecoder, EightBitStereo)
{
    const std::vector<uint8_t> data{0x00, 0xc0, 0x90, 0x70};
    auto pcm = decodeUncompressed(raw(3, false, true), data, 100);
    ASSERT_TRUE(pcm.ok());
    EXPECT_EQ(pcm->samples, (std::vector<int16_t>{-32768, 16384, 4096, -4096}));
}

TEST(UncompressedDecoder, PartialFrameAndLimitsAreRespected)
{
    const std::vector<uint8_t> data{0x01, 0x00, 0x02, 0x00, 0x03};  // 2.5 mono frames
    auto pcm = decodeUncompressed(raw(3, true, false), data, 100);
    ASSERT_TRUE(pcm.ok());
    EXPECT_EQ(pcm->frames(), 2);
    auto limited = decodeUncompressed(raw(3, true, false), data, 1);
    ASSERT_TRUE(limited.ok());
    EXPECT_EQ(limited->samples, (std::vector<int16_t>{1, 1}));
}

TEST(UncompressedDecoder, RatesFollowTheHeader)
{
    const double expected[4] = {5512.5, 11025, 22050, 44100};
    for (int code = 0; code < 4; ++code)
        EXPECT_DOUBLE_EQ(raw(3, true, false, code).sampleRate(), expected[code]);
}

TEST(SoundDecoder, ConvertsToFortyFourKilohertzStereo)
{
    // 11 kHz mono 16-bit: 0, 400 → four output frames per input frame.
    const std::vector<uint8_t> data{0x00, 0x00, 0x90, 0x01};
    auto sound = decodeSound(raw(3, true, false, 1), 2, data);
    ASSERT_TRUE(sound.ok());
    EXPECT_EQ(sound.value()->samples,
              (std::vector<int16_t>{0, 0, 100, 100, 200, 200, 300, 300, 400, 400, 400, 400, 400,
                                    400, 400, 400}));
}

TEST(SoundDecoder, DeclaredCountCutsButNeverInvents)
{
    const std::vector<uint8_t> data(100, 0x80);
    auto cut = decodeSourcePcm(raw(3, false, false), 10, data);
    ASSERT_TRUE(cut.ok());
    EXPECT_EQ(cut->frames(), 10);
    auto lying = decodeSourcePcm(raw(3, false, false), 0xffffffffu, data);
    ASSERT_TRUE(lying.ok());
    EXPECT_EQ(lying->frames(), 100);
}

TEST(SoundDecoder, UndecodableCodecsGiveSilenceOfTheirLength)
{
    SoundFormat nelly = raw(int(Codec::Nellymoser8k), true, false);
    auto pcm = decodeSourcePcm(nelly, 800, std::vector<uint8_t>(50, 0x55));
    ASSERT_TRUE(pcm.ok());
    EXPECT_DOUBLE_EQ(pcm->sampleRate, 8000);
    EXPECT_EQ(pcm->frames(), 800);
    EXPECT_TRUE(std::all_of(pcm->samples.begin(), pcm->samples.end(), [](int16_t s) { return s == 0; }));

    SoundFormat speex = raw(int(Codec::Speex), true, false);
    auto sound = decodeSound(speex, 1600, std::vector<uint8_t>(50, 0x55));
    ASSERT_TRUE(sound.ok());
    EXPECT_EQ(sound.value()->frames(), 1600 * 44100 / 16000);
}

TEST(SoundDecoder, UnknownCodecIsAnError)
{
    auto pcm = decodeSourcePcm(raw(9, true, false), 10, std::vector<uint8_t>(20, 0));
    EXPECT_FALSE(pcm.ok());
    EXPECT_FALSE(pcm.error().isEmpty());
}
