#include "Board.h"
#include "Mouse.h"
#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

struct BoardFixture : ::testing::Test {
    shell::Shell shell{QStringLiteral("/opt/numbali")};
    QWidget* view = nullptr;
    int prompts = 0;

    void SetUp() override
    {
        shell.setExitPrompt([this](QWidget*) { return ++prompts, false; });
        shell.setQuit([] {});
        shell.view().resize(692, 475);
        shell.view().show();
        view = &shell.view();
        // The way a child gets there: the next button of the fourth colour screen.
        shell.switchTo(QStringLiteral("Colores4"));
        mouse::click(view, shell.view().centreOf(c("Image18")));
        ASSERT_EQ(shell.currentScreen()->name(), QStringLiteral("Tablero"));
    }

    Control& c(const char* name) { return *shell.currentScreen()->control(QString::fromLatin1(name)); }
    Control& panel() { return c("Picture1"); }
    // A point of the drawing panel's client area, in twips, on the view.
    QPoint on(int x, int y)
    {
        const QRect g = panel().screenGeometry();
        const int inset = panel().clientInset();
        return shell.view().toView(QRect(g.left() + inset + x, g.top() + inset + y, 0, 0)).topLeft().toPoint();
    }
    QColor pixel(QPoint p) { return shell.view().grab().toImage().pixelColor(p * shell.view().devicePixelRatioF()); }
    std::size_t dots() { return panel().drawing() ? panel().drawing()->dots().size() : 0; }

    void stroke(QPoint from, QPoint to, int steps = 20)
    {
        mouse::press(view, from);
        for (int i = 0; i <= steps; ++i)
            mouse::move(view, from + (to - from) * i / steps, Qt::LeftButton);
        mouse::release(view, to);
    }
    void choose(const char* tool) { mouse::click(view, shell.view().centreOf(c(tool))); }
};

} // namespace

TEST_F(BoardFixture, NothingIsDrawnWithoutMovingWithAButtonHeld)
{
    mouse::press(view, on(1500, 1500));
    mouse::release(view, on(1500, 1500));
    for (int x = 1000; x < 3000; x += 100)
        mouse::move(view, on(x, 2000));
    EXPECT_EQ(dots(), 0u);
    EXPECT_EQ(pixel(on(1500, 1500)), QColor(Qt::white));
}

TEST_F(BoardFixture, BeforeAnyToolThePenIsDarkBlueAndEachToolSetsItsColour)
{
    stroke(on(600, 600), on(1200, 600));
    EXPECT_EQ(pixel(on(900, 600)), QColor(0, 0, 128));
    const std::pair<const char*, QColor> tools[] = {
        {"Image1", QColor(255, 255, 0)}, {"Image2", QColor(0, 0, 255)}, {"Image3", QColor(255, 0, 0)}};
    int y = 1500;
    for (const auto& [tool, color] : tools) {
        choose(tool);
        stroke(on(600, y), on(1200, y));
        EXPECT_EQ(pixel(on(900, y)), color) << tool;
        y += 900;
    }
    // The pen is a dot of five design pixels: a point ten design pixels away stays white.
    EXPECT_EQ(pixel(on(900, 1500 + 150)), QColor(Qt::white));
}

TEST_F(BoardFixture, TheEraserPaintsWhiteOverEarlierDots)
{
    choose("Image3");
    stroke(on(600, 900), on(1800, 900));
    ASSERT_EQ(pixel(on(1200, 900)), QColor(255, 0, 0));
    choose("Image4");
    stroke(on(600, 900), on(1800, 900), 60);
    EXPECT_EQ(pixel(on(1200, 900)), QColor(Qt::white));
}

TEST_F(BoardFixture, AStrokeThatLeavesThePanelIsClippedAndEndsWhereTheButtonIsReleased)
{
    // From inside the panel out over the palette, released there.
    const QPoint inside = on(6000, 1000);
    const QPoint outside = shell.view().centreOf(c("Picture6"));
    const QColor paletteBefore = pixel(outside);
    stroke(inside, outside, 40);
    EXPECT_EQ(pixel(inside), QColor(0, 0, 128));
    EXPECT_EQ(pixel(outside), paletteBefore);
    const std::size_t afterRelease = dots();
    EXPECT_GT(afterRelease, 0u);
    // Back over the panel without a button: the stroke has ended.
    for (int x = 1000; x < 5000; x += 200)
        mouse::move(view, on(x, 3000));
    EXPECT_EQ(dots(), afterRelease);
    EXPECT_EQ(pixel(on(3000, 3000)), QColor(Qt::white));
}

TEST_F(BoardFixture, TheDrawingSurvivesRepaintsTheExitQuestionAndAnyScale)
{
    stroke(on(2000, 2000), on(2600, 2000));
    shell.view().repaint();
    mouse::click(view, shell.view().centreOf(c("Image6")));
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(pixel(on(2300, 2000)), QColor(0, 0, 128));
    for (QSize size : {QSize(1384, 950), QSize(900, 500), QSize(692, 475)}) {
        shell.view().resize(size);
        EXPECT_EQ(pixel(on(2300, 2000)), QColor(0, 0, 128)) << size.width();
        EXPECT_EQ(pixel(on(2300, 2400)), QColor(Qt::white)) << size.width();
    }
    // Drawing goes on at the new scale, with the same dot size in design pixels.
    shell.view().resize(1384, 950);
    stroke(on(2000, 3000), on(2600, 3000));
    EXPECT_EQ(pixel(on(2300, 3000)), QColor(0, 0, 128));
    EXPECT_EQ(pixel(on(2300, 3000 + 150)), QColor(Qt::white));
}

TEST_F(BoardFixture, ANewVisitStartsWhiteWithTheDarkBluePen)
{
    choose("Image3");
    stroke(on(600, 600), on(1200, 600));
    mouse::click(view, shell.view().centreOf(c("Image5")));
    ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
    shell.switchTo(QStringLiteral("Tablero"));
    EXPECT_EQ(dots(), 0u);
    EXPECT_EQ(pixel(on(900, 600)), QColor(Qt::white));
    stroke(on(600, 600), on(1200, 600));
    EXPECT_EQ(pixel(on(900, 600)), QColor(0, 0, 128));
}

TEST_F(BoardFixture, ThePointerOverAToolIsThePencilOnceMoved)
{
    Control& tool = c("Image2");
    EXPECT_EQ(tool.mouseIcon(), nullptr);
    mouse::move(view, shell.view().centreOf(tool));
    EXPECT_EQ(tool.mouseIcon().get(), c("Image7").picture().get());
    EXPECT_EQ(shell.view().cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(tool.toolTip(), QStringLiteral("Azul"));
}

TEST(BoardPalette, TheSixteenColoursOfThePalette)
{
    EXPECT_EQ(board::paletteColor(1), QColor(0, 0, 128));
    EXPECT_EQ(board::paletteColor(9), QColor(0, 0, 255));
    EXPECT_EQ(board::paletteColor(12), QColor(255, 0, 0));
    EXPECT_EQ(board::paletteColor(14), QColor(255, 255, 0));
    EXPECT_EQ(board::paletteColor(15), QColor(255, 255, 255));
    EXPECT_EQ(board::paletteColor(7), QColor(192, 192, 192));
}
