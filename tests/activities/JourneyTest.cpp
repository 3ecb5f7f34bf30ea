#include "Journey.h"

TEST_F(Journey, ThePresentationAndTheMenuPlayTheirMoviesWithSound)
{
    shell.start();
    ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Presentación"));
    expectPlaying("ShockwaveFlash1", "tit1.swf");
    expectPlaying("ShockwaveFlash3", "tit2.swf");
    expectPlaying("ShockwaveFlash2", "tit3.swf");
    expectPlaying("ShockwaveFlash4", "tit5.swf");
    EXPECT_GT(listen(), 300) << "no title music";
    clickOn("Image4");
    ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
    expectPlaying("ShockwaveFlash1", "acuario2.swf");
    EXPECT_GT(listen(), 100) << "no aquarium music";
    sayGoodbyeButStay();
}

TEST_F(Journey, FromThePresentationThroughTheColoursToTheDrawingBoard)
{
    shell.start();
    clickOn("Image4");
    clickOn("Image2");
    play({
        {"Colores1", {{"Image16", "Image13"}, {"Image18", "Image14"}, {"Image17", "Image15"}}, "Image5"},
        {"Colores2", {{"Image12", "Image1"}, {"Image18", "Image2"}, {"Image17", "Image3"}}, "Image16"},
        {"Colores3", {{"Image17", "Image1"}, {"Image18", "Image2"}, {"Image12", "Image3"}}, "Image16"},
        {"Colores4", {{"Image12", "Image1"}, {"Image14", "Image2"}, {"Image13", "Image3"}}, "Image18"},
    });
    ASSERT_EQ(shell.currentScreen()->name(), QStringLiteral("Tablero"));
    expectPlaying("ShockwaveFlash2", "f_romp5.swf");
    EXPECT_GT(listen(), 100) << "background loop not heard";
    sayGoodbyeButStay();
}

TEST_F(Journey, FromTheMenuThroughTheQuantitiesToTheLastScreen)
{
    shell.start();
    clickOn("Image4");
    clickOn("Image7");
    play({
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
    sayGoodbyeButStay();
    clickOn("Image1");
    EXPECT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
}
