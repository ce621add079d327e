#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <thread>
#include <vector>

#include <SDL.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <vantrel/runtime/runtime.h>
#include <vantrel/system/hook.h>
#include <vantrel/system/system_driver.h>
#include <vantrel/system/timer.h>
#include <vantrel/system/timer_service.h>

using namespace vantrel;
using Clock = std::chrono::steady_clock;

namespace {

int ElapsedMs(Clock::time_point since) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

int WrappedDifference(int a, int b) {
    return static_cast<int>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

TEST(Timers, A50HzTimerPacesALoopOf5msPasses) {
    Ref<TTimer> timer = MakeTimer(50.0f, nullptr);
    ASSERT_TRUE(timer);
    AwaitTimerTicks(timer);  // line up with the timer
    int waits = 0, ones = 0, total = 0;
    Clock::time_point start = Clock::now();
    while (ElapsedMs(start) < 1000) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        int n = AwaitTimerTicks(timer);
        ++waits;
        ones += n == 1;
        total += n;
    }
    int elapsed = ElapsedMs(start);
    HaltTimer(timer);
    // Loose bounds: the machine running this may be busy.
    EXPECT_GE(ones * 10, waits * 7) << ones << " of " << waits;
    EXPECT_NEAR(total, elapsed / 20, 8) << total << " ticks in " << elapsed << " ms";
}

TEST(Timers, ASlowPassIsMadeUpWithoutLosingTicks) {
    Ref<TTimer> timer = MakeTimer(50.0f, nullptr);
    ASSERT_TRUE(timer);
    int counted = AwaitTimerTicks(timer);
    std::this_thread::sleep_for(std::chrono::milliseconds(70));
    int n = AwaitTimerTicks(timer);
    EXPECT_GE(n, 3);
    EXPECT_LE(n, 6);
    counted += n + AwaitTimerTicks(timer);
    EXPECT_EQ(counted, TimerTickCount(timer));
    HaltTimer(timer);
}

namespace {

void HoldTheTimerThread(int, void*) { std::this_thread::sleep_for(std::chrono::milliseconds(400)); }

}  // namespace

TEST(Timers, TicksOwedAfterAStalledTimerThreadAreDeliveredNotDropped) {
    Ref<TTimer> timer = MakeTimer(50.0f, nullptr);
    ASSERT_TRUE(timer);
    AwaitTimerTicks(timer);
    const int before = TimerTickCount(timer);
    Clock::time_point start = Clock::now();
    // Every platform timer shares one callback thread: this one holds it for
    // twenty periods of the frame timer.
    ASSERT_NE(StartOneShotPlatformTimer(1, HoldTheTimerThread, nullptr), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    AwaitTimerTicks(timer);
    const int elapsed = ElapsedMs(start);
    const int ticks = TimerTickCount(timer) - before;
    HaltTimer(timer);
    // Loose bounds for a busy machine; restarting the count after the stall
    // would lose about twenty.
    EXPECT_NEAR(ticks, elapsed / 20, 8) << ticks << " ticks in " << elapsed << " ms";
}

TEST(Timers, SixteenRunAtOnceAndStoppedOnesReturnAtOnce) {
    std::vector<Ref<TTimer>> timers;
    for (int i = 0; i < 16; ++i) {
        timers.push_back(MakeTimer(10.0f, nullptr));
        ASSERT_TRUE(timers.back()) << i;
    }
    EXPECT_FALSE(MakeTimer(10.0f, nullptr));
    HaltTimer(timers[3]);
    Ref<TTimer> replacement = MakeTimer(10.0f, nullptr);
    EXPECT_TRUE(replacement);

    Clock::time_point start = Clock::now();
    EXPECT_EQ(AwaitTimerTicks(timers[3]), 0);
    EXPECT_EQ(timers[3]->Fire(), 0);
    EXPECT_LT(ElapsedMs(start), 50);
    EXPECT_EQ(TimerTickCount(timers[3]), 0);

    for (Ref<TTimer>& t : timers) HaltTimer(t);
    HaltTimer(replacement);
    EXPECT_FALSE(MakeTimer(1001.0f, nullptr));  // period below 1 ms
    EXPECT_FALSE(MakeTimer(0.0f, nullptr));
    EXPECT_FALSE(MakeTimer(-5.0f, nullptr));
}

namespace {

std::vector<int> tickData;
Object* tickSource = nullptr;

Ref<Object> RecordTick(int, const Ref<Object>& data, const Ref<Object>&) {
    if (Ref<TEvent> e = Cast<TEvent>(data); e && e->id == EventId::TimerTick && e->source.get() == tickSource) {
        tickData.push_back(e->data);
    }
    return data;
}

}  // namespace

TEST(Timers, TicksAreEventsWithACountAndTheTimerAsSource) {
    Ref<TTimer> timer = MakeTimer(100.0f, nullptr);
    ASSERT_TRUE(timer);
    tickSource = timer.get();
    tickData.clear();
    InstallHook(EventHookId, RecordTick, nullptr, 0);
    while (TimerTickCount(timer) < 3) AwaitTimerTicks(timer);
    UninstallHook(EventHookId, RecordTick, nullptr);
    ASSERT_GE(tickData.size(), 3u);
    for (size_t i = 0; i < tickData.size(); ++i) EXPECT_EQ(tickData[i], static_cast<int>(i) + 1);

    // A dropped timer keeps running (the glue holds it) until stopped; ticks
    // queued after the stop are not counted.
    Object* raw = timer.get();
    Ref<TTimer> kept = timer;
    timer = nullptr;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    HaltTimer(kept);
    int before = TimerTickCount(kept);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    PumpSystemEvents();
    EXPECT_EQ(TimerTickCount(kept), before);
    EXPECT_EQ(kept.get(), raw);
}

TEST(Timers, AGivenEventIsEmittedOnEveryTick) {
    Ref<TEvent> event = MakeEvent(EventId::TimerTick, nullptr, 42, 0, 0, 0, nullptr);
    Ref<TTimer> timer = MakeTimer(100.0f, event);
    ASSERT_TRUE(timer);
    tickSource = nullptr;
    tickData.clear();
    InstallHook(EventHookId, RecordTick, nullptr, 0);
    AwaitTimerTicks(timer);
    AwaitTimerTicks(timer);
    UninstallHook(EventHookId, RecordTick, nullptr);
    HaltTimer(timer);
    ASSERT_GE(tickData.size(), 2u);
    for (int data : tickData) EXPECT_EQ(data, 42);
}

TEST(Timers, MillisecondClockCountsFromBootAndFollowsRealTime) {
    // The kernel's uptime, in hundredths of a second: a seed taken at
    // start-up must depend on it, not on how long start-up took.
    double uptime = 0;
#ifdef _WIN32
    uptime = static_cast<double>(GetTickCount64()) / 1000.0;
#else
    std::ifstream("/proc/uptime") >> uptime;
#endif
    ASSERT_GT(uptime, 0.0);
    int sinceBoot = static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(uptime * 1000.0)));
    int before = MillisecondClock();
    EXPECT_GE(WrappedDifference(before, sinceBoot), 0);
    EXPECT_LT(WrappedDifference(before, sinceBoot), 1000);

    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    int elapsed = WrappedDifference(MillisecondClock(), before);
    EXPECT_GE(elapsed, 49);
    EXPECT_LT(elapsed, 1000);
}

