#include "BitReader.h"


namespace swf {

uint8_t BitReader::u8()
{
    align();
    if (m_pos >= m_size) {
        m_failed = true;
        return 0;
    }
    return m_data[m_pos++];
}

uint16_t BitReader::u16()
{
    align();
    if (remaining() < 2) {
        m_failed = true;
        m_pos = m_size;
        return 0;
    }
    uint16_t v = uint16_t(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return v;
}

uint32_t BitReader::u32()
{
    align();
    if (remaining() < 4) {
        m_failed = true;
        m_pos = m_size;
        return 0;
    }
    uint32_t v = uint32_t(m_data[m_pos]) | (uint32_t(m_data[m_pos + 1]) << 8)
        | (uint32_t(m_data[m_pos + 2]) << 16) | (uint32_t(m_data[m_pos + 3]) << 24);
    m_pos += 4;
    return v;
}

double BitReader::fixed8() { return s16() / 256.0; }

uint32_t BitReader::encodedU32()
{
    uint32_t value = 0;
    for (int i = 0; i < 5; ++i) {
        uint8_t b = u8();
        value |= uint32_t(b & 0x7f) << (7 * i);
        if (!(b & 0x80))
            break;
    }
    return value;
}

QByteArray BitReader::bytes(size_t count)
{
    align();
    if (count > remaining()) {
        m_failed = true;
        m_pos = m_size;
        return {};
    }
    QByteArray out(reinterpret_cast<const char*>(m_data + m_pos), qsizetype(count));
    m_pos += count;
    return out;
}

QString BitReader::string()
{
    align();
    const uint8_t* start = m_data + m_pos;
    size_t left = remaining();
    const void* end = left ? std::memchr(start, 0, left) : nullptr;
    if (!end) {
        m_failed = true;
        m_pos = m_size;
        return {};
    }
    size_t len = size_t(static_cast<const uint8_t*>(end) - start);
    m_pos += len + 1;
    // Older movies store strings in the author's code page; UTF-8 decoding keeps ASCII,
    // which is all labels need.
    return QString::fromUtf8(reinterpret_cast<const char*>(start), qsizetype(len));
}

void BitReader::skip(size_t count)
{
    align();
    if (count > remaining()) {
        m_failed = true;
        m_pos = m_size;
        return;
    }
    m_pos += count;
}

uint32_t BitReader::ub(int bits)
{
    if (bits <= 0)
        return 0;
    if (bits > 32) {
        m_failed = true;
        return 0;
    }
    uint64_t value = 0;
    for (int i = 0; i < bits; ++i) {
        if (m_bitCount == 0) {
            if (m_pos >= m_size) {
                m_failed = true;
                return 0;
            }
            m_bitBuffer = m_data[m_pos++];
            m_bitCount = 8;
        }
        --m_bitCount;
        value = (value << 1) | ((m_bitBuffer >> m_bitCount) & 1u);
    }
    return uint32_t(value);
}

int32_t BitReader::sb(int bits)
{
    if (bits <= 0)
        return 0;
    uint32_t v = ub(bits);
    if (bits < 32 && (v & (1u << (bits - 1))))
        v |= ~0u << bits;
    return int32_t(v);
}

BitReader BitReader::sub(size_t count)
{
    align();
    size_t take = count;
    bool short_ = count > remaining();
    if (short_) {
        take = remaining();
        m_failed = true;
    }
    BitReader r(m_data + m_pos, take);
    if (short_)
        r.m_failed = true;
    m_pos += take;
    return r;
}

} // namespace swf
