// The mixer-backed audio drivers: TSonvarAudioDriver runs the software mixer
// on an output device (mode 1: the device that pulls blocks from its own
// thread, "Sonvar DirectSound"; mode 0: the timer-refilled queue, "Sonvar
// Multimedia"; mode -1 tries 0, then 1, "Sonvar"). TSonvarSound and
// TSonvarChannel wrap a mixer sound and a mixer channel handle.
//
// A driver whose device cannot open fails Startup (the Null driver stays
// current). Sounds made while no mixer is open hold no mixer sound and play
// nothing; a sample the open mixer refuses gives Null. A sample still being
// decoded (sample_fill.h) is played in place, not copied, as it fills.
// Main thread only.
#pragma once

#include <vantrel/audio/audio_driver.h>

namespace vantrel {

struct sound_buffer;

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

// Starts the platform's audio output and registers the three driver names
// ("Sonvar DirectSound" only when the output started).
void StartSonvarDriverModule();

}  // namespace vantrel
