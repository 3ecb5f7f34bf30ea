#include "Mouse.h"
#include "Screen.h"
#include "ScreenView.h"
#include "TestPictures.h"

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace screens;

namespace {

// A small screen: two overlapping pictures, a hidden picture above them, a panel holding a
// piece, a frame whose child reaches outside it, and a player.
struct ViewFixture : ::testing::Test {
    TestPictures pictures;
    Screen screen{QStringLiteral("Prueba"), QStringLiteral("Prueba"), QSize(10380, 7125), Qt::white};
    ScreenView view;
    QStringList events;

    Control& add(ControlKind kind, const QString& name, QRect rect, QColor color = {}, Control* parent = nullptr)
    {
        Control& c = screen.addControl(std::make_unique<Control>(screen, kind, name), parent);
        c.setStretch(true);
        c.setGeometry(rect);
        if (color.isValid()) {
            if (kind == ControlKind::Image)
                c.setPicture(Picture::fromFile(pictures.solid(name, color)));
            else
                c.setBackColor(color);
        }
        return c;
    }

    void record(const QString& name)
    {
        auto& h = screen.on(name);
        h.click = [this, name] { events << name + QStringLiteral(".Click"); };
        h.mouseDown = [this, name](const MouseArgs& a) { events << QStringLiteral("%1.MouseDown(%2)").arg(name).arg(a.button); };
        h.mouseUp = [this, name](const MouseArgs& a) { events << QStringLiteral("%1.MouseUp(%2)").arg(name).arg(a.button); };
        h.dragDrop = [this, name](Control& source, float, float) {
            events << QStringLiteral("%1.DragDrop(%2)").arg(name, source.name());
        };
    }

    void SetUp() override
    {
        // Earlier-listed pictures lie above later-listed ones.
        add(ControlKind::Image, QStringLiteral("Image1"), QRect(1500, 1500, 1500, 1500), Qt::red);
        add(ControlKind::Image, QStringLiteral("Image2"), QRect(2250, 2250, 1500, 1500), Qt::blue);
        Control& hidden = add(ControlKind::Image, QStringLiteral("Image3"), QRect(2250, 2250, 600, 600), Qt::black);
        hidden.setVisible(false);
        // A panel listed after the pictures still lies above them.
        Control& panel = add(ControlKind::Panel, QStringLiteral("Picture1"), QRect(6000, 1500, 3000, 3000), Qt::yellow);
        Control& piece = add(ControlKind::Image, QStringLiteral("Image4"), QRect(300, 300, 480, 480), Qt::green, &panel);
        piece.setDragAutomatic(true);
        piece.setMousePointer(MousePointer::Custom);
        piece.setToolTip(QStringLiteral("una pieza"));
        add(ControlKind::Panel, QStringLiteral("Picture2"), QRect(2700, 2700, 600, 600), Qt::magenta);
        Control& frame = add(ControlKind::Frame, QStringLiteral("Frame1"), QRect(1500, 4500, 1500, 1500), Qt::white);
        add(ControlKind::Image, QStringLiteral("Image5"), QRect(-750, 0, 3000, 1500), Qt::cyan, &frame);
        for (const char* n : {"Image1", "Image2", "Image3", "Image4", "Image5", "Picture1", "Picture2", "Frame1"})
            record(QString::fromLatin1(n));
        view.setScreen(&screen);
        view.resize(692, 475);
        view.show();
    }

    QPoint at(int xTwips, int yTwips) const { return view.toView(QRect(xTwips, yTwips, 0, 0)).topLeft().toPoint(); }
    QColor pixel(QPoint p) { return view.grab().toImage().pixelColor(p * view.devicePixelRatioF()); }
    QString hit(QPoint p) const
    {
        const Control* c = view.controlAt(p);
        return c ? c->name() : QStringLiteral("screen");
    }
};

} // namespace

