// Platform timer services: periodic and one-shot callbacks on a timer
// thread, the wrapping millisecond counter and the timer-resolution setting.
//
// Start... returns a non-zero id, or 0 when the service refuses (a period or
// delay below 1 ms, all 64 timer slots busy, or the platform refusing). The
// callback gets (id, user) on the service's own thread, never on the main
// thread, and must do very little: post work to the main thread or feed a
// lock-free ring. After CancelPlatformTimer returns no callback for that id
// starts any more; one that had already started may still finish. A one-shot
// timer is finished once its callback has started, so the callback may arm
// the next one-shot at once (a device refilled every 5 ms does exactly that).
// Periodic timers keep fixed due times (start + k * period): a late callback
// is followed by a shorter wait, and one that comes a whole period or more
// late (a busy timer thread, a slow callback) is repeated at once for every
// period that passed, so n periods bring n callbacks. A stall of more than a
// second (a stopped process, a suspended machine) brings at most a second's
// worth of callbacks, and the due times start again from its end.
//
// Start, cancel and the counter may be called from any thread, the callback
// included. The resolution calls belong to the main thread.
#pragma once

#include <cstdint>

namespace vantrel {

using PlatformTimerFunc = void (*)(int id, void* user);

int StartPeriodicPlatformTimer(int periodMs, PlatformTimerFunc callback, void* user);
int StartOneShotPlatformTimer(int delayMs, PlatformTimerFunc callback, void* user);
void CancelPlatformTimer(int id);

// Milliseconds since the system started, wrapping after 2^32 ms.
uint32_t MillisecondCounter();

// Asks for timers and sleeps accurate to about ms milliseconds, and undoes
// that. Through SDL's timer-resolution hint this changes the system timer
// period on Windows; Linux timers are high-resolution already (their slack
// is 50 microseconds), so there these calls change nothing.
void SetTimerResolution(int ms);
void ResetTimerResolution(int ms);

}  // namespace vantrel
