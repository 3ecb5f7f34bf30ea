#include "ActivityHarness.h"
#include "ControlCounts.h"
#include "Journey.h"

namespace {

// One drop and what the child sees right after it.
struct Drop {
    const char* piece;
    const char* slot;
    bool taken;                      // the slot takes the piece's picture and the piece goes
    std::vector<const char*> shown;  // marks visible after the drop
    std::vector<const char*> hidden; // marks hidden after the drop
    int rewards;                     // reward movie loads so far
};

struct Play {
    const char* screen;
    std::vector<Drop> drops;
};

// Each screen is played to its end: pieces that fit the other row, the other kind, filled
// slots and spare pieces along the way, and further drops once the reward has played.
const Play kPlays[] = {
    {"Resta1",
     {{"Image16", "Image14", true, {}, {"Image39", "Image40"}, 0}, // a piece from the lower plate fills the upper row
      {"Image4", "Image15", true, {"Image39"}, {"Image40"}, 0},
      {"Image5", "Image14", false, {"Image39"}, {"Image40"}, 0}, // a filled slot: nothing changes
      {"Image5", "Image32", true, {"Image39"}, {"Image40"}, 0},
      {"Image6", "Image33", true, {"Image39"}, {"Image40"}, 0},
      {"Image17", "Image34", true, {"Image39", "Image40"}, {}, 1},
      {"Image18", "Image33", false, {"Image39", "Image40"}, {}, 2}}}, // a spare banana restarts the reward
    {"Resta2",
     {{"Image3", "Image32", true, {}, {"Image40", "Image41"}, 0}, // the lower row first, from the upper plate
      {"Image4", "Image33", true, {}, {"Image40", "Image41"}, 0},
      {"Image5", "Image34", true, {}, {"Image40", "Image41"}, 0},
      {"Image17", "Image35", true, {"Image41"}, {"Image40"}, 0},
      {"Image18", "Image15", true, {"Image41"}, {"Image40"}, 0},
      {"Image19", "Image15", false, {"Image41"}, {"Image40"}, 0},
      {"Image19", "Image16", true, {"Image40", "Image41"}, {}, 1},
      {"Image21", "Image35", false, {"Image40", "Image41"}, {}, 2}}},
    {"Resta3",
     {{"Image12", "Image24", false, {"Image44"}, {"Image37", "Image38", "Image45"}, 0}, // green apple on the fruit row
      {"Image8", "Image24", true, {}, {"Image44", "Image37"}, 0},
      {"Image13", "Image25", false, {"Image44"}, {"Image45"}, 0},
      {"Image9", "Image24", false, {"Image44"}, {"Image37"}, 0}, // right kind, filled slot: the sad face stays
      {"Image9", "Image25", true, {}, {"Image44", "Image37"}, 0},
      {"Image10", "Image35", false, {"Image45"}, {"Image44", "Image38"}, 0}, // the second row's own sad face
      {"Image10", "Image26", true, {"Image37", "Image45"}, {"Image44"}, 0},
      {"Image11", "Image24", false, {"Image37", "Image45"}, {"Image44"}, 0}, // spare fruit on a full row
      {"Image12", "Image35", true, {"Image37"}, {"Image45", "Image38"}, 0},
      {"Image13", "Image36", true, {"Image37", "Image38"}, {"Image44", "Image45"}, 1},
      {"Image14", "Image25", false, {"Image37", "Image44", "Image38"}, {"Image45"}, 2}, // both faces on one spot
      {"Image11", "Image36", false, {"Image37", "Image44", "Image38", "Image45"}, {}, 3}}},
    {"Resta4",
     {{"Image2", "Image12", false, {"Image24"}, {"Image23", "Image25", "Image26"}, 0}, // card 4 on the first slot
      {"Image3", "Image21", false, {"Image24", "Image26"}, {"Image23", "Image25"}, 0},
      {"Image4", "Image12", false, {"Image24", "Image26"}, {"Image23", "Image25"}, 0},
      {"Image5", "Image12", true, {"Image23", "Image26"}, {"Image24", "Image25"}, 0},
      {"Image2", "Image21", true, {"Image23", "Image25"}, {"Image24", "Image26"}, 1}, // card 4 still solves the second
      {"Image4", "Image21", false, {"Image23", "Image25", "Image26"}, {"Image24"}, 2},
      {"Image3", "Image12", false, {"Image23", "Image24", "Image25", "Image26"}, {}, 3}}},
    {"Resta5",
     {{"Image1", "Image28", false, {"Image37"}, {"Image36", "Image34"}, 0}, // a rose on the flower row: the right-hand face
      {"Image2", "Image28", true, {}, {"Image37", "Image34"}, 0},
      {"Image4", "Image29", true, {"Image34"}, {"Image37", "Image33"}, 0},
      {"Image7", "Image10", false, {"Image34", "Image36"}, {"Image33"}, 0},
      {"Image1", "Image10", true, {"Image34"}, {"Image36", "Image33"}, 0},
      {"Image3", "Image11", true, {"Image34"}, {"Image33"}, 0},
      {"Image5", "Image12", true, {"Image34"}, {"Image33"}, 0},
      {"Image8", "Image13", true, {"Image33", "Image34"}, {"Image36"}, 1}, // four roses for the four slots
      {"Image6", "Image11", false, {"Image33", "Image34"}, {"Image36"}, 2}, // the fifth is spare
      {"Image6", "Image29", false, {"Image33", "Image34", "Image37"}, {}, 3}}},
};

using Resta = ActivityHarness;

} // namespace

