// Build tool: renders the program's SVG icon to a square PNG of the given size, for the
// icon theme, which wants fixed sizes beside the scalable one.
//   numbali-render-icon ICON.svg OUT.png SIZE
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = argc == 4 ? std::atoi(argv[3]) : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: numbali-render-icon ICON.svg OUT.png SIZE (16 to 1024)\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        // Kept square and centred, whatever the drawing's own proportions.
        const QSizeF own = svg.defaultSize().isEmpty() ? QSizeF(size, size) : QSizeF(svg.defaultSize());
        const QSizeF fitted = own.scaled(size, size, Qt::KeepAspectRatio);
        svg.render(&painter, QRectF(QPointF((size - fitted.width()) / 2, (size - fitted.height()) / 2), fitted));
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
