// A player repaints only where its picture changed: nothing for a still frame, the old and
// new place of what moved, and painting just those parts gives the same picture as painting
// every frame whole (but for rounding). Shapes drawn alike again are copied from pictures.

#include "Movie.h"
#include "MoviePlayer.h"
#include "ShapeRasters.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QPainter>
#include <gtest/gtest.h>

using namespace movietest;
using movie::MoviePlayer;

namespace {

// A 200 x 100 stage: a large still backdrop and a 20-pixel square in front of it that stands
// still on frame 2 and moves 10 pixels right on frame 3.
QByteArray squareOverBackdrop()
{
    SwfWriter w(200, 100, 15);
    w.background(255, 255, 255);
    ShapeWriter backdrop;
    backdrop.change(-1, backdrop.solidFill({40, 160, 220}), -1);
    backdrop.rectangle(0, 0, 4000, 2000);
    w.defineShape(1, backdrop, 3, 4000, 2000);
    ShapeWriter square;
    square.change(-1, square.solidFill({250, 200, 0}), -1);
    square.rectangle(0, 0, 400, 400);
    w.defineShape(2, square, 3, 400, 400);
    SwfWriter::Place back;
    back.characterId = 1;
    back.hasMatrix = true;
    w.place(back);
    SwfWriter::Place front;
    front.depth = 2;
    front.characterId = 2;
    front.hasMatrix = true;
    front.tx = 2000;
    front.ty = 600;
    w.place(front);
    w.showFrame();
    w.showFrame();
    SwfWriter::Place move;
    move.depth = 2;
    move.move = true;
    move.hasMatrix = true;
    move.tx = 2200;
    move.ty = 600;
    w.place(move);
    w.showFrame();
    w.end();
    return w.file();
}

// What the view does with a changed area: clears it and paints the movie inside it.
void repaint(QImage& image, const movie::Movie& movie, const QRectF& target, const QRegion& area)
{
    QPainter painter(&image);
    painter.setClipRegion(area);
    painter.fillRect(image.rect(), Qt::white);
    movie.paint(painter, target, area.boundingRect());
}

// How much two pictures differ at most in one channel, and where.
struct Difference {
    int most = 0;
    QRect where;
};

Difference difference(const QImage& a, const QImage& b)
{
    QRect where;
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            if (d > 0) {
                where |= QRect(x, y, 1, 1);
                most = std::max(most, d);
            }
        }
    return {most, where};
}

// The shipped movies are shown in an image of this size, placed at a fractional position and
// scale as on the screens.
const QSize kImageSize(331, 247);
const QRectF kTarget(3.4, 2.75, 320.5, 240.25);

} // namespace

TEST(ChangedArea, StillFrameRepaintsNothingAndAMoveRepaintsAroundIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("square.swf");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(squareOverBackdrop());
    }
    MoviePlayer player(nullptr);
    ASSERT_TRUE(player.load(path));
    const QRectF target(0, 0, 400, 200);  // twice the stage
    EXPECT_EQ(player.takeChangedArea(target), QRegion(0, 0, 400, 200));  // first frame: all

    player.movie()->tick();  // frame 2: nothing moves
    EXPECT_TRUE(player.takeChangedArea(target).isEmpty());

    player.movie()->tick();  // frame 3: the square, 40 px wide here, moves 20 px right
    const QRect changed = player.takeChangedArea(target).boundingRect();
    EXPECT_LE(changed.left(), 200);
    EXPECT_GE(changed.right(), 200 + 20 + 40 - 1);
    EXPECT_LE(changed.top(), 60);
    EXPECT_GE(changed.bottom(), 60 + 40 - 1);
    // Only around the square: its old and new places and a small margin, not the backdrop.
    EXPECT_LE(changed.width(), 60 + 8);
    EXPECT_LE(changed.height(), 40 + 8);

    // Hidden and shown again, the whole picture is repainted.
    player.setVisible(false);
    player.setVisible(true);
    EXPECT_EQ(player.takeChangedArea(target), QRegion(0, 0, 400, 200));
}

