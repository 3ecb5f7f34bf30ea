#include "Activity.h"
#include "Screen.h"
#include "ScreenDescription.h"

#include <gtest/gtest.h>

using namespace screens;
using namespace engine;

namespace {

class FakeServices : public Services {
public:
    void switchTo(const QString&) override {}
    void confirmExit(Screen&, Control&) override {}
    QString moviePath(const QString& stored) const override { return QStringLiteral("/app") + stored; }
};

// Records every visibility change, in order, as "+Name" or "-Name".
class VisibilityLog : public ScreenObserver {
public:
    explicit VisibilityLog(Screen& screen)
    {
        for (Control* c : screen.allControls())
            m_visible[c] = c->isVisible();
        screen.setObserver(this);
    }
    void controlChanged(Control& c) override
    {
        if (m_visible[&c] != c.isVisible())
            changes << (c.isVisible() ? QStringLiteral("+") : QStringLiteral("-")) + c.name();
        m_visible[&c] = c.isVisible();
    }
    void movieLoaded(Control&) override {}
    QStringList changes;

private:
    std::map<Control*, bool> m_visible;
};

const char* kMark = R"("picture":"assets/pictures/marks/right.svg","visible":false)";
const char* kPiece = R"("picture":"assets/pictures/nav/next.svg","dragMode":"Automatic","mousePointer":99)";

QByteArray img(const char* name, const char* extra)
{
    return QByteArray("{\"name\":\"") + name + "\",\"kind\":\"Image\",\"rect\":[0,0,480,480]," + extra + "}";
}

struct EngineFixture {
    FakeServices services;
    std::optional<ScreenDescription> description;
    std::unique_ptr<Screen> screen;

    void build(const QByteArray& controls, const QByteArray& activity)
    {
        const QByteArray json = "{\"name\":\"Prueba\",\"clientSize\":[10380,7125],\"controls\":[" + controls +
                                R"(,{"name":"ShockwaveFlash1","kind":"ShockwaveFlash","rect":[0,0,2000,2000],"visible":false}],)"
                                R"("reward":{"player":"ShockwaveFlash1","movie":"\\feliz1.swf"},"activity":)" + activity + "}";
        auto parsed = ScreenDescription::parse(json, QStringLiteral("prueba.json"));
        ASSERT_TRUE(parsed) << qPrintable(parsed.error());
        description = parsed.value();
        ActivityBehaviour behaviour;
        screen = description->instantiate();
        behaviour.attach(*screen, *description, services);
    }

    Control& c(const char* name) { return *screen->control(QString::fromLatin1(name)); }
    void drop(const char* piece, const char* slot) { screen->dragDrop(&c(slot), c(piece), 0, 0); }
    int rewards() { return c("ShockwaveFlash1").movieLoads(); }
};

// Two slots under the match rule, each with its own right mark and one shared wrong mark,
// and a spare piece that fits no slot.
struct MatchFixture : ::testing::Test, EngineFixture {
    void SetUp() override
    {
        build(img("Image1", "\"stretch\":true") + "," + img("Image2", "\"stretch\":true") + "," +
                  img("Image3", kMark) + "," + img("Image4", kMark) + "," + img("Image5", kMark) + "," +
                  img("Image6", kPiece) + "," + img("Image7", kPiece) + "," + img("Image8", kPiece) + "," +
                  img("Image9", R"("picture":"assets/pictures/cursors/pencil.svg","visible":false)"),
              R"({"cursor":"Image9","hover":["Image6","Image7","Image8"],
                  "slots":[{"slot":"Image1","rule":"match","right":"Image6","rightMark":"Image3","wrongMark":"Image5"},
                           {"slot":"Image2","rule":"match","right":"Image7","rightMark":"Image4","wrongMark":"Image5"}],
                  "completion":{"pairs":[["Image1","Image6"],["Image2","Image7"]]}})");
    }
};

} // namespace

TEST_F(MatchFixture, AWrongDropShowsTheWrongMarkAndChangesNothingElse)
{
    VisibilityLog log(*screen);
    drop("Image7", "Image1"); // the right piece of the other slot
    EXPECT_EQ(log.changes, QStringList{"+Image5"});
    EXPECT_EQ(c("Image1").pictureHandle(), 0u);
    EXPECT_TRUE(c("Image7").isVisible());
    drop("Image7", "Image2");
    EXPECT_EQ(c("Image2").pictureHandle(), c("Image7").pictureHandle());
}

