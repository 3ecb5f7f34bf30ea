#include "ActivityHarness.h"
#include "ControlCounts.h"
#include "Journey.h"

#include <algorithm>

namespace {

// One slot of a match screen: its right piece and its own pair of faces.
struct Row {
    const char* slot;
    const char* piece;
    const char* right;
    const char* wrong;
};

struct MatchScreen {
    const char* screen;
    const char* cursor;
    std::vector<Row> rows;
    const char* reward;
};

const MatchScreen kMatchScreens[] = {
    {"Pertenencia1", "Image29",
     {{"Image11", "Image1", "Image17", "Image16"}, {"Image12", "Image3", "Image19", "Image18"},
      {"Image13", "Image5", "Image21", "Image20"}, {"Image14", "Image2", "Image23", "Image22"},
      {"Image15", "Image4", "Image25", "Image24"}},
     "feliz1.swf"},
    {"Pertenencia2", "Image26",
     {{"Picture1", "Image3", "Image17", "Image16"}, {"Picture2", "Image2", "Image19", "Image18"},
      {"Picture3", "Image1", "Image21", "Image20"}},
     "feliz1.swf"},
    {"Pertenencia4", "Image19",
     {{"Image6", "Image3", "Image11", "Image10"}, {"Image5", "Image2", "Image13", "Image12"},
      {"Image4", "Image1", "Image15", "Image14"}},
     "feliz1.swf"},
};

// The vowel and numeral sets: cells, and the pieces that belong in them.
const char* const kVowelCells[] = {"Image2", "Image3", "Image4", "Image5"};
const char* const kNumeralCells[] = {"Image6", "Image7", "Image8", "Image10"};
const char* const kVowels[] = {"Image13", "Image11", "Image16", "Image18"};   // a, i, o, u
const char* const kNumerals[] = {"Image17", "Image15", "Image14", "Image12"}; // 1, 2, 3, 5

// A drop on the sets screen and what the child sees afterwards.
struct SortDrop {
    const char* piece;
    const char* target;
    bool accepted;
    bool sad;
    bool smiling;
};

using Pertenencia = ActivityHarness;

} // namespace

TEST_F(Pertenencia, EveryMatchScreenPlaysToItsRewardWithWrongSlotsOnTheWay)
{
    for (const MatchScreen& key : kMatchScreens) {
        SCOPED_TRACE(key.screen);
        open(QString::fromUtf8(key.screen));
        // The pieces take the screen's pointer icon on their first movement.
        mouse::move(&shell.view(), shell.view().centreOf(c(key.rows[0].piece)));
        EXPECT_EQ(c(key.rows[0].piece).mouseIcon().get(), c(key.cursor).picture().get());
        const std::size_t n = key.rows.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Row& row = key.rows[i];
            const Row& other = key.rows[(i + 1) % n];
            if (shown(other.piece)) {
                dragOnto(other.piece, row.slot);
                EXPECT_TRUE(shown(row.wrong));
                EXPECT_FALSE(shown(other.wrong));
                EXPECT_TRUE(shown(other.piece));
                EXPECT_EQ(c(row.slot).pictureHandle(), 0u);
            }
            dragOnto(row.piece, row.slot);
            EXPECT_EQ(c(row.slot).picture().get(), c(row.piece).picture().get());
            EXPECT_FALSE(shown(row.piece));
            EXPECT_TRUE(shown(row.right));
            EXPECT_FALSE(shown(row.wrong));
            EXPECT_EQ(rewards(), i + 1 == n ? 1 : 0);
        }
        EXPECT_TRUE(rewardPlaying(key.reward));
    }
}

