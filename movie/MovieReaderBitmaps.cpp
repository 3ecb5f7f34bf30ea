#include "MovieReader.h"

#include "BitmapDecoder.h"
#include "SwfTags.h"

namespace movie {

bool MovieReader::readBitmap(int code, BitReader& r)
{
    uint16_t id = r.u16();
    Result<QImage> image = QImage();
    if (code == TagDefineBits) {
        if (!r.ok())
            return false;
        m_pendingJpegs.push_back({id, r.bytes(r.remaining())});
        return true;
    }
    if (code == TagDefineBitsJpeg2) {
        image = BitmapDecoder::decodeJpeg(r.bytes(r.remaining()), {}, {});
    } else if (code == TagDefineBitsJpeg3 || code == TagDefineBitsJpeg4) {
        uint32_t alphaOffset = r.u32();
        if (code == TagDefineBitsJpeg4)
            r.u16();
        if (!r.ok() || alphaOffset > r.remaining())
            return fail("bitmap alpha offset points past its tag");
        QByteArray jpeg = r.bytes(alphaOffset);
        QByteArray alpha = r.bytes(r.remaining());
        image = BitmapDecoder::decodeJpeg(jpeg, {}, alpha);
    } else {
        int format = r.u8();
        int width = r.u16();
        int height = r.u16();
        int tableSize = format == 3 ? r.u8() + 1 : 0;
        if (!r.ok())
            return false;
        image = BitmapDecoder::decodeLossless(format, width, height, tableSize, r.bytes(r.remaining()),
                                              code == TagDefineBitsLossless2);
    }
    if (!image)
        return fail(image.error());
    m_totalPixels += qint64(image->width()) * image->height();
    if (m_totalPixels > MaxTotalBitmapPixels)
        return fail("bitmaps exceed the total pixel limit");
    return addCharacter(id, BitmapCharacter{image.value(), {}, {}});
}

// DefineBits images need the movie's JPEGTables, which may come after them.
bool MovieReader::decodePendingJpegs()
{
    for (const PendingJpeg& p : m_pendingJpegs) {
        auto image = BitmapDecoder::decodeJpeg(p.data, m_jpegTables, {});
        if (!image)
            return fail(QString("DefineBits #%1: %2").arg(p.id).arg(image.error()));
        m_totalPixels += qint64(image->width()) * image->height();
        if (m_totalPixels > MaxTotalBitmapPixels)
            return fail(QString("DefineBits #%1: bitmaps exceed the total pixel limit").arg(p.id));
        if (!m_movie->characters.contains(p.id))
            m_movie->characters.insert(p.id, BitmapCharacter{image.value(), {}, {}});
    }
    return true;
}

} // namespace movie
