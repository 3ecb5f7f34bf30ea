#include "ActivityHarness.h"

namespace {

struct Row {
    const char* slot;
    const char* piece;
    const char* answer;
    const char* right;
    const char* wrong;
};

struct ScreenKey {
    const char* screen;
    std::vector<Row> rows;
    const char* reward;
    bool hover;
};

const ScreenKey kKeys[] = {
    {"Colores1",
     {{"Image13", "Image16", "Image16", "Image11", "Image8"}, {"Image14", "Image18", "Image18", "Image10", "Image8"},
      {"Image15", "Image17", "Image17", "Image9", "Image8"}},
     "feliz1.swf", true},
    {"Colores2",
     {{"Image1", "Image12", "Image4", "Image11", "Image10"}, {"Image2", "Image18", "Image5", "Image11", "Image10"},
      {"Image3", "Image17", "Image6", "Image11", "Image10"}},
     "feliz2.swf", false},
    {"Colores3",
     {{"Image1", "Image17", "Image4", "Image11", "Image10"}, {"Image2", "Image18", "Image5", "Image11", "Image10"},
      {"Image3", "Image12", "Image6", "Image11", "Image10"}},
     "feliz3.swf", false},
    {"Colores4",
     {{"Image1", "Image12", "Image4", "Image16", "Image15"}, {"Image2", "Image14", "Image5", "Image16", "Image15"},
      {"Image3", "Image13", "Image6", "Image16", "Image15"}},
     "feliz4.swf", false},
};

using Colores = ActivityHarness;

} // namespace

TEST_F(Colores, EveryScreenPlaysToItsRewardInAnyOrderWithWrongDropsOnTheWay)
{
    for (const ScreenKey& key : kKeys) {
        for (int order = 0; order < 2; ++order) {
            SCOPED_TRACE(std::string(key.screen) + (order ? " backwards" : " forwards"));
            open(QString::fromUtf8(key.screen));
            for (int k = 0; k < 3; ++k) {
                const Row& row = key.rows[order ? 2 - k : k];
                const Row& other = key.rows[order ? (2 - k + 2) % 3 : (k + 1) % 3];
                if (shown(other.piece)) {
                    dragOnto(other.piece, row.slot);
                    EXPECT_TRUE(shown(row.wrong));
                    EXPECT_TRUE(shown(other.piece));
                    EXPECT_NE(c(row.slot).pictureHandle(), c(row.answer).pictureHandle());
                }
                EXPECT_EQ(rewards(), 0);
                dragOnto(row.piece, row.slot);
                EXPECT_EQ(c(row.slot).picture().get(), c(row.answer).picture().get());
                if (std::string(row.answer) != row.piece) {
                    EXPECT_TRUE(shown(row.answer));
                }
                EXPECT_FALSE(shown(row.piece));
                EXPECT_TRUE(shown(row.right));
                EXPECT_FALSE(shown(row.wrong));
            }
            EXPECT_EQ(rewards(), 1);
            EXPECT_TRUE(rewardPlaying(key.reward));
        }
    }
}

TEST_F(Colores, TheFlagStripeStaysWhiteAfterAWrongColourAndTheSharedSadFaceGoesAway)
{
    open(QStringLiteral("Colores1"));
    dragOnto("Image17", "Image13"); // red on the yellow stripe
    EXPECT_TRUE(shown("Image8"));
    EXPECT_EQ(c("Image13").pictureHandle(), 0u);
    EXPECT_TRUE(shown("Image17"));
    dragOnto("Image18", "Image14"); // blue on the blue stripe
    EXPECT_FALSE(shown("Image8"));
    EXPECT_TRUE(shown("Image10"));
    EXPECT_FALSE(shown("Image11"));
    // The stripe fills with the square's colour, clipped by its frame.
    const QColor blue = c("Image18").picture()->pixmap(QSize(32, 32)).toImage().pixelColor(16, 16);
    const QImage screen = shell.view().grab().toImage();
    const qreal dpr = shell.view().devicePixelRatioF();
    EXPECT_EQ(screen.pixelColor(shell.view().centreOf(c("Image14")) * dpr), blue);
    const QRectF frame = shell.view().toView(c("Frame1").screenGeometry());
    EXPECT_NE(screen.pixelColor(QPointF(frame.left() - 6, frame.center().y()).toPoint() * dpr), blue);
}

TEST_F(Colores, ColouringADrawingChangesOnlyThatDrawing)
{
    open(QStringLiteral("Colores2"));
    dragOnto("Image12", "Image1"); // yellow on the sun
    EXPECT_TRUE(shown("Image4"));
    EXPECT_FALSE(shown("Image12"));
    EXPECT_FALSE(shown("Image5"));
    EXPECT_FALSE(shown("Image6"));
    EXPECT_NE(c("Image2").pictureHandle(), c("Image5").pictureHandle());
    EXPECT_NE(c("Image3").pictureHandle(), c("Image6").pictureHandle());
    // On a shared mark pair a wrong drop covers a smiling face already shown.
    dragOnto("Image17", "Image2");
    EXPECT_TRUE(shown("Image10"));
    EXPECT_TRUE(shown("Image11"));
    EXPECT_EQ(shell.view().controlAt(shell.view().centreOf(c("Image11"))), &c("Image10"));
}

TEST_F(Colores, TheAlreadyColouredButterflyTakesNoDrops)
{
    open(QStringLiteral("Colores4"));
    EXPECT_TRUE(shown("Image8"));
    auto& view = shell.view();
    mouse::drag(&view, view.centreOf(c("Image14")), view.centreOf(c("Image8")));
    EXPECT_FALSE(shown("Image15"));
    EXPECT_TRUE(shown("Image14"));
    dragOnto("Image14", "Image2");
    EXPECT_TRUE(shown("Image5"));
}

TEST_F(Colores, OnlyTheFlagScreenGivesItsPiecesThePencilPointer)
{
    open(QStringLiteral("Colores1"));
    mouse::move(&shell.view(), shell.view().centreOf(c("Image16")));
    EXPECT_EQ(c("Image16").mouseIcon().get(), c("Image7").picture().get());
    EXPECT_EQ(shell.view().cursor().shape(), Qt::BitmapCursor);
    for (const char* screen : {"Colores2", "Colores3", "Colores4"}) {
        open(QString::fromUtf8(screen));
        mouse::move(&shell.view(), shell.view().centreOf(c("Image12")));
        EXPECT_EQ(c("Image12").mouseIcon(), nullptr) << screen;
        EXPECT_EQ(shell.view().cursor().shape(), Qt::ArrowCursor) << screen;
    }
}

TEST_F(Colores, LeavingAndComingBackStartsOver)
{
    open(QStringLiteral("Colores3"));
    dragOnto("Image17", "Image1");
    clickOn("Image9");
    ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
    clickOn("Image2");
    clickOn("Image5");
    clickOn("Image16");
    ASSERT_EQ(shell.currentScreen()->name(), QStringLiteral("Colores3"));
    EXPECT_TRUE(shown("Image17"));
    EXPECT_FALSE(shown("Image4"));
    EXPECT_FALSE(shown("Image11"));
    EXPECT_NE(c("Image1").pictureHandle(), c("Image4").pictureHandle());
}
