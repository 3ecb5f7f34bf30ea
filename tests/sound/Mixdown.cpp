#include "Mixdown.h"

#include "Mixer.h"
#include "SoundFormat.h"

#include <algorithm>
#include <cmath>

namespace movie::sound {

std::vector<int16_t> mixdown(std::span<const ScheduledSound> sounds, double seconds)
{
    const int64_t total = std::isfinite(seconds)
        ? std::clamp<int64_t>(std::llround(seconds * OutputRate), 0, MaxSoundFrames)
        : 0;
    std::vector<const ScheduledSound*> order;
    for (const auto& s : sounds)
        order.push_back(&s);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto* a, const auto* b) { return a->seconds < b->seconds; });

    Mixer mixer(Mixer::Output::None);
    const Owner owner = Mixer::newOwner();
    std::vector<int16_t> out(size_t(total) * 2);
    int64_t at = 0;
    auto renderTo = [&](int64_t end) {
        while (at < end) {
            const int64_t n = std::min<int64_t>(end - at, Mixer::BufferFrames);
            mixer.render(std::span(out).subspan(size_t(at) * 2, size_t(n) * 2));
            at += n;
        }
    };
    for (const ScheduledSound* s : order) {
        if (!std::isfinite(s->seconds))
            continue;
        const int64_t start = std::max<int64_t>(std::llround(s->seconds * OutputRate), 0);
        if (start >= total)
            break;
        renderTo(start);
        mixer.startEvent(owner, s->soundId, s->sound, s->info);
    }
    renderTo(total);
    return out;
}

} // namespace movie::sound
