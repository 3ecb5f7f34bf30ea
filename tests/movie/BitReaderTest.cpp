#include "BitReader.h"

#include <gtest/gtest.h>

using swf::BitReader;

TEST(BitReader, ReadsLittleEndianIntegers)
{
    const uint8_t data[] = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xff};
    BitReader r(data, sizeof data);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.u32(), 0x12345678u);
    EXPECT_EQ(r.u8(), 0xff);
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.atEnd());
}

TEST(BitReader, ReadsBitFieldsMostSignificantFirst)
{
    const uint8_t data[] = {0b10110011, 0b01000000};
    BitReader r(data, sizeof data);
    EXPECT_EQ(r.ub(1), 1u);
    EXPECT_EQ(r.ub(3), 0b011u);
    EXPECT_EQ(r.ub(6), 0b001101u);  // crosses the byte boundary
    EXPECT_TRUE(r.ok());
}

TEST(BitReader, SignExtendsSignedFields)
{
    const uint8_t data[] = {0b11100000, 0b01100000};
    BitReader r(data, sizeof data);
    EXPECT_EQ(r.sb(3), -1);
    EXPECT_EQ(r.sb(5), 0);
    EXPECT_EQ(r.sb(3), 3);
    const uint8_t data2[] = {0x80, 0x00};
    BitReader r2(data2, sizeof data2);
    EXPECT_EQ(r2.sb(16), -32768);
}

TEST(BitReader, FixedPointBitsAreSixteenDotSixteen)
{
    // 0x10000 in 18 bits = 1.0, then -0x8000 = -0.5
    const uint8_t data[] = {0b01000000, 0b00000000, 0b00111000, 0b00000000, 0b00000000};
    BitReader rr(data, sizeof data);
    EXPECT_DOUBLE_EQ(rr.fb(18), 1.0);
    EXPECT_DOUBLE_EQ(rr.fb(18), -0.5);
}

TEST(BitReader, ByteReadAlignsAfterBits)
{
    const uint8_t data[] = {0xff, 0x2a};
    BitReader r(data, sizeof data);
    r.ub(3);
    EXPECT_EQ(r.u8(), 0x2a);
}

TEST(BitReader, ReadingPastTheEndFailsAndReturnsZero)
{
    const uint8_t data[] = {0x01, 0x02, 0x03};
    BitReader r(data, sizeof data);
    EXPECT_EQ(r.u32(), 0u);
    EXPECT_FALSE(r.ok());
    BitReader r2(data, sizeof data);
    r2.ub(20);
    EXPECT_TRUE(r2.ok());
    r2.ub(5);
    EXPECT_FALSE(r2.ok());
}

TEST(BitReader, SubReaderIsCutToItsLength)
{
    const uint8_t data[] = {1, 2, 3, 4, 5};
    BitReader r(data, sizeof data);
    BitReader sub = r.sub(2);
    EXPECT_EQ(sub.u8(), 1);
    EXPECT_EQ(sub.u8(), 2);
    EXPECT_EQ(sub.u8(), 0);
    EXPECT_FALSE(sub.ok());
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.u8(), 3);
    BitReader tooLong = r.sub(10);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(tooLong.size(), 2u);
}

TEST(BitReader, StringsNeedTheirTerminator)
{
    const uint8_t good[] = {'a', 'b', 0, 'c'};
    BitReader r(good, sizeof good);
    EXPECT_EQ(r.string(), QString("ab"));
    EXPECT_EQ(r.u8(), 'c');
    const uint8_t bad[] = {'a', 'b'};
    BitReader r2(bad, sizeof bad);
    r2.string();
    EXPECT_FALSE(r2.ok());
}

TEST(BitReader, EncodedU32StopsAtFiveBytes)
{
    const uint8_t data[] = {0xff, 0xff, 0xff, 0xff, 0x0f, 0x07};
    BitReader r(data, sizeof data);
    EXPECT_EQ(r.encodedU32(), 0xffffffffu);
    EXPECT_EQ(r.u8(), 7);
}