TEST_F(ViewFixture, LayeringPaintsAndHitsEarlierPicturesAboveLaterOnesAndContainersAboveAll)
{
    // Overlap of Image1 (earlier) and Image2 (later): Image1 is on top.
    const QPoint overlap = at(2500, 2500);
    EXPECT_EQ(pixel(overlap), QColor(Qt::red));
    EXPECT_EQ(hit(overlap), QStringLiteral("Image1"));
    // The hidden Image3 lies there too but is neither drawn nor hit.
    EXPECT_EQ(hit(at(2300, 2300)), QStringLiteral("Image1"));
    // Picture2, listed last, still covers both pictures.
    EXPECT_EQ(pixel(at(2900, 2900)), QColor(Qt::magenta));
    EXPECT_EQ(hit(at(2900, 2900)), QStringLiteral("Picture2"));
    EXPECT_EQ(hit(at(3500, 3500)), QStringLiteral("Image2"));
    EXPECT_EQ(hit(at(500, 500)), QStringLiteral("screen"));
}

TEST_F(ViewFixture, ContainersClipTheirChildrenIncludingNegativePositions)
{
    // Image5 starts 750 twips left of its frame: that part is neither drawn nor hit.
    const QPoint outside = at(1000, 5000);
    EXPECT_EQ(pixel(outside), QColor(Qt::white));
    EXPECT_EQ(hit(outside), QStringLiteral("screen"));
    const QPoint inside = at(1800, 5000);
    EXPECT_EQ(pixel(inside), QColor(Qt::cyan));
    EXPECT_EQ(hit(inside), QStringLiteral("Image5"));
    // Hiding a container hides what it holds.
    screen.control(QStringLiteral("Picture1"))->setVisible(false);
    EXPECT_EQ(hit(view.centreOf(*screen.control(QStringLiteral("Image4")))), QStringLiteral("screen"));
}

TEST_F(ViewFixture, AClickIsAPressAndReleaseOnTheSameControl)
{
    mouse::click(&view, at(1700, 1700));
    EXPECT_EQ(events, (QStringList{"Image1.MouseDown(1)", "Image1.MouseUp(1)", "Image1.Click"}));
    events.clear();
    // Pressed on Image1, released on Image2: the press holds the mouse, no click.
    mouse::press(&view, at(1700, 1700));
    mouse::release(&view, at(3500, 3500));
    EXPECT_EQ(events, (QStringList{"Image1.MouseDown(1)", "Image1.MouseUp(1)"}));
}

