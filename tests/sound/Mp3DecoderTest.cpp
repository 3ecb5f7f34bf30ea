#include "Mp3Decoder.h"
#include "SoundDecoder.h"
#include "SoundTestSupport.h"
#include "StreamDecoder.h"

#include <gtest/gtest.h>

using namespace movie::sound;

namespace {

SoundFormat mp3(int rateCode, bool stereo)
{
    SoundFormat f;
    f.codec = int(Codec::Mp3);
    f.rateCode = rateCode;
    f.sixteenBit = true;
    f.stereo = stereo;
    return f;
}

// DefineSound's MP3 data: SeekSamples, then the frames.
std::vector<uint8_t> defineSoundData(const QByteArray& file, int16_t seek)
{
    std::vector<uint8_t> data(size_t(file.size()) + 2);
    data[0] = uint8_t(seek & 0xff);
    data[1] = uint8_t((seek >> 8) & 0xff);
    std::copy(file.begin(), file.end(), data.begin() + 2);
    return data;
}

} // namespace

TEST(Mp3Decoder, MonoToneHasItsLengthAndPitch)
{
    const QByteArray file = soundtest::readData("tone440-22k-mono.mp3");
    ASSERT_FALSE(file.isEmpty());
    const auto data = defineSoundData(file, 0);
    auto pcm = decodeSourcePcm(mp3(2, false), 11025, soundtest::bytes(data));
    ASSERT_TRUE(pcm.ok()) << pcm.error().toStdString();
    EXPECT_DOUBLE_EQ(pcm->sampleRate, 22050);
    EXPECT_EQ(pcm->frames(), 11025);
    // Past the encoder's start-up delay the sound is the tone, on both channels.
    const std::span<const int16_t> body(pcm->samples.data() + 4000, 12000);
    EXPECT_GT(soundtest::toneShare(body, 0, 22050, 440), 0.9);
    EXPECT_LT(soundtest::toneShare(body, 0, 22050, 1000), 0.01);
    EXPECT_GT(soundtest::toneShare(body, 1, 22050, 440), 0.9);
}

TEST(Mp3Decoder, SeekSamplesAreSkipped)
{
    const QByteArray file = soundtest::readData("tone440-22k-mono.mp3");
    const auto plain = defineSoundData(file, 0);
    const auto seeking = defineSoundData(file, 1000);
    auto full = decodeSourcePcm(mp3(2, false), 0, soundtest::bytes(plain));
    auto skipped = decodeSourcePcm(mp3(2, false), 0, soundtest::bytes(seeking));
    ASSERT_TRUE(full.ok());
    ASSERT_TRUE(skipped.ok());
    ASSERT_EQ(skipped->frames(), full->frames() - 1000);
    EXPECT_TRUE(std::equal(skipped->samples.begin(), skipped->samples.end(),
                           full->samples.begin() + 2000));
    // Without a count the whole last MP3 frame comes out: 576 samples each at this rate.
    EXPECT_EQ(full->frames() % 576, 0);
    EXPECT_GE(full->frames(), 11025);
}

TEST(Mp3Decoder, StereoChannelsStaySeparate)
{
    const QByteArray file = soundtest::readData("tone440-880-44k-stereo.mp3");
    ASSERT_FALSE(file.isEmpty());
    auto sound = decodeSound(mp3(3, true), 11025, soundtest::bytes(defineSoundData(file, 0)));
    ASSERT_TRUE(sound.ok());
    const auto& s = sound.value()->samples;
    ASSERT_EQ(sound.value()->frames(), 11025);
    const std::span<const int16_t> body(s.data() + 5000, 12000);
    EXPECT_GT(soundtest::toneShare(body, 0, 44100, 440), 0.9);
    EXPECT_GT(soundtest::toneShare(body, 1, 44100, 880), 0.9);
    EXPECT_LT(soundtest::toneShare(body, 0, 44100, 880), 0.02);
}

TEST(Mp3Decoder, DecodedSoundIsResampledToFortyFourKilohertz)
{
    const QByteArray file = soundtest::readData("tone440-22k-mono.mp3");
    auto sound = decodeSound(mp3(2, false), 11025, soundtest::bytes(defineSoundData(file, 0)));
    ASSERT_TRUE(sound.ok());
    EXPECT_EQ(sound.value()->frames(), 22050);
    const std::span<const int16_t> body(sound.value()->samples.data() + 8000, 24000);
    EXPECT_GT(soundtest::toneShare(body, 0, 44100, 440), 0.9);
}

TEST(Mp3Decoder, TheStreamsOwnRateWinsOverTheHeader)
{
    // Said to be 44 kHz, but the frames are 22.05 kHz.
    const QByteArray file = soundtest::readData("tone440-22k-mono.mp3");
    auto sound = decodeSound(mp3(3, false), 11025, soundtest::bytes(defineSoundData(file, 0)));
    ASSERT_TRUE(sound.ok());
    EXPECT_EQ(sound.value()->frames(), 22050);
}

TEST(Mp3Decoder, StreamBlocksMatchTheWholeSound)
{
    const QByteArray file = soundtest::readData("tone440-880-44k-stereo.mp3");
    auto whole = decodeSourcePcm(mp3(3, true), 0, soundtest::bytes(defineSoundData(file, 0)));
    ASSERT_TRUE(whole.ok());

    StreamFormat format;
    format.format = mp3(3, true);
    format.samplesPerBlock = 1152;
    StreamDecoder decoder(format);
    std::vector<int16_t> joined;
    // Blocks cut anywhere, each with SampleCount and SeekSamples in front.
    qsizetype at = 0;
    int cut = 0;
    while (at < file.size()) {
        const qsizetype len = std::min<qsizetype>(97 + 211 * (cut++ % 5), file.size() - at);
        std::vector<uint8_t> block{0x80, 0x04, 0x00, 0x00};
        block.insert(block.end(), file.begin() + at, file.begin() + at + len);
        auto out = decoder.decodeBlock(soundtest::bytes(block));
        ASSERT_TRUE(out.ok());
        joined.insert(joined.end(), out->begin(), out->end());
        at += len;
    }
    EXPECT_EQ(joined, whole->samples);
}

TEST(Mp3Decoder, GarbageGivesNoSoundButNoError)
{
    Mp3Decoder decoder;
    Pcm out;
    std::vector<uint8_t> junk(3000);
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = uint8_t(i * 37 + 11);
    auto fed = decoder.feed(junk, out, 100000);
    ASSERT_TRUE(fed.ok());
    EXPECT_LE(out.frames(), 100000);
}
