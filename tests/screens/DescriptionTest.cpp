#include "Screen.h"
#include "ScreenDescription.h"

#include <gtest/gtest.h>
#include <map>

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
        {R"({"clientSize":[10,10],"controls":[]})", "name: missing"},
        {R"({"name":"X","clientSize":[10],"controls":[]})", "clientSize"},
        {screenWith(R"({"name":"Image1","kind":"Button","rect":[0,0,1,1]})"), "unknown control kind"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,1,1]},{"name":"Image1","kind":"Image","rect":[0,0,1,1]})"), "duplicate control name"},
        {screenWith(R"({"name":"Picture1","kind":"Image","rect":[0,0,1,1]})"), "must be named Image"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,1,1],"picture":"assets/pictures/none.svg"})"), "is missing"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,40000,1]})"), "16-bit"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,1,1],"children":[]})"), "only panels and frames"},
        {screenWith(R"({"name":"Picture1","kind":"PictureBox","rect":[0,0,1,1],"backColor":"blue"})"), "#RRGGBB"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,1,1],"mousePointer":7})"), "mousePointer"},
        {screenWith(R"({"name":"Image1","kind":"Image","rect":[0,0,1,1],"Visble":false})"), "controls[0].Visble: unknown key"},
    };
    for (const auto& c : cases) {
        const QString error = errorOf(c.json);
        EXPECT_TRUE(error.startsWith(QStringLiteral("prueba.json"))) << qPrintable(error);
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << "expected \"" << c.reason << "\" in: " << qPrintable(error);
    }
}

namespace {

// A screen whose rule tables are all valid, with one table replaced.
QByteArray screenWithTables(const char* table, const QByteArray& replacement)
{
    std::map<std::string, QByteArray> tables = {
        {"load", R"([{"player":"ShockwaveFlash1","movie":"\\f_romp1.swf"}])"},
        {"navigation", R"([{"button":"Image3","target":"Menú"},{"button":"Image4","exit":"ShockwaveFlash1"}])"},
        {"reward", R"({"player":"ShockwaveFlash1","movie":"\\feliz1.swf"})"},
        {"activity", R"({"cursor":"Image3","hover":["Image1"],
                        "slots":[{"slot":"Image2","rule":"match","right":"Image1","rightMark":"Image3"},
                                 {"slot":"Picture1","rule":"fill","group":0,"refuse":["Image3"],"wrongMark":"Image4"}],
                        "completion":{"groups":[{"slots":["Picture1"],"mark":"Image3"}]}})"},
        {"board", R"({"panel":"Picture1","cursor":"Image3","tools":[{"tool":"Image4","color":14}]})"},
    };
    if (table)
        tables[table] = replacement;
    QByteArray json = screenWith(R"(
        {"name":"Image1","kind":"Image","rect":[0,0,480,480],"dragMode":"Automatic"},
        {"name":"Image2","kind":"Image","rect":[0,0,480,480]},
        {"name":"Image3","kind":"Image","rect":[0,0,480,480]},
        {"name":"Image4","kind":"Image","rect":[0,0,480,480]},
        {"name":"Picture1","kind":"PictureBox","rect":[0,0,480,480]},
        {"name":"ShockwaveFlash1","kind":"ShockwaveFlash","rect":[0,0,480,480]})");
    json.chop(1);
    for (const auto& [key, value] : tables)
        json += ",\"" + QByteArray::fromStdString(key) + "\":" + value;
    return json + "}";
}

} // namespace

TEST(Description, RuleTablesAreReadOnceIntoTypedTables)
{
    auto d = ScreenDescription::parse(screenWithTables(nullptr, {}), QStringLiteral("prueba.json"));
    ASSERT_TRUE(d) << qPrintable(d.error());
    ASSERT_EQ(d->load.size(), 1u);
    EXPECT_EQ(d->load[0].movie, QStringLiteral("\\f_romp1.swf"));
    ASSERT_EQ(d->navigation.size(), 2u);
    EXPECT_EQ(d->navigation[0].target, QString::fromUtf8("Menú"));
    EXPECT_EQ(d->navigation[1].exitPlayer, QStringLiteral("ShockwaveFlash1"));
    ASSERT_TRUE(d->activity && d->reward && d->board);
    const SlotRule& match = d->activity->slotRules[0];
    EXPECT_EQ(match.answer, QStringLiteral("Image1")); // the right piece itself when not given
    EXPECT_EQ(d->activity->refusedFor(d->activity->slotRules[1]), QStringList{"Image3"});
    EXPECT_EQ(d->activity->completion.form, Completion::Form::Groups);
    EXPECT_EQ(d->board->tools[0].color, 14);
}

