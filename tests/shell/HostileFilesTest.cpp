#include "MoviePlayer.h"
#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

// The program's movie files, each replaced by a damaged or hostile file of one kind.
QByteArray damaged(int kind, const QByteArray& real)
{
    switch (kind % 4) {
    case 0: { // random bytes
        QByteArray junk(4096, '\0');
        QRandomGenerator random(kind);
        for (char& c : junk)
            c = char(random.bounded(256));
        return junk;
    }
    case 1: // cut short
        return real.left(real.size() / 3);
    case 2: { // a header claiming 2 GiB
        QByteArray lying = real.left(64);
        lying[0] = 'F';
        const quint32 length = 0x80000000u;
        for (int i = 0; i < 4; ++i)
            lying[4 + i] = char((length >> (8 * i)) & 0xff);
        return lying;
    }
    default: { // a compression bomb: 64 MiB of nothing in a few kilobytes
        QByteArray zeros(64 * 1024 * 1024, '\0');
        uLongf size = compressBound(uLong(zeros.size()));
        QByteArray packed(int(size), '\0');
        compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(zeros.constData()), uLong(zeros.size()), 9);
        packed.truncate(int(size));
        QByteArray bomb("CWS\x0a", 4);
        const quint32 length = quint32(zeros.size()) + 8;
        for (int i = 0; i < 4; ++i)
            bomb.append(char((length >> (8 * i)) & 0xff));
        return bomb + packed;
    }
    }
}

} // namespace

// Every movie of the program damaged: each screen still opens, its players stay empty, its
// buttons still lead on, and nothing hangs.
TEST(HostileFiles, DamagedMoviesLeaveTheirPlayersEmptyAndTheScreensWorking)
{
    QTemporaryDir folder;
    const QDir movies(QStringLiteral(NUMBALI_PROGRAM_MOVIES));
    int kind = 0;
    for (const QString& name : movies.entryList({QStringLiteral("*.swf")})) {
        QFile real(movies.filePath(name));
        ASSERT_TRUE(real.open(QIODevice::ReadOnly));
        QFile out(QDir(folder.path()).filePath(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(damaged(kind++, real.readAll()));
    }
    ASSERT_EQ(kind, 17);

    shell::Shell shell(folder.path());
    shell.setExitPrompt([](QWidget*) { return false; });
    shell.view().resize(692, 475);
    shell.view().show();
    testing::internal::CaptureStderr();
    QElapsedTimer clock;
    clock.start();
    for (const QString& name : shell.catalog().names()) {
        shell.switchTo(name);
        ASSERT_TRUE(shell.currentScreen());
        ASSERT_EQ(shell.currentScreen()->name(), name);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        for (screens::Control* c : shell.currentScreen()->allControls()) {
            if (c->kind() != screens::ControlKind::Player || c->movie().isEmpty())
                continue;
            movie::MoviePlayer* player = shell.view().moviePlayer(*c);
            ASSERT_TRUE(player) << qPrintable(name);
            EXPECT_TRUE(player->isEmpty()) << qPrintable(name) << " " << qPrintable(c->movie());
        }
    }
    const QString log = QString::fromStdString(testing::internal::GetCapturedStderr());
    // Each refusal says which file and why, on one line.
    EXPECT_GE(log.count(QLatin1String("refused")), 17);
    for (const QString& line : log.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.contains(QLatin1String("refused"))) {
            EXPECT_TRUE(line.contains(QLatin1String(".swf"))) << qPrintable(line);
        }
    }
    // Refusing is quick: all 43 screens with their bad movies well inside a few seconds.
    EXPECT_LT(clock.elapsed(), 20000);
}

// The window shrunk to almost nothing and grown to a large desktop while movies play.
TEST(HostileFiles, TheWindowResizedToTinyAndHugeWhileMoviesPlay)
{
    shell::Shell shell(QStringLiteral(NUMBALI_PROGRAM_MOVIES));
    shell.setExitPrompt([](QWidget*) { return false; });
    shell.view().show();
    shell.start();
    for (QSize size : {QSize(1, 1), QSize(3840, 2160), QSize(2, 900), QSize(900, 2), QSize(692, 475)}) {
        shell.view().resize(size);
        shell.view().repaint();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ASSERT_TRUE(shell.currentScreen());
    movie::MoviePlayer* title = shell.view().moviePlayer(*shell.currentScreen()->control(QStringLiteral("ShockwaveFlash1")));
    ASSERT_TRUE(title);
    EXPECT_FALSE(title->isEmpty());
}
