#pragma once

#include "Result.h"

#include <QByteArray>

namespace movie {

// The outer layer of a movie file: signature, version, length and the (possibly compressed)
// body. Unpacks the body so the tag reader sees plain bytes.
struct SwfContainer {
    static constexpr qsizetype MaxBodySize = 64 * 1024 * 1024;

    char compression = 'F';  // 'F' none, 'C' zlib, 'Z' LZMA
    int version = 0;
    uint32_t declaredLength = 0;
    QByteArray body;  // everything after the 8-byte header, uncompressed

    static Result<SwfContainer> unpack(const QByteArray& file);
};

} // namespace movie
