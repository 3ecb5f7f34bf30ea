#include "MoviePaths.h"
#include "Screen.h"
#include "ScreenCatalog.h"
#include "Shell.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QPalette>
#include <gtest/gtest.h>

using namespace screens;

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

struct ScreenRow {
    const char* name;
    const char* caption;
    int width;
    int height;
    const char* background; // background movie, or null
    const char* reward;     // reward movie, or null
};

const ScreenRow kScreens[] = {
    {"Presentación", "NUMBALI :::: APLICATIVO MULTIMEDIA PARA NIÑOS", 10380, 7125, nullptr, nullptr},
    {"Menú", "Menú", 10380, 7125, nullptr, nullptr},
    {"Colores1", "Colores1", 10350, 7095, "\\f_romp1.swf", "\\feliz1.swf"},
    {"Colores2", "Colores2", 10380, 7125, "\\f_romp2.swf", "\\feliz2.swf"},
    {"Colores3", "Colores3", 10380, 7125, "\\f_romp3.swf", "\\feliz3.swf"},
    {"Colores4", "Colores4", 10380, 7125, "\\f_romp4.swf", "\\feliz4.swf"},
    {"Tablero", "Tablero", 10380, 7125, "\\f_romp5.swf", nullptr},
    {"Rompecabezas1", "Rompecabezas1", 10380, 7065, "\\f_romp1.swf", "\\feliz1.swf"},
    {"Rompecabezas2", "Rompecabezas2", 10380, 7065, "\\f_romp2.swf", "\\feliz2.swf"},
    {"Rompecabezas3", "Rompecabezas3", 10380, 7125, "\\f_romp3.swf", "\\feliz3.swf"},
    {"Rompecabezas4", "Rompecabezas4", 10350, 7095, "\\f_romp4.swf", "\\feliz4.swf"},
    {"Rompecabezas5", "Rompecabezas5", 10350, 7095, "\\f_romp5.swf", "\\feliz5.swf"},
    {"Tamaños1", "Tamaños1", 10380, 7125, "\\f_romp1.swf", "\\feliz1.swf"},
    {"Tamaños2", "Tamaños2", 10380, 7125, "\\f_romp2.swf", "\\Alegria.swf"},
    {"Tamaños3", "Tamaños3", 10380, 7125, "\\f_romp3.swf", "\\feliz3.swf"},
    {"Tamaños4", "Tamaños4", 10380, 7125, "\\f_romp4.swf", "\\feliz4.swf"},
    {"Cuantificadores1", "Cuantificadores1", 10380, 7125, "\\f_romp1.swf", "\\feliz1.swf"},
    {"Cuantificadores2", "Cuantificadores2", 10380, 7125, "\\f_romp2.swf", "\\feliz2.swf"},
    {"Cuantificadores3", "Cuantificadores3", 10380, 7125, "\\f_romp3.swf", "\\feliz3.swf"},
    {"Cuantificadores4", "Cuantificadores4", 10380, 7125, "\\f_romp4.swf", "\\feliz2.swf"},
    {"Pertenencia1", "Pertenencia 1", 10380, 7125, "\\f_romp1.swf", "\\feliz1.swf"},
    {"Pertenencia2", "Pertenencia2", 10380, 7125, "\\f_romp2.swf", "\\feliz1.swf"},
    {"Pertenencia3", "Pertenencia3", 10380, 7125, "\\f_romp3.swf", "\\feliz3.swf"},
    {"Pertenencia4", "Pertenencia4", 10380, 7125, "\\f_romp4.swf", "\\feliz1.swf"},
    {"Conjuntos1", "Conjuntos1", 10380, 7125, "\\f_romp1.swf", "\\feliz1.swf"},
    {"Conjuntos2", "Conjuntos2", 10380, 7125, "\\f_romp2.swf", "\\feliz2.swf"},
    {"Conjuntos3", "Conjuntos3", 10380, 7125, "\\f_romp3.swf", "\\feliz3.swf"},
    {"Conjuntos4", "Conjuntos4", 10380, 7125, "\\f_romp4.swf", "\\feliz4.swf"},
    {"Cantidad1", "Cantidad1", 10380, 7125, "\\f_romp1.swf", "\\feliz1.swf"},
    {"Cantidad2", "Cantidad2", 10380, 7125, "\\f_romp2.swf", "\\feliz2.swf"},
    {"Cantidad3", "Cantidad3", 10380, 7125, "\\f_romp3.swf", "\\feliz3.swf"},
    {"Cantidad4", "Cantidad4", 10380, 7125, "\\f_romp4.swf", "\\feliz4.swf"},
    {"Cantidad5", "Cantidad5", 10470, 7065, "\\f_romp5.swf", "\\feliz5.swf"},
    {"Suma1", "Suma1", 10380, 7125, "\\f_romp1.swf", "\\feliz1.swf"},
    {"Suma2", "Suma2", 10380, 7125, "\\f_romp2.swf", "\\feliz2.swf"},
    {"Suma3", "Suma3", 10380, 7125, "\\f_romp3.swf", "\\feliz3.swf"},
    {"Suma4", "Suma4", 10380, 7125, "\\f_romp4.swf", "\\feliz4.swf"},
    {"Suma5", "Suma5", 10380, 7065, "\\f_romp5.swf", "\\feliz5.swf"},
    {"Resta1", "Resta1", 10380, 7125, "\\f_romp1.swf", "\\feliz1.swf"},
    {"Resta2", "Resta2", 10380, 7125, "\\f_romp2.swf", "\\feliz2.swf"},
    {"Resta3", "Resta3", 10380, 7125, "\\f_romp3.swf", "\\feliz3.swf"},
    {"Resta4", "Resta4", 10380, 7125, "\\f_romp4.swf", "\\feliz4.swf"},
    {"Resta5", "Resta5", 10380, 7065, "\\f_romp5.swf", "\\feliz5.swf"},
};

} // namespace

