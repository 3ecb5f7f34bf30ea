#include "Inflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace movie {

Result<Inflated> inflateAtMost(const char* data, size_t size, size_t limit)
{
    Inflated out;
    out.bytes.resize(qsizetype(std::min<size_t>(limit, 256 * 1024)));
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    if (inflateInit(&zs) != Z_OK)
        return Result<Inflated>::failure("zlib init failed");
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    zs.avail_in = uInt(size);
    size_t produced = 0;
    int rc = Z_OK;
    while (produced < limit) {
        if (produced == size_t(out.bytes.size()))
            out.bytes.resize(qsizetype(std::min<size_t>(limit, size_t(out.bytes.size()) * 2)));
        zs.next_out = reinterpret_cast<Bytef*>(out.bytes.data() + produced);
        zs.avail_out = uInt(size_t(out.bytes.size()) - produced);
        rc = inflate(&zs, Z_NO_FLUSH);
        produced = size_t(out.bytes.size()) - zs.avail_out;
        if (rc != Z_OK)
            break;
    }
    inflateEnd(&zs);
    out.bytes.resize(qsizetype(produced));
    out.status = rc;
    return out;
}

} // namespace movie
