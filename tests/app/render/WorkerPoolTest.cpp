// The kept helper threads: every job of every call runs exactly once, calls of one job and of
// none are served, and the helpers started at the first call are the ones of every later call;
// a job that throws on a helper ends the call with its exception in the calling thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <thread>
#include <vector>

#include "app/render/WorkerPool.h"

TEST(WorkerPool, EveryJobOfEveryCallRunsOnceOnTheSameHelpers) {
    CWorkerPool pool;
    pool.Run(0, [](std::size_t) { ADD_FAILURE() << "no job to run"; });
    std::size_t helpers = 0;
    for (std::size_t count = 1; count < 300; count += 7) {
        SCOPED_TRACE(count);
        std::vector<std::atomic<int>> runs(count);
        pool.Run(count, [&](std::size_t i) { ++runs[i]; });
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(runs[i].load(), 1) << "job " << i;
        }
        if (count > 1) {
            helpers = helpers == 0 ? pool.GetHelperCount() : helpers;
            EXPECT_EQ(pool.GetHelperCount(), helpers);
        }
    }
    EXPECT_EQ(helpers, std::max(1u, std::thread::hardware_concurrency()) - 1);
}

// Memory that runs out in a job, on whichever thread takes it: the call ends with the exception
// in the caller (on a helper it would end the program), and the pool serves the next call.
TEST(WorkerPool, AJobThatThrowsEndsTheCallInTheCaller) {
    CWorkerPool pool;
    for (std::size_t failing : {std::size_t{0}, std::size_t{150}, std::size_t{299}}) {
        SCOPED_TRACE(failing);
        EXPECT_THROW(pool.Run(300,
                              [&](std::size_t i) {
                                  if (i == failing) {
                                      throw std::bad_alloc();
                                  }
                                  std::this_thread::yield();
                              }),
                     std::bad_alloc);
        std::atomic<int> runs{0};
        pool.Run(300, [&](std::size_t) { ++runs; });
        EXPECT_EQ(runs.load(), 300);
    }
}
