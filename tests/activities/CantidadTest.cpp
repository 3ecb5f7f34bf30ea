#include "ActivityHarness.h"

namespace {

struct Row {
    const char* slot;
    const char* piece;
    const char* right;
    const char* wrong;
};

struct ScreenKey {
    const char* screen;
    std::vector<Row> rows;
    std::vector<const char*> distractors;
    const char* reward;
};

const ScreenKey kKeys[] = {
    {"Cantidad1",
     {{"Image13", "Image8", "Image16", "Image17"}, {"Image14", "Image9", "Image18", "Image19"},
      {"Image15", "Image6", "Image20", "Image21"}},
     {"Image5", "Image7"}, "feliz1.swf"},
    {"Cantidad2",
     {{"Image13", "Image5", "Image16", "Image17"}, {"Image14", "Image8", "Image18", "Image19"},
      {"Image15", "Image6", "Image20", "Image21"}},
     {"Image7", "Image9"}, "feliz2.swf"},
    {"Cantidad3",
     {{"Image13", "Image7", "Image16", "Image17"}, {"Image14", "Image8", "Image18", "Image19"},
      {"Image15", "Image5", "Image20", "Image21"}},
     {"Image6", "Image9"}, "feliz3.swf"},
    {"Cantidad4",
     {{"Image13", "Image7", "Image16", "Image17"}, {"Image14", "Image6", "Image18", "Image19"},
      {"Image15", "Image9", "Image20", "Image21"}},
     {"Image5", "Image8"}, "feliz4.swf"},
    {"Cantidad5",
     {{"Image14", "Image8", "Image19", "Image20"}, {"Image15", "Image7", "Image21", "Image22"},
      {"Image16", "Image6", "Image23", "Image24"}, {"Image17", "Image4", "Image25", "Image26"},
      {"Image18", "Image5", "Image27", "Image28"}},
     {}, "feliz5.swf"},
};

using Cantidad = ActivityHarness;

} // namespace

TEST_F(Cantidad, EveryScreenPlaysToItsRewardWithDistractorsAndWrongSlotsOnTheWay)
{
    for (const ScreenKey& key : kKeys) {
        SCOPED_TRACE(key.screen);
        open(QString::fromUtf8(key.screen));
        const std::size_t n = key.rows.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Row& row = key.rows[i];
            // First a distractor, then the right piece of another slot: both sad.
            if (!key.distractors.empty()) {
                dragOnto(key.distractors[i % key.distractors.size()], row.slot);
                EXPECT_TRUE(shown(row.wrong));
                EXPECT_TRUE(shown(key.distractors[i % key.distractors.size()]));
            }
            const Row& other = key.rows[(i + 1) % n];
            if (shown(other.piece)) {
                dragOnto(other.piece, row.slot);
                EXPECT_TRUE(shown(row.wrong));
                EXPECT_TRUE(shown(other.piece));
            }
            EXPECT_EQ(c(row.slot).pictureHandle(), 0u);
            EXPECT_FALSE(c("ShockwaveFlash1").isVisible());
            dragOnto(row.piece, row.slot);
            EXPECT_EQ(c(row.slot).pictureHandle(), c(row.piece).pictureHandle());
            EXPECT_FALSE(shown(row.piece));
            EXPECT_TRUE(shown(row.right));
            EXPECT_FALSE(shown(row.wrong));
            EXPECT_EQ(rewards(), i + 1 == n ? 1 : 0);
        }
        EXPECT_TRUE(rewardPlaying(key.reward));
    }
}