TEST_F(ViewFixture, MouseMoveCarriesButtonsShiftAndTwipsInTheControlsOwnCoordinates)
{
    MouseArgs seen;
    int moves = 0;
    screen.on(QStringLiteral("Image1")).mouseMove = [&](const MouseArgs& a) { seen = a; ++moves; };
    mouse::send(&view, QEvent::MouseMove, at(1500 + 300, 1500 + 450), Qt::NoButton, Qt::NoButton, Qt::ShiftModifier);
    ASSERT_EQ(moves, 1);
    EXPECT_EQ(seen.button, 0);
    EXPECT_EQ(seen.shift, 1);
    EXPECT_NEAR(seen.x, 300, 15);
    EXPECT_NEAR(seen.y, 450, 15);
    // While a button pressed on Image1 is held, Image1 hears the moves even outside itself.
    mouse::press(&view, at(1700, 1700), Qt::RightButton);
    mouse::move(&view, at(9000, 6000), Qt::RightButton);
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(seen.button, 2);
    EXPECT_GT(seen.x, 7000);
    mouse::send(&view, QEvent::MouseButtonRelease, at(9000, 6000), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(events.last(), QStringLiteral("Image1.MouseUp(2)"));
}

TEST_F(ViewFixture, DraggingAnAutomaticControlDropsItOnTheTopmostVisibleControl)
{
    Control& piece = *screen.control(QStringLiteral("Image4"));
    const QPoint from = view.centreOf(piece);

    // Onto the overlap of Image1 and Image2, where the hidden Image3 also lies.
    mouse::move(&view, from);
    mouse::press(&view, from);
    EXPECT_EQ(view.dragSource(), &piece);
    mouse::move(&view, at(2300, 2300), Qt::LeftButton);
    // The piece stays where it is while its outline follows the pointer.
    EXPECT_EQ(piece.screenGeometry().topLeft(), QPoint(6000 + 30 + 300, 1500 + 30 + 300));
    EXPECT_EQ(pixel(from), QColor(Qt::green));
    mouse::release(&view, at(2300, 2300));
    EXPECT_EQ(events, (QStringList{"Image1.DragDrop(Image4)"}));
    EXPECT_EQ(view.dragSource(), nullptr);
    events.clear();

    // Onto its own container's background, then onto itself.
    mouse::drag(&view, from, at(8500, 4000));
    mouse::drag(&view, from, from + QPoint(2, 2));
    EXPECT_EQ(events, (QStringList{"Picture1.DragDrop(Image4)", "Image4.DragDrop(Image4)"}));
    events.clear();

    // Onto the screen's background: nothing happens.
    mouse::drag(&view, from, at(500, 6500));
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(ViewFixture, DropsReportTheReleasePointInTheTargetsTwips)
{
    float x = -1, y = -1;
    screen.on(QStringLiteral("Image2")).dragDrop = [&](Control&, float dx, float dy) { x = dx; y = dy; };
    mouse::drag(&view, view.centreOf(*screen.control(QStringLiteral("Image4"))), at(2250 + 1200, 2250 + 900));
    EXPECT_NEAR(x, 1200, 15);
    EXPECT_NEAR(y, 900, 15);
}

TEST_F(ViewFixture, CustomPointerShowsTheMouseIconOnceOneIsSet)
{
    Control& piece = *screen.control(QStringLiteral("Image4"));
    mouse::move(&view, view.centreOf(piece));
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    piece.setMouseIcon(Picture::fromFile(pictures.solid(QStringLiteral("icon"), Qt::darkRed)));
    mouse::move(&view, view.centreOf(piece) + QPoint(1, 0));
    EXPECT_EQ(view.cursor().shape(), Qt::BitmapCursor);
    mouse::move(&view, at(500, 500));
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);

    // Pointer 4 shows the control's own icon; the default pointer never does.
    Control& image = *screen.control(QStringLiteral("Image2"));
    image.setMouseIcon(piece.mouseIcon());
    mouse::move(&view, at(3500, 3500));
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    image.setMousePointer(MousePointer::Icon);
    mouse::move(&view, at(3510, 3510));
    EXPECT_EQ(view.cursor().shape(), Qt::BitmapCursor);
}

TEST_F(ViewFixture, ToolTipsShowTheTextOfTheControlUnderThePointer)
{
    const QPoint p = view.centreOf(*screen.control(QStringLiteral("Image4")));
    QHelpEvent help(QEvent::ToolTip, p, view.mapToGlobal(p));
    QApplication::sendEvent(&view, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("una pieza"));
    EXPECT_TRUE(QToolTip::isVisible());
    screen.control(QStringLiteral("Image2"))->setToolTip(QStringLiteral("otra"));
    QHelpEvent other(QEvent::ToolTip, at(3500, 3500), view.mapToGlobal(at(3500, 3500)));
    QApplication::sendEvent(&view, &other);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("otra"));
    // Over a control without a tool tip the tip goes away.
    QHelpEvent none(QEvent::ToolTip, at(1700, 1700), view.mapToGlobal(at(1700, 1700)));
    QApplication::sendEvent(&view, &none);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));
}

TEST_F(ViewFixture, AtAnyScaleAClickReachesTheSameControl)
{
    for (QSize size : {QSize(692, 475), QSize(1384, 950), QSize(950, 900), QSize(2000, 700), QSize(400, 300)}) {
        view.resize(size);
        events.clear();
        const QRectF area = view.screenRect();
        EXPECT_NEAR(area.width() / area.height(), 10380.0 / 7125.0, 0.01);
        mouse::click(&view, at(3500, 3500));
        EXPECT_EQ(events.value(2), QStringLiteral("Image2.Click")) << size.width() << "x" << size.height();
        EXPECT_EQ(pixel(at(2500, 2500)), QColor(Qt::red));
    }
}

