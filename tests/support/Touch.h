#pragma once

#include <QCoreApplication>
#include <QPointingDevice>
#include <QTest>
#include <QWidget>

// Touches on a touch screen sent to a widget through the window system, as a finger gives
// them: the view must take them on its own, with no mouse events made up from them.
namespace touch {

// One touch screen for the whole test run, gone with the application.
inline QPointingDevice* screen()
{
    static QPointingDevice* device = [] {
        QPointingDevice* d = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
        d->setParent(QCoreApplication::instance());
        return d;
    }();
    return device;
}

inline void press(QWidget* w, QPoint p, int finger = 0) { QTest::touchEvent(w, screen()).press(finger, p, w); }
inline void move(QWidget* w, QPoint p, int finger = 0) { QTest::touchEvent(w, screen()).move(finger, p, w); }
inline void release(QWidget* w, QPoint p, int finger = 0) { QTest::touchEvent(w, screen()).release(finger, p, w); }

inline void tap(QWidget* w, QPoint p)
{
    press(w, p);
    release(w, p);
}

// Touch at `from`, slide in steps to `to`, lift there.
inline void drag(QWidget* w, QPoint from, QPoint to)
{
    press(w, from);
    for (int i = 1; i <= 4; ++i)
        move(w, from + (to - from) * i / 4);
    release(w, to);
}

} // namespace touch
