// Periodic timers and the millisecond clock.
//
// A TTimer counts the ticks of a periodic platform timer. The platform's
// callback only posts each tick to the main thread, so ticks are counted
// (and TimerTick events emitted) on the main thread while it pumps events:
// a main thread that does not pump sees no ticks, and they are all counted
// at its next pump. At most 16 timers run at once; Create returns Null for a
// 17th, for a rate whose period truncates below 1 ms, or when the platform
// refuses. A stopped timer cannot restart; its Fire and Wait return 0 at
// once.
//
// Main thread only.
#pragma once

#include <vantrel/runtime/object.h>
#include <vantrel/system/event.h>

namespace vantrel {

class TTimer : public Object {
public:
    // Ticks delivered since the timer was created.
    virtual int Ticks();
    // Stops the platform timer; ticks still in the queue are not counted.
    virtual int Stop();
    // Counts one tick and emits the timer's event, or a new TimerTick event
    // (source this timer, data the tick count) when it has none.
    virtual int Fire();
    // Blocks until at least one tick has arrived since the previous Wait and
    // returns how many did. Called while events are being pumped (from a
    // hook), it cannot block and returns the ticks counted so far, maybe 0.
    virtual int Wait();

    // A running timer at hertz, or Null. event may be Null.
    static Ref<TTimer> Create(float hertz, const Ref<TEvent>& event);

private:
    int _ticks = 0;
    int _wticks = 0;
    Ref<TTimer> _cycle;
    Ref<TEvent> _event;
    int _handle = 0;
};

void StartTimerModule();

inline Ref<TTimer> MakeTimer(float hertz, const Ref<TEvent>& event) { return TTimer::Create(hertz, event); }
inline int TimerTickCount(const Ref<TTimer>& timer) { return timer->Ticks(); }
inline int AwaitTimerTicks(const Ref<TTimer>& timer) { return timer->Wait(); }
inline int HaltTimer(const Ref<TTimer>& timer) {
    timer->Stop();
    return 0;
}
// Milliseconds since an arbitrary start; wraps after 2^32 ms, reading
// negative in the second half of that span. Differences give elapsed time.
int MillisecondClock();

}  // namespace vantrel