TEST_F(Pertenencia, TheUmbrellaIsSadUnderTheCarAndShrinksTheCloudSlotToItsIcon)
{
    open(QStringLiteral("Pertenencia1"));
    auto& view = shell.view();
    dragOnto("Image2", "Image11");
    EXPECT_TRUE(shown("Image16"));
    EXPECT_TRUE(shown("Image2"));
    EXPECT_EQ(c("Image11").geometry(), QRect(120, 120, 855, 615));

    // Inside the empty slot's rectangle, but outside a 32 x 32 icon placed at its corner.
    const QRect panel = c("Picture4").screenGeometry();
    const QPoint beyondIcon = view.toView(QRect(panel.left() + 30 + 650, panel.top() + 30 + 540, 0, 0)).topLeft().toPoint();
    ASSERT_EQ(view.controlAt(beyondIcon), &c("Image14"));
    dragOnto("Image2", "Image14");
    EXPECT_EQ(c("Image14").geometry(), QRect(120, 120, 480, 480));
    EXPECT_EQ(view.controlAt(beyondIcon), &c("Picture4"));
    EXPECT_TRUE(shown("Image23"));
    EXPECT_FALSE(shown("Image22"));
    EXPECT_FALSE(shown("Image2"));
    // The car's sad face is its own and stays.
    EXPECT_TRUE(shown("Image16"));
}

TEST_F(Pertenencia, OnlyTheColouredPanelsTakeDropsAndShowTheIconAtItsOwnSize)
{
    open(QStringLiteral("Pertenencia2"));
    auto& view = shell.view();
    // Members, question marks and the frames' own background.
    for (const char* target : {"Image4", "Image5", "Image6", "Image13", "Image7", "Image14", "Image12", "Image15"})
        dragOnto("Image3", target);
    for (const char* frame : {"Frame1", "Frame2", "Frame3"}) {
        const QRect f = c(frame).screenGeometry();
        const QPoint corner = view.toView(QRect(f.right() - 60, f.bottom() - 60, 0, 0)).topLeft().toPoint();
        ASSERT_EQ(view.controlAt(corner), &c(frame));
        mouse::drag(&view, view.centreOf(c("Image1")), corner);
    }
    for (const char* mark : {"Image16", "Image17", "Image18", "Image19", "Image20", "Image21"})
        EXPECT_FALSE(shown(mark)) << mark;
    for (const char* slot : {"Picture1", "Picture2", "Picture3"})
        EXPECT_EQ(c(slot).pictureHandle(), 0u) << slot;
    EXPECT_TRUE(shown("Image3"));
    EXPECT_TRUE(shown("Image1"));

    dragOnto("Image3", "Picture1");
    EXPECT_EQ(c("Picture1").geometry(), QRect(1080, 960, 615, 615));
    // The dog sits in the panel's top left corner; the rest of the panel keeps its colour.
    const QImage screen = view.grab().toImage();
    const qreal dpr = view.devicePixelRatioF();
    const QRectF client = view.toView(c("Picture1").screenGeometry().adjusted(30, 30, -30, -30));
    const QColor panelColour(0xFF, 0x80, 0xFF);
    EXPECT_NE(screen.pixelColor((client.topLeft() + QPointF(16, 16) * view.scale()).toPoint() * dpr), panelColour);
    EXPECT_EQ(screen.pixelColor((client.bottomRight() - QPointF(2, 2)).toPoint() * dpr), panelColour);
}

