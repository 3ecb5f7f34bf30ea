#include "ScreenAccessible.h"

#include "Screen.h"
#include "ScreenView.h"

#include <QWindow>

namespace screens {

namespace {

bool isClickable(const Control& control)
{
    const ControlHandlers* handlers = control.screen().handlersOf(control);
    return handlers && handlers->click;
}

AccessibilityListener g_listener = nullptr;

QAccessibleInterface* viewFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("screens::ScreenView") && object && object->isWidgetType())
        return new ScreenViewAccessible(static_cast<ScreenView*>(object));
    return nullptr;
}

} // namespace

QString accessibleName(const Control& c)
{
    if (!c.toolTip().isEmpty())
        return c.toolTip();
    switch (c.role()) {
    case ControlRole::Button: return QStringLiteral("botón");
    case ControlRole::Piece: return QStringLiteral("pieza");
    case ControlRole::Slot: return QStringLiteral("casilla");
    case ControlRole::RightMark: return QStringLiteral("cara feliz");
    case ControlRole::WrongMark: return QStringLiteral("cara triste");
    case ControlRole::Board: return QStringLiteral("pizarra");
    case ControlRole::None: break;
    }
    if (c.dragAutomatic())
        return QStringLiteral("pieza");
    switch (c.kind()) {
    case ControlKind::Image: return isClickable(c) ? QStringLiteral("botón") : QStringLiteral("dibujo");
    case ControlKind::Label: return c.caption();
    case ControlKind::Player: return QStringLiteral("animación");
    case ControlKind::Frame: return c.caption().isEmpty() ? QStringLiteral("marco") : c.caption();
    case ControlKind::Panel: return QStringLiteral("panel");
    case ControlKind::Line: break;
    }
    return {};
}

QAccessible::Role accessibleRole(const Control& c)
{
    switch (c.role()) {
    case ControlRole::Button: return QAccessible::Button;
    case ControlRole::Board: return QAccessible::Canvas;
    case ControlRole::RightMark:
    case ControlRole::WrongMark:
        // Some faces are buttons too.
        if (isClickable(c))
            return QAccessible::Button;
        [[fallthrough]];
    case ControlRole::Piece:
    case ControlRole::Slot:
        return c.kind() == ControlKind::Panel ? QAccessible::Pane : QAccessible::Graphic;
    case ControlRole::None: break;
    }
    switch (c.kind()) {
    case ControlKind::Image: return isClickable(c) && !c.dragAutomatic() ? QAccessible::Button : QAccessible::Graphic;
    case ControlKind::Label: return QAccessible::StaticText;
    case ControlKind::Player: return QAccessible::Animation;
    case ControlKind::Frame: return QAccessible::Grouping;
    case ControlKind::Panel: return QAccessible::Pane;
    case ControlKind::Line: break;
    }
    return QAccessible::NoRole;
}

// ---- the view ----

ScreenViewAccessible::ScreenViewAccessible(ScreenView* view) : QAccessibleWidget(view, QAccessible::Client) {}

ScreenView* ScreenViewAccessible::view() const { return static_cast<ScreenView*>(widget()); }

QString ScreenViewAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && view()->screen())
        return view()->screen()->caption();
    return QAccessibleWidget::text(t);
}

int ScreenViewAccessible::childCount() const { return int(view()->accessibleControls().size()); }

QAccessibleInterface* ScreenViewAccessible::child(int index) const
{
    const auto& controls = view()->accessibleControls();
    if (index < 0 || index >= int(controls.size()))
        return nullptr;
    return view()->accessibleInterface(*controls[std::size_t(index)]);
}

int ScreenViewAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (const auto* c = dynamic_cast<const ControlAccessible*>(child)) {
        const auto& controls = view()->accessibleControls();
        const Control* wanted = c->control();
        for (std::size_t i = 0; i < controls.size(); ++i)
            if (controls[i] == wanted)
                return int(i);
    }
    return -1;
}

QAccessibleInterface* ScreenViewAccessible::childAt(int x, int y) const
{
    // The control a press there would reach.
    Control* hit = view()->controlAt(view()->mapFromGlobal(QPoint(x, y)));
    return hit ? view()->accessibleInterface(*hit) : nullptr;
}

// ---- a control ----

ControlAccessible::ControlAccessible(ScreenView* view, Control* control) : m_view(view), m_control(control) {}

bool ControlAccessible::isValid() const { return m_view && m_view->screen() == &m_control->screen(); }

QWindow* ControlAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface* ControlAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QString ControlAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && isValid())
        return accessibleName(*m_control);
    return {};
}

QRect ControlAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect r = m_view->toView(m_control->visibleScreenRect()).toAlignedRect();
    return QRect(m_view->mapToGlobal(r.topLeft()), r.size());
}

QAccessible::Role ControlAccessible::role() const
{
    return isValid() ? accessibleRole(*m_control) : QAccessible::NoRole;
}

QAccessible::State ControlAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.invisible = !m_control->isShown();
    s.movable = m_control->dragAutomatic();
    return s;
}

void setAccessibilityListener(AccessibilityListener listener) { g_listener = listener; }

void sendAccessibilityEvent(QAccessibleEvent& event)
{
    if (g_listener)
        g_listener(&event);
    else
        QAccessible::updateAccessibility(&event);
}

void installScreenAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&viewFactory);
        return true;
    }();
    (void)installed;
}

} // namespace screens
