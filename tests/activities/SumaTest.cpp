#include "ActivityHarness.h"
#include "ControlCounts.h"
#include "Journey.h"

#include <set>
#include <string>

namespace {

// One drop and what the screen shows after it. `takes`: the slot now shares the piece's
// picture and the piece is gone; otherwise slot and piece are as they were.
struct Drop {
    const char* piece;
    const char* slot;
    bool takes;
    std::set<std::string> shown; // marks showing after the drop; every other mark is hidden
    int rewards;                 // reward movie loads so far
};

struct Play {
    const char* screen;
    std::vector<const char*> marks;
    std::vector<Drop> drops;
    const char* reward;
};

// Rows of the fill screens start with the second row, so its mark shows first and the reward
// waits for the first row; pieces are taken from either tray side for either row. After the
// reward the spare pieces go onto filled slots: an every-drop slot restarts the reward, an
// accepted-only one does nothing.
const Play kPlays[] = {
    {"Suma1", {"Image28", "Image29"},
     {{"Image9", "Image24", true, {}, 0},
      {"Image1", "Image26", true, {}, 0},
      {"Image3", "Image24", false, {}, 0},
      {"Image3", "Image25", true, {"Image29"}, 0},
      {"Image7", "Image17", true, {"Image29"}, 0},
      {"Image2", "Image16", true, {"Image28", "Image29"}, 1},
      {"Image8", "Image26", false, {"Image28", "Image29"}, 1},
      {"Image8", "Image16", false, {"Image28", "Image29"}, 2},
      {"Image8", "Image25", false, {"Image28", "Image29"}, 3}},
     "feliz1.swf"},
    {"Suma2", {"Image39", "Image40"},
     {{"Image1", "Image30", true, {}, 0},
      {"Image11", "Image19", true, {}, 0},
      {"Image2", "Image34", true, {}, 0},
      {"Image3", "Image31", true, {}, 0},
      {"Image4", "Image30", false, {}, 0},
      {"Image4", "Image33", true, {}, 0},
      {"Image5", "Image32", true, {"Image40"}, 0},
      {"Image6", "Image22", true, {"Image40"}, 0},
      {"Image7", "Image21", true, {"Image40"}, 0},
      {"Image8", "Image20", true, {"Image39", "Image40"}, 1},
      {"Image9", "Image19", false, {"Image39", "Image40"}, 2},
      {"Image10", "Image34", false, {"Image39", "Image40"}, 3}},
     "feliz2.swf"},
    {"Suma3", {"Image22", "Image23", "Image24", "Image25"},
     {{"Image3", "Image17", false, {"Image24"}, 0},
      {"Image2", "Image11", false, {"Image22", "Image24"}, 0},
      {"Image26", "Image17", false, {"Image22", "Image24"}, 0},
      {"Image1", "Image11", false, {"Image22", "Image24"}, 0},
      {"Image3", "Image11", true, {"Image23", "Image24"}, 0},
      {"Image26", "Image11", false, {"Image22", "Image23", "Image24"}, 0},
      {"Image2", "Image17", true, {"Image22", "Image23", "Image25"}, 1},
      {"Image1", "Image17", false, {"Image22", "Image23", "Image24", "Image25"}, 2},
      {"Image26", "Image11", false, {"Image22", "Image23", "Image24", "Image25"}, 3}},
     "feliz3.swf"},
    {"Suma4", {"Image27", "Image28"},
     {{"Image6", "Image17", true, {}, 0},
      {"Image1", "Image15", true, {}, 0},
      {"Image2", "Image17", false, {}, 0},
      {"Image2", "Image16", true, {"Image28"}, 0},
      {"Image3", "Image8", true, {"Image28"}, 0},
      {"Image4", "Image9", true, {"Image27", "Image28"}, 1},
      {"Image5", "Image15", false, {"Image27", "Image28"}, 2}},
     "feliz4.swf"},
    {"Suma5", {"Image22", "Image24"},
     {{"Image1", "Image19", true, {"Image24"}, 0},
      {"Image2", "Image19", false, {"Image24"}, 0},
      {"Image3", "Image12", true, {"Image24"}, 0},
      {"Image2", "Image12", false, {"Image24"}, 0},
      {"Image2", "Image10", true, {"Image24"}, 0},
      {"Image5", "Image11", true, {"Image22", "Image24"}, 1},
      {"Image4", "Image12", false, {"Image22", "Image24"}, 1},
      {"Image4", "Image19", false, {"Image22", "Image24"}, 1},
      {"Image4", "Image11", false, {"Image22", "Image24"}, 2}},
     "feliz5.swf"},
};

using Suma = ActivityHarness;

} // namespace

TEST_F(Suma, EveryScreenPlaysToItsRewardWithRowsInAnyOrderAndSparePiecesAfterwards)
{
    for (const Play& play : kPlays) {
        SCOPED_TRACE(play.screen);
        open(QString::fromUtf8(play.screen));
        // Only the match screen shows its (empty) reward player from the start.
        EXPECT_EQ(c("ShockwaveFlash1").isVisible(), std::string(play.screen) == "Suma3");
        for (std::size_t i = 0; i < play.drops.size(); ++i) {
            const Drop& d = play.drops[i];
            SCOPED_TRACE(std::string(d.piece) + " on " + d.slot + " (drop " + std::to_string(i + 1) + ")");
            const auto before = c(d.slot).pictureHandle();
            dragOnto(d.piece, d.slot);
            if (d.takes) {
                EXPECT_EQ(c(d.slot).pictureHandle(), c(d.piece).pictureHandle());
                EXPECT_NE(before, c(d.slot).pictureHandle());
                EXPECT_FALSE(shown(d.piece));
            } else {
                EXPECT_EQ(c(d.slot).pictureHandle(), before);
                EXPECT_TRUE(shown(d.piece));
            }
            for (const char* mark : play.marks)
                EXPECT_EQ(shown(mark), d.shown.count(mark) == 1) << mark;
            EXPECT_EQ(rewards(), d.rewards);
        }
        EXPECT_TRUE(rewardPlaying(play.reward));
    }
}

