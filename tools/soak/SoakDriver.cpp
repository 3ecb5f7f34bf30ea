#include "SoakDriver.h"

#include "Screen.h"
#include "ScreenCatalog.h"
#include "ScreenView.h"
#include "Shell.h"

#include <QApplication>
#include <QMouseEvent>

using screens::Control;
using screens::ControlKind;

SoakDriver::SoakDriver(shell::Shell& shell, quint32 seed) : m_shell(shell), m_random(seed)
{
    m_shell.setExitPrompt([this](QWidget*) {
        ++m_questions;
        return false;
    });
    noteOpenedScreen();
}

void SoakDriver::noteOpenedScreen()
{
    screens::Screen* screen = m_shell.currentScreen();
    if (!screen || screen == m_screenSeen)
        return;
    m_screenSeen = screen;
    m_visited.insert(screen->name());
    m_designPictures.clear();
    for (Control* c : screen->allControls())
        m_designPictures.insert(c->pictureHandle());
}

void SoakDriver::send(int type, QPoint at, int buttons, quint64 advance)
{
    auto& view = m_shell.view();
    const auto button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(QEvent::Type(type), QPointF(at), QPointF(view.mapToGlobal(at)), button,
                      Qt::MouseButtons(buttons), Qt::NoModifier);
    event.setTimestamp(m_clock += advance);
    QApplication::sendEvent(&view, &event);
}

QPoint SoakDriver::anywhere()
{
    const QRect r = m_shell.view().rect();
    // One gesture in ten ends outside the window.
    std::uniform_int_distribution<int> x(-r.width() / 10, r.width() * 11 / 10), y(-r.height() / 10, r.height() * 11 / 10);
    return QPoint(x(m_random), y(m_random));
}

QPoint SoakDriver::onControl(bool draggable)
{
    std::vector<Control*> candidates;
    for (Control* c : m_shell.currentScreen()->allControls())
        if (c->isShown() && c->kind() == ControlKind::Image && (!draggable || c->dragAutomatic()))
            candidates.push_back(c);
    if (candidates.empty())
        return anywhere();
    Control* c = candidates[std::uniform_int_distribution<size_t>(0, candidates.size() - 1)(m_random)];
    const QRectF r = m_shell.view().toView(c->visibleScreenRect());
    std::uniform_real_distribution<double> fx(r.left(), r.right()), fy(r.top(), r.bottom());
    return QPointF(fx(m_random), fy(m_random)).toPoint();
}

void SoakDriver::click(QPoint at, bool quick)
{
    send(QEvent::MouseMove, at, 0, 5);
    send(QEvent::MouseButtonPress, at, Qt::LeftButton, quick ? 90 : 700);
    send(QEvent::MouseButtonRelease, at, 0, 40);
}

void SoakDriver::drag(QPoint from, QPoint to)
{
    send(QEvent::MouseMove, from, 0, 5);
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, 700);
    for (int i = 1; i <= 3; ++i)
        send(QEvent::MouseMove, from + (to - from) * i / 3, Qt::LeftButton, 16);
    send(QEvent::MouseButtonRelease, to, 0, 16);
}

void SoakDriver::step()
{
    ++m_gestures;
    const int kind = std::uniform_int_distribution<int>(0, 99)(m_random);
    if (kind < 45) {
        // A piece taken somewhere: mostly onto a picture, sometimes anywhere at all.
        drag(onControl(true), kind < 35 ? onControl(false) : anywhere());
    } else if (kind < 60) {
        drag(anywhere(), anywhere());
    } else if (kind < 80) {
        click(anywhere(), kind < 65);
    } else if (kind < 90) {
        // A navigation button, more often one that leads on into the family than home.
        const screens::ScreenDescription* d = m_shell.catalog().find(m_shell.currentScreen()->name());
        std::vector<QString> buttons;
        for (const screens::NavigationButton& b : d->navigation) {
            const bool onward = !b.target.isEmpty() && b.target != QStringLiteral("Menú") && b.target != QStringLiteral("Presentación");
            for (int i = 0; i < (onward ? 4 : 1); ++i)
                buttons.push_back(b.button);
        }
        Control* button = buttons.empty() ? nullptr
                                          : m_shell.currentScreen()->control(buttons[std::uniform_int_distribution<size_t>(0, buttons.size() - 1)(m_random)]);
        click(button ? m_shell.view().centreOf(*button) : anywhere(), false);
    } else {
        // Any picture, sometimes twice quickly.
        const QPoint at = onControl(false);
        click(at, false);
        if (kind >= 95)
            click(at, true);
    }
    noteOpenedScreen();
}

bool SoakDriver::consistent(QString* why) const
{
    auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    screens::Screen* screen = m_shell.currentScreen();
    if (!screen || m_shell.view().screen() != screen)
        return fail(QStringLiteral("no screen open, or another one shown"));
    const screens::ScreenDescription* d = m_shell.catalog().find(screen->name());
    if (!d)
        return fail(QStringLiteral("an open screen without a description"));
    QSet<screens::Picture::Handle> held;
    std::vector<Control*> slotControls;
    if (d->activity)
        for (const screens::SlotRule& s : d->activity->slotRules)
            if (Control* slot = screen->control(s.slot)) {
                slotControls.push_back(slot);
                held.insert(slot->pictureHandle());
            }
    // A slot holds nothing, what it held when the screen opened, a piece or an answer.
    QSet<screens::Picture::Handle> allowed = m_designPictures;
    allowed.insert(0);
    for (Control* c : screen->allControls())
        if (c->dragAutomatic())
            allowed.insert(c->pictureHandle());
    if (screen != m_screenSeen)
        return fail(QStringLiteral("a screen opened without the driver seeing it"));
    for (Control* c : screen->allControls()) {
        if (!c->dragAutomatic())
            continue;
        const screens::ControlDescription* cd = d->find(c->name());
        if (cd && c->geometry().topLeft() != cd->geometry.topLeft())
            return fail(c->name() + QStringLiteral(" moved"));
        if (c->isVisible() || held.contains(c->pictureHandle()))
            continue;
        // A right piece under the match rule is hidden while its slot shows the answer.
        bool answered = false;
        if (d->activity)
            for (const screens::SlotRule& s : d->activity->slotRules)
                if (s.right == c->name() && screen->control(s.slot)->pictureHandle() == screen->control(s.answer)->pictureHandle())
                    answered = true;
        if (!answered)
            return fail(c->name() + QStringLiteral(" is gone but no slot holds it"));
    }
    for (Control* slot : slotControls)
        if (!allowed.contains(slot->pictureHandle()))
            return fail(slot->name() + QStringLiteral(" holds a picture that is no piece's"));
    return true;
}