TEST_F(Cantidad, AWrongDropOnAFilledSlotShowsBothFacesAndRestartsTheReward)
{
    open(QStringLiteral("Cantidad1"));
    dragOnto("Image8", "Image13");
    dragOnto("Image7", "Image13");
    EXPECT_TRUE(shown("Image16"));
    EXPECT_TRUE(shown("Image17"));
    EXPECT_EQ(c("Image13").pictureHandle(), c("Image8").pictureHandle());
    dragOnto("Image9", "Image14");
    dragOnto("Image6", "Image15");
    EXPECT_EQ(rewards(), 1);
    // After completion each further drop on a slot sets the reward again.
    dragOnto("Image5", "Image14");
    EXPECT_TRUE(shown("Image19"));
    EXPECT_EQ(rewards(), 2);
    dragOnto("Image7", "Image15");
    EXPECT_EQ(rewards(), 3);
}

TEST_F(Cantidad, ReferenceCardsCanBeDraggedButAreWrongOnEverySlot)
{
    const std::pair<const char*, std::vector<const char*>> screens[] = {
        {"Cantidad2", {"Image12", "Image10", "Image11"}}, {"Cantidad4", {"Image22", "Image11", "Image12"}}};
    for (const auto& [screen, cards] : screens) {
        SCOPED_TRACE(screen);
        open(QString::fromUtf8(screen));
        for (const char* card : cards) {
            EXPECT_TRUE(c(card).dragAutomatic());
            EXPECT_EQ(c(card).mousePointer(), screens::MousePointer::Custom);
            for (const char* slot : {"Image13", "Image14", "Image15"}) {
                dragOnto(card, slot);
                EXPECT_EQ(c(slot).pictureHandle(), 0u);
                EXPECT_TRUE(shown(card));
            }
            // No hover handler: the pointer over a card stays the arrow.
            mouse::move(&shell.view(), shell.view().centreOf(c(card)));
            EXPECT_EQ(c(card).mouseIcon(), nullptr);
            EXPECT_EQ(shell.view().cursor().shape(), Qt::ArrowCursor);
        }
        for (const char* wrong : {"Image17", "Image19", "Image21"})
            EXPECT_TRUE(shown(wrong));
        // The pieces do take the pointer icon on their first movement.
        mouse::move(&shell.view(), shell.view().centreOf(c("Image5")));
        EXPECT_EQ(c("Image5").mouseIcon().get(), c("Image4").picture().get());
        EXPECT_EQ(shell.view().cursor().shape(), Qt::BitmapCursor);
    }
}

TEST_F(Cantidad, TheRightMarkOfTheFirstSlotOfCantidad1AsksToLeave)
{
    open(QStringLiteral("Cantidad1"));
    dragOnto("Image8", "Image13");
    ASSERT_TRUE(shown("Image16"));
    clickOn("Image16");
    EXPECT_EQ(prompts, 1);
    EXPECT_TRUE(c("ShockwaveFlash2").movie().endsWith(QStringLiteral("ADIOS.swf")));
    EXPECT_FALSE(c("ShockwaveFlash2").isVisible());
    // No: everything stays as it was.
    EXPECT_EQ(c("Image13").pictureHandle(), c("Image8").pictureHandle());
    EXPECT_TRUE(shown("Image16"));
    EXPECT_EQ(quits, 0);
    answer = true;
    clickOn("Image16");
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(quits, 1);
    // On the other screens a mark is only a picture.
    open(QStringLiteral("Cantidad3"));
    dragOnto("Image7", "Image13");
    clickOn("Image16");
    EXPECT_EQ(prompts, 2);
}

TEST_F(Cantidad, DropsBesideTheSlotDoNothing)
{
    open(QStringLiteral("Cantidad3"));
    auto& view = shell.view();
    // On the slot panel's margin, outside the slot picture.
    const QRect panel = c("Picture2").screenGeometry();
    const QPoint margin = view.toView(QRect(panel.right() - 40, panel.bottom() - 40, 0, 0)).topLeft().toPoint();
    ASSERT_EQ(view.controlAt(margin), &c("Picture2"));
    mouse::drag(&view, view.centreOf(c("Image7")), margin);
    EXPECT_EQ(c("Image13").pictureHandle(), 0u);
    EXPECT_FALSE(shown("Image17"));
    EXPECT_TRUE(shown("Image7"));
}
