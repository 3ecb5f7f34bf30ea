#include "Board.h"

#include "Screen.h"
#include "ScreenDescription.h"

#include <QJsonArray>
#include <QJsonObject>
#include <memory>

namespace board {

using screens::Control;
using screens::ControlKind;

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

QJsonObject table(const screens::ScreenDescription& d) { return d.rules.value(QLatin1String("board")).toObject(); }

} // namespace

QStringList BoardBehaviour::check(const screens::ScreenDescription& d) const
{
    if (!d.rules.contains(QLatin1String("board")))
        return {};
    QStringList errors;
    const QJsonObject t = table(d);
    auto need = [&](const QString& name, ControlKind kind) {
        const auto* c = d.find(name);
        if (!c || c->kind != kind)
            errors << QStringLiteral("%1: board: \"%2\" is missing or the wrong kind of control").arg(d.file, name);
    };
    need(t.value(QLatin1String("panel")).toString(), ControlKind::Panel);
    need(t.value(QLatin1String("cursor")).toString(), ControlKind::Image);
    for (const QJsonValue& v : t.value(QLatin1String("tools")).toArray()) {
        const QJsonObject tool = v.toObject();
        need(tool.value(QLatin1String("tool")).toString(), ControlKind::Image);
        const int color = tool.value(QLatin1String("color")).toInt(-1);
        if (color < 0 || color > 15)
            errors << QStringLiteral("%1: board: a tool's colour is a palette index 0 to 15").arg(d.file);
    }
    return errors;
}

void BoardBehaviour::attach(screens::Screen& screen, const screens::ScreenDescription& d, screens::Services&) const
{
    if (!d.rules.contains(QLatin1String("board")) || !check(d).isEmpty())
        return;
    const QJsonObject t = table(d);
    auto pen = std::make_shared<Pen>();
    Control* panel = screen.control(t.value(QLatin1String("panel")).toString());
    Control* cursor = screen.control(t.value(QLatin1String("cursor")).toString());

    screen.addLoadStep([pen] { *pen = Pen{}; });

    for (const QJsonValue& v : t.value(QLatin1String("tools")).toArray()) {
        const QJsonObject tool = v.toObject();
        const QString name = tool.value(QLatin1String("tool")).toString();
        Control* control = screen.control(name);
        const qint16 color = qint16(tool.value(QLatin1String("color")).toInt());
        screen.on(name).click = [pen, color] { pen->color = color; };
        screen.on(name).mouseMove = [control, cursor](const screens::MouseArgs&) { control->setMouseIcon(cursor->picture()); };
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
