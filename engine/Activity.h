#pragma once

#include "Behaviour.h"
#include "RuleTables.h"

#include <functional>

namespace screens {
class Control;
class Screen;
} // namespace screens

namespace engine {

using screens::ActivityTable;
using screens::Completion;
using screens::DropRule;
using screens::SlotGroup;
using screens::SlotRule;

// The drag-and-match game of one open screen: the drop rules of its slots, the completion
// check and the reward, working on the screen's controls alone. It keeps no state of its
// own: the whole state is the controls' pictures and visibility.
class Activity {
public:
    using LoadMovie = std::function<void(screens::Control& player, const QString& storedName)>;

    Activity(screens::Screen& screen, ActivityTable table, screens::Reward reward, LoadMovie loadMovie);

    // The DragDrop of a slot, with the dragged control as its source.
    void drop(const SlotRule& slot, screens::Control& source);
    // The MouseMove of a hover piece.
    void hover(screens::Control& piece);
    // The completion check; runs the reward when it passes.
    bool checkCompletion();

    const ActivityTable& table() const { return m_table; }

private:
    screens::Control& get(const QString& name) const;
    void setVisible(const QString& name, bool visible);
    void dropMatch(const SlotRule& slot, screens::Control& source);
    // False when the handler ends without the completion check.
    bool dropFill(const SlotRule& slot, screens::Control& source);
    bool filled(const QString& slot) const;
    void reward();

    screens::Screen& m_screen;
    ActivityTable m_table;
    screens::Reward m_reward;
    LoadMovie m_loadMovie;
};

// Gives every screen whose description has an activity table its slot and hover handlers.
class ActivityBehaviour : public screens::Behaviour {
public:
    void attach(screens::Screen& screen, const screens::ScreenDescription& description,
                screens::Services& services) const override;
};

} // namespace engine
