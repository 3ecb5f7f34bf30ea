#include "Screen.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

struct Fixture : ::testing::Test {
    TestPictures pictures;
    Screen screen{QStringLiteral("Test"), QStringLiteral("Test"), QSize(10380, 7125), Qt::white};

    Control& add(ControlKind kind, const QString& name, QRect rect, Control* parent = nullptr)
    {
        Control& c = screen.addControl(std::make_unique<Control>(screen, kind, name), parent);
        c.setGeometry(rect);
        return c;
    }
};

using PictureIdentity = Fixture;
using Geometry = Fixture;

} // namespace

TEST_F(PictureIdentity, EveryObjectHasItsOwnNonZeroHandleEvenForTheSameFile)
{
    const QString file = pictures.solid(QStringLiteral("red"), Qt::red);
    auto a = Picture::fromFile(file);
    auto b = Picture::fromFile(file);
    EXPECT_NE(a->handle(), 0u);
    EXPECT_NE(b->handle(), 0u);
    EXPECT_NE(a->handle(), b->handle());
    EXPECT_EQ(handleOf(nullptr), 0u);
}

TEST_F(PictureIdentity, AssigningAPictureSharesTheObjectAndItsHandle)
{
    Control& piece = add(ControlKind::Image, QStringLiteral("Image1"), QRect(0, 0, 480, 480));
    Control& slot = add(ControlKind::Image, QStringLiteral("Image2"), QRect(600, 0, 480, 480));
    piece.setPicture(Picture::fromFile(pictures.solid(QStringLiteral("blue"), Qt::blue)));
    EXPECT_EQ(slot.pictureHandle(), 0u);
    slot.setPicture(piece.picture());
    EXPECT_EQ(slot.pictureHandle(), piece.pictureHandle());
    EXPECT_EQ(slot.picture().get(), piece.picture().get());

    // A look-alike from the same file is another object.
    Control& lookAlike = add(ControlKind::Image, QStringLiteral("Image3"), QRect(0, 600, 480, 480));
    lookAlike.setPicture(Picture::fromFile(piece.picture()->source()));
    EXPECT_NE(lookAlike.pictureHandle(), piece.pictureHandle());
}

TEST_F(PictureIdentity, UnreadablePicturesAreStillObjectsOfTheirOwnThatShowNothing)
{
    auto missing = Picture::fromFile(pictures.missing());
    auto garbage = Picture::fromFile(pictures.garbage(QStringLiteral("bad.bmp")));
    for (const auto& p : {missing, garbage}) {
        EXPECT_NE(p->handle(), 0u);
        EXPECT_TRUE(p->isNull());
        EXPECT_TRUE(p->pixmap(QSize(32, 32)).isNull());
    }
    EXPECT_NE(missing->handle(), garbage->handle());
}

TEST_F(Geometry, AnUnstretchedControlTakesItsPicturesSizeAlsoWhenAssignedLater)
{
    Control& image = add(ControlKind::Image, QStringLiteral("Image1"), QRect(840, 1320, 1000, 1000));
    image.setStretch(false);
    image.setPicture(Picture::fromFile(pictures.solid(QStringLiteral("small"), Qt::green, 32, 20)));
    EXPECT_EQ(image.geometry(), QRect(840, 1320, 32 * 15, 20 * 15));

    Control& stretched = add(ControlKind::Image, QStringLiteral("Image2"), QRect(0, 0, 3495, 1335));
    stretched.setStretch(true);
    stretched.setPicture(image.picture());
    EXPECT_EQ(stretched.geometry(), QRect(0, 0, 3495, 1335));

    // A picture that shows nothing leaves the size alone.
    image.setPicture(Picture::fromFile(pictures.missing()));
    EXPECT_EQ(image.geometry().size(), QSize(32 * 15, 20 * 15));
}

TEST_F(Geometry, ChildrenArePlacedRelativeToTheirContainerAndClippedByIt)
{
    Control& frame = add(ControlKind::Frame, QStringLiteral("Frame3"), QRect(5520, 240, 3135, 975));
    Control& slot = add(ControlKind::Image, QStringLiteral("Image13"), QRect(-360, 120, 3495, 1335), &frame);
    EXPECT_EQ(slot.screenGeometry(), QRect(5160, 360, 3495, 1335));
    EXPECT_EQ(slot.visibleScreenRect(), QRect(5520, 360, 3135, 855));

    // A panel's client area lies inside its border.
    Control& panel = add(ControlKind::Panel, QStringLiteral("Picture1"), QRect(1000, 1000, 2000, 2000));
    Control& inner = add(ControlKind::Image, QStringLiteral("Image20"), QRect(0, 0, 300, 300), &panel);
    EXPECT_EQ(inner.screenGeometry().topLeft(), QPoint(1000 + panel.clientInset(), 1000 + panel.clientInset()));
    panel.setVisible(false);
    EXPECT_FALSE(inner.isShown());
    EXPECT_TRUE(inner.isVisible());
}

TEST_F(Geometry, PlayersRecordEveryLoadSoTheSameMovieRestarts)
{
    Control& player = add(ControlKind::Player, QStringLiteral("ShockwaveFlash1"), QRect(0, 0, 100, 100));
    EXPECT_TRUE(player.movie().isEmpty());
    player.setMovie(QStringLiteral("/x/feliz1.swf"));
    player.setMovie(QStringLiteral("/x/feliz1.swf"));
    EXPECT_EQ(player.movieLoads(), 2);
    EXPECT_EQ(player.movie(), QStringLiteral("/x/feliz1.swf"));
}

TEST_F(PictureIdentity, ACroppedPictureShowsOnlyItsPartAndIsAnObjectOfItsOwn)
{
    // Left half red, right half blue: a crop of the right half is all blue.
    QImage halves(40, 20, QImage::Format_ARGB32);
    halves.fill(Qt::red);
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 40; ++x)
            halves.setPixelColor(x, y, Qt::blue);
    const QString file = pictures.solid(QStringLiteral("halves"), Qt::white);
    halves.save(file);

    auto whole = Picture::fromFile(file);
    auto right = Picture::fromFile(file, QRect(20, 0, 20, 20));
    EXPECT_NE(whole->handle(), right->handle());
    EXPECT_EQ(right->pixelSize(), QSize(20, 20));
    const QImage shown = right->pixmap(QSize(60, 60)).toImage();
    EXPECT_EQ(shown.pixelColor(2, 2), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(57, 57), QColor(Qt::blue));

    // An unstretched picture control takes the crop's size.
    Control& piece = add(ControlKind::Image, QStringLiteral("Image1"), QRect(0, 0, 1, 1));
    piece.setPicture(right);
    EXPECT_EQ(piece.geometry().size(), QSize(300, 300));

    // A crop outside the file shows nothing but is still its own object.
    auto outside = Picture::fromFile(file, QRect(30, 0, 20, 20));
    EXPECT_TRUE(outside->isNull());
    EXPECT_NE(outside->handle(), right->handle());
}