TEST_F(MatchFixture, ARightDropSharesThePictureThenHidesThePieceShowsTheRightMarkHidesTheWrong)
{
    drop("Image8", "Image1");
    VisibilityLog log(*screen);
    drop("Image6", "Image1");
    EXPECT_EQ(log.changes, (QStringList{"-Image6", "+Image3", "-Image5"}));
    EXPECT_EQ(c("Image1").picture().get(), c("Image6").picture().get());
    // A wrong drop on a solved slot shows the wrong mark beside the right one.
    drop("Image8", "Image1");
    EXPECT_TRUE(c("Image5").isVisible());
    EXPECT_TRUE(c("Image3").isVisible());
    EXPECT_EQ(c("Image1").pictureHandle(), c("Image6").pictureHandle());
}

TEST_F(MatchFixture, ALookAlikePictureIsNotTheRightPiece)
{
    c("Image8").setPicture(Picture::fromFile(c("Image6").picture()->source()));
    drop("Image8", "Image1");
    EXPECT_EQ(c("Image1").pictureHandle(), 0u);
    EXPECT_TRUE(c("Image5").isVisible());
}

TEST_F(MatchFixture, TheRewardPlaysWhenEveryPairMatchesAndRestartsOnEveryLaterPassingCheck)
{
    drop("Image6", "Image1");
    EXPECT_FALSE(c("ShockwaveFlash1").isVisible());
    EXPECT_EQ(rewards(), 0);
    drop("Image7", "Image2");
    EXPECT_TRUE(c("ShockwaveFlash1").isVisible());
    EXPECT_EQ(c("ShockwaveFlash1").movie(), QStringLiteral("/app\\feliz1.swf"));
    EXPECT_EQ(rewards(), 1);
    // The spare piece dropped afterwards: a wrong drop, and the reward starts again.
    drop("Image8", "Image2");
    EXPECT_EQ(rewards(), 2);
    // Drops elsewhere than on a slot do nothing.
    screen->dragDrop(&c("Image3"), c("Image8"), 0, 0);
    screen->dragDrop(nullptr, c("Image8"), 0, 0);
    EXPECT_EQ(rewards(), 2);
}

TEST_F(MatchFixture, HoveringAPieceGivesItTheCursorPicture)
{
    EXPECT_EQ(c("Image6").mouseIcon(), nullptr);
    screen->mouseMove(c("Image6"), MouseArgs{});
    EXPECT_EQ(handleOf(c("Image6").mouseIcon()), c("Image9").pictureHandle());
    EXPECT_EQ(c("Image7").mouseIcon(), nullptr);
}

namespace {

// One slot whose answer is a separate hidden picture, as on the colouring screens.
struct SeparateAnswer : ::testing::Test, EngineFixture {
    void SetUp() override
    {
        build(img("Image1", "\"stretch\":true") + "," + img("Image4", R"("picture":"assets/pictures/nav/menu.svg","visible":false)") +
                  "," + img("Image10", kMark) + "," + img("Image11", kMark) + "," + img("Image12", kPiece),
              R"({"slots":[{"slot":"Image1","rule":"match","right":"Image12","answer":"Image4","rightMark":"Image11","wrongMark":"Image10"}],
                  "completion":{"pairs":[["Image1","Image4"]]}})");
    }
};

} // namespace

TEST_F(SeparateAnswer, TheSlotTakesTheAnswerPictureNotThePiece)
{
    drop("Image12", "Image1");
    EXPECT_EQ(c("Image1").picture().get(), c("Image4").picture().get());
    EXPECT_NE(c("Image1").pictureHandle(), c("Image12").pictureHandle());
    EXPECT_TRUE(c("Image4").isVisible());
    EXPECT_FALSE(c("Image12").isVisible());
    EXPECT_EQ(rewards(), 1);
}

TEST_F(SeparateAnswer, VisibilityChangesRunInOrder)
{
    auto& f = *this;
    VisibilityLog log(*f.screen);
    f.drop("Image12", "Image1");
    EXPECT_EQ(log.changes, (QStringList{"+Image4", "-Image12", "+Image11", "+ShockwaveFlash1"}));
}

