#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace swf {

// Reads little-endian values and bit fields from a byte range it does not own. Every read
// is bounds-checked: reading past the end yields zeros and sets a sticky failure flag, so
// parsers can read a whole record and check once.
class BitReader {
public:
    BitReader() = default;
    BitReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    explicit BitReader(const QByteArray& bytes)
        : m_data(reinterpret_cast<const uint8_t*>(bytes.constData())), m_size(size_t(bytes.size())) {}

    bool ok() const { return !m_failed; }
    void fail() { m_failed = true; }
    size_t position() const { return m_pos; }
    size_t size() const { return m_size; }
    size_t remaining() const { return m_pos < m_size ? m_size - m_pos : 0; }
    // What is left in bits: the whole bytes and what is unread of the current one.
    size_t remainingBits() const { return remaining() * 8 + size_t(m_bitCount); }
    bool atEnd() const { return remaining() == 0; }

    // Byte reads first drop any partly used byte.
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int16_t s16() { return int16_t(u16()); }
    double fixed8();   // signed 8.8
    uint32_t encodedU32();
    QByteArray bytes(size_t count);
    QString string();  // zero-terminated; a missing terminator is a failure
    void skip(size_t count);

    // Bit fields, most significant bit first.
    uint32_t ub(int bits);
    int32_t sb(int bits);
    double fb(int bits) { return sb(bits) / 65536.0; }
    bool flag() { return ub(1) != 0; }
    void align() { m_bitCount = 0; }

    // A reader over the next `count` bytes; this one moves past them. Asking for more than
    // is left marks both readers failed and cuts the sub-reader to what exists.
    BitReader sub(size_t count);

private:
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_pos = 0;
    uint32_t m_bitBuffer = 0;
    int m_bitCount = 0;
    bool m_failed = false;
};

} // namespace swf
