#include <gtest/gtest.h>

#include "kit/CostShare.h"

TEST(CostShare, HoldsWorkBackUntilItsShareOfTheTimeIsKept) {
    struct Case { double share, start, end, asked; bool due; };
    const Case cases[] = {
        {0.1, 1.000, 1.010, 1.0999, false},  // 10 ms of work wants 90 ms without it after it
        {0.1, 1.000, 1.010, 1.1001, true},
        {0.1, 1.000, 1.0001, 1.050, true},   // cheap work at a 50 ms refresh is never held back
        {0.5, 2.000, 2.020, 2.039, false},
        {0.5, 2.000, 2.020, 2.041, true},
        {1.0, 3.000, 3.020, 3.020, true},    // all of the time: due again at once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.share << " " << c.start << "-" << c.end << " asked at " << c.asked);
        kit::CostShare share(c.share);
        EXPECT_TRUE(share.Due(c.start)) << "nothing ran yet";
        share.Ran(c.start, c.end);
        EXPECT_EQ(share.Due(c.asked), c.due);
    }
}
