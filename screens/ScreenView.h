#pragma once

#include "Screen.h"

#include <QPixmap>
#include <QRegion>
#include <QPointer>
#include <QWidget>

class QAccessibleInterface;
class QTouchEvent;
#include <map>
#include <unordered_map>
#include <memory>

namespace movie {
class MoviePlayer;
namespace sound {
class Mixer;
}
}

namespace screens {

// Paints one screen's model, scaled uniformly to fit the widget, and turns mouse and touch
// input into the model's events: Click, MouseMove, MouseDown, MouseUp and DragDrop (automatic dragging).
// It keeps no game state: only what a gesture in progress needs.
class ScreenView : public QWidget, private ScreenObserver {
    Q_OBJECT
public:
    static constexpr double kTwipsPerPixel = 15.0;

    // The players' sounds go to `mixer`, which must outlive the view; without one they are
    // silent.
    explicit ScreenView(movie::sound::Mixer* mixer = nullptr, QWidget* parent = nullptr);
    ~ScreenView() override;

    // Shows `screen` (not owned); null shows nothing. Players of the previous screen are
    // destroyed at once, which stops their movies.
    void setScreen(Screen* screen);
    Screen* screen() const { return m_screen; }

    // Design pixels to device pixels.
    double scale() const;
    // Where the screen's client area lies in the widget.
    QRectF screenRect() const;
    QRectF toView(const QRect& twips) const;
    QPointF toTwips(const QPointF& viewPos) const;
    // The centre of a control in widget coordinates, for tests and tools.
    QPoint centreOf(const Control& control) const;

    // The topmost visible control under a widget position, or null for the screen itself.
    Control* controlAt(const QPointF& viewPos) const;

    // The movie player behind a player control (null when the control is not shown here).
    movie::MoviePlayer* moviePlayer(const Control& player) const;

    // A drag in progress.
    Control* dragSource() const { return m_dragSource; }

    QSize sizeHint() const override;

    // The controls assistive technology is told of (all but lines, in description order),
    // and the interface of one of them, made when first asked for and dropped with the screen.
    const std::vector<Control*>& accessibleControls() const { return m_accessibleControls; }
    QAccessibleInterface* accessibleInterface(Control& control) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void controlChanged(Control& control) override;
    void movieLoaded(Control& player) override;

    void paintList(QPainter& painter, const std::vector<std::unique_ptr<Control>>& list) const;
    void paintControl(QPainter& painter, const Control& control) const;
    void paintDrag(QPainter& painter) const;
    void paintDrawing(QPainter& painter, const Control& panel, const QRectF& client) const;
    Control* hitList(const std::vector<std::unique_ptr<Control>>& list, const QPointF& twips) const;
    MouseArgs argsFor(const Control& control, const QPointF& viewPos, int buttons, Qt::KeyboardModifiers mods) const;
    void updateCursor(const Control* hovered);
    void syncPlayer(Control& player);
    void endGesture();
    void dropAccessibleControls();
    void announceMarks();

    // The mouse and a finger meet here.
    void pointerPress(QPointF pos, QPointF global, quint64 time, Qt::MouseButton button, Qt::KeyboardModifiers mods,
                      int doubleDistance);
    void pointerMove(QPointF pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    void pointerRelease(QPointF pos, Qt::MouseButton button, Qt::MouseButtons stillHeld, Qt::KeyboardModifiers mods);
    void touchEvent(QTouchEvent* event);
    void cancelTouch();
    bool isTouchEcho(const QMouseEvent* event) const;

    Screen* m_screen = nullptr;
    QRegion m_dirty; // the part of the widget the current paint event draws
    std::map<const Control*, std::unique_ptr<movie::MoviePlayer>> m_players;
    std::map<const Control*, int> m_loadedCount;
    movie::sound::Mixer* const m_mixer;

    // Drawings shown at the current scale: redrawn from the fine raster when the size
    // changes, otherwise only the new dots are added.
    struct DrawingCache {
        const Drawing* drawing = nullptr;
        QPixmap pixmap;
        std::size_t applied = 0;
    };
    mutable std::map<const Control*, DrawingCache> m_drawings;
    // Where each control of the screen was last shown, in screen twips: a change repaints
    // its old place and its new one, and nothing else.
    std::unordered_map<const Control*, QRect> m_places;
    QRect placeOf(const Control& control) const;
    QRect placeInView(const QRect& twips) const;

    // Automatic dragging: the source and where the pointer took hold of it.
    Control* m_dragSource = nullptr;
    QPointF m_dragGrab;
    QPointF m_dragPos;
    // A control that holds the mouse while a button pressed on it is down.
    Control* m_captured = nullptr;
    int m_buttonsDown = 0;

    // A press, for telling the second press of a double click.
    struct Press {
        quint64 time = 0;
        QPointF global;
        bool valid = false;
    };
    Press m_lastPress;
    // The press that led to the screen now shown: a press continuing its double click
    // belongs to the screen that is gone, and it and its release reach nothing.
    Press m_switchPress;
    bool m_swallowing = false;

    // The finger that plays (-1: none) and where it was last.
    int m_touchId = -1;
    QPointF m_touchPos;
    bool m_touchSeen = false;

    std::vector<Control*> m_accessibleControls;
    mutable std::map<const Control*, unsigned> m_accessibleIds;
    // The screen's marks, and whether each was shown when last looked at.
    std::vector<std::pair<Control*, bool>> m_marks;
};

} // namespace screens
