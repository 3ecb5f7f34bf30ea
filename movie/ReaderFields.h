#pragma once

// The small records many tags share, read from a tag's bits.

#include "BitReader.h"
#include "ColorTransform.h"
#include "sound/SoundFormat.h"

#include <QRectF>
#include <QTransform>

namespace movie {

using swf::BitReader;

QRectF readRect(BitReader& r);
QTransform readMatrix(BitReader& r);
ColorTransform readColorTransform(BitReader& r, bool withAlpha);
Rgba readRgb(BitReader& r);
Rgba readRgba(BitReader& r);
Rgba readColor(BitReader& r, bool alpha);
// The codec, rate, sample size and channels fields of DefineSound and SoundStreamHead.
sound::SoundFormat readSoundFormat(BitReader& r);
Qt::PenCapStyle capStyle(uint32_t v);
Qt::PenJoinStyle joinStyle(uint32_t v);
// Skips a filter list (drop shadow, blur, glow, bevel, gradient glow, convolution, colour
// matrix, gradient bevel); filters are not drawn. Unknown types mark the reader failed.
void skipFilters(BitReader& r);

} // namespace movie