TEST_F(Suma, PlacedPiecesShowAtTheirOwnSizeAtTheSlotsTopLeftExceptOnSuma5)
{
    struct Case {
        const char* screen;
        const char* piece;
        const char* slot;
        QRect after; // twips, in the slot's container
    };
    const Case cases[] = {
        {"Suma1", "Image1", "Image16", {7440, 3360, 480, 480}},
        {"Suma1", "Image2", "Image26", {8520, 5280, 480, 480}},
        {"Suma2", "Image1", "Image22", {8520, 3720, 480, 480}},
        {"Suma4", "Image1", "Image9", {1080, 120, 990, 780}},
        {"Suma4", "Image2", "Image17", {2040, 120, 990, 780}},
        // Stretched slots fill their own rectangle, whatever the piece's shape.
        {"Suma5", "Image1", "Image19", {120, 120, 615, 615}},
        {"Suma5", "Image2", "Image12", {1560, 120, 735, 615}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.screen) + " " + k.slot);
        open(QString::fromUtf8(k.screen));
        dragOnto(k.piece, k.slot);
        EXPECT_EQ(c(k.slot).geometry(), k.after);
        EXPECT_EQ(shell.view().controlAt(shell.view().centreOf(c(k.slot))), &c(k.slot));
    }
}

TEST_F(Suma, PiecesTakeThePointerIconButTheCardTwoOfSuma3KeepsTheArrow)
{
    const std::pair<const char*, const char*> screens[] = {
        {"Suma1", "Image33"}, {"Suma2", "Image38"}, {"Suma3", "Image21"}, {"Suma4", "Image26"}, {"Suma5", "Image26"}};
    for (const auto& [screen, cursor] : screens) {
        SCOPED_TRACE(screen);
        open(QString::fromUtf8(screen));
        int pieces = 0;
        for (screens::Control* piece : shell.currentScreen()->allControls()) {
            if (!piece->dragAutomatic())
                continue;
            ++pieces;
            SCOPED_TRACE(qPrintable(piece->name()));
            EXPECT_EQ(piece->mousePointer(), screens::MousePointer::Custom);
            mouse::move(&shell.view(), shell.view().centreOf(*piece));
            if (piece->name() == QStringLiteral("Image26") && std::string(screen) == "Suma3") {
                EXPECT_EQ(piece->mouseIcon(), nullptr);
                EXPECT_EQ(shell.view().cursor().shape(), Qt::ArrowCursor);
            } else {
                EXPECT_EQ(piece->mouseIcon().get(), c(cursor).picture().get());
                EXPECT_EQ(shell.view().cursor().shape(), Qt::BitmapCursor);
            }
        }
        EXPECT_GT(pieces, 3);
    }
}

TEST(SumaCounts, ScreensHoldTheControlsTheyShould)
{
    expectControlCounts({
        {"Suma1", 36, 3, 0, 0, 0, 6, 7, 3},
        {"Suma2", 41, 3, 0, 0, 0, 11, 12, 3},
        {"Suma3", 26, 3, 3, 0, 0, 4, 5, 5},
        // 29: the screen's pictures are Image1 to Image29, each once. A 30th would be a
        // picture listed twice or one that does not belong to the screen.
        {"Suma4", 29, 3, 0, 2, 0, 6, 7, 3},
        {"Suma5", 27, 3, 0, 2, 0, 5, 5, 3},
    });
}

TEST_F(Journey, FromTheMenuThroughTheAdditionsToTheLastScreen)
{
    shell.start();
    clickOn("Image4");
    clickOn("Image8");
    play({
        {"Suma1",
         {{"Image1", "Image16"}, {"Image2", "Image17"}, {"Image3", "Image24"}, {"Image7", "Image25"}, {"Image8", "Image26"}},
         "Image31"},
        {"Suma2",
         {{"Image1", "Image19"}, {"Image2", "Image20"}, {"Image3", "Image21"}, {"Image4", "Image22"}, {"Image5", "Image30"},
          {"Image6", "Image31"}, {"Image7", "Image32"}, {"Image8", "Image33"}, {"Image9", "Image34"}},
         "Image36"},
        {"Suma3", {{"Image3", "Image11"}, {"Image2", "Image17"}}, "Image19"},
        {"Suma4", {{"Image1", "Image8"}, {"Image2", "Image9"}, {"Image3", "Image15"}, {"Image4", "Image16"}, {"Image5", "Image17"}},
         "Image24"},
        {"Suma5", {{"Image1", "Image10"}, {"Image2", "Image11"}, {"Image3", "Image12"}, {"Image4", "Image19"}}, nullptr},
    });
    // One ladybird is left over; the menu button leads home.
    EXPECT_TRUE(shown("Image5"));
    sayGoodbyeButStay();
    clickOn("Image23");
    EXPECT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
}
