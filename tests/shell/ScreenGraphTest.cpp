#include "Mouse.h"
#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace screens;

namespace {

// The navigation buttons of every activity screen and the drawing board, as the program
// must offer them: menu button, next button and where it leads, exit button and the player
// that receives the goodbye movie.
struct Row {
    const char* screen;
    const char* menu;
    const char* next;
    const char* nextScreen;
    const char* exit;
    const char* goodbye;
};

const Row kGraph[] = {
    {"Colores1", "Image4", "Image5", "Colores2", "Image6", "ShockwaveFlash2"},
    {"Colores2", "Image9", "Image16", "Colores3", "Image19", "ShockwaveFlash2"},
    {"Colores3", "Image9", "Image16", "Colores4", "Image19", "ShockwaveFlash2"},
    {"Colores4", "Image17", "Image18", "Tablero", "Image19", "ShockwaveFlash2"},
    {"Tamaños1", "Image14", "Image15", "Tamaños2", "Image16", "ShockwaveFlash2"},
    {"Tamaños2", "Image14", "Image15", "Tamaños3", "Image16", "ShockwaveFlash2"},
    {"Tamaños3", "Image17", "Image18", "Tamaños4", "Image19", "ShockwaveFlash2"},
    {"Tamaños4", "Image14", "Image15", "Tablero", "Image16", "ShockwaveFlash2"},
    {"Cuantificadores1", "Image1", "Image2", "Cuantificadores2", "Image3", "ShockwaveFlash2"},
    {"Cuantificadores2", "Image1", "Image2", "Cuantificadores3", "Image3", "ShockwaveFlash2"},
    {"Cuantificadores3", "Image1", "Image2", "Cuantificadores4", "Image3", "ShockwaveFlash2"},
    {"Cuantificadores4", "Image1", "Image2", "Tablero", "Image3", "ShockwaveFlash2"},
    {"Pertenencia1", "Image26", "Image27", "Pertenencia2", "Image28", "ShockwaveFlash2"},
    {"Pertenencia2", "Image23", "Image24", "Pertenencia3", "Image25", "ShockwaveFlash2"},
    {"Pertenencia3", "Image21", "Image22", "Pertenencia4", "Image23", "ShockwaveFlash2"},
    {"Pertenencia4", "Image16", "Image17", "Tablero", "Image18", "ShockwaveFlash2"},
    {"Conjuntos1", "Image16", "Image17", "Conjuntos2", "Image18", "ShockwaveFlash2"},
    {"Conjuntos2", "Image38", "Image39", "Conjuntos3", "Image40", "ShockwaveFlash2"},
    {"Conjuntos3", "Image15", "Image16", "Conjuntos4", "Image17", "ShockwaveFlash2"},
    {"Conjuntos4", "Image13", "Image14", "Tablero", "Image15", "ShockwaveFlash2"},
    {"Cantidad1", "Image1", "Image2", "Cantidad2", "Image3", "ShockwaveFlash2"},
    {"Cantidad2", "Image1", "Image2", "Cantidad3", "Image3", "ShockwaveFlash2"},
    {"Cantidad3", "Image1", "Image2", "Cantidad4", "Image3", "ShockwaveFlash2"},
    {"Cantidad4", "Image1", "Image2", "Cantidad5", "Image3", "ShockwaveFlash2"},
    {"Cantidad5", "Image1", nullptr, nullptr, "Image2", "ShockwaveFlash2"},
    {"Suma1", "Image30", "Image31", "Suma2", "Image32", "ShockwaveFlash2"},
    {"Suma2", "Image35", "Image36", "Suma3", "Image37", "ShockwaveFlash2"},
    {"Suma3", "Image18", "Image19", "Suma4", "Image20", "ShockwaveFlash2"},
    {"Suma4", "Image23", "Image24", "Suma5", "Image25", "ShockwaveFlash2"},
    {"Suma5", "Image23", nullptr, nullptr, "Image25", "ShockwaveFlash2"},
    {"Resta1", "Image35", "Image36", "Resta2", "Image37", "ShockwaveFlash2"},
    {"Resta2", "Image36", "Image37", "Resta3", "Image38", "ShockwaveFlash2"},
    {"Resta3", "Image39", "Image40", "Resta4", "Image41", "ShockwaveFlash2"},
    {"Resta4", "Image36", "Image37", "Resta5", "Image38", "ShockwaveFlash2"},
    {"Resta5", "Image30", nullptr, nullptr, "Image31", "ShockwaveFlash2"},
    {"Rompecabezas1", "Image15", "Image16", "Rompecabezas2", "Image17", "ShockwaveFlash2"},
    {"Rompecabezas2", "Image23", "Image24", "Rompecabezas3", "Image25", "ShockwaveFlash2"},
    {"Rompecabezas3", "Image35", "Image36", "Rompecabezas4", "Image37", "ShockwaveFlash2"},
    {"Rompecabezas4", "Image45", "Image46", "Rompecabezas5", "Image47", "ShockwaveFlash2"},
    {"Rompecabezas5", "Image43", nullptr, nullptr, "Image44", "ShockwaveFlash2"},
    {"Tablero", "Image5", nullptr, nullptr, "Image6", "ShockwaveFlash1"},
};

QString s(const char* text) { return QString::fromUtf8(text); }

struct ShellFixture : ::testing::Test {
    shell::Shell shell{QStringLiteral("/opt/numbali")};
    int prompts = 0;
    bool answer = false;
    int quits = 0;
    QString goodbyeMovieAtPrompt;
    QString goodbyePlayer;

