// The audio front: sounds, channels, and the registry of audio drivers chosen
// by name, with procedural calls that forward to the current driver.
//
// The base TAudioDriver is itself the silent "Null" driver: its sounds and
// channels accept every call and play nothing. Loading reports failure by
// returning Null; a driver that fails to start leaves the Null driver
// current, so later calls succeed silently. Main thread only.
#pragma once

#include <vantrel/audio/sample.h>
#include <vantrel/runtime/array.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

// Load flag: loop the sound.
inline constexpr int kSoundLoop = 1;

class TChannel : public Object {
public:
    virtual void Stop();
    virtual void SetPaused(int paused);
    virtual void SetVolume(float volume);
    virtual void SetPan(float pan);
    virtual void SetDepth(float depth);
    virtual void SetRate(float rate);
    virtual int Playing();
};

class TSound : public Object {
public:
    // Start the sound on the channel (Null: a fresh one); Cue starts it paused.
    virtual Ref<TChannel> Play(const Ref<TChannel>& channel);
    virtual Ref<TChannel> Cue(const Ref<TChannel>& channel);

    // url may be a TAudioSample; otherwise the sample loader chain reads it.
    // The sound is made by the current driver; Null when nothing loads.
    static Ref<TSound> Load(const Ref<Object>& url, int flags);
};

class TAudioDriver : public Object {
public:
    virtual String Name();
    virtual int Startup();
    virtual void Shutdown();
    virtual Ref<TSound> CreateSound(const Ref<TAudioSample>& sample, int flags);
    virtual Ref<TChannel> AllocChannel();
    virtual Ref<TSound> LoadSound(const Ref<Object>& url, int flags);

    Ref<TAudioDriver> _succ;

protected:
    // Links the new driver in at the head of the registry, which keeps it for
    // the rest of the run. Create drivers with MakeRef only.
    TAudioDriver();
    friend void StartAudioModule();
};

Ref<TSound> LoadSoundFromUrl(const Ref<Object>& url, int flags);
Ref<TChannel> StartSound(const Ref<TSound>& sound, const Ref<TChannel>& channel);
Ref<TChannel> PrepareSound(const Ref<TSound>& sound, const Ref<TChannel>& channel);
Ref<TChannel> ReserveChannel();
void HaltChannel(const Ref<TChannel>& channel);
int IsChannelPlaying(const Ref<TChannel>& channel);
void ChangeChannelVolume(const Ref<TChannel>& channel, float volume);
void ChangeChannelPan(const Ref<TChannel>& channel, float pan);
void ChangeChannelDepth(const Ref<TChannel>& channel, float depth);
void ChangeChannelRate(const Ref<TChannel>& channel, float rate);
void PauseChannelPlayback(const Ref<TChannel>& channel);
void ResumeChannelPlayback(const Ref<TChannel>& channel);

// Registered names in registry order (newest first), at most 100.
Array<String> ListAudioDrivers();
// Names match ignoring ASCII letter case.
int HasAudioDriver(const String& name);
// Shuts the current driver down, makes Null current, then starts the first
// driver of that name: 1 when it started and is current, else 0.
int SelectAudioDriver(const String& name);
// The current driver, selecting the default (silently Null) when none is.
Ref<TAudioDriver> CurrentAudioDriver();

// Registers the Null driver and the exit handler that shuts audio down.
void StartAudioModule();

}  // namespace vantrel
