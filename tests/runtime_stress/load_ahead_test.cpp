// A load started ahead that hands its result over early and goes on
// working, and one whose handle is dropped while it waits for the take.
// Run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <semaphore>
#include <thread>

#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/load_ahead.h>

using namespace vantrel;
using namespace std::chrono_literals;

namespace {

// Two kinds of load, so that one kind's take can be seen to leave the other's.
template <int N>
class TTestLoad final : public TLoadAhead {
public:
    static Ref<TTestLoad> StartWork(const String& url, Work work) {
        Ref<TTestLoad> load(new TTestLoad(url));
        Start(load, std::move(work));
        return load;
    }
    static bool Take(const Ref<Object>& url, Ref<Object>& result) {
        return TakePending(typeid(TTestLoad), url, result);
    }

private:
    explicit TTestLoad(const String& url) : TLoadAhead(url) {}
};

}  // namespace

TEST(LoadAhead, AnEarlyResultIsTakenAtOnceAndALaterFailureShowsThroughDone) {
    const Ref<Object> early = String("early").AsObject();
    std::binary_semaphore goOn(0);
    std::atomic<bool> sawTake{false};
    Ref<TTestLoad<0>> load = TTestLoad<0>::StartWork("url", [&](TLoadAhead& self) {
        self.Publish(early);
        sawTake = self.WaitUntilTaken();
        // Bounded, so that a take that waited for the end fails instead of
        // hanging.
        if (!goOn.try_acquire_for(10s)) throw TRuntimeException("held back");
        throw TRuntimeException("late");
    });

    Ref<Object> result;
    EXPECT_FALSE(TTestLoad<1>::Take("url", result)) << "another kind's load took it";
    ASSERT_TRUE(TTestLoad<0>::Take("url", result));
    EXPECT_EQ(result.get(), early.get());
    EXPECT_FALSE(load->Done()) << "the take waited for the worker to end";
    goOn.release();
    try {
        while (!load->Done()) std::this_thread::yield();
        ADD_FAILURE() << "the worker's late exception was not raised";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString().To8Bit(), "late");
    }
    EXPECT_TRUE(load->Done()) << "the late exception is raised once";
    EXPECT_TRUE(sawTake);
    EXPECT_FALSE(TTestLoad<0>::Take("url", result)) << "a second load takes nothing";
}

TEST(LoadAhead, DroppingTheHandleStopsAWorkerWaitingForItsTake) {
    std::atomic<int> waited{-1};
    std::atomic<bool> stopping{false};
    TTestLoad<0>::StartWork("url", [&](TLoadAhead& self) {
        self.Publish(nullptr);
        waited = self.WaitUntilTaken();
        stopping = self.Stopping();
    });
    EXPECT_EQ(waited, 0);
    EXPECT_TRUE(stopping);
    Ref<Object> result;
    EXPECT_FALSE(TTestLoad<0>::Take("url", result)) << "a dropped load is no longer pending";
}
