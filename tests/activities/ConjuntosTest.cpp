#include "ControlCounts.h"
#include "Journey.h"

namespace {

// A gathering screen: any piece fills any empty slot of its one group; the group mark and
// the reward come with the piece that fills the last slot.
struct Gathering {
    const char* screen;
    std::vector<const char*> pieces;
    std::vector<const char*> places; // the slots of the group
    const char* mark;
    const char* cursor;
    const char* reward;
};

const Gathering kGatherings[] = {
    {"Conjuntos1", {"Image1", "Image2", "Image3", "Image4", "Image5", "Image6"},
     {"Image7", "Image8", "Image9", "Image10", "Image11", "Image12"}, "Image15", "Image19", "feliz1.swf"},
    {"Conjuntos3", {"Image1", "Image2", "Image3", "Image4", "Image5"},
     {"Image6", "Image7", "Image8", "Image9", "Image10"}, "Image14", "Image18", "feliz3.swf"},
    {"Conjuntos4", {"Image1", "Image2", "Image3", "Image4"}, {"Image5", "Image6", "Image7", "Image8"}, "Image12",
     "Image16", "feliz4.swf"},
};

// One drop on the sorting screen and what shows after it: whether the slot took the piece,
// the smiling and the sad face, and how often the reward has been loaded so far.
struct Sort {
    const char* piece;
    const char* target;
    bool taken;
    bool smile;
    bool sad;
    int rewards;
};

// Keys: Image27, Image28, Image30, Image31, Image33; key slots Image14 to Image18.
// Padlocks: Image24, Image25, Image26, Image29, Image32; padlock slots Image19 to Image23.
const std::vector<Sort> kKeysFirst = {
    {"Image24", "Image14", false, false, true, 0},  // a padlock in the key set
    {"Image27", "Image1", false, false, true, 0},   // on a key drawn in the set: nothing
    {"Image27", "Image34", false, false, true, 0},  // inside the red line, on no slot: nothing
    {"Image27", "Image14", true, true, false, 0},
    {"Image28", "Image19", false, true, true, 0},   // a key in the padlock set: both faces
    {"Image28", "Image14", false, true, true, 0},   // a key on a filled key slot: silently refused
    {"Image25", "Image14", false, true, true, 0},   // a padlock on a filled key slot: sad again
    {"Image28", "Image15", true, true, false, 0},
    {"Image30", "Image16", true, true, false, 0},
    {"Image31", "Image17", true, true, false, 0},
    {"Image33", "Image18", true, true, false, 0},   // five keys sorted: no reward yet
    {"Image24", "Image19", true, true, false, 0},
    {"Image25", "Image20", true, true, false, 0},
    {"Image26", "Image21", true, true, false, 0},
    {"Image29", "Image22", true, true, false, 0},
    {"Image32", "Image23", true, true, false, 1},
};

const std::vector<Sort> kPadlocksFirst = {
    {"Image32", "Image23", true, true, false, 0},
    {"Image31", "Image23", false, true, true, 0},   // a key on a filled padlock slot
    {"Image29", "Image8", false, true, true, 0},    // on a padlock drawn in the set: nothing
    {"Image29", "Image22", true, true, false, 0},
    {"Image26", "Image21", true, true, false, 0},
    {"Image25", "Image20", true, true, false, 0},
    {"Image24", "Image19", true, true, false, 0},
    {"Image33", "Image14", true, true, false, 0},
    {"Image31", "Image15", true, true, false, 0},
    {"Image30", "Image16", true, true, false, 0},
    {"Image28", "Image17", true, true, false, 0},
    {"Image27", "Image18", true, true, false, 1},
};

struct Conjuntos : ActivityHarness {
    // Every piece of a screen takes the pointer icon on its first movement.
    void expectHoverCursor(const std::vector<const char*>& pieces, const char* cursor)
    {
        for (const char* piece : pieces) {
            mouse::move(&shell.view(), shell.view().centreOf(c(piece)));
            EXPECT_EQ(c(piece).mouseIcon().get(), c(cursor).picture().get()) << piece;
        }
    }

    // Drags the piece onto a spot of the target that no other control covers.
    void dropOn(const char* piece, const char* target)
    {
        auto& view = shell.view();
        const QRectF r = view.toView(c(target).screenGeometry());
        for (double y = r.center().y(); y > r.top(); y -= 4)
            for (double x = r.center().x(); x > r.left(); x -= 4)
                if (view.controlAt(QPoint(int(x), int(y))) == &c(target)) {
                    ASSERT_EQ(view.controlAt(view.centreOf(c(piece))), &c(piece)) << piece << " cannot be grabbed";
                    mouse::drag(&view, view.centreOf(c(piece)), QPoint(int(x), int(y)));
                    return;
                }
        FAIL() << target << " is covered everywhere";
    }
};

using ConjuntosJourney = Journey;

} // namespace

