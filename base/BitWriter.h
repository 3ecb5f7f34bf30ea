#pragma once

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace swf {

using Bytes = std::vector<uint8_t>;

// Little-endian bytes and most-significant-first bit fields, as the file format packs them.
class BitWriter {
public:
    void u8(unsigned v) { align(); m_out.push_back(uint8_t(v)); }
    void u16(unsigned v) { u8(v & 0xff); u8((v >> 8) & 0xff); }
    void s16(int v) { u16(unsigned(uint16_t(int16_t(v)))); }
    void u32(uint32_t v) { u16(v & 0xffff); u16(v >> 16); }
    void bytes(const Bytes& b) { align(); m_out.insert(m_out.end(), b.begin(), b.end()); }
    void string(const std::string& s)
    {
        align();
        m_out.insert(m_out.end(), s.begin(), s.end());
        m_out.push_back(0);
    }

    void ub(int bits, uint32_t v)
    {
        for (int i = bits - 1; i >= 0; --i) {
            if (m_bitPos == 0)
                m_out.push_back(0);
            if ((v >> i) & 1)
                m_out.back() |= uint8_t(0x80 >> m_bitPos);
            m_bitPos = (m_bitPos + 1) & 7;
        }
    }
    void sb(int bits, int32_t v) { ub(bits, uint32_t(v) & (bits >= 32 ? 0xffffffffu : ((1u << bits) - 1))); }
    void flag(bool b) { ub(1, b ? 1 : 0); }
    void align() { m_bitPos = 0; }

    const Bytes& data() const { return m_out; }
    Bytes take() { align(); return std::move(m_out); }
    size_t size() const { return m_out.size(); }

    // Bits a signed field needs to hold every value given (at least one for the sign).
    static int signedBits(std::initializer_list<int32_t> values)
    {
        int bits = 1;
        for (int32_t v : values) {
            int32_t m = v < 0 ? ~v : v;
            int n = 1;
            while (m) { ++n; m >>= 1; }
            if (n > bits) bits = n;
        }
        return bits;
    }
    static int unsignedBits(uint32_t v)
    {
        int n = 0;
        while (v) { ++n; v >>= 1; }
        return n;
    }

private:
    Bytes m_out;
    int m_bitPos = 0;
};

} // namespace swf