TEST_F(Pertenencia, TheSetsSortVowelsFromNumeralsAndRefuseTheOtherKindFirst)
{
    const SortDrop drops[] = {
        {"Image17", "Image2", false, true, false},  // 1 on an empty vowel cell
        {"Image13", "Image6", false, true, false},  // a on an empty numeral cell
        {"Image13", "Image4", true, false, true},   // the next accepted drop hides the sad face
        {"Image11", "Image4", false, false, true},  // i on a filled vowel cell: nothing at all
        {"Image17", "Image1", false, false, true},  // the given e and 4 take no drops, not even
        {"Image11", "Image9", false, false, true},  // of the other kind
        {"Image12", "Image4", false, true, true},   // 5 on a filled vowel cell: the kind check comes first
        {"Image15", "Image10", true, false, true},
        {"Image14", "Image10", false, false, true}, // 3 on a filled numeral cell: nothing
        {"Image16", "Image10", false, true, true},  // o on a filled numeral cell
        {"Image18", "Image2", true, false, true},
    };
    open(QStringLiteral("Pertenencia3"));
    for (const SortDrop& d : drops) {
        SCOPED_TRACE(std::string(d.piece) + " on " + d.target);
        const auto before = c(d.target).pictureHandle();
        dragOnto(d.piece, d.target);
        EXPECT_EQ(c(d.target).pictureHandle(), d.accepted ? c(d.piece).pictureHandle() : before);
        EXPECT_EQ(shown(d.piece), !d.accepted);
        EXPECT_EQ(shown("Image19"), d.sad);
        EXPECT_EQ(shown("Image20"), d.smiling);
    }
    EXPECT_EQ(rewards(), 0);
}

TEST_F(Pertenencia, TheSetsRewardTheEighthCellWhicheverItIs)
{
    for (int last = 0; last < 8; ++last) {
        SCOPED_TRACE(last);
        open(QStringLiteral("Pertenencia3"));
        // Each round puts the pieces in other cells of their set, in another order.
        std::vector<std::pair<const char*, const char*>> plan;
        for (int i = 0; i < 4; ++i) {
            plan.emplace_back(kVowels[(i + last) % 4], kVowelCells[i]);
            plan.emplace_back(kNumerals[(i + last) % 4], kNumeralCells[i]);
        }
        std::rotate(plan.begin(), plan.begin() + last + 1, plan.end());
        for (const auto& [piece, cell] : plan) {
            EXPECT_EQ(rewards(), 0);
            dragOnto(piece, cell);
        }
        EXPECT_EQ(rewards(), 1);
        EXPECT_TRUE(rewardPlaying("feliz3.swf"));
        for (const char* piece : kVowels)
            EXPECT_FALSE(shown(piece));
        for (const char* piece : kNumerals)
            EXPECT_FALSE(shown(piece));
    }
}

TEST(PertenenciaCounts, TheSetScreensHoldTheControlsTheyShould)
{
    expectControlCounts({
        {"Pertenencia1", 30, 3, 5, 0, 0, 5, 6, 11},
        {"Pertenencia2", 26, 3, 3, 3, 0, 3, 4, 7},
        {"Pertenencia3", 25, 3, 12, 0, 0, 8, 9, 3},
        {"Pertenencia4", 19, 3, 0, 0, 0, 3, 4, 7},
    });
}

TEST_F(Journey, FromTheMenuThroughTheSetsToTheDrawingBoard)
{
    shell.start();
    clickOn("Image4");
    clickOn("Image5");
    play({
        {"Pertenencia1",
         {{"Image1", "Image11"}, {"Image3", "Image12"}, {"Image5", "Image13"}, {"Image2", "Image14"}, {"Image4", "Image15"}},
         "Image27"},
        {"Pertenencia2", {{"Image3", "Picture1"}, {"Image2", "Picture2"}, {"Image1", "Picture3"}}, "Image24", "feliz1.swf"},
        {"Pertenencia3",
         {{"Image13", "Image2"}, {"Image11", "Image3"}, {"Image16", "Image4"}, {"Image18", "Image5"},
          {"Image17", "Image6"}, {"Image15", "Image7"}, {"Image14", "Image8"}, {"Image12", "Image10"}},
         "Image22"},
        {"Pertenencia4", {{"Image3", "Image6"}, {"Image2", "Image5"}, {"Image1", "Image4"}}, "Image17", "feliz1.swf"},
    });
    ASSERT_EQ(shell.currentScreen()->name(), QStringLiteral("Tablero"));
    expectPlaying("ShockwaveFlash2", "f_romp5.swf");
    sayGoodbyeButStay();
}