TEST_F(Conjuntos, GatheringScreensFillInAnyOrderAndRewardOnlyWithTheLastPiece)
{
    for (const Gathering& g : kGatherings) {
        const std::size_t n = g.places.size();
        for (int order = 0; order < 2; ++order) {
            SCOPED_TRACE(std::string(g.screen) + (order ? " crossed" : " in order"));
            open(QString::fromUtf8(g.screen));
            expectHoverCursor(g.pieces, g.cursor);
            const char* previous = nullptr;
            for (std::size_t i = 0; i < n; ++i) {
                // The crossed order takes the pieces backwards onto the slots from the middle on.
                const char* piece = order ? g.pieces[n - 1 - i] : g.pieces[i];
                const char* slot = order ? g.places[(i + n / 2) % n] : g.places[i];
                if (previous) {
                    // A filled slot refuses: the piece stays, the slot keeps what it holds.
                    const auto held = c(previous).pictureHandle();
                    dragOnto(piece, previous);
                    EXPECT_TRUE(shown(piece));
                    EXPECT_EQ(c(previous).pictureHandle(), held);
                }
                EXPECT_EQ(c(slot).pictureHandle(), 0u);
                dragOnto(piece, slot);
                EXPECT_EQ(c(slot).picture().get(), c(piece).picture().get());
                EXPECT_FALSE(shown(piece));
                const bool last = i + 1 == n;
                EXPECT_EQ(shown(g.mark), last);
                EXPECT_EQ(rewards(), last ? 1 : 0);
                previous = slot;
            }
            EXPECT_TRUE(rewardPlaying(g.reward));
        }
    }
}

TEST_F(Conjuntos, SortingKeysAndPadlocksShowsTheSharedFacesAndRewardsWhenAllTenAreFilled)
{
    for (const auto* script : {&kKeysFirst, &kPadlocksFirst}) {
        SCOPED_TRACE(script == &kKeysFirst ? "keys first" : "padlocks first");
        open(QStringLiteral("Conjuntos2"));
        expectHoverCursor({"Image24", "Image27", "Image33"}, "Image41");
        for (const Sort& step : *script) {
            SCOPED_TRACE(std::string(step.piece) + " on " + step.target);
            screens::Control& target = c(step.target);
            const auto before = target.pictureHandle();
            dropOn(step.piece, step.target);
            EXPECT_EQ(shown(step.piece), !step.taken);
            if (step.taken)
                EXPECT_EQ(target.picture().get(), c(step.piece).picture().get());
            else
                EXPECT_EQ(target.pictureHandle(), before);
            EXPECT_EQ(shown("Image37"), step.smile);
            EXPECT_EQ(shown("Image36"), step.sad);
            EXPECT_EQ(rewards(), step.rewards);
        }
        EXPECT_TRUE(rewardPlaying("feliz2.swf"));
    }
}

TEST_F(Conjuntos, TheFishKeepTheirOwnSizeInTheBucket)
{
    open(QStringLiteral("Conjuntos4"));
    const QRect bucket = c("Image10").geometry();
    const std::pair<const char*, const char*> drops[] = {
        {"Image4", "Image5"}, {"Image3", "Image6"}, {"Image2", "Image7"}, {"Image1", "Image8"}};
    for (const auto& [fish, slot] : drops) {
        const QPoint corner = c(slot).geometry().topLeft();
        dragOnto(fish, slot);
        // An unstretched slot takes the fish at its own size, from the slot's corner.
        EXPECT_EQ(c(slot).geometry(), QRect(corner, c(fish).geometry().size())) << slot;
        EXPECT_TRUE(bucket.contains(c(slot).geometry())) << slot;
    }
    EXPECT_TRUE(shown("Image12"));
    EXPECT_TRUE(rewardPlaying("feliz4.swf"));
}

TEST(ConjuntosCounts, SetScreensHoldTheControlsTheyShould)
{
    expectControlCounts({
        {"Conjuntos1", 19, 3, 0, 0, 0, 6, 7, 2},
        {"Conjuntos2", 42, 3, 0, 0, 0, 10, 11, 3},
        {"Conjuntos3", 18, 3, 0, 1, 0, 5, 6, 2},
        {"Conjuntos4", 16, 3, 0, 0, 0, 4, 5, 2},
    });
}

TEST_F(ConjuntosJourney, FromTheMenuThroughTheSetsToTheDrawingBoard)
{
    shell.start();
    clickOn("Image4");
    ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
    clickOn("Image6");
    play({
        {"Conjuntos1",
         {{"Image3", "Image12"}, {"Image1", "Image7"}, {"Image5", "Image10"}, {"Image4", "Image8"}, {"Image6", "Image11"},
          {"Image2", "Image9"}},
         "Image17"},
        {"Conjuntos2",
         {{"Image25", "Image19"}, {"Image30", "Image14"}, {"Image33", "Image15"}, {"Image24", "Image20"},
          {"Image28", "Image16"}, {"Image27", "Image17"}, {"Image26", "Image21"}, {"Image31", "Image18"},
          {"Image32", "Image22"}, {"Image29", "Image23"}},
         "Image39"},
        {"Conjuntos3", {{"Image3", "Image10"}, {"Image5", "Image6"}, {"Image2", "Image8"}, {"Image1", "Image7"}, {"Image4", "Image9"}},
         "Image16"},
        {"Conjuntos4", {{"Image3", "Image8"}, {"Image2", "Image5"}, {"Image4", "Image7"}, {"Image1", "Image6"}}, "Image14"},
    });
    ASSERT_EQ(shell.currentScreen()->name(), QStringLiteral("Tablero"));
    expectPlaying("ShockwaveFlash2", "f_romp5.swf");
    EXPECT_GT(listen(), 100) << "background loop not heard";
    sayGoodbyeButStay();
}