TEST_F(Resta, EveryScreenPlaysToItsRewardThroughRefusalsAndSparePieces)
{
    for (const Play& play : kPlays) {
        SCOPED_TRACE(play.screen);
        open(QString::fromUtf8(play.screen));
        const bool firstScreen = QString::fromUtf8(play.screen) == QStringLiteral("Resta1");
        // Only the first screen shows its (still empty) reward player from the start.
        EXPECT_EQ(c("ShockwaveFlash1").isVisible(), firstScreen);
        EXPECT_TRUE(c("ShockwaveFlash1").movie().isEmpty());
        int step = 0;
        for (const Drop& drop : play.drops) {
            SCOPED_TRACE(testing::Message() << "drop " << ++step << ": " << drop.piece << " on " << drop.slot);
            const auto before = c(drop.slot).pictureHandle();
            dragOnto(drop.piece, drop.slot);
            if (drop.taken) {
                EXPECT_EQ(c(drop.slot).picture().get(), c(drop.piece).picture().get());
                EXPECT_FALSE(shown(drop.piece));
            } else {
                EXPECT_EQ(c(drop.slot).pictureHandle(), before);
                EXPECT_TRUE(shown(drop.piece));
            }
            for (const char* mark : drop.shown)
                EXPECT_TRUE(shown(mark)) << mark;
            for (const char* mark : drop.hidden)
                EXPECT_FALSE(shown(mark)) << mark;
            EXPECT_EQ(rewards(), drop.rewards);
        }
        const QString movie = QStringLiteral("feliz%1.swf").arg(QString::fromUtf8(play.screen).right(1));
        EXPECT_TRUE(rewardPlaying(qPrintable(movie)));
    }
}

TEST_F(Resta, ARowFilledFirstWaitsForTheOtherRow)
{
    // Either row may be finished first; the reward waits for both.
    open(QStringLiteral("Resta3"));
    for (const auto& [piece, slot] : {std::pair{"Image12", "Image35"}, {"Image13", "Image36"}})
        dragOnto(piece, slot);
    EXPECT_TRUE(shown("Image38"));
    EXPECT_FALSE(shown("Image37"));
    EXPECT_EQ(rewards(), 0);
    EXPECT_FALSE(c("ShockwaveFlash1").isVisible());
    for (const auto& [piece, slot] : {std::pair{"Image8", "Image24"}, {"Image9", "Image25"}, {"Image10", "Image26"}})
        dragOnto(piece, slot);
    EXPECT_EQ(rewards(), 1);
    EXPECT_TRUE(rewardPlaying("feliz3.swf"));
}

TEST_F(Resta, PlacedPiecesShowAtTheirOwnSizeOnlyWhereTheSlotsDoNotStretch)
{
    // The first two screens' slots take the size of the banana or apple put in them.
    open(QStringLiteral("Resta1"));
    dragOnto("Image4", "Image14");
    EXPECT_EQ(c("Image14").geometry(), QRect(120, 120, 480, 600));
    dragOnto("Image5", "Image32");
    EXPECT_EQ(c("Image32").geometry(), QRect(120, 120, 480, 480));
    // On the flower screen the slots keep their rectangles, the first lower slot partly above its panel.
    open(QStringLiteral("Resta5"));
    dragOnto("Image2", "Image28");
    dragOnto("Image1", "Image10");
    EXPECT_EQ(c("Image28").geometry(), QRect(0, -120, 615, 975));
    EXPECT_EQ(c("Image10").geometry(), QRect(0, 0, 615, 855));
}

