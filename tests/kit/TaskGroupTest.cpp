#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <stdexcept>

#include "kit/TaskGroup.h"

// An exception on a worker thread used to end the program (std::terminate); it must reach the waiting thread,
// and only after every other piece of work has ended.
TEST(TaskGroup, AWorkersExceptionReachesTheWaiterAfterAllWorkEnded) {
    std::atomic<int> ended = 0;
    kit::TaskGroup group;
    group.Run([] { throw std::bad_alloc(); });
    for (int i = 0; i < 4; ++i) group.Run([&ended] { ++ended; });
    EXPECT_THROW(group.Wait(), std::bad_alloc);
    EXPECT_EQ(ended, 4);
    EXPECT_NO_THROW(group.Wait()) << "the error is thrown once";
}

TEST(TaskGroup, LeavingByTheCallersOwnExceptionStillJoinsTheThreads) {
    std::atomic<int> ended = 0;
    try {
        kit::TaskGroup group;
        for (int i = 0; i < 4; ++i) group.Run([&ended] { ++ended; });
        throw std::runtime_error("the caller's share failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ended, 4);
}
