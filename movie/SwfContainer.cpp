#include "SwfContainer.h"

#include "Inflate.h"

#include <lzma.h>
#include <zlib.h>

#include <algorithm>

namespace movie {

namespace {

uint32_t readU32(const char* p)
{
    auto* u = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(u[0]) | (uint32_t(u[1]) << 8) | (uint32_t(u[2]) << 16) | (uint32_t(u[3]) << 24);
}

// Inflates at most `limit` bytes. Data ending early is kept: the header's length is often
// wrong in hand-edited files and the tag reader decides whether what is there is whole.
Result<QByteArray> inflateBody(const char* data, size_t size, size_t limit)
{
    auto inflated = inflateAtMost(data, size, limit);
    if (!inflated)
        return Result<QByteArray>::failure(inflated.error());
    const int rc = inflated->status;
    if (rc == Z_DATA_ERROR || rc == Z_NEED_DICT || rc == Z_MEM_ERROR)
        return Result<QByteArray>::failure("zlib data is corrupt");
    if (inflated->bytes.isEmpty() && rc != Z_STREAM_END)
        return Result<QByteArray>::failure("zlib data is empty or corrupt");
    return std::move(inflated->bytes);
}

// The LZMA variant stores a 4-byte compressed length and the 5 property bytes, then raw
// LZMA1 data. A classic LZMA header (properties + 64-bit size) is rebuilt in front of it.
Result<QByteArray> unlzmaBody(const char* data, size_t size, size_t limit)
{
    if (size < 9)
        return Result<QByteArray>::failure("LZMA header is truncated");
    QByteArray stream;
    stream.reserve(qsizetype(13 + size - 9));
    stream.append(data + 4, 5);
    uint64_t len = limit;
    for (int i = 0; i < 8; ++i)
        stream.append(char((len >> (8 * i)) & 0xff));
    stream.append(data + 9, qsizetype(size - 9));

    lzma_stream ls = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&ls, 256u * 1024 * 1024) != LZMA_OK)
        return Result<QByteArray>::failure("LZMA init failed");
    QByteArray out;
    out.resize(qsizetype(std::min<size_t>(limit, 1024 * 1024)));
    ls.next_in = reinterpret_cast<const uint8_t*>(stream.constData());
    ls.avail_in = size_t(stream.size());
    size_t produced = 0;
    lzma_ret rc = LZMA_OK;
    while (produced < limit) {
        if (produced == size_t(out.size()))
            out.resize(qsizetype(std::min<size_t>(limit, size_t(out.size()) * 2)));
        ls.next_out = reinterpret_cast<uint8_t*>(out.data() + produced);
        ls.avail_out = size_t(out.size()) - produced;
        rc = lzma_code(&ls, LZMA_FINISH);
        produced = size_t(out.size()) - ls.avail_out;
        if (rc != LZMA_OK)
            break;
    }
    lzma_end(&ls);
    if (rc == LZMA_MEM_ERROR || rc == LZMA_MEMLIMIT_ERROR || rc == LZMA_OPTIONS_ERROR
        || (rc != LZMA_OK && rc != LZMA_STREAM_END && produced == 0))
        return Result<QByteArray>::failure(QString("LZMA data is corrupt (%1)").arg(int(rc)));
    out.resize(qsizetype(produced));
    return out;
}

} // namespace

Result<SwfContainer> SwfContainer::unpack(const QByteArray& file)
{
    using R = Result<SwfContainer>;
    if (file.size() < 8)
        return R::failure("file is too short for a movie header");
    const char* d = file.constData();
    if (d[1] != 'W' || d[2] != 'S' || (d[0] != 'F' && d[0] != 'C' && d[0] != 'Z'))
        return R::failure("not a movie file (bad signature)");
    SwfContainer c;
    c.compression = d[0];
    c.version = uint8_t(d[3]);
    c.declaredLength = readU32(d + 4);
    if (c.declaredLength < 8)
        return R::failure("declared file length is smaller than the header");
    size_t limit = size_t(c.declaredLength) - 8;
    if (limit > size_t(MaxBodySize))
        return R::failure(QString("declared length %1 exceeds the 64 MiB limit").arg(c.declaredLength));

    const char* payload = d + 8;
    size_t payloadSize = size_t(file.size()) - 8;
    if (c.compression == 'F') {
        c.body = QByteArray(payload, qsizetype(std::min(limit, payloadSize)));
    } else if (c.compression == 'C') {
        auto r = inflateBody(payload, payloadSize, limit);
        if (!r)
            return R::failure(r.error());
        c.body = std::move(r.value());
    } else {
        auto r = unlzmaBody(payload, payloadSize, limit);
        if (!r)
            return R::failure(r.error());
        c.body = std::move(r.value());
    }
    return c;
}

} // namespace movie
