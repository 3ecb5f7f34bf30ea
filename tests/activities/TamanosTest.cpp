#include "ActivityHarness.h"
#include "ControlCounts.h"
#include "Journey.h"

namespace {

struct Row {
    const char* slot;
    const char* piece;
    const char* right;
    const char* wrong;
};

struct ScreenKey {
    const char* screen;
    Row rows[3]; // large, middle, small
    const char* cursor;
    const char* reward;
};

const ScreenKey kKeys[] = {
    {"Tamaños1",
     {{"Image4", "Image1", "Image9", "Image8"}, {"Image5", "Image2", "Image11", "Image10"}, {"Image6", "Image3", "Image13", "Image12"}},
     "Image17", "feliz1.swf"},
    {"Tamaños2",
     {{"Image4", "Image1", "Image9", "Image8"}, {"Image5", "Image2", "Image11", "Image10"}, {"Image6", "Image3", "Image13", "Image12"}},
     "Image17", "Alegria.swf"},
    {"Tamaños3",
     {{"Image4", "Image1", "Image12", "Image11"}, {"Image5", "Image2", "Image14", "Image13"}, {"Image6", "Image3", "Image16", "Image15"}},
     "Image20", "feliz3.swf"},
    {"Tamaños4",
     {{"Image2", "Image13", "Image5", "Image6"}, {"Image3", "Image11", "Image7", "Image8"}, {"Image4", "Image12", "Image9", "Image10"}},
     "Image17", "feliz4.swf"},
};

using Tamanos = ActivityHarness;

QString name(const char* utf8) { return QString::fromUtf8(utf8); }

} // namespace

// Each screen in three orders; before every right drop the slot first gets a piece of
// another size, which shows that slot's own sad face and no other.
TEST_F(Tamanos, EveryScreenPlaysToItsRewardInAnyOrderWithWrongSizesOnTheWay)
{
    const int orders[][3] = {{0, 1, 2}, {2, 1, 0}, {1, 2, 0}};
    for (const ScreenKey& key : kKeys) {
        for (const auto& order : orders) {
            SCOPED_TRACE(std::string(key.screen) + " order " + std::to_string(order[0]) + std::to_string(order[1]) + std::to_string(order[2]));
            open(name(key.screen));
            // The pencil pointer over a piece from its first movement on.
            mouse::move(&shell.view(), shell.view().centreOf(c(key.rows[0].piece)));
            EXPECT_EQ(c(key.rows[0].piece).mouseIcon().get(), c(key.cursor).picture().get());
            EXPECT_EQ(shell.view().cursor().shape(), Qt::BitmapCursor);
            for (int k = 0; k < 3; ++k) {
                const Row& row = key.rows[order[k]];
                bool wrongBefore[3];
                for (int j = 0; j < 3; ++j)
                    wrongBefore[j] = shown(key.rows[j].wrong);
                const Row* other = nullptr;
                for (int j = 0; j < 3 && !other; ++j)
                    if (j != order[k] && shown(key.rows[j].piece))
                        other = &key.rows[j];
                if (other) {
                    dragOnto(other->piece, row.slot);
                    EXPECT_TRUE(shown(row.wrong));
                    EXPECT_FALSE(shown(row.right));
                    EXPECT_TRUE(shown(other->piece));
                    EXPECT_EQ(c(row.slot).pictureHandle(), 0u);
                    for (int j = 0; j < 3; ++j) {
                        if (j != order[k]) {
                            EXPECT_EQ(shown(key.rows[j].wrong), wrongBefore[j]) << key.rows[j].wrong;
                        }
                    }
                }
                EXPECT_EQ(rewards(), 0);
                dragOnto(row.piece, row.slot);
                EXPECT_EQ(c(row.slot).picture().get(), c(row.piece).picture().get());
                EXPECT_FALSE(shown(row.piece));
                EXPECT_TRUE(shown(row.right));
                EXPECT_FALSE(shown(row.wrong));
            }
            EXPECT_EQ(rewards(), 1);
            EXPECT_TRUE(rewardPlaying(key.reward));
        }
    }
}

TEST_F(Tamanos, ASadFaceStaysUnderItsOwnFrameUntilThatFrameIsSolved)
{
    open(QStringLiteral("Tamaños2"));
    // The small frog in the large frame: the large frame's sad face only.
    dragOnto("Image3", "Image4");
    EXPECT_TRUE(shown("Image8"));
    for (const char* mark : {"Image9", "Image10", "Image11", "Image12", "Image13"})
        EXPECT_FALSE(shown(mark)) << mark;
    // A second wrong drop elsewhere: two sad faces at once.
    dragOnto("Image1", "Image5");
    EXPECT_TRUE(shown("Image8"));
    EXPECT_TRUE(shown("Image10"));
    // Solving the small and then the middle frame hides only their own sad faces.
    dragOnto("Image3", "Image6");
    EXPECT_TRUE(shown("Image13"));
    EXPECT_TRUE(shown("Image8"));
    EXPECT_TRUE(shown("Image10"));
    dragOnto("Image2", "Image5");
    EXPECT_FALSE(shown("Image10"));
    EXPECT_TRUE(shown("Image8"));
    EXPECT_EQ(rewards(), 0);
    dragOnto("Image1", "Image4");
    EXPECT_FALSE(shown("Image8"));
    EXPECT_EQ(rewards(), 1);
}

