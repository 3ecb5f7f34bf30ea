// The program's own movie files must all load, play through and paint, each frame whole
// and well within the drawing budget.

#include "Movie.h"
#include "Renderer.h"

#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>

TEST(ProgramMovies, AllLoadPlayAndPaint)
{
    QDir dir(QStringLiteral(NUMBALI_PROGRAM_MOVIES));
    const QStringList files = dir.entryList({"*.swf"}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        GTEST_SKIP() << "no movie files in " << qPrintable(dir.path());
    for (const QString& name : files) {
        SCOPED_TRACE(qPrintable(name));
        auto loaded = movie::Movie::fromFile(dir.filePath(name));
        ASSERT_TRUE(loaded.ok()) << qPrintable(loaded.error());
        movie::Movie& m = *loaded.value();
        EXPECT_GT(m.stageSize().width(), 0);
        int frames = m.root().frameCount();
        QImage image(160, 120, QImage::Format_ARGB32_Premultiplied);
        bool sawSomething = false;
        qint64 most = 0;
        for (int i = 0; i <= frames; ++i) {
            m.tick();
            image.fill(Qt::black);
            QPainter painter(&image);
            m.paint(painter, QRectF(0, 0, 160, 120));
            painter.end();
            most = std::max(most, m.lastDrawingWork());
            if (i % 10 == 0 || i == frames) {
                // Some pixel must differ from the background colour: something was drawn.
                QRgb bg = image.pixel(80, 60);
                for (int y = 0; y < 120 && !sawSomething; y += 4)
                    for (int x = 0; x < 160 && !sawSomething; x += 4)
                        sawSomething = image.pixel(x, y) != bg;
            }
        }
        EXPECT_FALSE(m.drawingCut());
        // A movie that comes near the budget needs a new look at it, not a cut frame.
        EXPECT_LT(most, movie::Renderer::DrawingBudget / 4);
        EXPECT_TRUE(sawSomething);
    }
}
