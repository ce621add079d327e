// The millisecond counter: milliseconds since the system started, wrapping
// after 2^32 ms. Counting from boot, not from the program's start, spreads
// what a program reads at start-up (its random seed) over the machine's
// uptime instead of the few hundred milliseconds that start-up takes.
// Any thread; it cannot fail.
#include <ctime>

#include <vantrel/system/timer_service.h>

namespace vantrel {

uint32_t MillisecondCounter() {
#ifdef CLOCK_BOOTTIME
    constexpr clockid_t kSinceBoot = CLOCK_BOOTTIME;   // includes time suspended
#else
    constexpr clockid_t kSinceBoot = CLOCK_MONOTONIC;
#endif
    timespec now{};
    clock_gettime(kSinceBoot, &now);
    const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

}  // namespace vantrel
