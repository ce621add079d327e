// The millisecond counter on Windows: the multimedia clock (timeGetTime),
// milliseconds since the system started, wrapping after 2^32 ms; its
// resolution follows the timer resolution the system driver raises to
// 1 ms at start-up. Any thread; it cannot fail.
#include <windows.h>
#include <mmsystem.h>

#include <vantrel/system/timer_service.h>

namespace vantrel {

uint32_t MillisecondCounter() { return timeGetTime(); }

}  // namespace vantrel
