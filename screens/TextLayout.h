#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace screens {

// The lines of a caption word-wrapped at `width` pixels.
QStringList wrapLines(const QFont& font, const QString& text, qreal width);

// The narrowest width, no wider than `width`, at which a caption wraps into no more lines
// than it does at `width`: its lines come out of even length, with no word left alone on
// the last line.
qreal balancedWidth(const QFont& font, const QString& text, qreal width);

} // namespace screens