TEST_F(Resta, EveryPieceTakesTheScreensCursorOnItsFirstMovement)
{
    const std::pair<const char*, const char*> screens[] = {
        {"Resta1", "Image38"}, {"Resta2", "Image39"}, {"Resta3", "Image42"}, {"Resta4", "Image39"}, {"Resta5", "Image32"}};
    for (const auto& [screen, cursor] : screens) {
        SCOPED_TRACE(screen);
        open(QString::fromUtf8(screen));
        int pieces = 0;
        for (screens::Control* piece : shell.currentScreen()->allControls()) {
            if (!piece->dragAutomatic())
                continue;
            ++pieces;
            EXPECT_EQ(piece->mouseIcon(), nullptr) << qPrintable(piece->name());
            mouse::move(&shell.view(), shell.view().centreOf(*piece));
            EXPECT_EQ(piece->mouseIcon().get(), c(cursor).picture().get()) << qPrintable(piece->name());
            EXPECT_EQ(shell.view().cursor().shape(), Qt::BitmapCursor) << qPrintable(piece->name());
        }
        EXPECT_GE(pieces, 4);
    }
}

TEST_F(Resta, LeavingAHalfDoneScreenAndComingBackStartsItAgain)
{
    open(QStringLiteral("Resta5"));
    dragOnto("Image2", "Image28");
    dragOnto("Image4", "Image29");
    dragOnto("Image5", "Image29");
    ASSERT_TRUE(shown("Image34"));
    ASSERT_TRUE(shown("Image37"));
    clickOn("Image30");
    ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
    open(QStringLiteral("Resta5"));
    for (const char* slot : {"Image28", "Image29"})
        EXPECT_EQ(c(slot).pictureHandle(), 0u);
    for (const char* piece : {"Image2", "Image4", "Image5"})
        EXPECT_TRUE(shown(piece));
    for (const char* mark : {"Image33", "Image34", "Image36", "Image37"})
        EXPECT_FALSE(shown(mark));
}

TEST(RestaCounts, TheSubtractionScreensHoldTheControlsTheyShould)
{
    expectControlCounts({
        {"Resta1", 41, 3, 2, 0, 0, 7, 8, 3},
        {"Resta2", 42, 3, 3, 0, 0, 8, 9, 3},
        {"Resta3", 45, 3, 2, 0, 0, 7, 8, 5},
        {"Resta4", 30, 3, 3, 0, 0, 4, 5, 5},
        {"Resta5", 37, 3, 2, 0, 0, 8, 8, 5},
    });
}

TEST_F(Journey, FromTheMenuThroughTheSubtractionsToTheLastScreen)
{
    shell.start();
    clickOn("Image4");
    clickOn("Image9");
    play({
        {"Resta1", {{"Image4", "Image14"}, {"Image5", "Image15"}, {"Image6", "Image32"}, {"Image16", "Image33"}, {"Image17", "Image34"}}, "Image36"},
        {"Resta2",
         {{"Image3", "Image15"}, {"Image4", "Image16"}, {"Image17", "Image32"}, {"Image18", "Image33"}, {"Image19", "Image34"}, {"Image20", "Image35"}},
         "Image37"},
        {"Resta3", {{"Image8", "Image24"}, {"Image9", "Image25"}, {"Image10", "Image26"}, {"Image12", "Image35"}, {"Image13", "Image36"}}, "Image40"},
        {"Resta4", {{"Image5", "Image12"}, {"Image2", "Image21"}}, "Image37"},
        {"Resta5",
         {{"Image1", "Image10"}, {"Image3", "Image11"}, {"Image5", "Image12"}, {"Image6", "Image13"}, {"Image2", "Image28"}, {"Image4", "Image29"}},
         nullptr},
    });
    // The spare pieces stay; the last screen has no way on, only home.
    for (const char* piece : {"Image7", "Image8"})
        EXPECT_TRUE(shown(piece));
    sayGoodbyeButStay();
    clickOn("Image30");
    EXPECT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
}
