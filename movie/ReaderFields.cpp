#include "ReaderFields.h"

namespace movie {

QRectF readRect(BitReader& r)
{
    r.align();
    int bits = int(r.ub(5));
    double xmin = r.sb(bits), xmax = r.sb(bits), ymin = r.sb(bits), ymax = r.sb(bits);
    r.align();
    return QRectF(QPointF(xmin, ymin), QPointF(xmax, ymax));
}

QTransform readMatrix(BitReader& r)
{
    r.align();
    double sx = 1, sy = 1, r0 = 0, r1 = 0;
    if (r.flag()) {
        int bits = int(r.ub(5));
        sx = r.fb(bits);
        sy = r.fb(bits);
    }
    if (r.flag()) {
        int bits = int(r.ub(5));
        r0 = r.fb(bits);
        r1 = r.fb(bits);
    }
    int bits = int(r.ub(5));
    double tx = r.sb(bits), ty = r.sb(bits);
    r.align();
    return QTransform(sx, r0, r1, sy, tx, ty);
}

ColorTransform readColorTransform(BitReader& r, bool withAlpha)
{
    r.align();
    ColorTransform c;
    bool hasAdd = r.flag();
    bool hasMult = r.flag();
    int bits = int(r.ub(4));
    if (hasMult) {
        c.mr = r.sb(bits) / 256.0;
        c.mg = r.sb(bits) / 256.0;
        c.mb = r.sb(bits) / 256.0;
        if (withAlpha)
            c.ma = r.sb(bits) / 256.0;
    }
    if (hasAdd) {
        c.ar = r.sb(bits);
        c.ag = r.sb(bits);
        c.ab = r.sb(bits);
        if (withAlpha)
            c.aa = r.sb(bits);
    }
    r.align();
    return c;
}

Rgba readRgb(BitReader& r)
{
    Rgba c;
    c.r = r.u8();
    c.g = r.u8();
    c.b = r.u8();
    return c;
}

Rgba readRgba(BitReader& r)
{
    Rgba c = readRgb(r);
    c.a = r.u8();
    return c;
}

Rgba readColor(BitReader& r, bool alpha) { return alpha ? readRgba(r) : readRgb(r); }

sound::SoundFormat readSoundFormat(BitReader& r)
{
    sound::SoundFormat f;
    f.codec = int(r.ub(4));
    f.rateCode = int(r.ub(2));
    f.sixteenBit = r.flag();
    f.stereo = r.flag();
    return f;
}

Qt::PenCapStyle capStyle(uint32_t v)
{
    switch (v) {
    case 1: return Qt::FlatCap;
    case 2: return Qt::SquareCap;
    default: return Qt::RoundCap;
    }
}

Qt::PenJoinStyle joinStyle(uint32_t v)
{
    switch (v) {
    case 1: return Qt::BevelJoin;
    case 2: return Qt::MiterJoin;
    default: return Qt::RoundJoin;
    }
}

void skipFilters(BitReader& r)
{
    static const int fixedSizes[] = {23, 9, 15, 27, -1, -1, 80, -1};
    int count = r.u8();
    for (int i = 0; i < count && r.ok(); ++i) {
        int type = r.u8();
        if (type > 7) {
            r.fail();
            return;
        }
        if (type == 4 || type == 7) {
            int colours = r.u8();
            r.skip(size_t(colours) * 5 + 19);
        } else if (type == 5) {
            int x = r.u8(), y = r.u8();
            r.skip(8 + size_t(x) * size_t(y) * 4 + 5);
        } else {
            r.skip(size_t(fixedSizes[type]));
        }
    }
}

} // namespace movie
