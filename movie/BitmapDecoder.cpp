#include "BitmapDecoder.h"

#include "Inflate.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cstring>

namespace movie {

namespace {

bool sizeAllowed(int w, int h)
{
    return w > 0 && h > 0 && w <= BitmapDecoder::MaxSide && h <= BitmapDecoder::MaxSide
        && qint64(w) * h <= BitmapDecoder::MaxPixels;
}

// Older exporters wrote an end-of-image/start-of-image pair in front of the data, and the
// tables-plus-image form has one between its halves; decoders stop at the first end marker.
QByteArray stripJpegMarkers(QByteArray data)
{
    static const char pair[] = {char(0xff), char(0xd9), char(0xff), char(0xd8)};
    const QByteArray marker(pair, 4);
    if (data.startsWith(marker))
        data.remove(0, 4);
    qsizetype at;
    while ((at = data.indexOf(marker, 2)) >= 0)
        data.remove(at, 4);
    return data;
}

} // namespace

Result<QByteArray> BitmapDecoder::inflateExact(const QByteArray& data, qsizetype size)
{
    auto inflated = inflateAtMost(data.constData(), size_t(data.size()), size_t(std::max<qsizetype>(size, 0)));
    if (!inflated)
        return Result<QByteArray>::failure(inflated.error());
    const qsizetype produced = inflated->bytes.size();
    if (produced != size)
        return Result<QByteArray>::failure(QString("pixel data is short (%1 of %2 bytes)").arg(produced).arg(size));
    return std::move(inflated->bytes);
}

Result<QImage> BitmapDecoder::decodeJpeg(QByteArray data, const QByteArray& tables, const QByteArray& alpha)
{
    data = stripJpegMarkers(data);
    if (!tables.isEmpty() && data.size() >= 2 && uint8_t(data[0]) == 0xff && uint8_t(data[1]) == 0xd8) {
        QByteArray t = stripJpegMarkers(tables);
        if (t.size() >= 2 && uint8_t(t[t.size() - 2]) == 0xff && uint8_t(t[t.size() - 1]) == 0xd9)
            t.chop(2);
        if (t.size() >= 2)
            data = t + data.mid(2);
    }
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QSize size = reader.size();
    if (!size.isValid()) {
        // Undecodable image data is drawn as nothing, like a missing bitmap.
        return QImage();
    }
    if (!sizeAllowed(size.width(), size.height()))
        return Result<QImage>::failure(QString("bitmap size %1x%2 is over the limit").arg(size.width()).arg(size.height()));
    QImage image;
    if (!reader.read(&image))
        return QImage();
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!alpha.isEmpty() && !image.isNull()) {
        auto plane = inflateExact(alpha, qsizetype(image.width()) * image.height());
        if (plane) {
            const auto* a = reinterpret_cast<const uint8_t*>(plane->constData());
            for (int y = 0; y < image.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    int al = a[qsizetype(y) * image.width() + x];
                    QRgb p = line[x];
                    line[x] = qRgba(qRed(p) * al / 255, qGreen(p) * al / 255, qBlue(p) * al / 255, al);
                }
            }
        }
    }
    return image;
}

Result<QImage> BitmapDecoder::decodeLossless(int format, int width, int height, int tableSize,
                                             const QByteArray& zlibData, bool withAlpha)
{
    using R = Result<QImage>;
    if (!sizeAllowed(width, height))
        return R::failure(QString("bitmap size %1x%2 is not allowed").arg(width).arg(height));
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return R::failure("out of memory for bitmap");
    auto premul = [](int a, int r, int g, int b) {
        // Stored colours are premultiplied already; clamp so bad data stays valid.
        return qRgba(std::min(r, a), std::min(g, a), std::min(b, a), a);
    };
    if (format == 3) {
        int entry = withAlpha ? 4 : 3;
        qsizetype stride = (qsizetype(width) + 3) & ~qsizetype(3);
        auto raw = inflateExact(zlibData, qsizetype(tableSize) * entry + stride * height);
        if (!raw)
            return R::failure(raw.error());
        const auto* d = reinterpret_cast<const uint8_t*>(raw->constData());
        std::vector<QRgb> table(256, 0);
        for (int i = 0; i < tableSize; ++i) {
            const uint8_t* e = d + i * entry;
            table[size_t(i)] = withAlpha ? premul(e[3], e[0], e[1], e[2]) : qRgb(e[0], e[1], e[2]);
        }
        const uint8_t* pixels = d + qsizetype(tableSize) * entry;
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                int idx = pixels[y * stride + x];
                line[x] = idx < tableSize ? table[size_t(idx)] : 0;
            }
        }
    } else if (format == 4) {
        qsizetype stride = (qsizetype(width) * 2 + 3) & ~qsizetype(3);
        auto raw = inflateExact(zlibData, stride * height);
        if (!raw)
            return R::failure(raw.error());
        const auto* d = reinterpret_cast<const uint8_t*>(raw->constData());
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = d + y * stride + x * 2;
                int v = (p[0] << 8) | p[1];
                int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                line[x] = qRgb((r << 3) | (r >> 2), (g << 3) | (g >> 2), (b << 3) | (b >> 2));
            }
        }
    } else if (format == 5) {
        auto raw = inflateExact(zlibData, qsizetype(width) * height * 4);
        if (!raw)
            return R::failure(raw.error());
        const auto* d = reinterpret_cast<const uint8_t*>(raw->constData());
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = d + (qsizetype(y) * width + x) * 4;
                line[x] = withAlpha ? premul(p[0], p[1], p[2], p[3]) : qRgb(p[1], p[2], p[3]);
            }
        }
    } else {
        return R::failure(QString("unknown lossless bitmap format %1").arg(format));
    }
    return image;
}

} // namespace movie
