#pragma once

#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QPointer>

namespace screens {

class Control;
class ScreenView;

// What assistive technology is told about a control: its tool tip, else a short Spanish
// name of what it is in the game ("pieza", "casilla", "cara feliz"...), and a role.
QString accessibleName(const Control& control);
QAccessible::Role accessibleRole(const Control& control);

// The view as assistive technology sees it: the open screen, named by its caption, with one
// child for each control but lines, in description order.
class ScreenViewAccessible : public QAccessibleWidget {
public:
    explicit ScreenViewAccessible(ScreenView* view);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    ScreenView* view() const;
};

// One control of the open screen. The view drops these when its screen changes, so an
// interface never outlives its control.
class ControlAccessible : public QAccessibleInterface {
public:
    ControlAccessible(ScreenView* view, Control* control);

    Control* control() const { return m_control; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

private:
    QPointer<ScreenView> m_view;
    Control* m_control;
};

// Where the view's accessibility events go: Qt's bridge to assistive technology, or the
// listener a test sets (Qt drops events where the platform has no bridge, as offscreen);
// null restores the bridge.
using AccessibilityListener = void (*)(QAccessibleEvent* event);
void setAccessibilityListener(AccessibilityListener listener);
void sendAccessibilityEvent(QAccessibleEvent& event);

// Makes Qt give every ScreenView the interface above; safe to call more than once.
void installScreenAccessibility();

} // namespace screens