// Every shipped movie over a whole loop, placed at a fractional position and scale as on the
// screens: frames repainted only where they changed equal frames painted whole.
TEST(ChangedArea, ProgramMoviesRepaintedInPartEqualWholeFrames)
{
    const QDir movies(QStringLiteral(NUMBALI_PROGRAM_MOVIES));
    const QStringList files = movies.entryList({"*.swf"}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        GTEST_SKIP() << "no movie files in " << qPrintable(movies.path());
    for (const QString& name : files) {
        SCOPED_TRACE(qPrintable(name));
        auto loaded = movie::Movie::fromFile(movies.filePath(name));
        ASSERT_TRUE(loaded.ok());
        movie::Movie& m = *loaded.value();
        ASSERT_TRUE(m.takeChanges().everything);
        QImage partial(kImageSize, QImage::Format_ARGB32_Premultiplied);
        partial.fill(Qt::white);
        repaint(partial, m, kTarget, QRegion(partial.rect()));
        qint64 repainted = 0, whole = 0;
        const int frames = m.root().frameCount() + 5;
        for (int i = 1; i < frames; ++i) {
            m.tick();
            const QRegion area = MoviePlayer::changedArea(m, m.takeChanges().rects, kTarget);
            for (const QRect& r : area)
                repainted += qint64(r.width()) * r.height();
            whole += qint64(kImageSize.width()) * kImageSize.height();
            repaint(partial, m, kTarget, area);
            QImage full(kImageSize, QImage::Format_ARGB32_Premultiplied);
            repaint(full, m, kTarget, QRegion(full.rect()));
            // Gradients are sampled from where each painted run starts, so a run cut short by
            // the repainted area may round a colour the other way: one step at most.
            const Difference d = difference(partial, full);
            ASSERT_LE(d.most, 1) << "frame " << i + 1 << " differs by " << d.most << " within (" << d.where.x()
                                 << "," << d.where.y() << " " << d.where.width() << "x" << d.where.height() << ")";
        }
        // Looping movies move only parts of their picture from frame to frame.
        EXPECT_LT(repainted, whole);
    }
}

// Shapes copied from kept pictures look as when drawn from their outlines, frame after frame,
// and a screen shown again starts with its pictures already made.
TEST(ShapeRasters, KeptPicturesLookAsDrawnShapes)
{
    const QDir movies(QStringLiteral(NUMBALI_PROGRAM_MOVIES));
    const QStringList files = movies.entryList({"*.swf"}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        GTEST_SKIP() << "no movie files in " << qPrintable(movies.path());
    auto rasters = std::make_shared<movie::ShapeRasters>();
    int worst = 0;
    for (const QString& name : files) {
        SCOPED_TRACE(qPrintable(name));
        auto drawn = movie::Movie::fromFile(movies.filePath(name));
        auto copied = movie::Movie::fromFile(movies.filePath(name));
        ASSERT_TRUE(drawn.ok() && copied.ok());
        copied.value()->setShapeRasters(rasters);
        const int frames = drawn.value()->root().frameCount() + 2;
        for (int i = 0; i < frames; ++i) {
            QImage a(kImageSize, QImage::Format_ARGB32_Premultiplied), b(kImageSize, QImage::Format_ARGB32_Premultiplied);
            repaint(a, *drawn.value(), kTarget, QRegion(a.rect()));
            repaint(b, *copied.value(), kTarget, QRegion(b.rect()));
            const Difference d = difference(a, b);
            worst = std::max(worst, d.most);
            // A picture is laid over what lies below it once, where a shape's parts are laid
            // one by one: each may round the other way.
            ASSERT_LE(d.most, 3) << "frame " << i + 1 << " differs within (" << d.where.x() << "," << d.where.y()
                                 << " " << d.where.width() << "x" << d.where.height() << ")";
            drawn.value()->tick();
            copied.value()->tick();
        }
    }
    EXPECT_GT(rasters->pictureCount(), 0);
    EXPECT_LE(movie::ShapeRasters::totalBytes(), movie::ShapeRasters::BudgetBytes);
    std::printf("kept pictures: %d, %lld KB; largest difference %d\n", rasters->pictureCount(),
                static_cast<long long>(rasters->bytes() / 1024), worst);
}
