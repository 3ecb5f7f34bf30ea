#pragma once

#include "Result.h"

#include <QByteArray>
#include <QImage>

namespace movie {

// Turns the bitmap tags' payloads into premultiplied images, refusing sizes past the limits.
class BitmapDecoder {
public:
    static constexpr int MaxSide = 8192;
    static constexpr qint64 MaxPixels = 16 * 1024 * 1024;

    // JPEG (or PNG/GIF in newer files) data, optional shared JPEG tables, optional
    // zlib-compressed alpha plane (one byte per pixel).
    static Result<QImage> decodeJpeg(QByteArray data, const QByteArray& tables, const QByteArray& alpha);
    // format 3 colour-mapped, 4 15-bit, 5 24/32-bit.
    static Result<QImage> decodeLossless(int format, int width, int height, int tableSize, const QByteArray& zlibData,
                                         bool withAlpha);
    // Inflates exactly `size` bytes or fails.
    static Result<QByteArray> inflateExact(const QByteArray& data, qsizetype size);
};

} // namespace movie
