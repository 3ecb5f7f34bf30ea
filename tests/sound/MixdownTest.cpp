#include "Mixdown.h"

#include <gtest/gtest.h>

using namespace movie::sound;

namespace {

SharedSound constant(int16_t value, int frames)
{
    auto s = std::make_shared<DecodedSound>();
    s->samples.assign(size_t(frames) * 2, value);
    return s;
}

} // namespace

TEST(Mixdown, SoundsStartAtTheirTimes)
{
    std::vector<ScheduledSound> list;
    list.push_back({0.5, 2, constant(300, 44100), {}});
    list.push_back({0.0, 1, constant(100, 44100), {}});
    list.push_back({5.0, 3, constant(999, 10), {}});  // after the end
    const auto out = mixdown(list, 1.0);
    ASSERT_EQ(out.size(), 44100u * 2);
    EXPECT_EQ(out[0], 100);
    EXPECT_EQ(out[22049 * 2], 100);
    EXPECT_EQ(out[22050 * 2], 400);
    EXPECT_EQ(out[44099 * 2 + 1], 400);
}

TEST(Mixdown, SoundInfoIsHonoured)
{
    SoundInfo once;
    once.syncNoMultiple = true;
    std::vector<ScheduledSound> list;
    list.push_back({0.0, 1, constant(100, 44100), once});
    list.push_back({0.1, 1, constant(100, 44100), once});
    const auto out = mixdown(list, 0.5);
    EXPECT_EQ(out[10000 * 2], 100);
    EXPECT_TRUE(mixdown({}, -3).empty());
}