    void SetUp() override
    {
        shell.setExitPrompt([this](QWidget*) {
            ++prompts;
            return answer;
        });
        shell.setQuit([this] { ++quits; });
        shell.view().resize(692, 475);
        shell.view().show();
    }

    Screen& current() { return *shell.currentScreen(); }
    QString currentName() { return shell.currentScreen() ? shell.currentScreen()->name() : QString(); }

    void open(const QString& name)
    {
        shell.switchTo(name);
        ASSERT_EQ(currentName(), name);
    }

    // Clicks a control with the mouse, where it lies on the view.
    void clickOn(const QString& control)
    {
        Control* c = current().control(control);
        ASSERT_TRUE(c) << qPrintable(control) << " on " << qPrintable(currentName());
        ASSERT_TRUE(c->isShown()) << qPrintable(control);
        const QPoint p = shell.view().centreOf(*c);
        ASSERT_EQ(shell.view().controlAt(p), c) << qPrintable(control) << " is covered on " << qPrintable(currentName());
        mouse::click(&shell.view(), p);
    }
};

} // namespace

TEST_F(ShellFixture, StartUpShowsThePresentationWithItsFourTitleMovies)
{
    shell.start();
    ASSERT_EQ(currentName(), s("Presentación"));
    EXPECT_EQ(shell.view().windowTitle(), s("NUMBALI :::: APLICATIVO MULTIMEDIA PARA NIÑOS"));
    EXPECT_TRUE(current().icon());
    const QString sep = QDir::separator();
    const std::pair<const char*, const char*> titles[] = {
        {"ShockwaveFlash1", "tit1.swf"}, {"ShockwaveFlash3", "tit2.swf"},
        {"ShockwaveFlash2", "tit3.swf"}, {"ShockwaveFlash4", "tit5.swf"}};
    for (const auto& [player, movie] : titles) {
        Control* p = current().control(s(player));
        ASSERT_TRUE(p);
        EXPECT_TRUE(p->isVisible());
        EXPECT_EQ(p->movie(), QStringLiteral("/opt/numbali") + sep + s(movie));
        EXPECT_EQ(p->movieLoads(), 1);
    }
    Control* enter = current().control(QStringLiteral("Image4"));
    EXPECT_EQ(enter->mousePointer(), MousePointer::Icon);
    EXPECT_TRUE(enter->mouseIcon());
    EXPECT_TRUE(enter->dragIcon());
    EXPECT_EQ(enter->toolTip(), s("Menú Principal"));
    EXPECT_GE(shell.view().width(), 692);
    clickOn(QStringLiteral("Image4"));
    EXPECT_EQ(currentName(), s("Menú"));
}

TEST_F(ShellFixture, TheMenuOpensTheFirstScreenOfEveryFamilyAndGoesBack)
{
    const std::pair<const char*, const char*> buttons[] = {
        {"Image1", "Rompecabezas1"}, {"Image2", "Colores1"}, {"Image3", "Tamaños1"},
        {"Image4", "Cuantificadores1"}, {"Image5", "Pertenencia1"}, {"Image6", "Conjuntos1"},
        {"Image7", "Cantidad1"}, {"Image8", "Suma1"}, {"Image9", "Resta1"}, {"Image10", "Presentación"}};
    for (const auto& [button, target] : buttons) {
        open(s("Menú"));
        EXPECT_TRUE(current().control(QStringLiteral("ShockwaveFlash1"))->movie().endsWith(QStringLiteral("acuario2.swf")));
        clickOn(s(button));
        EXPECT_EQ(currentName(), s(target)) << button;
    }
    open(s("Menú"));
    EXPECT_FALSE(current().control(QStringLiteral("Image12"))->isVisible());
    Control* goodbye = current().control(QStringLiteral("ShockwaveFlash2"));
    EXPECT_TRUE(goodbye->isVisible());
    EXPECT_TRUE(goodbye->movie().isEmpty());
    clickOn(QStringLiteral("Image11"));
    EXPECT_EQ(prompts, 1);
    EXPECT_TRUE(goodbye->movie().endsWith(QStringLiteral("ADIOS.swf")));
}

TEST_F(ShellFixture, EveryNavigationButtonOfEveryScreenLeadsWhereItShould)
{
    for (const Row& row : kGraph) {
        SCOPED_TRACE(row.screen);
        open(s(row.screen));
        EXPECT_EQ(current().control(s(row.menu))->toolTip(), s("Menú Principal"));
        clickOn(s(row.menu));
        EXPECT_EQ(currentName(), s("Menú"));

        open(s(row.screen));
        if (row.next) {
            Control* next = current().control(s(row.next));
            EXPECT_EQ(next->toolTip(), s("Siguiente actividad"));
            EXPECT_EQ(next->mousePointer(), MousePointer::Custom);
            clickOn(s(row.next));
            EXPECT_EQ(currentName(), s(row.nextScreen));
        } else {
            for (Control* c : current().allControls())
                EXPECT_NE(c->toolTip(), s("Siguiente actividad")) << qPrintable(c->name());
        }
    }
}

