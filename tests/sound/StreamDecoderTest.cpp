#include "Adpcm.h"
#include "SoundTestSupport.h"
#include "StreamDecoder.h"

#include <gtest/gtest.h>

using namespace movie::sound;

namespace {

StreamFormat stream(int codec, int rateCode, bool stereo, int samplesPerBlock)
{
    StreamFormat f;
    f.format.codec = codec;
    f.format.rateCode = rateCode;
    f.format.sixteenBit = true;
    f.format.stereo = stereo;
    f.samplesPerBlock = samplesPerBlock;
    return f;
}

} // namespace

TEST(StreamDecoder, UncompressedBlocksJoinIntoOneSignal)
{
    // 22 kHz mono ramp in three blocks: the output is the ramp at twice the rate, with no
    // step at the block edges.
    StreamDecoder decoder(stream(3, 2, false, 4));
    std::vector<int16_t> joined;
    int16_t value = 0;
    for (int b = 0; b < 3; ++b) {
        std::vector<uint8_t> block;
        for (int i = 0; i < 4; ++i, value += 100) {
            block.push_back(uint8_t(value & 0xff));
            block.push_back(uint8_t(value >> 8));
        }
        auto out = decoder.decodeBlock(block);
        ASSERT_TRUE(out.ok());
        joined.insert(joined.end(), out->begin(), out->end());
    }
    // Interpolation holds the last input frame back until the next block comes.
    ASSERT_EQ(joined.size(), size_t(11 * 2 * 2));
    for (size_t i = 0; i < joined.size() / 2; ++i)
        EXPECT_EQ(joined[i * 2], int16_t(i * 50)) << i;
}

TEST(StreamDecoder, AdpcmBlocksEachCarryTheirHeader)
{
    const auto signal = soundtest::sine(44100, 500, 7000, 2000, 900);
    StreamDecoder decoder(stream(1, 3, true, 1000));
    std::vector<int16_t> joined;
    std::vector<int16_t> expected;
    for (int b = 0; b < 2; ++b) {
        AdpcmEncoder encoder(3, true);
        const auto data = encoder.encode(std::span(signal).subspan(size_t(b) * 2000, 2000));
        expected.insert(expected.end(), encoder.reconstructed().begin(), encoder.reconstructed().end());
        auto out = decoder.decodeBlock(data);
        ASSERT_TRUE(out.ok());
        joined.insert(joined.end(), out->begin(), out->end());
    }
    // At 44.1 kHz nothing is resampled: the blocks come out as the encoder rebuilt them,
    // without the bits that pad each block to a byte.
    EXPECT_EQ(joined, expected);
}

TEST(StreamDecoder, SilentCodecsGiveABlockOfSilence)
{
    StreamDecoder decoder(stream(int(Codec::Nellymoser), 1, false, 512));
    auto first = decoder.decodeBlock(std::vector<uint8_t>(64, 0x33));
    auto second = decoder.decodeBlock(std::vector<uint8_t>(64, 0x33));
    ASSERT_TRUE(first.ok());
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second->size(), size_t(512 * 4 * 2));
    EXPECT_TRUE(std::all_of(second->begin(), second->end(), [](int16_t s) { return s == 0; }));
}

TEST(StreamDecoder, LatencySeekDropsTheStartOfTheStream)
{
    const QByteArray file = soundtest::readData("tone440-880-44k-stereo.mp3");
    ASSERT_FALSE(file.isEmpty());
    std::vector<uint8_t> block{0, 0, 0, 0};
    block.insert(block.end(), file.begin(), file.end());
    StreamFormat plainFormat = stream(2, 3, true, 1152);
    StreamFormat seekFormat = plainFormat;
    seekFormat.latencySeek = 1500;
    StreamDecoder plain(plainFormat);
    StreamDecoder seeking(seekFormat);
    auto a = plain.decodeBlock(block);
    auto b = seeking.decodeBlock(block);
    ASSERT_TRUE(a.ok());
    ASSERT_TRUE(b.ok());
    ASSERT_EQ(b->size() + 1500 * 2, a->size());
    EXPECT_TRUE(std::equal(b->begin(), b->end(), a->begin() + 3000));
    // After a reset the skip applies again.
    seeking.reset();
    auto c = seeking.decodeBlock(block);
    ASSERT_TRUE(c.ok());
    EXPECT_EQ(c->size(), b->size());
}
