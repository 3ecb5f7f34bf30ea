#pragma once

#include "Control.h"

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace screens {

// Arguments of MouseMove, MouseDown and MouseUp: button mask (1 left, 2 right, 4 middle),
// shift mask (1 shift, 2 control, 4 alt), and the position in the control's own twips.
struct MouseArgs {
    int button = 0;
    int shift = 0;
    float x = 0;
    float y = 0;
};

// The handlers of one control. An event without a handler does nothing.
struct ControlHandlers {
    std::function<void()> click;
    std::function<void(const MouseArgs&)> mouseMove;
    std::function<void(const MouseArgs&)> mouseDown;
    std::function<void(const MouseArgs&)> mouseUp;
    std::function<void(Control& source, float x, float y)> dragDrop;
};

// Told by a screen when something it shows has changed.
class ScreenObserver {
public:
    virtual ~ScreenObserver() = default;
    virtual void controlChanged(Control& control) = 0;
    virtual void movieLoaded(Control& player) = 0;
};

// One open screen: its window properties, its controls (a tree in description order) and
// the handlers that react to their events.
class Screen {
public:
    Screen(QString name, QString caption, QSize clientTwips, QColor backColor);
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;
    ~Screen();

    const QString& name() const { return m_name; }
    const QString& caption() const { return m_caption; }
    QSize clientSize() const { return m_clientSize; }
    QColor backColor() const { return m_backColor; }
    const PicturePtr& icon() const { return m_icon; }
    void setIcon(PicturePtr icon) { m_icon = std::move(icon); }

    // Top-level controls in description order; containers hold the rest.
    const std::vector<std::unique_ptr<Control>>& controls() const { return m_controls; }
    Control& addControl(std::unique_ptr<Control> control, Control* parent);
    Control* control(const QString& name) const { return m_byName.value(name); }
    // Every control, depth first in description order.
    std::vector<Control*> allControls() const;

    ControlHandlers& on(const QString& controlName) { return m_handlers[controlName]; }
    const ControlHandlers* handlersOf(const Control& control) const;
    void addLoadStep(std::function<void()> step) { m_loadSteps.push_back(std::move(step)); }

    // Events.
    void formLoad();
    void click(Control& control);
    void mouseMove(Control& control, const MouseArgs& args);
    void mouseDown(Control& control, const MouseArgs& args);
    void mouseUp(Control& control, const MouseArgs& args);
    // A drop on `target`; a null target is the screen's own background.
    void dragDrop(Control* target, Control& source, float x, float y);

    void setObserver(ScreenObserver* observer) { m_observer = observer; }
    void notifyChanged(Control& control);
    void notifyMovieLoaded(Control& player);

private:
    QString m_name;
    QString m_caption;
    QSize m_clientSize;
    QColor m_backColor;
    PicturePtr m_icon;
    std::vector<std::unique_ptr<Control>> m_controls;
    QHash<QString, Control*> m_byName;
    QHash<QString, ControlHandlers> m_handlers;
    std::vector<std::function<void()>> m_loadSteps;
    ScreenObserver* m_observer = nullptr;
    int m_nextOrder = 0;
};

} // namespace screens