TEST_F(ShellFixture, EveryExitButtonAsksWithTheGoodbyeMovieAndNoChangesNothing)
{
    for (const Row& row : kGraph) {
        SCOPED_TRACE(row.screen);
        open(s(row.screen));
        Screen* before = shell.currentScreen();
        Control* player = current().control(s(row.goodbye));
        ASSERT_TRUE(player);
        const bool wasVisible = player->isVisible();
        EXPECT_EQ(current().control(s(row.exit))->toolTip(), s("Sale de la aplicación"));
        shell.setExitPrompt([&](QWidget*) {
            ++prompts;
            goodbyeMovieAtPrompt = player->movie();
            return false;
        });
        const int promptsBefore = prompts;
        clickOn(s(row.exit));
        EXPECT_EQ(prompts, promptsBefore + 1);
        EXPECT_EQ(goodbyeMovieAtPrompt, QStringLiteral("/opt/numbali") + QDir::separator() + QStringLiteral("ADIOS.swf"));
        EXPECT_EQ(shell.currentScreen(), before);
        EXPECT_EQ(player->isVisible(), wasVisible);
        // Asked again, the goodbye movie is loaded again from its start.
        clickOn(s(row.exit));
        EXPECT_EQ(player->movieLoads(), 2);
    }
    EXPECT_EQ(quits, 0);
}

TEST_F(ShellFixture, YesEndsTheProgram)
{
    open(QStringLiteral("Suma3"));
    answer = true;
    clickOn(QStringLiteral("Image20"));
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(quits, 1);
}

TEST_F(ShellFixture, EveryVisitStartsTheScreenAnewWithItsMoviesLoadedAgain)
{
    open(s("Presentación"));
    Control* title = current().control(QStringLiteral("ShockwaveFlash2"));
    const auto handle = current().control(QStringLiteral("Image4"))->pictureHandle();
    clickOn(QStringLiteral("Image4"));
    clickOn(QStringLiteral("Image10"));
    ASSERT_EQ(currentName(), s("Presentación"));
    EXPECT_NE(current().control(QStringLiteral("ShockwaveFlash2")), title);
    EXPECT_EQ(current().control(QStringLiteral("ShockwaveFlash2"))->movieLoads(), 1);
    EXPECT_NE(current().control(QStringLiteral("Image4"))->pictureHandle(), handle);

    // The player shown by the view for the new screen is a new one.
    Control* background = nullptr;
    open(QStringLiteral("Colores3"));
    background = current().control(QStringLiteral("ShockwaveFlash3"));
    EXPECT_TRUE(background->movie().endsWith(QStringLiteral("f_romp3.swf")));
    EXPECT_TRUE(shell.view().moviePlayer(*background));
}

TEST_F(ShellFixture, ThePlaySettingIsOffOnlyOnTamanos2)
{
    for (const Row& row : kGraph) {
        open(s(row.screen));
        for (Control* c : current().allControls())
            if (c->kind() == ControlKind::Player) {
                EXPECT_EQ(c->playSetting(), s(row.screen) != s("Tamaños2")) << row.screen;
            }
    }
}

TEST_F(ShellFixture, TheSecondPressOfADoubleClickDoesNotReachTheScreenItOpened)
{
    struct Case {
        const char* screen;
        const char* button;
        const char* opens;
    };
    // The next button lies where the next screen's next (or exit) button lies; the menu and
    // enter buttons where the screen they open has buttons of its own.
    const Case cases[] = {
        {"Colores2", "Image16", "Colores3"},
        {"Colores1", "Image5", "Colores2"},
        {"Cantidad1", "Image2", "Cantidad2"},
        {"Colores3", "Image9", "Menú"},
        {"Presentación", "Image4", "Menú"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen);
        open(s(c.screen));
        Control* button = current().control(s(c.button));
        ASSERT_TRUE(button);
        mouse::doubleClick(&shell.view(), shell.view().centreOf(*button));
        EXPECT_EQ(currentName(), s(c.opens));
        EXPECT_EQ(prompts, 0);
    }
    // A press after the double-click interval, or elsewhere, is an ordinary click again.
    open(s("Colores2"));
    const QPoint next = shell.view().centreOf(*current().control(QStringLiteral("Image16")));
    mouse::click(&shell.view(), next);
    mouse::click(&shell.view(), next);
    EXPECT_EQ(currentName(), s("Colores4"));
    open(s("Colores2"));
    mouse::click(&shell.view(), next);
    mouse::send(&shell.view(), QEvent::MouseButtonDblClick, next + QPoint(40, 0), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, 120);
    EXPECT_EQ(currentName(), s("Colores3")); // a press far from the first is its own press
}
