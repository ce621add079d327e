#include <vantrel/render/frame_pacer.h>

#include <vantrel/runtime/exceptions.h>

namespace vantrel {

namespace {

int32_t WrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t WrappingSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

void FramePacer::Start(int hertz, int32_t now) {
    // The frame period is 1000 / hertz: no rate, no period.
    if (hertz < 1) RaiseRuntimeError("Frame rate must be at least 1 Hz");
    _rate = hertz;
    _period = 1000 / hertz;
    _remainder = 1000 - _period * hertz;
    _fraction = 0;
    _next = now;
}

int FramePacer::NextWait(int32_t now) {
    _next = WrappingAdd(_next, _period);
    _fraction += _remainder;
    if (_fraction >= _rate) {
        _fraction -= _rate;
        _next = WrappingAdd(_next, 1);
    }
    int32_t wait = WrappingSub(_next, now);
    if (wait > 0) return wait;
    _next = now;
    return 0;
}

}  // namespace vantrel
