// Output devices: each owns the mixer, opens the platform's audio output at
// 44100 Hz, 2 channels, 16 bits and keeps the platform's play buffer filled
// ahead of the play position by mixing from a thread or timer of its own.
//
// open returns 0 on success and anything else on failure (the device is then
// closed by mixer_open); close stops the output, waits until no mixing is in
// progress and may be called on a device that never opened. Both run on the
// game thread. The platform glue lives in audio/sdl/.
#pragma once

namespace vantrel {

class mixer;

class audiodevice {
public:
    virtual ~audiodevice();
    virtual int open() = 0;
    virtual void close() = 0;

    // Made by open, destroyed with the device.
    mixer* mix = nullptr;
};

// The two platform devices: mode 1 pulls blocks from the output's own thread,
// mode 0 is a queue refilled from a 5 ms timer. Created closed.
audiodevice* CreateCallbackDevice();
audiodevice* CreateQueueDevice();
// Whether the platform's audio output could be started, so that the callback
// device can be offered at all.
bool AudioOutputAvailable();

}  // namespace vantrel