TEST_F(Tamanos, TheSamePictureAtAnotherSizeIsNotTheRightPiece)
{
    // The large and the middle frog are drawn from the same picture file, yet each is its
    // own picture object: only the one of the frame's size counts.
    open(QStringLiteral("Tamaños2"));
    ASSERT_NE(c("Image1").pictureHandle(), c("Image2").pictureHandle());
    EXPECT_EQ(c("Image1").picture()->pixmap(QSize(65, 89)).toImage(), c("Image2").picture()->pixmap(QSize(65, 89)).toImage());
    dragOnto("Image2", "Image4");
    EXPECT_TRUE(shown("Image8"));
    EXPECT_EQ(c("Image4").pictureHandle(), 0u);
    dragOnto("Image1", "Image5");
    EXPECT_TRUE(shown("Image10"));
    EXPECT_EQ(c("Image5").pictureHandle(), 0u);
    // On the key screen the largest key belongs to the top frame, the smallest to the bottom one.
    open(QStringLiteral("Tamaños4"));
    EXPECT_LT(c("Frame1").geometry().top(), c("Frame2").geometry().top());
    EXPECT_LT(c("Frame2").geometry().top(), c("Frame3").geometry().top());
    dragOnto("Image12", "Image2");
    dragOnto("Image13", "Image4");
    EXPECT_TRUE(shown("Image6"));
    EXPECT_TRUE(shown("Image10"));
    EXPECT_EQ(c("Image2").pictureHandle(), 0u);
    EXPECT_EQ(c("Image4").pictureHandle(), 0u);
}

TEST_F(Tamanos, AFilledFrameShowsThePieceInsideTheFrame)
{
    open(QStringLiteral("Tamaños3"));
    dragOnto("Image1", "Image4");
    const QImage screen = shell.view().grab().toImage();
    const qreal dpr = shell.view().devicePixelRatioF();
    // The ant's body now colours the middle of the large frame; outside the frame is as before.
    const QColor middle = screen.pixelColor(shell.view().centreOf(c("Image4")) * dpr);
    EXPECT_NE(middle, QColor(Qt::white));
    const QRectF frame = shell.view().toView(c("Frame7").screenGeometry());
    EXPECT_EQ(screen.pixelColor(QPointF(frame.right() + 4, frame.center().y()).toPoint() * dpr), QColor(Qt::white));
}

TEST(Counts, SizeScreensHoldTheControlsTheyShould)
{
    expectControlCounts({
        {"Tamaños1", 17, 3, 0, 3, 0, 3, 4, 7},
        {"Tamaños2", 17, 3, 0, 3, 0, 3, 4, 7},
        {"Tamaños3", 20, 3, 0, 3, 0, 3, 4, 7},
        {"Tamaños4", 17, 3, 0, 3, 0, 3, 4, 7},
    });
}

// The second screen's players keep their movies still: the background loop, the reward and
// the goodbye are loaded into them but never started, so nothing is heard there.
TEST_F(Journey, FromTheMenuThroughTheSizesToTheDrawingBoard)
{
    shell.start();
    clickOn("Image4");
    clickOn("Image3");
    play({{"Tamaños1", {{"Image1", "Image4"}, {"Image2", "Image5"}, {"Image3", "Image6"}}, "Image15"}});

    ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Tamaños2"));
    expectPlaying("ShockwaveFlash3", "f_romp2.swf");
    EXPECT_FALSE(shell.view().moviePlayer(c("ShockwaveFlash3"))->isPlaying());
    EXPECT_LT(listen(), 20) << "the background loop started";
    for (const auto& [piece, slot] : std::initializer_list<std::pair<const char*, const char*>>{{"Image3", "Image6"}, {"Image1", "Image4"}, {"Image2", "Image5"}})
        dragOnto(piece, slot);
    EXPECT_TRUE(c("ShockwaveFlash1").isVisible());
    EXPECT_EQ(rewards(), 1);
    expectPlaying("ShockwaveFlash1", "Alegria.swf");
    EXPECT_FALSE(shell.view().moviePlayer(c("ShockwaveFlash1"))->isPlaying());
    EXPECT_LT(listen(400), 20) << "the reward started";
    answer = false;
    clickOn("Image16");
    EXPECT_EQ(prompts, 1);
    expectPlaying("ShockwaveFlash2", "ADIOS.swf");
    EXPECT_FALSE(shell.view().moviePlayer(c("ShockwaveFlash2"))->isPlaying());
    EXPECT_LT(listen(), 20) << "the goodbye started";
    clickOn("Image15");

    play({
        {"Tamaños3", {{"Image2", "Image5"}, {"Image3", "Image6"}, {"Image1", "Image4"}}, "Image18"},
        {"Tamaños4", {{"Image12", "Image4"}, {"Image11", "Image3"}, {"Image13", "Image2"}}, "Image15"},
    });
    ASSERT_EQ(shell.currentScreen()->name(), QStringLiteral("Tablero"));
    expectPlaying("ShockwaveFlash2", "f_romp5.swf");
    // Back through the menu, the family starts over at its first screen.
    clickOn("Image5");
    clickOn("Image3");
    ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Tamaños1"));
    for (const char* piece : {"Image1", "Image2", "Image3"})
        EXPECT_TRUE(shown(piece)) << piece;
    EXPECT_EQ(c("Image4").pictureHandle(), 0u);
}
