#include "MovieReader.h"

#include "SwfTags.h"

namespace movie {

using namespace swf;

// Bitmaps are kept as stored; the player decodes them when it prepares the movie.
bool MovieReader::readBitmap(int code, BitReader& r)
{
    uint16_t id = r.u16();
    BitmapRecord bitmap;
    bitmap.tag = code;
    if (code == TagDefineBits) {
        if (!r.ok())
            return false;
        // These use the movie's JPEGTables and are entered once every tag is read.
        bitmap.encoding = BitmapRecord::Encoding::JpegWithTables;
        bitmap.data = r.bytes(r.remaining());
        m_pendingJpegs.push_back({id, std::move(bitmap)});
        return true;
    }
    if (code == TagDefineBitsJPEG2) {
        bitmap.encoding = BitmapRecord::Encoding::Jpeg;
        bitmap.data = r.bytes(r.remaining());
    } else if (code == TagDefineBitsJPEG3 || code == TagDefineBitsJPEG4) {
        uint32_t alphaOffset = r.u32();
        if (code == TagDefineBitsJPEG4)
            r.u16();
        if (!r.ok() || alphaOffset > r.remaining())
            return fail("bitmap alpha offset points past its tag");
        bitmap.encoding = BitmapRecord::Encoding::Jpeg;
        bitmap.data = r.bytes(alphaOffset);
        bitmap.alpha = r.bytes(r.remaining());
    } else {
        bitmap.format = r.u8();
        bitmap.width = r.u16();
        bitmap.height = r.u16();
        bitmap.tableSize = bitmap.format == 3 ? r.u8() + 1 : 0;
        if (!r.ok())
            return false;
        bitmap.data = r.bytes(r.remaining());
        bitmap.withAlpha = code == TagDefineBitsLossless2;
    }
    return addCharacter(id, std::move(bitmap));
}

void MovieReader::addPendingJpegs()
{
    for (PendingJpeg& p : m_pendingJpegs)
        addCharacter(p.id, std::move(p.bitmap));
}

} // namespace movie