namespace {

// Fill slots in two groups: 2 + 1 slots, with a kind check on the first group.
struct FillFixture : ::testing::Test, EngineFixture {
    void SetUp() override
    {
        build(img("Image1", "\"stretch\":true") + "," + img("Image2", "\"stretch\":true") + "," +
                  img("Image3", "\"stretch\":true") + "," + img("Image20", kMark) + "," + img("Image21", kMark) + "," +
                  img("Image22", kMark) + "," + img("Image5", kPiece) + "," + img("Image6", kPiece) + "," +
                  img("Image7", kPiece) + "," + img("Image8", kPiece) + "," +
                  img("Image9", R"("picture":"assets/pictures/menu/salir.svg","dragMode":"Automatic")"),
              R"({"slots":[{"slot":"Image1","rule":"fill","group":0,"hide":["Image22"]},
                           {"slot":"Image2","rule":"fill","group":0,"acceptedOnly":true},
                           {"slot":"Image3","rule":"fill","group":1,"acceptedOnly":true,"showsGroupMark":true}],
                  "completion":{"groups":[{"slots":["Image1","Image2"],"mark":"Image20","refuse":["Image9"],"wrongMark":"Image22"},
                                          {"slots":["Image3"],"mark":"Image21"}]}})");
    }
};

} // namespace

TEST_F(FillFixture, AnEmptySlotTakesAnyPieceAndAFilledOneRefusesQuietly)
{
    drop("Image5", "Image1");
    EXPECT_EQ(c("Image1").picture().get(), c("Image5").picture().get());
    EXPECT_FALSE(c("Image5").isVisible());
    VisibilityLog log(*screen);
    drop("Image6", "Image1");
    EXPECT_TRUE(log.changes.isEmpty());
    EXPECT_TRUE(c("Image6").isVisible());
    EXPECT_EQ(c("Image1").pictureHandle(), c("Image5").pictureHandle());
}

TEST_F(FillFixture, TheKindCheckRefusesListedPiecesWithTheGroupsWrongMark)
{
    drop("Image9", "Image1");
    EXPECT_TRUE(c("Image22").isVisible());
    EXPECT_EQ(c("Image1").pictureHandle(), 0u);
    EXPECT_TRUE(c("Image9").isVisible());
    // An accepted piece of the group hides it again.
    drop("Image5", "Image1");
    EXPECT_FALSE(c("Image22").isVisible());
    // The kind check applies only to the group that lists it.
    drop("Image9", "Image3");
    EXPECT_EQ(c("Image3").pictureHandle(), c("Image9").pictureHandle());
}

TEST_F(FillFixture, GroupMarksShowWhenTheirGroupIsFullAndTheRewardWhenAllShow)
{
    drop("Image5", "Image1");
    EXPECT_FALSE(c("Image20").isVisible());
    drop("Image6", "Image3"); // single-slot group: its mark shows directly
    EXPECT_TRUE(c("Image21").isVisible());
    EXPECT_EQ(rewards(), 0);
    drop("Image7", "Image2");
    EXPECT_TRUE(c("Image20").isVisible());
    EXPECT_EQ(rewards(), 1);
    // A refused drop on an every-drop slot restarts the reward; on an accepted-only slot it
    // ends the handler without the check.
    drop("Image8", "Image1");
    EXPECT_EQ(rewards(), 2);
    drop("Image8", "Image2");
    drop("Image8", "Image3");
    EXPECT_EQ(rewards(), 2);
    EXPECT_TRUE(c("Image8").isVisible());
}

TEST(EngineFilled, AllSlotsFilledAgainstABlankPictureControl)
{
    EngineFixture f;
    f.build(img("Image1", "\"stretch\":true") + "," + img("Image2", "\"stretch\":true") + "," +
                img("Image40", "\"stretch\":true") + "," + img("Image30", kMark) + "," + img("Image31", kMark) + "," +
                img("Image5", kPiece) + "," + img("Image6", kPiece) + "," +
                img("Image7", R"("picture":"assets/pictures/menu/salir.svg","dragMode":"Automatic")"),
            R"({"refuse":["Image7"],
                "slots":[{"slot":"Image1","rule":"fill","wrongMark":"Image30","hide":["Image30"],"show":["Image31"]},
                         {"slot":"Image2","rule":"fill","wrongMark":"Image30","hide":["Image30"],"show":["Image31"]}],
                "completion":{"filled":["Image1","Image2"],"empty":"Image40"}})");
    f.drop("Image7", "Image2");
    EXPECT_TRUE(f.c("Image30").isVisible());
    EXPECT_FALSE(f.c("Image31").isVisible());
    f.drop("Image5", "Image1");
    EXPECT_FALSE(f.c("Image30").isVisible());
    EXPECT_TRUE(f.c("Image31").isVisible());
    EXPECT_EQ(f.rewards(), 0);
    f.drop("Image6", "Image2");
    EXPECT_EQ(f.rewards(), 1);
}
