#include "TextLayout.h"

#include <QTextLayout>
#include <QTextOption>

namespace screens {

QStringList wrapLines(const QFont& font, const QString& text, qreal width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

qreal balancedWidth(const QFont& font, const QString& text, qreal width)
{
    const qsizetype lines = wrapLines(font, text, width).size();
    if (lines < 2)
        return width;
    qreal lo = width / qreal(lines), hi = width;
    while (hi - lo > 0.5) {
        const qreal mid = (lo + hi) / 2;
        if (wrapLines(font, text, mid).size() > lines)
            lo = mid;
        else
            hi = mid;
    }
    return hi;
}

} // namespace screens
