#include "Adpcm.h"
#include "SoundDecoder.h"
#include "SoundTestSupport.h"
#include "StreamDecoder.h"

#include <gtest/gtest.h>

#include <random>

using namespace movie::sound;

namespace {

SoundFormat format(int codec, int rateCode, bool sixteen, bool stereo)
{
    SoundFormat f;
    f.codec = codec;
    f.rateCode = rateCode;
    f.sixteenBit = sixteen;
    f.stereo = stereo;
    return f;
}

// Output can never be longer than the data could hold or the header allows.
void expectBounded(const Result<Pcm>& pcm, uint32_t declared)
{
    if (!pcm.ok())
        return;
    EXPECT_EQ(pcm->samples.size() % 2, 0u);
    if (declared) {
        EXPECT_LE(pcm->frames(), int64_t(declared));
    }
    EXPECT_LE(pcm->frames(), MaxSoundFrames);
}

} // namespace

TEST(Robustness, RandomDataInEveryFormat)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 400; ++round) {
        const int codecs[] = {0, 1, 2, 3, 4, 5, 6, 7, 11, 15};
        const SoundFormat f = format(codecs[round % 10], int(random() % 4), random() % 2, random() % 2);
        std::vector<uint8_t> data(random() % 3000);
        for (auto& b : data)
            b = uint8_t(random());
        const uint32_t declared = (round % 3 == 0) ? 0xffffffffu : uint32_t(random() % 5000);
        expectBounded(decodeSourcePcm(f, declared, data), declared);
        auto sound = decodeSound(f, declared, data);
        if (sound.ok()) {
            EXPECT_LE(sound.value()->frames(), MaxSoundFrames);
        }

        StreamFormat sf;
        sf.format = f;
        sf.samplesPerBlock = int(random() % 70000) - 1000;
        sf.latencySeek = int(random() % 3000) - 1000;
        StreamDecoder stream(sf);
        for (int b = 0; b < 3; ++b) {
            auto out = stream.decodeBlock(std::span(data).first(data.size() / (b + 1)));
            if (out.ok()) {
                EXPECT_LE(out->size(), size_t(2 * 48000 * 2 * 8 + 16));
            }
        }
    }
}

TEST(Robustness, TruncatedAdpcmAtEveryLength)
{
    const auto signal = soundtest::sine(11025, 300, 12000, 5000, 700);
    for (int bits = 2; bits <= 5; ++bits) {
        for (bool stereo : {false, true}) {
            AdpcmEncoder encoder(bits, stereo);
            const auto data = encoder.encode(stereo ? signal : soundtest::leftChannel(signal));
            const SoundFormat f = format(1, 1, true, stereo);
            for (size_t len = 0; len <= data.size(); len += 1 + len / 16) {
                auto pcm = decodeAdpcm(f, std::span(data).first(len), 5000);
                if (len == 0) {
                    EXPECT_FALSE(pcm.ok());
                    continue;
                }
                ASSERT_TRUE(pcm.ok());
                // Whatever came out is a prefix of the full decode.
                ASSERT_LE(pcm->samples.size(), encoder.reconstructed().size());
                EXPECT_TRUE(std::equal(pcm->samples.begin(), pcm->samples.end(),
                                       encoder.reconstructed().begin()));
            }
        }
    }
}

TEST(Robustness, TruncatedAndDamagedMp3)
{
    const QByteArray file = soundtest::readData("tone440-880-44k-stereo.mp3");
    ASSERT_FALSE(file.isEmpty());
    const SoundFormat f = format(2, 3, true, true);
    int64_t previous = 0;
    for (qsizetype len = 0; len <= file.size(); len += 53) {
        std::vector<uint8_t> data{0, 0};
        data.insert(data.end(), file.begin(), file.begin() + len);
        auto pcm = decodeSourcePcm(f, 0, data);
        ASSERT_TRUE(pcm.ok());
        // More data never gives less sound.
        EXPECT_GE(pcm->frames(), previous);
        previous = pcm->frames();
    }
    EXPECT_GT(previous, 10000);

    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::vector<uint8_t> data{uint8_t(random()), uint8_t(random())};
        data.insert(data.end(), file.begin(), file.end());
        for (int hits = 0; hits < 20; ++hits)
            data[2 + random() % size_t(file.size())] = uint8_t(random());
        auto pcm = decodeSourcePcm(f, 20000, data);
        expectBounded(pcm, 20000);
    }
    // A negative SeekSamples, or one larger than the sound, is harmless.
    std::vector<uint8_t> big{0xff, 0x7f};
    big.insert(big.end(), file.begin(), file.end());
    auto none = decodeSourcePcm(f, 0, big);
    ASSERT_TRUE(none.ok());
    EXPECT_EQ(none->frames(), 0);
    std::vector<uint8_t> negative{0x00, 0x80};
    negative.insert(negative.end(), file.begin(), file.end());
    EXPECT_TRUE(decodeSourcePcm(f, 0, negative).ok());
    EXPECT_FALSE(decodeSourcePcm(f, 0, std::vector<uint8_t>{1}).ok());
}

TEST(Robustness, ShortStreamBlocksAreErrorsNotCrashes)
{
    StreamFormat sf;
    sf.format = format(2, 2, true, false);
    StreamDecoder stream(sf);
    EXPECT_FALSE(stream.decodeBlock(std::vector<uint8_t>{1, 2, 3}).ok());
    auto empty = stream.decodeBlock(std::vector<uint8_t>{0, 0, 0, 0});
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty->empty());
}
