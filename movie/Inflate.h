#pragma once

#include "Result.h"

#include <QByteArray>

#include <cstddef>

namespace movie {

// What a zlib stream gave: the bytes inflated (at most the limit asked for) and zlib's code
// for how the stream stopped (Z_STREAM_END when it ended whole).
struct Inflated {
    QByteArray bytes;
    int status = 0;
};

// Inflates a zlib stream into at most `limit` bytes. The buffer grows with the output, so a
// short stream claiming a large size costs little. Fails only when zlib cannot start; how
// far the stream got is for the caller to judge.
Result<Inflated> inflateAtMost(const char* data, size_t size, size_t limit);

} // namespace movie
