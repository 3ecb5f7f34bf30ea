#include "RuleTableReader.h"

#include "JsonFields.h"
#include "ScreenDescription.h"

#include <QSet>
#include <initializer_list>

namespace screens {

namespace {

// What a name in a table must be.
enum class Role { Image, Piece, Slot, Player, Panel };

class TableReader {
public:
    explicit TableReader(const ScreenDescription& d) : m_d(d) {}

    // A control name read from `key`, checked for its role.
    QString name(Fields& f, const char* key, Role role, bool required = true)
    {
        const QString n = required ? f.requiredString(key) : f.string(key);
        if (!n.isEmpty())
            check(f.pathOf(key), f.faults(), n, role);
        return n;
    }

    QStringList names(Fields& f, const char* key, Role role)
    {
        const QStringList list = f.strings(key);
        for (int i = 0; i < list.size(); ++i)
            check(QStringLiteral("%1[%2]").arg(f.pathOf(key)).arg(i), f.faults(), list[i], role);
        return list;
    }

    void check(const QString& path, Faults& faults, const QString& n, Role role)
    {
        const ControlDescription* c = m_d.find(n);
        if (!c) {
            faults.add(path, QStringLiteral("\"%1\" is not a control of the screen").arg(n));
            return;
        }
        bool ok = false;
        QString want;
        switch (role) {
        case Role::Image: ok = c->kind == ControlKind::Image; want = QStringLiteral("a picture control"); break;
        case Role::Piece: ok = c->kind == ControlKind::Image; want = QStringLiteral("a picture control"); break;
        case Role::Slot:
            ok = c->kind == ControlKind::Image || c->kind == ControlKind::Panel;
            want = QStringLiteral("a picture control or a panel");
            break;
        case Role::Player: ok = c->kind == ControlKind::Player; want = QStringLiteral("an animation player"); break;
        case Role::Panel: ok = c->kind == ControlKind::Panel; want = QStringLiteral("a panel"); break;
        }
        if (!ok)
            faults.add(path, QStringLiteral("\"%1\" is the wrong kind of control: expected %2").arg(n, want));
        else if (role == Role::Piece && !c->dragAutomatic)
            faults.add(path, QStringLiteral("\"%1\" cannot be dragged").arg(n));
    }

    QString movie(Fields& f, const char* key)
    {
        const QString m = f.requiredString(key);
        if (!m.isEmpty() && (!m.startsWith(QLatin1Char('\\')) || !m.endsWith(QLatin1String(".swf"), Qt::CaseInsensitive)))
            f.fault(key, QStringLiteral("a movie's stored name is \"\\name.swf\""));
        return m;
    }

    template <class Fn>
    void eachObject(Fields& f, const char* key, Fn fn)
    {
        if (const auto list = f.array(key))
            for (int i = 0; i < list->size(); ++i)
                if (auto item = f.element(key, *list, i)) {
                    fn(*item);
                    item->finish();
                }
    }

    void load(Fields& root, std::vector<MovieLoad>& out)
    {
        eachObject(root, "load", [&](Fields& f) {
            MovieLoad m;
            m.player = name(f, "player", Role::Player);
            m.movie = movie(f, "movie");
            out.push_back(std::move(m));
        });
    }

    void navigation(Fields& root, std::vector<NavigationButton>& out)
    {
        QSet<QString> buttons;
        eachObject(root, "navigation", [&](Fields& f) {
            NavigationButton b;
            b.button = name(f, "button", Role::Image);
            if (buttons.contains(b.button))
                f.fault("button", QStringLiteral("\"%1\" is listed twice").arg(b.button));
            buttons.insert(b.button);
            if (f.has("exit") == f.has("target"))
                f.fault(QStringLiteral("a button needs either a target screen or an exit player"));
            b.target = f.string("target");
            if (f.has("target") && b.target.isEmpty())
                f.fault("target", QStringLiteral("empty"));
            b.exitPlayer = name(f, "exit", Role::Player, false);
            out.push_back(std::move(b));
        });
    }

    std::optional<Reward> reward(Fields& root)
    {
        auto f = root.object("reward");
        if (!f)
            return std::nullopt;
        Reward r;
        r.player = name(*f, "player", Role::Player);
        r.movie = movie(*f, "movie");
        f->finish();
        return r;
    }

    std::optional<ActivityTable> activity(Fields& root)
    {
        auto a = root.object("activity");
        if (!a)
            return std::nullopt;
        ActivityTable t;
        t.cursor = name(*a, "cursor", Role::Image, false);
        t.hover = names(*a, "hover", Role::Piece);
        t.refuse = names(*a, "refuse", Role::Image);
        // Completion first: slots name its groups.
        if (auto c = a->object("completion")) {
            completion(*c, t.completion);
            c->finish();
        } else {
            a->fault("completion", QStringLiteral("missing"));
        }
        QSet<QString> seen;
        eachObject(*a, "slots", [&](Fields& f) { slot(f, t, seen); });
        if (t.slotRules.empty() && !a->has("slots"))
            a->fault("slots", QStringLiteral("missing"));
        else if (t.slotRules.empty())
            a->fault("slots", QStringLiteral("no slots"));
        a->finish();
        return t;
    }

