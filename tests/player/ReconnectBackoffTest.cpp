#include "radio/ReconnectBackoff.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
TEST(ReconnectBackoff, DoublesUpToHalfAMinuteAndStartsOverAfterAReset)
{
    CReconnectBackoff backoff;
    std::vector<int> delays;
    for (int i = 0; i < 8; ++i)
        delays.push_back(backoff.NextDelaySeconds());
    EXPECT_EQ((std::vector<int>{1, 2, 4, 8, 16, 30, 30, 30}), delays);

    backoff.Reset();
    EXPECT_EQ(1, backoff.NextDelaySeconds());
    EXPECT_EQ(2, backoff.NextDelaySeconds());
}
}
