#include "Mouse.h"
#include "Screen.h"
#include "ScreenAccessible.h"
#include "ScreenView.h"
#include "Shell.h"

#include <QAccessible>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <vector>

using screens::Control;

namespace {

// Events the view gives assistive technology, caught on their way to the platform's bridge.
std::vector<std::pair<QAccessible::Event, QString>> g_events;

void record(QAccessibleEvent* event)
{
    QAccessibleInterface* iface = event->accessibleInterface();
    g_events.emplace_back(event->type(), iface ? iface->text(QAccessible::Name) : QString());
}

struct Accessibility : ::testing::Test {
    shell::Shell shell{QStringLiteral("/opt/numbali")};

    void SetUp() override
    {
        shell.setExitPrompt([](QWidget*) { return false; });
        shell.setQuit([] {});
        shell.view().resize(1038, 713);
        shell.view().show();
        g_events.clear();
        screens::setAccessibilityListener(&record);
    }
    void TearDown() override { screens::setAccessibilityListener(nullptr); }

    void open(const QString& screen)
    {
        shell.switchTo(screen);
        ASSERT_EQ(shell.currentScreen()->name(), screen);
    }
    QAccessibleInterface* viewInterface() { return QAccessible::queryAccessibleInterface(&shell.view()); }
    // The child interface of the view that stands for a control.
    QAccessibleInterface* of(const QString& name)
    {
        QAccessibleInterface* view = viewInterface();
        for (int i = 0; i < view->childCount(); ++i)
            if (QAccessibleInterface* child = view->child(i); child == shell.view().accessibleInterface(*control(name)))
                return child;
        return nullptr;
    }
    Control* control(const QString& name) { return shell.currentScreen()->control(name); }
};

} // namespace

TEST_F(Accessibility, EveryButtonPieceSlotAndMarkOfEveryScreenHasANameAndARole)
{
    for (const QString& name : shell.catalog().names()) {
        SCOPED_TRACE(name.toStdString());
        const screens::ScreenDescription* d = shell.catalog().find(name);
        ASSERT_TRUE(d);
        open(name);
        QAccessibleInterface* view = viewInterface();
        ASSERT_TRUE(view);
        EXPECT_EQ(view->text(QAccessible::Name), shell.currentScreen()->caption());

        // Every control but lines is a child, named and with a role, where it lies on screen.
        int lines = 0;
        for (Control* c : shell.currentScreen()->allControls())
            lines += c->kind() == screens::ControlKind::Line;
        ASSERT_EQ(view->childCount(), int(shell.currentScreen()->allControls().size()) - lines);
        for (int i = 0; i < view->childCount(); ++i) {
            QAccessibleInterface* child = view->child(i);
            ASSERT_TRUE(child && child->isValid());
            EXPECT_EQ(child->parent(), view);
            EXPECT_EQ(view->indexOfChild(child), i);
            EXPECT_NE(child->role(), QAccessible::NoRole);
        }

        auto expect = [&](const QString& control, QAccessible::Role role, const QString& fallback) {
            SCOPED_TRACE(control.toStdString());
            QAccessibleInterface* child = of(control);
            ASSERT_TRUE(child);
            EXPECT_EQ(child->role(), role);
            const QString tip = this->control(control)->toolTip();
            EXPECT_EQ(child->text(QAccessible::Name), tip.isEmpty() ? fallback : tip);
            EXPECT_FALSE(child->text(QAccessible::Name).isEmpty());
        };
        // A mark that is also a button (a face that ends the game) says it is a face.
        std::set<QString> buttons;
        for (const screens::NavigationButton& b : d->navigation) {
            buttons.insert(b.button);
            const screens::ControlRole r = control(b.button)->role();
            expect(b.button, QAccessible::Button,
                   r == screens::ControlRole::RightMark ? QStringLiteral("cara feliz") : QStringLiteral("botón"));
        }
        if (d->board) {
            expect(d->board->panel, QAccessible::Canvas, QStringLiteral("pizarra"));
            for (const screens::BoardTool& t : d->board->tools)
                expect(t.tool, QAccessible::Button, QStringLiteral("botón"));
        }
        if (d->activity) {
            const auto graphic = [&](const QString& c) {
                return control(c)->kind() == screens::ControlKind::Panel ? QAccessible::Pane : QAccessible::Graphic;
            };
            std::set<QString> marks;
            const auto mark = [&](const QString& c, const QString& name) {
                if (c.isEmpty())
                    return;
                marks.insert(c);
                expect(c, buttons.count(c) ? QAccessible::Button : QAccessible::Graphic, name);
            };
            for (const screens::SlotRule& s : d->activity->slotRules) {
                mark(d->activity->wrongMarkFor(s), QStringLiteral("cara triste"));
                mark(s.rightMark, QStringLiteral("cara feliz"));
                for (const QString& shown : s.show)
                    mark(shown, QStringLiteral("cara feliz"));
            }
            for (const screens::SlotGroup& g : d->activity->completion.groups) {
                mark(g.mark, QStringLiteral("cara feliz"));
                mark(g.wrongMark, QStringLiteral("cara triste"));
            }
            for (const screens::SlotRule& s : d->activity->slotRules)
                if (!marks.count(s.slot) && !d->activity->hover.contains(s.slot))
                    expect(s.slot, graphic(s.slot), QStringLiteral("casilla"));
            for (const QString& piece : d->activity->hover) {
                expect(piece, QAccessible::Graphic, QStringLiteral("pieza"));
                EXPECT_TRUE(of(piece)->state().movable);
            }
        }
    }
}

