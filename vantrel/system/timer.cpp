#include <vantrel/system/timer.h>

#include <vantrel/runtime/math.h>
#include <vantrel/system/main_thread_call.h>
#include <vantrel/system/system_driver.h>
#include <vantrel/system/timer_service.h>

namespace vantrel {
namespace {

constexpr int kMaxTimers = 16;

bool timerModuleStarted = false;
int timerIds[kMaxTimers];
int timerIdCount = 0;

bool IsRunningId(int id) {
    for (int i = 0; i < timerIdCount; ++i) {
        if (timerIds[i] == id) return true;
    }
    return false;
}

// Main thread, inside the pump. A tick posted just before its timer stopped
// finds its id gone and is dropped; a listed id means the glue still holds
// the timer, so the pointer is alive.
void DeliverTimerTick(void* timer, intptr_t id) {
    if (IsRunningId(static_cast<int>(id))) static_cast<TTimer*>(timer)->Fire();
}

// The platform's timer thread: hand the tick over and touch nothing else.
void PlatformTimerCallback(int id, void* timer) {
    PostMainThreadCall(DeliverTimerTick, timer, id);
}

int StartPlatformTimer(float hertz, TTimer* timer) {
    if (timerIdCount == kMaxTimers) return 0;
    int period = TruncToInt(1000.0 / hertz);
    if (period <= 0) return 0;
    int id = StartPeriodicPlatformTimer(period, PlatformTimerCallback, timer);
    if (id == 0) return 0;
    timer->Retain();  // the running platform timer keeps the timer alive
    timerIds[timerIdCount++] = id;
    return id;
}

void StopPlatformTimer(int id, TTimer* timer) {
    for (int i = 0; i < timerIdCount; ++i) {
        if (timerIds[i] != id) continue;
        timerIds[i] = timerIds[--timerIdCount];
        CancelPlatformTimer(id);
        timer->Release();
        return;
    }
}

}  // namespace

int TTimer::Ticks() { return _ticks; }

int TTimer::Stop() {
    if (_handle == 0) return 0;
    Ref<TTimer> self(this);  // the glue may hold the last other share
    StopPlatformTimer(_handle, this);
    _handle = 0;
    _event = nullptr;
    return 0;
}

int TTimer::Fire() {
    if (_handle == 0) return 0;
    ++_ticks;
    if (_event) {
        SendEvent(_event);
    } else {
        SendEvent(MakeEvent(EventId::TimerTick, Ref<Object>(this), _ticks, 0, 0, 0, nullptr));
    }
    return 0;
}

int TTimer::Wait() {
    if (_handle == 0) return 0;
    if (!SystemEventsPumping()) {
        Ref<TTimer> self(this);  // a hook may stop the timer while we wait
        do {
            WaitSystemEvents();
        } while (_ticks == _wticks && _handle != 0);
    }
    int n = _ticks - _wticks;
    _wticks += n;
    return n;
}

Ref<TTimer> TTimer::Create(float hertz, const Ref<TEvent>& event) {
    StartTimerModule();
    Ref<TTimer> timer = MakeRef<TTimer>();
    int id = StartPlatformTimer(hertz, timer.get());
    if (id == 0) return nullptr;
    timer->_event = event;
    timer->_handle = id;
    return timer;
}

void StartTimerModule() {
    if (timerModuleStarted) return;
    timerModuleStarted = true;
    StartSystemModule();
}

int MillisecondClock() {
    return static_cast<int>(MillisecondCounter());
}

}  // namespace vantrel
