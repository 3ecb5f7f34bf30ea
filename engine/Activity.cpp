#include "Activity.h"

#include "Screen.h"
#include "ScreenDescription.h"

#include <memory>

namespace engine {

using screens::Control;

Activity::Activity(screens::Screen& screen, ActivityTable table, screens::Reward reward, LoadMovie loadMovie)
    : m_screen(screen), m_table(std::move(table)), m_reward(std::move(reward)), m_loadMovie(std::move(loadMovie))
{
}

Control& Activity::get(const QString& name) const
{
    // Names are checked when the description is read; a screen is never built from one
    // that failed the check.
    return *m_screen.control(name);
}

void Activity::setVisible(const QString& name, bool visible)
{
    if (!name.isEmpty())
        get(name).setVisible(visible);
}

void Activity::drop(const SlotRule& slot, Control& source)
{
    if (slot.rule == DropRule::Match) {
        dropMatch(slot, source);
    } else if (!dropFill(slot, source)) {
        return;
    }
    checkCompletion();
}

void Activity::dropMatch(const SlotRule& slot, Control& source)
{
    Control& right = get(slot.right);
    if (source.pictureHandle() != right.pictureHandle()) {
        setVisible(slot.wrongMark, true);
        return;
    }
    Control& answer = get(slot.answer);
    get(slot.slot).setPicture(answer.picture());
    if (&answer != &right)
        answer.setVisible(true);
    right.setVisible(false); // by name, not through the source
    setVisible(slot.rightMark, true);
    setVisible(slot.wrongMark, false);
}

bool Activity::dropFill(const SlotRule& slot, Control& source)
{
    for (const QString& refused : m_table.refusedFor(slot)) {
        if (source.pictureHandle() == get(refused).pictureHandle()) {
            setVisible(m_table.wrongMarkFor(slot), true);
            return true;
        }
    }
    Control& target = get(slot.slot);
    // The screen's own background picture: no screen has one, so its handle is 0.
    constexpr screens::Picture::Handle background = 0;
    const bool accepted = target.pictureHandle() == background;
    if (accepted) {
        target.setPicture(source.picture());
        source.setVisible(false);
        for (const QString& mark : slot.hide)
            setVisible(mark, false);
        for (const QString& mark : slot.show)
            setVisible(mark, true);
    } else {
        source.setVisible(true); // refused: the piece stays where it was
        if (slot.acceptedOnly)
            return false;
    }
    if (slot.group >= 0) {
        const SlotGroup& group = m_table.completion.groups[slot.group];
        if (slot.showsGroupMark) {
            if (accepted)
                setVisible(group.mark, true);
        } else {
            bool all = true;
            for (const QString& s : group.members)
                all = filled(s) && all; // every comparison is made
            if (all)
                setVisible(group.mark, true);
        }
    }
    return true;
}

bool Activity::filled(const QString& slot) const
{
    const screens::Picture::Handle empty =
        m_table.completion.blank.isEmpty() ? 0 : get(m_table.completion.blank).pictureHandle();
    return get(slot).pictureHandle() != empty;
}

bool Activity::checkCompletion()
{
    bool passed = true;
    const Completion& c = m_table.completion;
    switch (c.form) {
    case Completion::Form::Pairs:
        for (const auto& [slot, answer] : c.pairs)
            passed = (get(slot).pictureHandle() == get(answer).pictureHandle()) && passed;
        break;
    case Completion::Form::Filled:
        for (const QString& slot : c.filled)
            passed = filled(slot) && passed;
        break;
    case Completion::Form::Groups:
        for (const SlotGroup& g : c.groups)
            passed = get(g.mark).isVisible() && passed;
        break;
    }
    if (passed)
        reward();
    return passed;
}

void Activity::reward()
{
    Control& player = get(m_reward.player);
    player.setVisible(true);
    m_loadMovie(player, m_reward.movie);
}

void Activity::hover(Control& piece)
{
    if (!m_table.cursor.isEmpty())
        piece.setMouseIcon(get(m_table.cursor).picture());
}

void ActivityBehaviour::attach(screens::Screen& screen, const screens::ScreenDescription& d,
                               screens::Services& services) const
{
    if (!d.activity || !d.reward)
        return;
    auto activity = std::make_shared<Activity>(screen, *d.activity, *d.reward,
        [&services](Control& player, const QString& movie) { player.setMovie(services.moviePath(movie)); });
    const ActivityTable& t = activity->table();
    for (const SlotRule& slot : t.slotRules)
        screen.on(slot.slot).dragDrop = [activity, &slot](Control& source, float, float) { activity->drop(slot, source); };
    for (const QString& piece : t.hover) {
        Control* c = screen.control(piece);
        screen.on(piece).mouseMove = [activity, c](const screens::MouseArgs&) { activity->hover(*c); };
    }
}

} // namespace engine
