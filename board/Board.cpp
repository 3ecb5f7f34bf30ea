#include "Board.h"

#include "Screen.h"
#include "ScreenDescription.h"

#include <memory>

namespace board {

using screens::Control;

QColor paletteColor(int index)
{
    static const QRgb colors[16] = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),     qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128),   qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),     qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255),   qRgb(255, 255, 0), qRgb(255, 255, 255)};
    return QColor(colors[index & 15]);
}

namespace {

// The screen's variables, given their starting values by Form_Load.
struct Pen {
    qint16 color = 1;
    qint16 width = 5;
    qint16 drawing = 0; // -1 while a button pressed on the panel is held
};

} // namespace

void BoardBehaviour::attach(screens::Screen& screen, const screens::ScreenDescription& d, screens::Services&) const
{
    if (!d.board)
        return;
    const screens::BoardTable& t = *d.board;
    auto pen = std::make_shared<Pen>();
    Control* panel = screen.control(t.panel);
    Control* cursor = screen.control(t.cursor);

    screen.addLoadStep([pen] { *pen = Pen{}; });

    for (const screens::BoardTool& tool : t.tools) {
        Control* control = screen.control(tool.tool);
        const qint16 color = qint16(tool.color);
        screen.on(tool.tool).click = [pen, color] { pen->color = color; };
        screen.on(tool.tool).mouseMove = [control, cursor](const screens::MouseArgs&) { control->setMouseIcon(cursor->picture()); };
    }

    auto& handlers = screen.on(panel->name());
    handlers.mouseDown = [pen](const screens::MouseArgs&) { pen->drawing = -1; };
    handlers.mouseUp = [pen](const screens::MouseArgs&) { pen->drawing = 0; };
    handlers.mouseMove = [pen, panel](const screens::MouseArgs& a) {
        if (pen->drawing == -1)
            panel->drawDot(QPointF(a.x, a.y), pen->width, paletteColor(pen->color));
    };
}

} // namespace board
