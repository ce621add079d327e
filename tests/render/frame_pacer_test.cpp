#include <vantrel/render/frame_pacer.h>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include <vantrel/runtime/exceptions.h>

namespace vantrel {
namespace {

// Frames that always arrive early: the deadlines alone decide the waits.
TEST(FramePacer, SixtyHertzDeadlinesAddUpToOneSecond) {
    FramePacer pacer;
    pacer.Start(60, 1000);
    std::vector<int> steps;
    int32_t previous = pacer.Deadline();
    int total = 0;
    for (int frame = 0; frame < 120; ++frame) {
        int wait = pacer.NextWait(previous);
        int step = pacer.Deadline() - previous;
        EXPECT_EQ(wait, step);
        if (frame < 6) steps.push_back(step);
        total += step;
        previous = pacer.Deadline();
    }
    EXPECT_EQ(steps, (std::vector<int>{16, 17, 17, 16, 17, 17}));
    EXPECT_EQ(total, 2000);
}

TEST(FramePacer, LateFrameMovesDeadlineToClockWithoutCatchingUp) {
    FramePacer pacer;
    pacer.Start(60, 0);
    EXPECT_EQ(pacer.NextWait(5), 11);          // deadline 16
    EXPECT_EQ(pacer.NextWait(100), 0);         // deadline 33 missed by far
    EXPECT_EQ(pacer.Deadline(), 100);
    EXPECT_EQ(pacer.NextWait(100), 17);        // the pattern goes on from the late frame
    EXPECT_EQ(pacer.NextWait(pacer.Deadline() + 16), 0);  // exactly on time: no sleep
    EXPECT_EQ(pacer.Deadline(), 133);
}

TEST(FramePacer, RatesThatDivideASecondAndClockWrap) {
    FramePacer pacer;
    pacer.Start(50, INT_MAX - 5);
    EXPECT_EQ(pacer.NextWait(INT_MAX - 5), 20);  // deadline wraps past INT_MAX
    EXPECT_EQ(pacer.Deadline(), INT_MIN + 14);
    EXPECT_EQ(pacer.NextWait(INT_MIN + 20), 14);
    pacer.Start(1000, 0);
    EXPECT_EQ(pacer.NextWait(0), 1);

    // No rate has no frame period.
    EXPECT_THROW(pacer.Start(0, 0), TRuntimeException);
    EXPECT_THROW(pacer.Start(-60, 0), TRuntimeException);
}

}  // namespace
}  // namespace vantrel
