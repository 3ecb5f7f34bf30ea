#include "RuleTables.h"

namespace screens {

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

} // namespace screens
