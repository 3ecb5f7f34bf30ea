#include "Mouse.h"
#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"
#include "Touch.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QImage>
#include <QStyleHints>
#include <QTest>
#include <gtest/gtest.h>

using screens::Control;

namespace {

// A finger plays the program exactly as the mouse does.
struct Touch : ::testing::Test {
    shell::Shell shell{QStringLiteral("/opt/numbali")};
    QWidget* view = &shell.view();

    void SetUp() override
    {
        shell.setExitPrompt([](QWidget*) { return false; });
        shell.setQuit([] {});
        shell.view().resize(1038, 713);
        shell.view().show();
    }
    void open(const char* screen)
    {
        shell.switchTo(QString::fromUtf8(screen));
        ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8(screen));
    }
    Control& c(const char* name) { return *shell.currentScreen()->control(QString::fromLatin1(name)); }
    QPoint at(const char* name) { return shell.view().centreOf(c(name)); }
    QString screenName() { return shell.currentScreen()->name(); }
    // Past the double-click interval: the next touch is a new gesture.
    void pause() { QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100); }
};

// A drag stopped halfway, as the view shows it.
QImage halfwayThrough(shell::Shell& shell, bool finger, QPoint from, QPoint to)
{
    QWidget* view = &shell.view();
    const QPoint mid = (from + to) / 2;
    if (finger) {
        touch::press(view, from);
        touch::move(view, mid);
    } else {
        mouse::move(view, from);
        mouse::press(view, from);
        mouse::move(view, mid, Qt::LeftButton);
    }
    QImage image = view->grab().toImage();
    if (finger)
        touch::release(view, mid);
    else
        mouse::release(view, mid);
    return image;
}

} // namespace

TEST_F(Touch, AFingerDragsAPieceWithTheMouseOutlineAndItsDropRule)
{
    // Halfway through, the screen looks the same as under the mouse.
    open("Colores1");
    const QImage untouched = shell.view().grab().toImage();
    const QImage byMouse = halfwayThrough(shell, false, at("Image16"), at("Image13"));
    open("Colores1");
    const QImage byFinger = halfwayThrough(shell, true, at("Image16"), at("Image13"));
    EXPECT_EQ(byFinger, byMouse);
    EXPECT_NE(byFinger, untouched) << "no outline while dragging";
    EXPECT_EQ(shell.view().dragSource(), nullptr);

    // The wrong piece is refused with the sad face; the right one fills the slot.
    open("Colores1");
    touch::drag(view, at("Image18"), at("Image13"));
    EXPECT_TRUE(c("Image8").isVisible());
    EXPECT_NE(c("Image13").pictureHandle(), c("Image16").pictureHandle());
    touch::drag(view, at("Image16"), at("Image13"));
    EXPECT_EQ(c("Image13").picture().get(), c("Image16").picture().get());
    EXPECT_TRUE(c("Image11").isVisible());
    EXPECT_FALSE(c("Image16").isVisible());
}

TEST_F(Touch, OneFingerGivesOnePressAndOtherFingersAreIgnored)
{
    open("Colores1");
    int downs = 0, ups = 0, clicks = 0;
    auto& handlers = shell.currentScreen()->on(QStringLiteral("Image5"));
    handlers.mouseDown = [&](const screens::MouseArgs& a) {
        ++downs;
        EXPECT_EQ(a.button, 1);
    };
    handlers.mouseUp = [&](const screens::MouseArgs&) { ++ups; };
    handlers.click = [&] { ++clicks; };
    touch::tap(view, at("Image5"));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(clicks, 1);

    // A platform that also reports the finger as the mouse gives no second press.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent echo(type, QPointF(at("Image5")), QPointF(view->mapToGlobal(at("Image5"))), Qt::LeftButton,
                         type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier, touch::screen());
        QApplication::sendEvent(view, &echo);
    }
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(clicks, 1);

    // A second finger landing on the button while the first drags a piece does nothing,
    // and the piece still drops where the first finger lifts.
    const QPoint from = at("Image16"), to = at("Image13");
    touch::press(view, from, 0);
    QTest::touchEvent(view, touch::screen()).move(0, (from + to) / 2, view).press(1, at("Image5"), view);
    QTest::touchEvent(view, touch::screen()).move(0, to, view).release(1, at("Image5"), view);
    touch::release(view, to, 0);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(c("Image13").picture().get(), c("Image16").picture().get());
}

TEST_F(Touch, ATapOnANavigationButtonOpensItsScreenAndADoubleTapOpensOnlyOne)
{
    // The next buttons of the quantity screens lie in one place: a double tap there opens the
    // second screen, whose button the second tap does not reach.
    open("Cantidad1");
    const QPoint next = at("Image2");
    touch::tap(view, next);
    EXPECT_EQ(screenName(), QStringLiteral("Cantidad2"));
    ASSERT_EQ(shell.view().controlAt(next), &c("Image2"));
    touch::tap(view, next);
    EXPECT_EQ(screenName(), QStringLiteral("Cantidad2"));
    pause();
    touch::tap(view, next);
    EXPECT_EQ(screenName(), QStringLiteral("Cantidad3"));

    // A finger slid off a button before lifting does not press it.
    pause();
    touch::press(view, at("Image1"));
    touch::move(view, at("Image1") + QPoint(0, -200));
    touch::release(view, at("Image1") + QPoint(0, -200));
    EXPECT_EQ(screenName(), QStringLiteral("Cantidad3"));
}

TEST_F(Touch, TheDrawingBoardDrawsWithAFingerAsWithTheMouse)
{
    open("Tablero");
    Control& panel = c("Picture1");
    const QRect r = shell.view().toView(panel.visibleScreenRect()).toRect();
    const QPoint a = r.topLeft() + QPoint(r.width() / 4, r.height() / 3);
    const QPoint b = r.topLeft() + QPoint(r.width() * 3 / 4, r.height() / 3);
    auto dots = [&] { return panel.drawing() ? panel.drawing()->dots().size() : std::size_t(0); };

    touch::tap(view, a);
    EXPECT_EQ(dots(), 0u) << "a touch without sliding draws nothing, like a click";
    mouse::drag(view, a, b);
    const std::size_t byMouse = dots();
    ASSERT_GT(byMouse, 0u);
    touch::drag(view, a + QPoint(0, 60), b + QPoint(0, 60));
    EXPECT_EQ(dots(), 2 * byMouse);

    // The pen lifts with the finger: a mouse passing over afterwards draws nothing.
    mouse::move(view, a + QPoint(0, 120));
    mouse::move(view, b + QPoint(0, 120));
    EXPECT_EQ(dots(), 2 * byMouse);

    // A tool chosen with a finger colours the next stroke.
    pause();
    touch::tap(view, at("Image3"));
    touch::drag(view, a + QPoint(0, 180), b + QPoint(0, 180));
    EXPECT_EQ(QColor(panel.drawing()->dots().back().color), QColor(255, 0, 0));
}
