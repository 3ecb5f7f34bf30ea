#include "Screen.h"

namespace screens {

Screen::Screen(QString name, QString caption, QSize clientTwips, QColor backColor)
    : m_name(std::move(name)), m_caption(std::move(caption)), m_clientSize(clientTwips), m_backColor(backColor)
{
}

Screen::~Screen() = default;

Control& Screen::addControl(std::unique_ptr<Control> control, Control* parent)
{
    control->setOrder(m_nextOrder++);
    Control* raw = control.get();
    m_byName.insert(raw->name(), raw);
    if (parent)
        return parent->addChild(std::move(control));
    m_controls.push_back(std::move(control));
    return *raw;
}

std::vector<Control*> Screen::allControls() const
{
    std::vector<Control*> out;
    std::function<void(const std::vector<std::unique_ptr<Control>>&)> walk = [&](const auto& list) {
        for (const auto& c : list) {
            out.push_back(c.get());
            walk(c->children());
        }
    };
    walk(m_controls);
    return out;
}

const ControlHandlers* Screen::handlersOf(const Control& control) const
{
    auto it = m_handlers.constFind(control.name());
    return it == m_handlers.constEnd() ? nullptr : &*it;
}

void Screen::formLoad()
{
    for (const auto& step : m_loadSteps)
        step();
}

void Screen::click(Control& control)
{
    if (auto* h = handlersOf(control); h && h->click)
        h->click();
}

void Screen::mouseMove(Control& control, const MouseArgs& args)
{
    if (auto* h = handlersOf(control); h && h->mouseMove)
        h->mouseMove(args);
}

void Screen::mouseDown(Control& control, const MouseArgs& args)
{
    if (auto* h = handlersOf(control); h && h->mouseDown)
        h->mouseDown(args);
}

void Screen::mouseUp(Control& control, const MouseArgs& args)
{
    if (auto* h = handlersOf(control); h && h->mouseUp)
        h->mouseUp(args);
}

void Screen::dragDrop(Control* target, Control& source, float x, float y)
{
    if (!target)
        return; // no screen handles drops on its own background
    if (auto* h = handlersOf(*target); h && h->dragDrop)
        h->dragDrop(source, x, y);
}

void Screen::notifyChanged(Control& control)
{
    if (m_observer)
        m_observer->controlChanged(control);
}

void Screen::notifyMovieLoaded(Control& player)
{
    if (m_observer)
        m_observer->movieLoaded(player);
}

} // namespace screens
