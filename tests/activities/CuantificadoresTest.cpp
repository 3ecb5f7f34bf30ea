#include "ControlCounts.h"
#include "Journey.h"

namespace {

// One slot of a quantifier screen: its right piece and its two faces.
struct Row {
    const char* slot;
    const char* panel;
    const char* piece;
    const char* right;
    const char* wrong;
};

// Each screen has a "many" row and a "few" row; every piece belongs to exactly one of them.
struct ScreenKey {
    const char* screen;
    Row many;
    Row few;
    const char* reward;
};

const ScreenKey kKeys[] = {
    {"Cuantificadores1", {"Image10", "Picture1", "Image5", "Image14", "Image13"},
     {"Image9", "Picture2", "Image6", "Image12", "Image11"}, "feliz1.swf"},
    {"Cuantificadores2", {"Image9", "Picture2", "Image7", "Image12", "Image11"},
     {"Image10", "Picture1", "Image8", "Image14", "Image13"}, "feliz2.swf"},
    {"Cuantificadores3", {"Image10", "Picture1", "Image5", "Image14", "Image13"},
     {"Image9", "Picture2", "Image6", "Image12", "Image11"}, "feliz3.swf"},
    // The last screen shares its reward movie with the second.
    {"Cuantificadores4", {"Image10", "Picture1", "Image8", "Image14", "Image13"},
     {"Image9", "Picture2", "Image7", "Image12", "Image11"}, "feliz2.swf"},
};

using Cuantificadores = ActivityHarness;

} // namespace

// Each screen, played both ways round: first the piece of slot B goes under A's reference
// (A's sad face, the piece stays), then into its own slot B (B solved, A's sad face stays),
// then A's piece lands on the filled slot B (both of B's faces, B keeps its picture), and
// only A's own right drop completes the screen.
TEST_F(Cuantificadores, EveryScreenPlaysToItsRewardInBothOrders)
{
    for (const ScreenKey& key : kKeys) {
        for (bool manyFirst : {true, false}) {
            SCOPED_TRACE(std::string(key.screen) + (manyFirst ? ": many piece first" : ": few piece first"));
            open(QString::fromUtf8(key.screen));
            const Row& b = manyFirst ? key.many : key.few;
            const Row& a = manyFirst ? key.few : key.many;
            for (const char* face : {a.right, a.wrong, b.right, b.wrong})
                EXPECT_FALSE(shown(face));
            EXPECT_FALSE(c("ShockwaveFlash1").isVisible());

            // The pieces carry the screen's pointer icon from their first movement on.
            for (const char* piece : {a.piece, b.piece}) {
                mouse::move(&shell.view(), shell.view().centreOf(c(piece)));
                EXPECT_EQ(c(piece).mouseIcon().get(), c("Image4").picture().get()) << piece;
            }

            dragOnto(b.piece, a.slot);
            EXPECT_TRUE(shown(a.wrong));
            EXPECT_FALSE(shown(a.right));
            EXPECT_TRUE(shown(b.piece));
            EXPECT_EQ(c(a.slot).pictureHandle(), 0u);

            dragOnto(b.piece, b.slot);
            EXPECT_EQ(c(b.slot).pictureHandle(), c(b.piece).pictureHandle());
            EXPECT_FALSE(shown(b.piece));
            EXPECT_TRUE(shown(b.right));
            EXPECT_FALSE(shown(b.wrong));
            EXPECT_TRUE(shown(a.wrong)) << "another slot's right drop hid this slot's sad face";

            dragOnto(a.piece, b.slot);
            EXPECT_TRUE(shown(b.right));
            EXPECT_TRUE(shown(b.wrong));
            EXPECT_TRUE(shown(a.piece));
            EXPECT_EQ(c(b.slot).pictureHandle(), c(b.piece).pictureHandle());
            EXPECT_EQ(rewards(), 0);
            EXPECT_FALSE(c("ShockwaveFlash1").isVisible());

            dragOnto(a.piece, a.slot);
            EXPECT_EQ(c(a.slot).pictureHandle(), c(a.piece).pictureHandle());
            EXPECT_TRUE(shown(a.right));
            EXPECT_FALSE(shown(a.wrong));
            EXPECT_EQ(rewards(), 1);
            EXPECT_TRUE(rewardPlaying(key.reward));
            // Nothing is left to drag.
            EXPECT_FALSE(shown(a.piece));
            EXPECT_FALSE(shown(b.piece));
        }
    }
}

TEST_F(Cuantificadores, ReleasesOnASlotPanelsMarginDoNothing)
{
    auto& view = shell.view();
    for (const ScreenKey& key : kKeys) {
        SCOPED_TRACE(key.screen);
        open(QString::fromUtf8(key.screen));
        for (const Row* row : {&key.many, &key.few}) {
            // The slot fills the panel's upper left; the panel shows beside and below it.
            const QRect panel = c(row->panel).screenGeometry();
            const QRect slot = c(row->slot).screenGeometry();
            const QPoint margins[] = {
                QPoint((slot.right() + panel.right()) / 2, slot.center().y()),
                QPoint(slot.center().x(), (slot.bottom() + panel.bottom()) / 2),
            };
            for (const QPoint& twips : margins) {
                const QPoint at = view.toView(QRect(twips, QSize(0, 0))).topLeft().toPoint();
                ASSERT_EQ(view.controlAt(at), &c(row->panel));
                mouse::drag(&view, view.centreOf(c(row->piece)), at);
                EXPECT_EQ(c(row->slot).pictureHandle(), 0u);
                EXPECT_TRUE(shown(row->piece));
                EXPECT_FALSE(shown(row->right));
                EXPECT_FALSE(shown(row->wrong));
            }
        }
        EXPECT_EQ(rewards(), 0);
    }
}

TEST(Counts, QuantifierScreensHoldTheControlsTheyShould)
{
    expectControlCounts({
        {"Cuantificadores1", 14, 3, 2, 0, 0, 2, 3, 5},
        {"Cuantificadores2", 14, 3, 2, 0, 0, 2, 3, 5},
        {"Cuantificadores3", 14, 3, 2, 0, 0, 2, 3, 5},
        {"Cuantificadores4", 14, 3, 2, 0, 0, 2, 3, 5},
    });
}

TEST_F(Journey, FromTheMenuThroughTheQuantifiersToTheDrawingBoard)
{
    shell.start();
    clickOn("Image4");
    ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
    clickOn("Image4");
    play({
        {"Cuantificadores1", {{"Image6", "Image9"}, {"Image5", "Image10"}}, "Image2"},
        {"Cuantificadores2", {{"Image8", "Image10"}, {"Image7", "Image9"}}, "Image2"},
        {"Cuantificadores3", {{"Image5", "Image10"}, {"Image6", "Image9"}}, "Image2"},
        {"Cuantificadores4", {{"Image7", "Image9"}, {"Image8", "Image10"}}, "Image2", "feliz2.swf"},
    });
    ASSERT_EQ(shell.currentScreen()->name(), QStringLiteral("Tablero"));
    expectPlaying("ShockwaveFlash2", "f_romp5.swf");
    sayGoodbyeButStay();
}
