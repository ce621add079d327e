#include <vantrel/audio/audio_driver.h>

#include <vantrel/audio/sample_loader.h>
#include <vantrel/runtime/program.h>

namespace vantrel {

namespace {

struct Registry {
    Ref<TAudioDriver> head;
    Ref<TAudioDriver> current;
    Ref<TAudioDriver> nullDriver;
};

Registry& State() {
    static Registry registry;
    return registry;
}

}  // namespace

// ---- TChannel and TSound: the silent base behaviour

void TChannel::Stop() {}
void TChannel::SetPaused(int) {}
void TChannel::SetVolume(float) {}
void TChannel::SetPan(float) {}
void TChannel::SetDepth(float) {}
void TChannel::SetRate(float) {}
int TChannel::Playing() { return 0; }

Ref<TChannel> TSound::Play(const Ref<TChannel>&) { return MakeRef<TChannel>(); }
Ref<TChannel> TSound::Cue(const Ref<TChannel>&) { return MakeRef<TChannel>(); }

Ref<TSound> TSound::Load(const Ref<Object>& url, int flags) {
    Ref<TAudioSample> sample = Cast<TAudioSample>(url);
    if (!sample) sample = LoadSampleFromUrl(url);
    if (!sample) return nullptr;
    return CurrentAudioDriver()->CreateSound(sample, flags);
}

// ---- TAudioDriver: the Null driver

TAudioDriver::TAudioDriver() {
    _succ = State().head;
    State().head = Ref<TAudioDriver>(this);
}

String TAudioDriver::Name() { return "Null"; }
int TAudioDriver::Startup() { return 1; }
void TAudioDriver::Shutdown() {}
Ref<TSound> TAudioDriver::CreateSound(const Ref<TAudioSample>&, int) { return MakeRef<TSound>(); }
Ref<TChannel> TAudioDriver::AllocChannel() { return MakeRef<TChannel>(); }
Ref<TSound> TAudioDriver::LoadSound(const Ref<Object>& url, int flags) { return TSound::Load(url, flags); }

// ---- procedural front

Ref<TSound> LoadSoundFromUrl(const Ref<Object>& url, int flags) { return CurrentAudioDriver()->LoadSound(url, flags); }
Ref<TChannel> StartSound(const Ref<TSound>& sound, const Ref<TChannel>& channel) { return sound->Play(channel); }
Ref<TChannel> PrepareSound(const Ref<TSound>& sound, const Ref<TChannel>& channel) { return sound->Cue(channel); }
Ref<TChannel> ReserveChannel() { return CurrentAudioDriver()->AllocChannel(); }
void HaltChannel(const Ref<TChannel>& channel) { channel->Stop(); }
int IsChannelPlaying(const Ref<TChannel>& channel) { return channel->Playing(); }
void ChangeChannelVolume(const Ref<TChannel>& channel, float volume) { channel->SetVolume(volume); }
void ChangeChannelPan(const Ref<TChannel>& channel, float pan) { channel->SetPan(pan); }
void ChangeChannelDepth(const Ref<TChannel>& channel, float depth) { channel->SetDepth(depth); }
void ChangeChannelRate(const Ref<TChannel>& channel, float rate) { channel->SetRate(rate); }
void PauseChannelPlayback(const Ref<TChannel>& channel) { channel->SetPaused(1); }
void ResumeChannelPlayback(const Ref<TChannel>& channel) { channel->SetPaused(0); }

Array<String> ListAudioDrivers() {
    std::vector<String> names;
    for (Ref<TAudioDriver> d = State().head; d && names.size() < 100; d = d->_succ) names.push_back(d->Name());
    return Array<String>(new TArray<String>(std::move(names)));
}

int HasAudioDriver(const String& name) {
    const String wanted = name.ToLower();
    for (Ref<TAudioDriver> d = State().head; d; d = d->_succ) {
        if (d->Name().ToLower() == wanted) return 1;
    }
    return 0;
}

int SelectAudioDriver(const String& name) {
    StartAudioModule();
    Registry& r = State();
    const String wanted = name.ToLower();
    if (Ref<TAudioDriver> previous = r.current) {
        r.current = nullptr;
        previous->Shutdown();
    }
    r.current = r.nullDriver;
    for (Ref<TAudioDriver> d = r.head; d; d = d->_succ) {
        if (!(d->Name().ToLower() == wanted)) continue;
        if (!d->Startup()) return 0;
        r.current = d;
        return 1;
    }
    return 0;
}

Ref<TAudioDriver> CurrentAudioDriver() {
    Registry& r = State();
    if (!r.current) {
        if (!SelectAudioDriver("DirectSound")) SelectAudioDriver("Null");
    }
    return r.current;
}

void StartAudioModule() {
    static bool started = false;
    if (started) return;
    started = true;
    State().nullDriver = Ref<TAudioDriver>(new TAudioDriver());
    AddExitHandler([] {
        Registry& r = State();
        if (Ref<TAudioDriver> d = r.current) {
            r.current = nullptr;
            d->Shutdown();
        }
    });
}

}  // namespace vantrel
