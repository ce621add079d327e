// Timer callbacks, one-shot re-arming, cancelling and posted main-thread
// calls racing each other; run under ThreadSanitizer by the test script.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <vantrel/system/main_thread_call.h>
#include <vantrel/system/system_driver.h>
#include <vantrel/system/timer.h>
#include <vantrel/system/timer_service.h>

using namespace vantrel;
using namespace std::chrono_literals;

namespace {

struct Counters {
    std::atomic<int> oneShots{0};
    std::atomic<int> periodic{0};
    std::atomic<bool> stop{false};
    std::atomic<int> chainsEnded{0};
};

void CountPeriodic(int, void* user) { static_cast<Counters*>(user)->periodic++; }

void Rearm(int, void* user) {
    auto* counters = static_cast<Counters*>(user);
    counters->oneShots++;
    if (counters->stop || StartOneShotPlatformTimer(1, Rearm, user) == 0) counters->chainsEnded++;
}

int mainCalls = 0;
void CountOnMain(void*, intptr_t) { ++mainCalls; }

}  // namespace

TEST(TimerServiceStress, StartCancelRearmAndPostFromManyThreads) {
    StartSystemModule();
    Counters counters;
    for (int i = 0; i < 4; ++i) StartOneShotPlatformTimer(1, Rearm, &counters);

    std::vector<std::thread> threads;
    std::atomic<int> posted{0};
    std::atomic<int> finished{0};
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                int id = StartPeriodicPlatformTimer(1 + i % 3, CountPeriodic, &counters);
                if (i % 2) std::this_thread::sleep_for(1ms);
                CancelPlatformTimer(id);
                posted += PostMainThreadCall(CountOnMain, nullptr, i);
            }
            finished++;
        });
    }
    mainCalls = 0;
    while (finished < 3 || mainCalls < posted) {
        PumpSystemEvents();
        std::this_thread::sleep_for(1ms);
    }
    for (std::thread& t : threads) t.join();
    counters.stop = true;
    while (counters.chainsEnded < 4) std::this_thread::sleep_for(1ms);
    PumpSystemEvents();
    EXPECT_EQ(posted.load(), 600);
    EXPECT_EQ(mainCalls, 600);
    EXPECT_GT(counters.oneShots.load(), 4);

    // Every cancelled timer stays quiet.
    int periodicAfter = counters.periodic;
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(counters.periodic.load(), periodicAfter);
}

TEST(TimerServiceStress, TimersTickWhileTheMainThreadPumps) {
    StartTimerModule();
    std::vector<Ref<TTimer>> timers;
    for (int i = 0; i < 16; ++i) timers.push_back(MakeTimer(200.0f + 50.0f * i, nullptr));
    auto until = std::chrono::steady_clock::now() + 300ms;
    while (std::chrono::steady_clock::now() < until) AwaitTimerTicks(timers[0]);
    for (Ref<TTimer>& timer : timers) {
        EXPECT_GT(TimerTickCount(timer), 0);
        HaltTimer(timer);
    }
}
