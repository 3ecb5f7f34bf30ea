// The render tool: writes a PNG of the stage size for a good file, and exits non-zero with
// a reason for a refused one.

#include "TestSupport.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString toolPath() { return QStringLiteral(NUMBALI_SWF_RENDER_TOOL); }

struct ToolRun {
    int exitCode = -1;
    QString stderrText;
};

ToolRun runTool(const QStringList& args)
{
    QProcess p;
    p.start(toolPath(), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace

TEST(RenderTool, WritesTheFrameAtStageSize)
{
    if (toolPath().isEmpty())
        GTEST_SKIP() << "render tool not built";
    using namespace movietest;
    SwfWriter w(64, 48);
    w.background(0, 0, 255);
    defineRectangle(w, 1, {255, 0, 0}, 0, 0, 640, 480);
    w.showFrame();  // frame 1: background only
    placeCharacter(w, 1);
    w.showFrame();  // frame 2: red quarter
    w.end();
    QTemporaryDir dir;
    QString in = dir.filePath("m.swf");
    QFile file(in);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(w.file('C'));
    file.close();
    QString out1 = dir.filePath("f1.png"), out2 = dir.filePath("f2.png"), out3 = dir.filePath("f3.png");
    EXPECT_EQ(runTool({in, "1", out1}).exitCode, 0);
    EXPECT_EQ(runTool({in, "2", out2}).exitCode, 0);
    EXPECT_EQ(runTool({in, "3", out3}).exitCode, 0);  // loops back to frame 1
    QImage i1(out1), i2(out2), i3(out3);
    ASSERT_EQ(i1.size(), QSize(64, 48));
    EXPECT_EQ(i1.pixel(10, 10) & 0xffffff, 0x0000ffu);
    EXPECT_EQ(i2.pixel(10, 10) & 0xffffff, 0xff0000u);
    EXPECT_EQ(i3.pixel(10, 10) & 0xffffff, 0x0000ffu);
}

TEST(RenderTool, RefusedFileExitsNonZeroWithAReason)
{
    if (toolPath().isEmpty())
        GTEST_SKIP() << "render tool not built";
    QTemporaryDir dir;
    QString in = dir.filePath("bad.swf");
    QFile file(in);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("FWS\x0a\x40\x00\x00\x00not a movie");
    file.close();
    ToolRun r = runTool({in, "1", dir.filePath("out.png")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_FALSE(r.stderrText.trimmed().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("out.png")));
    EXPECT_NE(runTool({in}).exitCode, 0);  // usage
}
