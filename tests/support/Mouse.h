#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Real mouse events sent to a widget, as the window system would deliver them, with event
// times: a child's separate presses lie a second apart, far beyond any double click.
namespace mouse {

inline quint64& clock()
{
    static quint64 ms = 100000;
    return ms;
}

inline void send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers mods = Qt::NoModifier, quint64 advance = 1)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, mods);
    event.setTimestamp(clock() += advance);
    QApplication::sendEvent(w, &event);
}

inline void press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) { send(w, QEvent::MouseButtonPress, p, b, b, Qt::NoModifier, 1000); }
inline void release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) { send(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton); }
inline void move(QWidget* w, QPoint p, Qt::MouseButtons held = Qt::NoButton) { send(w, QEvent::MouseMove, p, Qt::NoButton, held); }

inline void click(QWidget* w, QPoint p)
{
    move(w, p);
    press(w, p);
    release(w, p);
}

// A quick double click, the second press as the window system reports it.
inline void doubleClick(QWidget* w, QPoint p)
{
    click(w, p);
    send(w, QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, 120);
    release(w, p);
}

// Press on `from`, move in steps to `to` with the button held, release there.
inline void drag(QWidget* w, QPoint from, QPoint to)
{
    move(w, from);
    press(w, from);
    for (int i = 1; i <= 4; ++i)
        move(w, from + (to - from) * i / 4, Qt::LeftButton);
    release(w, to);
}

} // namespace mouse