TEST_F(ViewFixture, MarginsAreShadedOnlyWhereTheWindowHasAnotherShape)
{
    // A netbook-wide window a pixel off the screen's proportions has no hairline at its edge;
    // a much wider one shows its margins in a softer shade.
    view.resize(1024, 702);
    QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 350), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(1023, 350), QColor(Qt::white));
    view.resize(1400, 702);
    image = view.grab().toImage();
    EXPECT_NE(image.pixelColor(1, 350), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(int(view.screenRect().center().x()), 5), QColor(Qt::white));
}

TEST_F(ViewFixture, PicturesStaySharpWhenScaledUp)
{
    // A 32 x 32 picture painted four times larger has a crisp edge, not a blur.
    view.resize(692 * 4, 475 * 4);
    const QImage image = view.grab().toImage();
    const QRectF r = view.toView(QRect(1500, 1500, 1500, 1500));
    const QColor inside = image.pixelColor(QPointF(r.left() + 3, r.center().y()).toPoint());
    const QColor outside = image.pixelColor(QPointF(r.left() - 3, r.center().y()).toPoint());
    EXPECT_EQ(inside, QColor(Qt::red));
    EXPECT_EQ(outside, QColor(Qt::white));
}

TEST_F(ViewFixture, APanelGivenAPictureShowsItAtItsOwnSizeFromItsTopLeftAndKeepsItsRectangle)
{
    Control& panel = *screen.control(QStringLiteral("Picture1"));
    screen.control(QStringLiteral("Image1"))->setDragAutomatic(true);
    screen.control(QStringLiteral("Image2"))->setDragAutomatic(true);
    screen.on(QStringLiteral("Picture1")).dragDrop = [&panel](Control& source, float, float) { panel.setPicture(source.picture()); };
    const QRect before = panel.geometry();
    const QPoint client = at(6000 + panel.clientInset(), 1500 + panel.clientInset());
    const QPoint drop = at(7500, 4000); // the panel's own background, clear of its piece

    mouse::drag(&view, at(1800, 1800), drop);
    EXPECT_EQ(panel.geometry(), before);
    EXPECT_EQ(panel.pictureHandle(), screen.control(QStringLiteral("Image1"))->pictureHandle());
    EXPECT_EQ(pixel(client + QPoint(4, 4)), QColor(Qt::red));
    EXPECT_EQ(pixel(client + QPoint(28, 4)), QColor(Qt::red));   // 32 pixels wide, unstretched
    EXPECT_EQ(pixel(client + QPoint(40, 4)), QColor(Qt::yellow)); // and no further
    EXPECT_EQ(pixel(client + QPoint(4, 100)), QColor(Qt::yellow));

    mouse::drag(&view, at(3600, 3600), drop);
    EXPECT_EQ(panel.geometry(), before);
    EXPECT_EQ(pixel(client + QPoint(4, 4)), QColor(Qt::blue));
}

// A change to one control repaints its old place and its new one, not the whole screen, and
// the screen then looks as when painted whole.
TEST_F(ViewFixture, AChangeRepaintsOnlyTheControlsOldAndNewPlace)
{
    struct PaintSpy : QObject {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } spy;
    QCoreApplication::processEvents();
    view.installEventFilter(&spy);
    Control& image1 = *screen.control(QStringLiteral("Image1"));
    const QRect before = view.toView(image1.screenGeometry()).toAlignedRect();
    image1.setGeometry(QRect(1500, 5250, 1500, 1500));
    const QRect after = view.toView(image1.screenGeometry()).toAlignedRect();
    QCoreApplication::processEvents();
    view.removeEventFilter(&spy);
    EXPECT_TRUE(spy.painted.contains(before));
    EXPECT_TRUE(spy.painted.contains(after));
    const QRect panel = view.toView(screen.control(QStringLiteral("Picture1"))->screenGeometry()).toAlignedRect();
    EXPECT_FALSE(spy.painted.intersects(panel));
    EXPECT_LT(spy.painted.boundingRect().width(), view.width() / 2);
    // Where the picture was, the one below it shows again.
    EXPECT_EQ(pixel(at(2000, 2000)), QColor(Qt::white));
    EXPECT_EQ(pixel(at(2500, 2500)), QColor(Qt::blue));
}
