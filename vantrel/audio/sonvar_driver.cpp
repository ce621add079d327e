#include <vantrel/audio/sonvar_driver_impl.h>

#include <memory>
#include <utility>

#include <vantrel/audio/audio_device.h>
#include <vantrel/audio/sample_fill.h>

namespace vantrel {

namespace {

// Mode 1 pulls blocks from the output's own thread, mode 0 refills a queue.
bool OpenMixer(int mode) {
    return mixer_open(mode == 1 ? CreateCallbackDevice() : CreateQueueDevice()) == 0;
}

}  // namespace

// ---- TSonvarAudioDriver

Ref<TSonvarAudioDriver> TSonvarAudioDriver::Create(const String& name, int mode) {
    Ref<TSonvarAudioDriver> d = MakeRef<TSonvarAudioDriver>();
    d->_name = name;
    d->_mode = mode;
    return d;
}

String TSonvarAudioDriver::Name() { return _name; }

int TSonvarAudioDriver::Startup() {
    if (_mode != -1) return OpenMixer(_mode) ? 1 : 0;
    return OpenMixer(0) || OpenMixer(1) ? 1 : 0;
}

void TSonvarAudioDriver::Shutdown() { mixer_close(); }

Ref<TSound> TSonvarAudioDriver::CreateSound(const Ref<TAudioSample>& sample, int flags) {
    Ref<TAudioSample> s = sample;
    if (s->format == SampleFormatMono16BE) s = s->Convert(SampleFormatMono16LE);
    if (s->format == SampleFormatStereo16BE) s = s->Convert(SampleFormatStereo16LE);
    CheckIndex(s->format, kSampleFormatCount);
    const int channels = ChannelsPerSample[s->format];
    if (channels == 0) return nullptr;
    const int bits = BytesPerSample[s->format] * 8 / channels;
    if (!mixer_is_open()) return TSonvarSound::CreateWithSound(nullptr, s);
    const int loop = (flags & kSoundLoop) ? -1 : 0;
    sound_buffer* buffer = nullptr;
    const Ref<TSampleFill>& fill = TSampleFill::Of(*s);
    if (fill && fill->ClaimGuard(loop != 0)) {
        // Played in place as it fills; the buffer holds the sample, whose
        // storage it reads, for as long as a voice may read it.
        std::shared_ptr<const void> owner(s.get(), [keep = s](const void*) {});
        buffer = mixer_create_filling_sound(s->length, bits, channels, s->hertz, s->samples, loop,
                                            &fill->progress, std::move(owner));
    } else {
        // Another sound of this sample claimed the guard frame the other way:
        // this one copies the frames, once they are all decoded.
        if (fill) s = s->Copy();
        buffer = mixer_create_sound(s->length, bits, channels, s->hertz, s->samples, loop);
    }
    // A sample the running mixer refuses (no rate, too long) could never
    // play; a sound without a buffer would only fail later, at Play.
    if (!buffer) return nullptr;
    return TSonvarSound::CreateWithSound(buffer, s);
}

Ref<TChannel> TSonvarAudioDriver::AllocChannel() {
    const int handle = mixer_alloc_channel();
    if (handle == 0) return nullptr;
    return TSonvarChannel::CreateWithChannel(handle);
}

// ---- TSonvarSound

TSonvarSound::~TSonvarSound() { mixer_free_sound(sv_sound); }

Ref<TSonvarSound> TSonvarSound::CreateWithSound(sound_buffer* handle, const Ref<TAudioSample>&) {
    Ref<TSonvarSound> s = MakeRef<TSonvarSound>();
    s->sv_sound = handle;
    return s;
}

Ref<TChannel> TSonvarSound::Play(const Ref<TChannel>& channel) { return Start(channel, 0); }
Ref<TChannel> TSonvarSound::Cue(const Ref<TChannel>& channel) { return Start(channel, 1); }

Ref<TChannel> TSonvarSound::Start(const Ref<TChannel>& channel, int paused) {
    Ref<TSonvarChannel> given;
    if (channel) {
        given = Cast<TSonvarChannel>(channel);
        if (!given) return nullptr;
    }
    const int handle = mixer_play(sv_sound, paused, given ? given->sv_channel : 0);
    if (handle == 0) return nullptr;
    if (given && handle == given->sv_channel) return given;
    return TSonvarChannel::CreateWithChannel(handle);
}

// ---- TSonvarChannel

TSonvarChannel::~TSonvarChannel() {
    if (sv_channel) mixer_free_channel(sv_channel);
}

Ref<TSonvarChannel> TSonvarChannel::CreateWithChannel(int handle) {
    Ref<TSonvarChannel> c = MakeRef<TSonvarChannel>();
    c->sv_channel = handle;
    return c;
}

void TSonvarChannel::Stop() {
    mixer_stop_channel(sv_channel);
    sv_channel = 0;
}

void TSonvarChannel::SetPaused(int paused) { mixer_set_paused(sv_channel, paused ? 1 : 0); }
void TSonvarChannel::SetVolume(float volume) { mixer_set_volume(sv_channel, volume); }
void TSonvarChannel::SetPan(float pan) { mixer_set_pan(sv_channel, pan); }
void TSonvarChannel::SetDepth(float depth) { mixer_set_depth(sv_channel, depth); }
void TSonvarChannel::SetRate(float rate) { mixer_set_rate(sv_channel, rate); }

int TSonvarChannel::Playing() {
    const int status = mixer_channel_status(sv_channel);
    return status != 0 && !(status & (kStatusStopped | kStatusPaused)) ? 1 : 0;
}

int TSonvarChannel::Position() { return mixer_channel_position(sv_channel); }

// ---- registration

void StartSonvarDriverModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartAudioModule();
    if (AudioOutputAvailable()) TSonvarAudioDriver::Create("Sonvar DirectSound", 1);
    TSonvarAudioDriver::Create("Sonvar Multimedia", 0);
    TSonvarAudioDriver::Create("Sonvar", -1);
}

}  // namespace vantrel
