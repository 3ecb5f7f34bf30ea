#include "Screen.h"
#include "ScreenDescription.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

QByteArray screenWith(const QByteArray& controls, const QByteArray& extra = {})
{
    return "{\"name\":\"Prueba\",\"clientSize\":[10380,7125]," + extra + "\"controls\":[" + controls + "]}";
}

QString errorOf(const QByteArray& json)
{
    auto parsed = ScreenDescription::parse(json, QStringLiteral("prueba.json"));
    return parsed ? QString() : parsed.error();
}

} // namespace

TEST(Description, BuildsControlsWithTheirPropertiesAndDefaults)
{
    const QByteArray json = screenWith(R"(
        {"name":"Frame3","kind":"Frame","rect":[5520,240,3135,975],"backColor":"#FFFFFF","children":[
            {"name":"Image13","kind":"Image","rect":[-360,120,3495,1335],"stretch":true}]},
        {"name":"Label1","kind":"Label","rect":[2040,240,2175,495],"caption":"MI BANDERA","backStyle":0,
         "font":{"face":"Verdana","size":14.25,"bold":true}},
        {"name":"Image6","kind":"Image","rect":[3600,6120,600,720],"picture":"assets/pictures/nav/exit.svg",
         "stretch":true,"toolTipText":"Sale de la aplicación"},
        {"name":"Image16","kind":"Image","rect":[840,1320,480,480],"picture":"assets/pictures/nav/next.svg",
         "dragMode":"Automatic","mousePointer":99,"visible":false},
        {"name":"Line1","kind":"Line","line":[0,0,100,200],"borderColor":"#FF0000"},
        {"name":"ShockwaveFlash1","kind":"ShockwaveFlash","rect":[0,0,2775,2775],"play":false}
    )", R"("caption":"Una prueba","backColor":"system:window",)");
    auto parsed = ScreenDescription::parse(json, QStringLiteral("prueba.json"));
    ASSERT_TRUE(parsed) << qPrintable(parsed.error());
    auto screen = parsed->instantiate();
    EXPECT_EQ(screen->caption(), QStringLiteral("Una prueba"));
    EXPECT_EQ(screen->clientSize(), QSize(10380, 7125));

    Control* slot = screen->control(QStringLiteral("Image13"));
    ASSERT_TRUE(slot);
    EXPECT_EQ(slot->parent(), screen->control(QStringLiteral("Frame3")));
    EXPECT_EQ(slot->geometry(), QRect(-360, 120, 3495, 1335));
    EXPECT_EQ(slot->pictureHandle(), 0u);
    EXPECT_FALSE(slot->dragAutomatic());
    EXPECT_EQ(slot->mousePointer(), MousePointer::Default);

    Control* label = screen->control(QStringLiteral("Label1"));
    EXPECT_TRUE(label->transparent());
    EXPECT_TRUE(label->font().bold);
    EXPECT_DOUBLE_EQ(label->font().points, 14.25);

    Control* exit = screen->control(QStringLiteral("Image6"));
    EXPECT_EQ(exit->toolTip(), QStringLiteral("Sale de la aplicación"));
    EXPECT_NE(exit->pictureHandle(), 0u);
    EXPECT_TRUE(exit->isVisible());

    Control* piece = screen->control(QStringLiteral("Image16"));
    EXPECT_TRUE(piece->dragAutomatic());
    EXPECT_EQ(piece->mousePointer(), MousePointer::Custom);
    EXPECT_FALSE(piece->isVisible());
    // Unstretched: the control took its 32 x 32 picture's size.
    EXPECT_EQ(piece->geometry().size(), QSize(480, 480));

    EXPECT_EQ(screen->control(QStringLiteral("Line1"))->line(), QLine(0, 0, 100, 200));
    EXPECT_FALSE(screen->control(QStringLiteral("ShockwaveFlash1"))->playSetting());

    // Every visit builds new picture objects.
    auto again = parsed->instantiate();
    EXPECT_NE(again->control(QStringLiteral("Image6"))->pictureHandle(), exit->pictureHandle());
}

TEST(Description, BrokenDescriptionsAreRefusedWithTheFileAndTheReason)
{
    struct Case {
        QByteArray json;
        const char* reason;
    };
    const Case cases[] = {
        {"{not json", "not valid JSON"},
        {R"({"clientSize":[10,10],"controls":[]})", "no name"},
        {R"({"name":"X","clientSize":[10],"controls":[]})", "clientSize"},
        {screenWith(R"({"name":"Image1","kind":"Button","rect":[0,0,1,1]})"), "unknown control kind"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,1,1]},{"name":"Image1","kind":"Image","rect":[0,0,1,1]})"), "duplicate control name"},
        {screenWith(R"({"name":"Picture1","kind":"Image","rect":[0,0,1,1]})"), "must be named Image"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,1,1],"picture":"assets/pictures/none.svg"})"), "is missing"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,40000,1]})"), "16-bit"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,1,1],"children":[]})"), "only panels and frames"},
        {screenWith(R"({"name":"Picture1","kind":"PictureBox","rect":[0,0,1,1],"backColor":"blue"})"), "#RRGGBB"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,1,1],"mousePointer":7})"), "mousePointer"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,1,1],"Visble":false})"), "unknown property"},
    };
    for (const auto& c : cases) {
        const QString error = errorOf(c.json);
        EXPECT_TRUE(error.startsWith(QStringLiteral("prueba.json"))) << qPrintable(error);
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << "expected \"" << c.reason << "\" in: " << qPrintable(error);
    }
}
