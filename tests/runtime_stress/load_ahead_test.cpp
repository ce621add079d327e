// Loads on the worker pool: an early result taken while the work goes on,
// a take that runs a load no worker is free for, and a stop that reaches a
// work waiting for its take. Run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <semaphore>
#include <thread>
#include <vector>

#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/load_ahead.h>

using namespace vantrel;
using namespace std::chrono_literals;

TEST(LoadAhead, AnEarlyResultIsTakenAtOnceAndALaterFailureShowsThroughDone) {
    const Ref<Object> early = String("early").AsObject();
    std::binary_semaphore goOn(0);
    std::atomic<bool> published{false};
    std::shared_ptr<LoadJob> load = LoadJob::Start([&](LoadJob& self) {
        self.Publish(early);
        published = true;
        self.WaitUntilTaken();
        // Bounded, so that a take that waited for the end fails instead of
        // hanging.
        if (!goOn.try_acquire_for(10s)) throw TRuntimeException("held back");
        throw TRuntimeException("late");
    });

    // A take before a worker has begun would run the work itself.
    while (!published) std::this_thread::yield();
    EXPECT_EQ(load->Take().get(), early.get());
    EXPECT_FALSE(load->Done()) << "the take waited for the work to end";
    goOn.release();
    try {
        while (!load->Done()) std::this_thread::yield();
        ADD_FAILURE() << "the work's late exception was not raised";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString().To8Bit(), "late");
    }
    EXPECT_TRUE(load->Done()) << "the late exception is raised once";
    EXPECT_THROW(load->Take(), TRuntimeException) << "a load is taken once";
}

// Every worker holds a load waiting for its take: a take of a load still
// queued runs it on the taking thread instead of waiting behind them,
// without the work's pauses, and an exception raised before publishing
// reaches the take.
TEST(LoadAhead, ATakeRunsALoadNoWorkerHasBegun) {
    std::atomic<int> waiting{0};
    std::vector<std::shared_ptr<LoadJob>> held;
    for (std::size_t i = 0; i < kLoadWorkers; ++i) {
        held.push_back(LoadJob::Start([&](LoadJob& self) {
            self.Publish(nullptr);
            ++waiting;
            self.WaitUntilTaken();
        }));
    }
    while (waiting < static_cast<int>(kLoadWorkers)) std::this_thread::yield();

    std::thread::id ranOn;
    std::shared_ptr<LoadJob> queued = LoadJob::Start([&](LoadJob& self) {
        ranOn = std::this_thread::get_id();
        // The taker waits for the result anyway: no pause holds it up.
        self.Pause(std::chrono::hours(1));
        throw TRuntimeException("unreadable");
    });
    try {
        queued->Take();
        ADD_FAILURE() << "the load's exception was not raised at the take";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString().To8Bit(), "unreadable");
    }
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    for (const auto& load : held) EXPECT_FALSE(load->Take());
}

TEST(LoadAhead, AStopEndsAWorkWaitingForItsTakeAndRunsItsCancelHook) {
    std::atomic<bool> published{false}, cancelled{false};
    std::atomic<int> waited{-1};
    std::shared_ptr<LoadJob> load = LoadJob::Start([&](LoadJob& self) {
        self.OnStop([&] { cancelled = true; });
        self.Publish(nullptr);
        published = true;
        waited = self.WaitUntilTaken();
    });
    while (!published) std::this_thread::yield();
    load->Stop();
    while (!load->Done()) std::this_thread::yield();
    EXPECT_EQ(waited, 0);
    EXPECT_TRUE(cancelled);
}
