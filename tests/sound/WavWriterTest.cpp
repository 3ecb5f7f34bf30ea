#include "WavWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace movie::sound;

namespace {

uint32_t u32(const QByteArray& b, int at)
{
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8
        | uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}

uint16_t u16(const QByteArray& b, int at)
{
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

} // namespace

TEST(WavWriter, HeaderDescribesSixteenBitStereo)
{
    const std::vector<int16_t> samples{1, -1, 0x1234, -32768};
    const QByteArray wav = wavBytes(samples);
    ASSERT_EQ(wav.size(), 44 + 8);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(u32(wav, 4), 36u + 8);
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(wav, 16), 16u);
    EXPECT_EQ(u16(wav, 20), 1);       // PCM
    EXPECT_EQ(u16(wav, 22), 2);       // channels
    EXPECT_EQ(u32(wav, 24), 44100u);  // rate
    EXPECT_EQ(u32(wav, 28), 44100u * 4);
    EXPECT_EQ(u16(wav, 32), 4);
    EXPECT_EQ(u16(wav, 34), 16);
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(u32(wav, 40), 8u);
    EXPECT_EQ(u16(wav, 44), 1);
    EXPECT_EQ(u16(wav, 46), 0xffff);
    EXPECT_EQ(u16(wav, 48), 0x1234);
    EXPECT_EQ(u16(wav, 50), 0x8000);
}

TEST(WavWriter, WritesAFileAndReportsFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::vector<int16_t> samples(2000, 77);
    const QString path = dir.filePath(QStringLiteral("out.wav"));
    auto written = writeWav(path, samples);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.value(), 44 + 4000);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), wavBytes(samples));

    auto failed = writeWav(dir.filePath(QStringLiteral("missing/folder/out.wav")), samples);
    EXPECT_FALSE(failed.ok());
    EXPECT_FALSE(failed.error().isEmpty());
}
