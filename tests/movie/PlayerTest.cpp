#include "MoviePlayer.h"
#include "TestSupport.h"

#include <QEventLoop>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace movietest;
using movie::MoviePlayer;

namespace {

// Three frames at 50 fps: a red square on frame 1 moves right on frames 2 and 3.
QByteArray movingSquare()
{
    SwfWriter w(60, 20, 50);
    w.background(255, 255, 255);
    defineRectangle(w, 1, {255, 0, 0}, 0, 0, 400, 400);
    SwfWriter::Place p;
    p.characterId = 1;
    p.hasMatrix = true;
    w.place(p);
    w.showFrame();
    for (int x : {400, 800}) {
        SwfWriter::Place mv;
        mv.move = true;
        mv.hasMatrix = true;
        mv.tx = x;
        w.place(mv);
        w.showFrame();
    }
    w.end();
    return w.file();
}

QString writeFile(QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QImage paintPlayer(const MoviePlayer& player)
{
    QImage img(60, 20, QImage::Format_RGB32);
    img.fill(Qt::green);
    QPainter p(&img);
    player.paint(p, QRectF(0, 0, 60, 20));
    p.end();
    return img;
}

} // namespace

TEST(MoviePlayer, MissingOrRefusedFileLeavesItEmpty)
{
    QTemporaryDir dir;
    MoviePlayer player(nullptr); // silent
    EXPECT_FALSE(player.load(dir.filePath("absent.swf")));
    EXPECT_TRUE(player.isEmpty());
    QString bad = writeFile(dir, "bad.swf", "FWS\x0a garbage");
    EXPECT_FALSE(player.load(bad));
    EXPECT_TRUE(player.isEmpty());
    EXPECT_TRUE(player.path().isEmpty());
    // A good file after a bad one loads.
    EXPECT_TRUE(player.load(writeFile(dir, "ok.swf", movingSquare())));
    EXPECT_FALSE(player.isEmpty());
    // Refusing again empties the player.
    EXPECT_FALSE(player.load(bad));
    EXPECT_TRUE(player.isEmpty());
}

TEST(MoviePlayer, PlaysAtTheFrameRateAndSignals)
{
    QTemporaryDir dir;
    MoviePlayer player(nullptr); // silent
    int changes = 0;
    QObject::connect(&player, &MoviePlayer::frameChanged, [&] { ++changes; });
    ASSERT_TRUE(player.load(writeFile(dir, "m.swf", movingSquare())));
    EXPECT_EQ(player.movie()->root().currentFrame(), 0);
    changes = 0;
    wait(300);  // 50 fps: about fifteen frames; a loaded machine still manages a few
    EXPECT_GE(changes, 1);
    EXPECT_GE(player.movie()->ticks(), 1u);
}

TEST(MoviePlayer, PlaySettingOffShowsTheFirstFrameAndHolds)
{
    QTemporaryDir dir;
    MoviePlayer player(nullptr); // silent
    ASSERT_TRUE(player.load(writeFile(dir, "m.swf", movingSquare())));
    player.movie()->tick();
    player.setPlaying(false);
    EXPECT_EQ(player.movie()->root().currentFrame(), 0);
    wait(100);
    EXPECT_EQ(player.movie()->root().currentFrame(), 0);
    QImage img = paintPlayer(player);
    EXPECT_TRUE(colorNear(pixelAt(img, 10, 10), qRgb(255, 0, 0)));
    // Loading with the setting off also stays on frame 1.
    ASSERT_TRUE(player.load(player.path()));
    wait(100);
    EXPECT_EQ(player.movie()->root().currentFrame(), 0);
}

TEST(MoviePlayer, LoadingAgainRestarts)
{
    QTemporaryDir dir;
    MoviePlayer player(nullptr); // silent
    player.setPlaying(false);
    QString path = writeFile(dir, "m.swf", movingSquare());
    ASSERT_TRUE(player.load(path));
    player.movie()->tick();
    EXPECT_EQ(player.movie()->root().currentFrame(), 1);
    ASSERT_TRUE(player.load(path));
    EXPECT_EQ(player.movie()->root().currentFrame(), 0);
    EXPECT_EQ(player.path(), path);
    player.clear();
    EXPECT_TRUE(player.isEmpty());
}

TEST(MoviePlayer, HiddenPlayerKeepsTimeButPaintsNothing)
{
    QTemporaryDir dir;
    MoviePlayer player(nullptr); // silent
    ASSERT_TRUE(player.load(writeFile(dir, "m.swf", movingSquare())));
    player.setVisible(false);
    int changes = 0;
    QObject::connect(&player, &MoviePlayer::frameChanged, [&] { ++changes; });
    QImage img = paintPlayer(player);
    EXPECT_EQ(pixelAt(img, 10, 10), qRgb(0, 255, 0) & 0xffffff);
    uint64_t before = player.movie()->ticks();
    wait(300);
    EXPECT_EQ(changes, 0);
    EXPECT_GT(player.movie()->ticks(), before);
    player.setVisible(true);
    EXPECT_EQ(changes, 1);
    img = paintPlayer(player);
    EXPECT_NE(pixelAt(img, 30, 10), qRgb(0, 255, 0) & 0xffffff);
}
