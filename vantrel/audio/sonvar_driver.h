// The mixer-backed audio drivers, registered under three names: "Sonvar
// DirectSound" runs the software mixer on the output device that pulls blocks
// from its own thread, "Sonvar Multimedia" on the timer-refilled queue, and
// "Sonvar" tries the queue first, then the pulling device. Pick one by name
// (audio_driver.h); the channels it hands out are TSonvarChannels.
//
// A driver whose device cannot open fails Startup (the Null driver stays
// current). Sounds made while no mixer is open play nothing; a sample the
// open mixer refuses loads as Null. A sample still being decoded is played
// in place, not copied, as it fills.
// Main thread only.
#pragma once

#include <vantrel/audio/audio_driver.h>

namespace vantrel {

// A channel of the mixer: a handle on one of its voices.
class TSonvarChannel : public TChannel {
public:
    // Releases the handle; a voice still playing on it plays to its end.
    ~TSonvarChannel() override;

    // Stops the voice and releases the handle; the channel is inert after.
    void Stop() override;
    void SetPaused(int paused) override;
    void SetVolume(float volume) override;
    void SetPan(float pan) override;
    void SetDepth(float depth) override;
    void SetRate(float rate) override;
    int Playing() override;
    // Frames played since the voice started, loops included.
    virtual int Position();

    static Ref<TSonvarChannel> CreateWithChannel(int handle);

    int sv_channel = 0;
};

// Starts the platform's audio output and registers the three driver names
// ("Sonvar DirectSound" only when the output started).
void StartSonvarDriverModule();

}  // namespace vantrel