TEST(Description, EveryFaultOfEveryTableIsRefusedWithTheFileAndTheJsonPath)
{
    struct Case {
        const char* table;
        QByteArray replacement;
        const char* fault;
    };
    const Case cases[] = {
        {"load", R"([{"player":"ShockwaveFlash1","movie":"\\a.swf","moive":1}])", "load[0].moive: unknown key"},
        {"load", R"([{"player":"ShockwaveFlash1","movie":5}])", "load[0].movie: expected a string"},
        {"load", R"([{"player":"ShockwaveFlash9","movie":"\\a.swf"}])", "load[0].player: \"ShockwaveFlash9\" is not a control"},
        {"load", R"([{"player":"Image1","movie":"\\a.swf"}])", "load[0].player: \"Image1\" is the wrong kind"},
        {"load", R"([{"player":"ShockwaveFlash1","movie":"a.swf"}])", "load[0].movie: a movie's stored name"},
        {"navigation", R"([{"button":"Image3","targte":"Menú"}])", "navigation[0].targte: unknown key"},
        {"navigation", R"([{"button":3,"target":"Menú"}])", "navigation[0].button: expected a string"},
        {"navigation", R"([{"button":"Image9","target":"Menú"}])", "navigation[0].button: \"Image9\" is not a control"},
        {"navigation", R"([{"button":"Image3","exit":"Image1"}])", "navigation[0].exit: \"Image1\" is the wrong kind"},
        {"navigation", R"([{"button":"Image3","exit":"ShockwaveFlash1","target":"Menú"}])", "navigation[0]: a button needs either"},
        {"reward", R"({"plyer":"ShockwaveFlash1","movie":"\\feliz1.swf"})", "reward.plyer: unknown key"},
        {"reward", R"({"player":"ShockwaveFlash1","movie":[]})", "reward.movie: expected a string"},
        {"reward", R"({"player":"ShockwaveFlash7","movie":"\\feliz1.swf"})", "reward.player: \"ShockwaveFlash7\" is not a control"},
        {"reward", R"({"player":"Picture1","movie":"\\feliz1.swf"})", "reward.player: \"Picture1\" is the wrong kind"},
        {"activity", R"({"slots":[{"slot":"Image2","rule":"match","right":"Image1","rigthMark":"Image3"}],"completion":{"filled":["Image2"]}})",
         "activity.slots[0].rigthMark: unknown key"},
        {"activity", R"({"hover":"Image1","slots":[{"slot":"Image2","rule":"fill"}],"completion":{"filled":["Image2"]}})",
         "activity.hover: expected an array"},
        {"activity", R"({"slots":[{"slot":"Image2","rule":"match","right":"Image8"}],"completion":{"pairs":[["Image2","Image8"]]}})",
         "activity.slots[0].right: \"Image8\" is not a control"},
        {"activity", R"({"slots":[{"slot":"ShockwaveFlash1","rule":"fill"}],"completion":{"filled":["Image2"]}})",
         "activity.slots[0].slot: \"ShockwaveFlash1\" is the wrong kind"},
        {"activity", R"({"slots":[{"slot":"Image2","rule":"match","right":"Image3"}],"completion":{"pairs":[["Image2","Image3"]]}})",
         "activity.slots[0].right: \"Image3\" cannot be dragged"},
        {"activity", R"({"slots":[{"slot":"Image2","rule":"match","right":"Image1","group":0}],"completion":{"pairs":[["Image2","Image1"]]}})",
         "activity.slots[0].group: only a fill slot"},
        {"activity", R"({"slots":[{"slot":"Image2","rule":"fill","group":2}],"completion":{"filled":["Image2"]}})",
         "activity.slots[0].group: there is no group 2"},
        {"activity", R"({"slots":[{"slot":"Image2","rule":"fill"}],"completion":{"filled":["Image2"],"pairs":[]}})",
         "activity.completion: needs exactly one"},
        {"activity", R"({"slots":[{"slot":"Image2","rule":"fill"},{"slot":"Image2","rule":"fill"}],"completion":{"filled":["Image2"]}})",
         "activity.slots[1].slot: \"Image2\" is listed twice"},
        {"board", R"({"pannel":"Picture1","cursor":"Image3","tools":[]})", "board.pannel: unknown key"},
        {"board", R"({"panel":"Picture1","cursor":"Image3","tools":[{"tool":"Image4","color":"red"}]})", "board.tools[0].color: expected a number"},
        {"board", R"({"panel":"Picture1","cursor":"Image3","tools":[{"tool":"Image9","color":1}]})", "board.tools[0].tool: \"Image9\" is not a control"},
        {"board", R"({"panel":"Image2","cursor":"Image3","tools":[]})", "board.panel: \"Image2\" is the wrong kind"},
    };
    for (const Case& c : cases) {
        const QString error = errorOf(screenWithTables(c.table, c.replacement));
        EXPECT_TRUE(error.contains(QStringLiteral("prueba.json: ") + QString::fromUtf8(c.fault)))
            << "expected \"" << c.fault << "\" in: " << qPrintable(error);
    }
    // Every fault of a file is reported at once, one per line.
    QByteArray twoFaults = screenWithTables("reward", R"({"plyer":"ShockwaveFlash1","movie":"\\feliz1.swf"})");
    twoFaults.replace("\"color\":14", "\"color\":99");
    const QStringList lines = errorOf(twoFaults).split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), 3) << qPrintable(lines.join(QLatin1Char('\n'))); // unknown key, missing player, colour
}