namespace {

struct OneShotProbe {
    std::atomic<int> calls{0};
    std::atomic<int> rearms{0};
    std::atomic<bool> onMainThread{false};
    std::thread::id mainThread = std::this_thread::get_id();
};

void CountOneShot(int, void* user) {
    auto* probe = static_cast<OneShotProbe*>(user);
    if (std::this_thread::get_id() == probe->mainThread) probe->onMainThread = true;
    probe->calls++;
}

void RearmOneShot(int, void* user) {
    auto* probe = static_cast<OneShotProbe*>(user);
    if (++probe->calls < 10) probe->rearms += StartOneShotPlatformTimer(5, RearmOneShot, user) != 0;
}

}  // namespace

TEST(TimerService, OneShotsFireOnceOffTheMainThreadAndCanRearm) {
    OneShotProbe probe;
    int id = StartOneShotPlatformTimer(5, CountOneShot, &probe);
    ASSERT_NE(id, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(probe.calls, 1);
    EXPECT_FALSE(probe.onMainThread);
    CancelPlatformTimer(id);  // already finished: harmless

    OneShotProbe cancelled;
    CancelPlatformTimer(StartOneShotPlatformTimer(50, CountOneShot, &cancelled));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(cancelled.calls, 0);

    OneShotProbe chain;
    ASSERT_NE(StartOneShotPlatformTimer(5, RearmOneShot, &chain), 0);
    Clock::time_point start = Clock::now();
    while (chain.calls < 10 && ElapsedMs(start) < 5000) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(chain.calls, 10);
    EXPECT_EQ(chain.rearms, 9);
    EXPECT_EQ(StartOneShotPlatformTimer(0, CountOneShot, &probe), 0);
}

namespace {

// Every call of a periodic platform timer, numbered from 1, with the time
// it ran at; sized for a second of a 2 ms timer and more.
struct CallLog {
    static constexpr int kSize = 2000;
    std::atomic<int> calls{0};
    std::atomic<uint64_t> at[kSize] = {};
    std::atomic<uint64_t> stallEnd{0};
};

void LogCall(int, void* user) {
    auto* log = static_cast<CallLog*>(user);
    const int n = ++log->calls;
    if (n < CallLog::kSize) log->at[n] = SDL_GetTicks64();
}

void StallOnFirstCall(int, void* user) {
    auto* log = static_cast<CallLog*>(user);
    if (++log->calls > 1) return;
    std::this_thread::sleep_for(std::chrono::seconds(3));
    log->stallEnd = SDL_GetTicks64();
}

}  // namespace

TEST(TimerService, LateCallsOfAFastTimerKeepToItsGrid) {
    // Due times lie at start + k * period, so the call made at time t is
    // call number (t - start) / period whatever the load: a timer that
    // counted its periods from each late call would fall further behind
    // with every one. The clock is read just before and just after the
    // start, which brackets the grid's origin.
    constexpr uint64_t kPeriod = 2;
    CallLog log;
    const uint64_t before = SDL_GetTicks64();
    const int id = StartPeriodicPlatformTimer(static_cast<int>(kPeriod), LogCall, &log);
    const uint64_t after = SDL_GetTicks64();
    ASSERT_NE(id, 0);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    CancelPlatformTimer(id);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a call under way ends
    const int calls = std::min(log.calls.load(), CallLog::kSize - 1);
    ASSERT_GT(calls, 50);

    // A call never runs ahead of its due time (give or take the millisecond
    // SDL may wake early). It can run behind it (a preempted timer thread,
    // a burst making up late periods), but not on every call of the last
    // 200 ms.
    const uint64_t end = log.at[calls];
    int behind = calls;
    for (int n = 1; n <= calls; ++n) {
        const uint64_t at = log.at[n];
        EXPECT_LE(static_cast<uint64_t>(n), (at - before) / kPeriod + 1) << "call " << n << " at " << at - before << " ms";
        if (at + 200 >= end) behind = std::min(behind, static_cast<int>((at - after) / kPeriod) - n);
    }
    EXPECT_LE(behind, 3) << calls << " calls in " << end - before << " ms";
}

TEST(TimerService, AStallOfSecondsMakesUpAtMostOneSecondOfCalls) {
    // A stopped process or a suspended machine wakes its timers seconds
    // late; making up every period would flood the owner. Here the timer's
    // own first call holds the timer thread for three seconds.
    constexpr uint64_t kPeriod = 10;
    CallLog log;
    const int id = StartPeriodicPlatformTimer(static_cast<int>(kPeriod), StallOnFirstCall, &log);
    ASSERT_NE(id, 0);
    while (log.stallEnd == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const int calls = log.calls;
    const uint64_t since = SDL_GetTicks64() - log.stallEnd;
    CancelPlatformTimer(id);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a call under way ends
    const int due = static_cast<int>(since / kPeriod);
    const int afterStall = calls - 1;
    EXPECT_LE(afterStall, 1000 / static_cast<int>(kPeriod) + due + 5) << since << " ms after the stall";
    EXPECT_GE(afterStall, due / 2) << since << " ms after the stall";  // and it keeps running
}
