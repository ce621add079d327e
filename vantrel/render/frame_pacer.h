// Software frame pacing: deadlines a whole number of milliseconds apart
// that add up to exactly one second over `rate` frames (for 60 Hz the
// deadlines advance 16, 17, 17, 16, 17, 17, ... ms).
//
// The clock is passed in, so the arithmetic is pure; readings are the
// wrapping 32-bit millisecond counter and differences are taken modulo 2^32.
// A late frame moves the deadline to the clock reading: lateness is never
// made up by later short frames.
//
// Failure: a rate below 1 frame per second raises TRuntimeException.
//
// Not synchronised; one owner.
#pragma once

#include <cstdint>

namespace vantrel {

class FramePacer {
public:
    // Starts pacing at hertz frames per second from the reading now.
    void Start(int hertz, int32_t now);
    // Advances the deadline by one frame and returns the milliseconds to
    // wait until it, or 0 when the frame is on or past its deadline.
    int NextWait(int32_t now);
    int32_t Deadline() const { return _next; }

private:
    int _rate = 0;
    int _period = 0;
    int _remainder = 0;
    int _fraction = 0;
    int32_t _next = 0;
};

}  // namespace vantrel