    void slot(Fields& f, ActivityTable& t, QSet<QString>& seen)
    {
        SlotRule s;
        s.slot = name(f, "slot", Role::Slot);
        if (seen.contains(s.slot))
            f.fault("slot", QStringLiteral("\"%1\" is listed twice").arg(s.slot));
        seen.insert(s.slot);
        const QString rule = f.requiredString("rule");
        if (rule == QLatin1String("match")) {
            s.rule = DropRule::Match;
            s.right = name(f, "right", Role::Piece);
            s.answer = f.has("answer") ? name(f, "answer", Role::Image) : s.right;
            s.rightMark = name(f, "rightMark", Role::Image, false);
            for (const char* key : {"refuse", "hide", "show", "group", "acceptedOnly", "showsGroupMark"})
                f.misplaced(key, QStringLiteral("only a fill slot takes this key"));
        } else if (rule == QLatin1String("fill")) {
            s.rule = DropRule::Fill;
            for (const char* key : {"right", "answer", "rightMark"})
                f.misplaced(key, QStringLiteral("only a match slot takes this key (a fill slot shows its marks with \"show\")"));
            s.refuse = names(f, "refuse", Role::Image);
            s.hide = names(f, "hide", Role::Image);
            s.show = names(f, "show", Role::Image);
            s.group = f.integer("group", -1);
            const int groups = int(t.completion.groups.size());
            if (f.has("group") && (s.group < 0 || s.group >= groups))
                f.fault("group", QStringLiteral("there is no group %1 (the completion has %2)").arg(s.group).arg(groups));
            s.acceptedOnly = f.boolean("acceptedOnly", false);
            s.showsGroupMark = f.boolean("showsGroupMark", false);
            if (s.showsGroupMark && !f.has("group"))
                f.fault("showsGroupMark", QStringLiteral("a slot outside a group has no group mark to show"));
        } else if (!rule.isEmpty()) {
            f.fault("rule", QStringLiteral("unknown rule \"%1\": match or fill").arg(rule));
        }
        s.wrongMark = name(f, "wrongMark", Role::Image, false);
        t.slotRules.push_back(std::move(s));
    }

    void completion(Fields& c, Completion& out)
    {
        const int forms = int(c.has("pairs")) + int(c.has("filled")) + int(c.has("groups"));
        if (forms != 1)
            c.fault(QStringLiteral("needs exactly one of \"pairs\", \"filled\" or \"groups\""));
        if (const auto pairs = c.array("pairs")) {
            out.form = Completion::Form::Pairs;
            for (int i = 0; i < pairs->size(); ++i) {
                const QString path = QStringLiteral("%1[%2]").arg(c.pathOf("pairs")).arg(i);
                const QJsonArray pair = (*pairs)[i].toArray();
                if (pair.size() != 2 || !pair[0].isString() || !pair[1].isString()) {
                    c.faults().add(path, QStringLiteral("a completion pair is [slot, answer picture]"));
                    continue;
                }
                check(path, c.faults(), pair[0].toString(), Role::Slot);
                check(path, c.faults(), pair[1].toString(), Role::Image);
                out.pairs.emplace_back(pair[0].toString(), pair[1].toString());
            }
        }
        if (c.has("filled")) {
            out.form = Completion::Form::Filled;
            out.filled = names(c, "filled", Role::Slot);
        }
        if (c.has("groups")) {
            out.form = Completion::Form::Groups;
            eachObject(c, "groups", [&](Fields& g) {
                SlotGroup group;
                group.members = names(g, "slots", Role::Slot);
                group.mark = name(g, "mark", Role::Image);
                group.refuse = names(g, "refuse", Role::Image);
                group.wrongMark = name(g, "wrongMark", Role::Image, false);
                out.groups.push_back(std::move(group));
            });
        }
        const QString empty = c.string("empty", QStringLiteral("background"));
        if (c.has("empty") && out.form == Completion::Form::Pairs)
            c.fault("empty", QStringLiteral("pairs compare with their answers, not with an empty picture"));
        if (empty != QLatin1String("background"))
            out.blank = name(c, "empty", Role::Image);
    }

    std::optional<BoardTable> board(Fields& root)
    {
        auto b = root.object("board");
        if (!b)
            return std::nullopt;
        BoardTable t;
        t.panel = name(*b, "panel", Role::Panel);
        t.cursor = name(*b, "cursor", Role::Image);
        eachObject(*b, "tools", [&](Fields& f) {
            BoardTool tool;
            tool.tool = name(f, "tool", Role::Image);
            tool.color = f.integer("color", -1);
            if (tool.color < 0 || tool.color > 15)
                f.fault("color", QStringLiteral("a tool's colour is a palette index 0 to 15"));
            t.tools.push_back(tool);
        });
        b->finish();
        return t;
    }

private:
    const ScreenDescription& m_d;
};

} // namespace

void readRuleTables(Fields& root, ScreenDescription& d)
{
    TableReader r(d);
    r.load(root, d.load);
    r.navigation(root, d.navigation);
    d.reward = r.reward(root);
    d.activity = r.activity(root);
    if (d.activity && !d.reward)
        root.fault("reward", QStringLiteral("an activity needs a reward player and movie"));
    d.board = r.board(root);
}

} // namespace screens
