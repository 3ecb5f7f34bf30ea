#include "ActivityTable.h"

#include "ScreenDescription.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

namespace engine {

using screens::ControlKind;

namespace {

QStringList names(const QJsonValue& value)
{
    QStringList out;
    for (const QJsonValue& v : value.toArray())
        out << v.toString();
    return out;
}

} // namespace

bool ActivityTable::present(const screens::ScreenDescription& d)
{
    return d.rules.contains(QLatin1String("activity"));
}

Result<ActivityTable> ActivityTable::read(const screens::ScreenDescription& d)
{
    auto fail = [&](const QString& why) { return Result<ActivityTable>::failure(d.file + QStringLiteral(": activity: ") + why); };
    const QJsonObject a = d.rules.value(QLatin1String("activity")).toObject();
    ActivityTable t;
    t.cursor = a.value(QLatin1String("cursor")).toString();
    t.hover = names(a.value(QLatin1String("hover")));
    t.refuse = names(a.value(QLatin1String("refuse")));
    for (const QJsonValue& v : a.value(QLatin1String("slots")).toArray()) {
        const QJsonObject o = v.toObject();
        SlotRule s;
        s.slot = o.value(QLatin1String("slot")).toString();
        const QString rule = o.value(QLatin1String("rule")).toString();
        if (rule == QLatin1String("match"))
            s.rule = DropRule::Match;
        else if (rule == QLatin1String("fill"))
            s.rule = DropRule::Fill;
        else
            return fail(QStringLiteral("slot %1 has an unknown rule \"%2\"").arg(s.slot, rule));
        s.right = o.value(QLatin1String("right")).toString();
        s.answer = o.value(QLatin1String("answer")).toString(s.right);
        s.rightMark = o.value(QLatin1String("rightMark")).toString();
        s.wrongMark = o.value(QLatin1String("wrongMark")).toString();
        s.refuse = names(o.value(QLatin1String("refuse")));
        s.hide = names(o.value(QLatin1String("hide")));
        s.show = names(o.value(QLatin1String("show")));
        s.group = o.value(QLatin1String("group")).toInt(-1);
        s.acceptedOnly = o.value(QLatin1String("acceptedOnly")).toBool(false);
        s.showsGroupMark = o.value(QLatin1String("showsGroupMark")).toBool(false);
        if (s.rule == DropRule::Match && s.right.isEmpty())
            return fail(QStringLiteral("match slot %1 has no right piece").arg(s.slot));
        t.slotRules.push_back(std::move(s));
    }
    if (t.slotRules.empty())
        return fail(QStringLiteral("no slots"));

    const QJsonObject c = a.value(QLatin1String("completion")).toObject();
    const QString empty = c.value(QLatin1String("empty")).toString(QStringLiteral("background"));
    t.completion.blank = empty == QLatin1String("background") ? QString() : empty;
    if (c.contains(QLatin1String("pairs"))) {
        t.completion.form = Completion::Form::Pairs;
        for (const QJsonValue& v : c.value(QLatin1String("pairs")).toArray()) {
            const QJsonArray pair = v.toArray();
            if (pair.size() != 2)
                return fail(QStringLiteral("a completion pair is [slot, answer picture]"));
            t.completion.pairs.emplace_back(pair[0].toString(), pair[1].toString());
        }
    } else if (c.contains(QLatin1String("filled"))) {
        t.completion.form = Completion::Form::Filled;
        t.completion.filled = names(c.value(QLatin1String("filled")));
    } else if (c.contains(QLatin1String("groups"))) {
        t.completion.form = Completion::Form::Groups;
        for (const QJsonValue& v : c.value(QLatin1String("groups")).toArray()) {
            const QJsonObject g = v.toObject();
            t.completion.groups.push_back(SlotGroup{names(g.value(QLatin1String("slots"))),
                                                    g.value(QLatin1String("mark")).toString(),
                                                    names(g.value(QLatin1String("refuse"))),
                                                    g.value(QLatin1String("wrongMark")).toString()});
        }
    } else {
        return fail(QStringLiteral("completion needs pairs, filled or groups"));
    }
    for (const SlotRule& s : t.slotRules)
        if (s.group >= int(t.completion.groups.size()) || (s.group < 0 && (s.showsGroupMark)))
            return fail(QStringLiteral("slot %1 names a group that is not there").arg(s.slot));

    const QJsonObject reward = d.rules.value(QLatin1String("reward")).toObject();
    t.rewardPlayer = reward.value(QLatin1String("player")).toString();
    t.rewardMovie = reward.value(QLatin1String("movie")).toString();
    if (t.rewardPlayer.isEmpty() || !t.rewardMovie.startsWith(QLatin1Char('\\')))
        return fail(QStringLiteral("the reward needs a player and a movie name"));
    return t;
}

QStringList ActivityTable::check(const screens::ScreenDescription& d) const
{
    QStringList errors;
    auto need = [&](const QString& name, std::initializer_list<ControlKind> kinds, const char* role) {
        const auto* c = d.find(name);
        if (!c) {
            errors << QStringLiteral("%1: activity: %2 \"%3\" is not a control of the screen").arg(d.file, QLatin1String(role), name);
            return;
        }
        for (ControlKind k : kinds)
            if (c->kind == k)
                return;
        errors << QStringLiteral("%1: activity: %2 \"%3\" is the wrong kind of control").arg(d.file, QLatin1String(role), name);
    };
    const auto image = {ControlKind::Image};
    auto needDraggable = [&](const QString& name, const char* role) {
        need(name, image, role);
        if (const auto* c = d.find(name); c && !c->dragAutomatic)
            errors << QStringLiteral("%1: activity: %2 \"%3\" cannot be dragged").arg(d.file, QLatin1String(role), name);
    };
    if (!cursor.isEmpty())
        need(cursor, image, "cursor picture");
    for (const QString& p : hover)
        needDraggable(p, "hover piece");
    QSet<QString> seen;
    for (const SlotRule& s : slotRules) {
        need(s.slot, {ControlKind::Image, ControlKind::Panel}, "slot");
        if (seen.contains(s.slot))
            errors << QStringLiteral("%1: activity: slot \"%2\" is listed twice").arg(d.file, s.slot);
        seen.insert(s.slot);
        if (s.rule == DropRule::Match) {
            needDraggable(s.right, "right piece");
            need(s.answer, image, "answer picture");
        }
        for (const QString& m : {s.rightMark, s.wrongMark})
            if (!m.isEmpty())
                need(m, image, "mark");
        for (const QStringList* list : {&s.refuse, &s.hide, &s.show})
            for (const QString& m : *list)
                need(m, image, "piece or mark");
    }
    for (const QString& p : refuse)
        need(p, image, "refused piece");
    for (const auto& [slot, answer] : completion.pairs) {
        need(slot, {ControlKind::Image, ControlKind::Panel}, "completion slot");
        need(answer, image, "completion answer");
    }
    for (const QString& s : completion.filled)
        need(s, {ControlKind::Image, ControlKind::Panel}, "completion slot");
    for (const SlotGroup& g : completion.groups) {
        need(g.mark, image, "group mark");
        for (const QString& s : g.members)
            need(s, {ControlKind::Image, ControlKind::Panel}, "group slot");
        for (const QString& p : g.refuse)
            need(p, image, "refused piece");
        if (!g.wrongMark.isEmpty())
            need(g.wrongMark, image, "group wrong mark");
    }
    if (!completion.blank.isEmpty())
        need(completion.blank, image, "blank picture");
    need(rewardPlayer, {ControlKind::Player}, "reward player");
    return errors;
}

const QStringList& ActivityTable::refusedFor(const SlotRule& slot) const
{
    if (!slot.refuse.isEmpty())
        return slot.refuse;
    if (slot.group >= 0 && !completion.groups[slot.group].refuse.isEmpty())
        return completion.groups[slot.group].refuse;
    return refuse;
}

QString ActivityTable::wrongMarkFor(const SlotRule& slot) const
{
    if (!slot.wrongMark.isEmpty() || slot.group < 0)
        return slot.wrongMark;
    return completion.groups[slot.group].wrongMark;
}

} // namespace engine
