// The title and menu screens as the window shows them while their movies play, each frame
// painted only where something changed: always the picture a whole repaint gives.

#include "ScreenView.h"
#include "Shell.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

TEST(PartialRepaint, PlayingScreensLookAsWhenPaintedWhole)
{
    shell::Shell shell(QStringLiteral(NUMBALI_PROGRAM_MOVIES));
    shell.view().resize(1038, 713);
    shell.view().show();
    for (const char* name : {"Presentación", "Menú"}) {
        SCOPED_TRACE(name);
        shell.switchTo(QString::fromUtf8(name));
        for (int frame = 0; frame < 30; ++frame) {
            // A frame or so of the movies' time, and the repaints they ask for.
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 70)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            // What the window holds now, built up from partial repaints, against a repaint
            // of everything in the same state.
            const QImage shown = QGuiApplication::primaryScreen()->grabWindow(shell.view().winId()).toImage()
                                     .convertToFormat(QImage::Format_RGB32);
            const QImage whole = shell.view().grab().toImage().convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(shown.size(), whole.size());
            int most = 0;
            QRect where;
            for (int y = 0; y < whole.height(); ++y)
                for (int x = 0; x < whole.width(); ++x) {
                    const QRgb a = shown.pixel(x, y), b = whole.pixel(x, y);
                    const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                            std::abs(qBlue(a) - qBlue(b))});
                    if (d > 3)
                        where |= QRect(x, y, 1, 1);
                    most = std::max(most, d);
                }
            // Gradients sampled from where a repainted run starts may round the other way, and a
            // shape copied from its kept picture may round otherwise than one drawn afresh.
            ASSERT_LE(most, 3) << "after frame " << frame << ": " << most << " within " << where.x() << "," << where.y()
                               << " " << where.width() << "x" << where.height();
        }
    }
}
