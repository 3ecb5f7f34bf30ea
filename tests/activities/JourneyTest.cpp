#include "ActivityHarness.h"

// A child's way through a family, started as a new user would: the program opens on the
// presentation, the menu picture opens the family, each screen is played to its reward and
// the next button leads on.
namespace {

struct Step {
    const char* screen;
    std::vector<std::pair<const char*, const char*>> drops; // piece, slot
    const char* next;                                       // null on the last screen
};

using Journey = ActivityHarness;

void play(Journey& j, const std::vector<Step>& steps)
{
    for (const Step& step : steps) {
        SCOPED_TRACE(step.screen);
        ASSERT_EQ(j.shell.currentScreen()->name(), QString::fromUtf8(step.screen));
        for (const auto& [piece, slot] : step.drops)
            j.dragOnto(piece, slot);
        EXPECT_TRUE(j.c("ShockwaveFlash1").isVisible());
        EXPECT_EQ(j.rewards(), 1);
        if (step.next)
            j.clickOn(step.next);
    }
}

} // namespace

TEST_F(Journey, FromThePresentationThroughTheColoursToTheDrawingBoard)
{
    shell.start();
    clickOn("Image4");
    clickOn("Image2");
    play(*this, {
        {"Colores1", {{"Image16", "Image13"}, {"Image18", "Image14"}, {"Image17", "Image15"}}, "Image5"},
        {"Colores2", {{"Image12", "Image1"}, {"Image18", "Image2"}, {"Image17", "Image3"}}, "Image16"},
        {"Colores3", {{"Image17", "Image1"}, {"Image18", "Image2"}, {"Image12", "Image3"}}, "Image16"},
        {"Colores4", {{"Image12", "Image1"}, {"Image14", "Image2"}, {"Image13", "Image3"}}, "Image18"},
    });
    EXPECT_EQ(shell.currentScreen()->name(), QStringLiteral("Tablero"));
}

TEST_F(Journey, FromTheMenuThroughTheQuantitiesToTheLastScreen)
{
    shell.start();
    clickOn("Image4");
    clickOn("Image7");
    play(*this, {
        {"Cantidad1", {{"Image8", "Image13"}, {"Image9", "Image14"}, {"Image6", "Image15"}}, "Image2"},
        {"Cantidad2", {{"Image5", "Image13"}, {"Image8", "Image14"}, {"Image6", "Image15"}}, "Image2"},
        {"Cantidad3", {{"Image7", "Image13"}, {"Image8", "Image14"}, {"Image5", "Image15"}}, "Image2"},
        {"Cantidad4", {{"Image7", "Image13"}, {"Image6", "Image14"}, {"Image9", "Image15"}}, "Image2"},
        {"Cantidad5",
         {{"Image8", "Image14"}, {"Image7", "Image15"}, {"Image6", "Image16"}, {"Image4", "Image17"}, {"Image5", "Image18"}},
         nullptr},
    });
    // Nothing left to drag on the last screen; the menu button leads home.
    for (const char* piece : {"Image4", "Image5", "Image6", "Image7", "Image8"})
        EXPECT_FALSE(shown(piece));
    clickOn("Image1");
    EXPECT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
}
