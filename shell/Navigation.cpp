#include "Navigation.h"

#include "Screen.h"
#include "ScreenDescription.h"

#include <QJsonArray>
#include <QJsonObject>

namespace shell {

using screens::ControlKind;

namespace {
QString mustBe(const screens::ScreenDescription& d, const QString& name, ControlKind kind, const QString& what)
{
    const auto* c = d.find(name);
    if (!c)
        return QStringLiteral("%1: %2 \"%3\" is not a control of the screen").arg(d.file, what, name);
    if (c->kind != kind)
        return QStringLiteral("%1: %2 \"%3\" is the wrong kind of control").arg(d.file, what, name);
    return {};
}
} // namespace

QStringList Navigation::check(const screens::ScreenDescription& d) const
{
    QStringList errors;
    for (const QJsonValue& v : d.rules.value(QLatin1String("navigation")).toArray()) {
        const QJsonObject o = v.toObject();
        const QString button = o.value(QLatin1String("button")).toString();
        if (QString e = mustBe(d, button, ControlKind::Image, QStringLiteral("navigation button")); !e.isEmpty())
            errors << e;
        const bool exit = o.contains(QLatin1String("exit"));
        if (exit == o.contains(QLatin1String("target")))
            errors << QStringLiteral("%1: navigation button \"%2\" needs either a target or an exit player").arg(d.file, button);
        if (exit)
            if (QString e = mustBe(d, o.value(QLatin1String("exit")).toString(), ControlKind::Player, QStringLiteral("goodbye player")); !e.isEmpty())
                errors << e;
    }
    return errors;
}

void Navigation::attach(screens::Screen& screen, const screens::ScreenDescription& d, screens::Services& services) const
{
    for (const QJsonValue& v : d.rules.value(QLatin1String("navigation")).toArray()) {
        const QJsonObject o = v.toObject();
        const QString button = o.value(QLatin1String("button")).toString();
        if (o.contains(QLatin1String("exit"))) {
            screens::Control* player = screen.control(o.value(QLatin1String("exit")).toString());
            if (!player)
                continue;
            screen.on(button).click = [&screen, &services, player] { services.confirmExit(screen, *player); };
        } else {
            const QString target = o.value(QLatin1String("target")).toString();
            screen.on(button).click = [&services, target] { services.switchTo(target); };
        }
    }
}

QStringList LoadMovies::check(const screens::ScreenDescription& d) const
{
    QStringList errors;
    for (const QJsonValue& v : d.rules.value(QLatin1String("load")).toArray()) {
        const QJsonObject o = v.toObject();
        if (QString e = mustBe(d, o.value(QLatin1String("player")).toString(), ControlKind::Player, QStringLiteral("player")); !e.isEmpty())
            errors << e;
        if (!o.value(QLatin1String("movie")).toString().startsWith(QLatin1Char('\\')))
            errors << QStringLiteral("%1: a movie's stored name begins with a backslash").arg(d.file);
    }
    return errors;
}

void LoadMovies::attach(screens::Screen& screen, const screens::ScreenDescription& d, screens::Services& services) const
{
    for (const QJsonValue& v : d.rules.value(QLatin1String("load")).toArray()) {
        const QJsonObject o = v.toObject();
        screens::Control* player = screen.control(o.value(QLatin1String("player")).toString());
        const QString movie = o.value(QLatin1String("movie")).toString();
        if (player)
            screen.addLoadStep([player, movie, &services] { player->setMovie(services.moviePath(movie)); });
    }
}

} // namespace shell