TEST(Catalog, AllFortyThreeScreensLoadCleanlyAndPassEveryRuleCheck)
{
    shell::Shell shell(QStringLiteral("/app"));
    auto& catalog = shell.catalog();
    EXPECT_EQ(catalog.names().size(), 43);
    const QStringList faults = catalog.checkAll();
    EXPECT_TRUE(faults.isEmpty()) << qPrintable(faults.join(QLatin1Char('\n')));
    for (const ScreenRow& row : kScreens) {
        SCOPED_TRACE(row.name);
        const ScreenDescription* d = catalog.find(s(row.name));
        ASSERT_TRUE(d) << qPrintable(catalog.errorOf(s(row.name)));
        EXPECT_EQ(d->caption, s(row.caption));
        EXPECT_EQ(d->clientSize, QSize(row.width, row.height));
        const QColor back = s(row.name) == s("Cantidad5") ? QApplication::palette().color(QPalette::Window) : QColor(Qt::white);
        EXPECT_EQ(d->backColor, back);

        // Form_Load loads the background movie into the background player.
        auto screen = shell.create(s(row.name));
        ASSERT_TRUE(screen);
        screen->formLoad();
        if (row.background) {
            const char* player = s(row.name) == s("Tablero") ? "ShockwaveFlash2" : "ShockwaveFlash3";
            EXPECT_EQ(screen->control(s(player))->movie(), shell::moviePath(QStringLiteral("/app"), s(row.background)));
        }
        if (row.reward) {
            ASSERT_TRUE(d->reward);
            EXPECT_EQ(d->reward->player, QStringLiteral("ShockwaveFlash1"));
            EXPECT_EQ(d->reward->movie, s(row.reward));
        }
    }
}

TEST(Catalog, UnknownScreensAreReportedNotOpened)
{
    shell::Shell shell(QStringLiteral("/app"));
    shell.switchTo(s("Colores1"));
    shell.switchTo(s("Colores9"));
    ASSERT_TRUE(shell.currentScreen());
    EXPECT_EQ(shell.currentScreen()->name(), s("Colores1"));
    EXPECT_TRUE(shell.catalog().errorOf(s("Colores9")).contains(QLatin1String("no description")));
}

TEST(MoviePaths, TheStoredNameFollowsTheApplicationFolderWithThePlatformSeparatorAndItsCase)
{
    const QString sep = QDir::separator();
    EXPECT_EQ(shell::moviePath(QStringLiteral("/usr/lib/numbali"), QStringLiteral("\\ADIOS.swf")),
              QStringLiteral("/usr/lib/numbali") + sep + QStringLiteral("ADIOS.swf"));
    EXPECT_EQ(shell::moviePath(QStringLiteral("/a b"), QStringLiteral("\\Alegria.swf")),
              QStringLiteral("/a b") + sep + QStringLiteral("Alegria.swf"));
    EXPECT_EQ(shell::moviePath(QStringLiteral("/x"), QStringLiteral("\\f_romp1.swf")),
              QStringLiteral("/x") + sep + QStringLiteral("f_romp1.swf"));
}

TEST(Catalog, ABrokenDescriptionIsReportedOnceWithAllItsFaultsAndNeverOpened)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Roto.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"name":"Roto","clientSize":[100,100],
        "controls":[{"name":"Image1","kind":"Image","rect":[0,0,1,1]}],
        "navigation":[{"button":"Image2","target":"Nada"}],"load":[{"player":"Image1","movie":"\\a.swf"}]})");
    file.close();
    shell::ScreenCatalog catalog({dir.path()});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(catalog.find(s("Roto")));
    EXPECT_FALSE(catalog.find(s("Roto")));
    const QString printed = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_EQ(printed.count(QLatin1String("navigation[0].button: \"Image2\" is not a control")), 1) << qPrintable(printed);
    EXPECT_EQ(printed.count(QLatin1String("load[0].player: \"Image1\" is the wrong kind")), 1) << qPrintable(printed);
    // Both faults are in the one report.
    EXPECT_EQ(catalog.checkAll().size(), 2);
}