TEST_F(Accessibility, ControlsAreFoundWhereTheyLieAndHiddenOnesSaySo)
{
    open(QStringLiteral("Colores1"));
    QAccessibleInterface* view = viewInterface();
    QAccessibleInterface* piece = of(QStringLiteral("Image16"));
    ASSERT_TRUE(piece);
    const QPoint centre = piece->rect().center();
    EXPECT_LE((centre - shell.view().mapToGlobal(shell.view().centreOf(*control(QStringLiteral("Image16"))))).manhattanLength(), 1);
    EXPECT_EQ(view->childAt(centre.x(), centre.y()), piece);
    EXPECT_TRUE(view->rect().contains(piece->rect()));
    EXPECT_FALSE(piece->state().invisible);
    EXPECT_TRUE(of(QStringLiteral("Image8"))->state().invisible) << "the sad face waits hidden";
}

TEST_F(Accessibility, AMarkAnnouncesItselfWhenItAppears)
{
    open(QStringLiteral("Colores1"));
    auto& view = shell.view();
    auto drag = [&](const char* piece, const char* slot) {
        mouse::drag(&view, view.centreOf(*control(QString::fromLatin1(piece))), view.centreOf(*control(QString::fromLatin1(slot))));
    };
    auto shows = [] {
        std::vector<QString> names;
        for (const auto& [type, name] : g_events)
            if (type == QAccessible::ObjectShow)
                names.push_back(name);
        return names;
    };
    drag("Image18", "Image13");
    EXPECT_EQ(shows(), std::vector<QString>{QStringLiteral("cara triste")});
    g_events.clear();
    drag("Image16", "Image13");
    EXPECT_EQ(shows(), std::vector<QString>{QStringLiteral("cara feliz")});
}

TEST_F(Accessibility, InterfacesOfALeftScreenAreGoneAndTheNewScreensTakeTheirPlace)
{
    open(QStringLiteral("Colores1"));
    QAccessibleInterface* piece = of(QStringLiteral("Image16"));
    ASSERT_TRUE(piece);
    const QAccessible::Id id = QAccessible::uniqueId(piece);
    g_events.clear();
    open(QStringLiteral("Tablero"));
    EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr);
    EXPECT_EQ(viewInterface()->text(QAccessible::Name), shell.currentScreen()->caption());
    // The new screen is told by name, and its controls as changed.
    const auto told = [](QAccessible::Event type) {
        return std::count_if(g_events.begin(), g_events.end(), [type](const auto& e) { return e.first == type; });
    };
    EXPECT_EQ(told(QAccessible::NameChanged), 1);
    EXPECT_EQ(told(QAccessible::ObjectReorder), 1);
    EXPECT_TRUE(std::any_of(g_events.begin(), g_events.end(),
                            [&](const auto& e) { return e.second == shell.currentScreen()->caption(); }));
    ASSERT_TRUE(of(QStringLiteral("Picture1")));
    EXPECT_EQ(of(QStringLiteral("Picture1"))->role(), QAccessible::Canvas);
}
