// The driver and sound classes behind the mixer-backed audio drivers
// (sonvar_driver.h): TSonvarAudioDriver runs the software mixer on an output
// device (mode 1: the device that pulls blocks from its own thread; mode 0:
// the timer-refilled queue; mode -1 tries 0, then 1), TSonvarSound wraps a
// mixer sound. Inside the engine only: they hold the mixer's own buffers.
//
// Sounds made while no mixer is open hold no mixer sound and play nothing; a
// sample the open mixer refuses gives Null. A sample still being decoded
// (sample_fill.h) is played in place, not copied, as it fills.
// Main thread only.
#pragma once

#include <vantrel/audio/mixer.h>
#include <vantrel/audio/sonvar_driver.h>

namespace vantrel {

class TSonvarAudioDriver : public TAudioDriver {
public:
    String Name() override;
    int Startup() override;
    void Shutdown() override;
    Ref<TSound> CreateSound(const Ref<TAudioSample>& sample, int flags) override;
    Ref<TChannel> AllocChannel() override;

    static Ref<TSonvarAudioDriver> Create(const String& name, int mode);

    String _name;
    int _mode = 0;
};

class TSonvarSound : public TSound {
public:
    // Frees the mixer sound; voices still playing it keep it until they end.
    ~TSonvarSound() override;

    // Null for a channel of another driver, or when nothing could start.
    Ref<TChannel> Play(const Ref<TChannel>& channel) override;
    Ref<TChannel> Cue(const Ref<TChannel>& channel) override;

    // Keeps only the mixer sound, not the sample.
    static Ref<TSonvarSound> CreateWithSound(sound_buffer* handle, const Ref<TAudioSample>& sample);

    sound_buffer* sv_sound = nullptr;

private:
    Ref<TChannel> Start(const Ref<TChannel>& channel, int paused);
};

}  // namespace vantrel
