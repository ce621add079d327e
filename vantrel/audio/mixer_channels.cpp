// The channel table and the mixer's flat interface (game thread).
//
// A handle is index | generation: the low 12 bits pick one of 4095 table
// entries, the rest is that entry's generation, which grows by 4096 every
// time the index is handed out. Generations are kept across mixer reopenings,
// so a handle from an earlier mixer never acts on a voice of a later one.
#include <vantrel/audio/audio_device.h>
#include <vantrel/audio/mixer.h>
#include <vantrel/runtime/math.h>

namespace vantrel {

audiodevice::~audiodevice() { delete mix; }

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kIndexMask = kChannelSlots - 1;

struct channel_table {
    sound* voice_of[kChannelSlots];
    int next_free[kChannelSlots];      // entry 0 is the head; 0 ends the list
    uint32_t generation[kChannelSlots];
    bool in_use[kChannelSlots];
};

channel_table g_table = [] {
    channel_table t{};
    for (uint32_t& g : t.generation) g = kChannelSlots;
    return t;
}();

audiodevice* g_device = nullptr;

// The open mixer, after taking back the voices it has finished with, so that
// their buffers are released here rather than on the mixing thread.
mixer* current() {
    mixer* m = g_device ? g_device->mix : nullptr;
    if (m) m->collect();
    return m;
}

void build_table() {
    for (int i = 0; i < kChannelSlots; ++i) {
        g_table.voice_of[i] = nullptr;
        g_table.in_use[i] = false;
        g_table.next_free[i] = i + 1 < kChannelSlots ? i + 1 : 0;
    }
}

// The table index of a handle that is currently handed out, else 0.
int index_of(int handle) {
    const uint32_t h = static_cast<uint32_t>(handle);
    const uint32_t index = h & kIndexMask;
    if (h == 0 || index == 0 || !g_table.in_use[index]) return 0;
    return g_table.generation[index] == (h & ~kIndexMask) ? static_cast<int>(index) : 0;
}

int alloc_handle() {
    const int index = g_table.next_free[0];
    if (index == 0) return 0;
    g_table.next_free[0] = g_table.next_free[index];
    g_table.generation[index] += kChannelSlots;
    g_table.in_use[index] = true;
    g_table.voice_of[index] = nullptr;
    return static_cast<int>(static_cast<uint32_t>(index) | g_table.generation[index]);
}

// Stops a voice as a stop request does: it ends at the next block and is
// then recycled. A voice that never reached the mixer goes straight back.
void stop_voice(mixer* m, sound* v) {
    if (!v->in_mixer) {
        m->keep_spare(v);
        return;
    }
    v->auto_release.store(1, kRelaxed);
    int s = v->status.load(kRelaxed);
    while (s != kStatusFree && !v->status.compare_exchange_weak(s, kStatusStopped, kRelaxed)) {
    }
}

// Unbinds the index's voice and puts the index at the head of the free list.
// A bound voice keeps playing and is recycled when it ends. A paused one is
// stopped: with no handle nothing can resume it, and it would otherwise stay
// on the active list for good, holding its buffer. Only this thread sets the
// paused bit, so a voice seen paused here cannot be mixed meanwhile.
void release_index(mixer* m, int index, bool stop) {
    if (sound* v = g_table.voice_of[index]) {
        g_table.voice_of[index] = nullptr;
        v->handle = 0;
        if (stop || !v->in_mixer || (v->status.load(kRelaxed) & kStatusPaused)) {
            stop_voice(m, v);
        } else {
            v->auto_release.store(1, kRelaxed);
        }
    }
    g_table.in_use[index] = false;
    g_table.next_free[index] = g_table.next_free[0];
    g_table.next_free[0] = index;
}

// A voice from the mixer's pools, cleared. A recycled voice that still holds
// a handle gives it up first; keep_handle names one whose index must only be
// unbound, because the caller is about to bind it again.
sound* fresh_voice(mixer* m, int keep_handle) {
    sound* v = m->take_voice();
    if (v->handle) {
        const int index = index_of(v->handle);
        if (index && g_table.voice_of[index] == v) {
            g_table.voice_of[index] = nullptr;
            if (v->handle != keep_handle) release_index(m, index, false);
        }
        v->handle = 0;
    }
    v->reset();
    return v;
}

// The voice bound to a valid handle, binding a fresh one with default
// settings when there is none yet; null for 0 or a stale handle.
sound* voice_for(int handle) {
    mixer* m = current();
    const int index = m ? index_of(handle) : 0;
    if (!index) return nullptr;
    sound* v = g_table.voice_of[index];
    if (!v) {
        v = fresh_voice(m, 0);
        v->handle = handle;
        g_table.voice_of[index] = v;
    }
    return v;
}

// value x scale truncated toward zero, kept to 32 bits as the processor's
// conversion would.
int32_t fixed(float value, double scale) { return TruncToInt(static_cast<double>(value) * scale); }

}  // namespace

int mixer_open(audiodevice* device) {
    if (!device) return -1;
    if (g_device) mixer_close();
    if (device->open() != 0) {
        device->close();
        delete device;
        return -1;
    }
    g_device = device;
    build_table();
    return 0;
}

void mixer_close() {
    if (!g_device) return;
    build_table();
    g_device->close();
    delete g_device;
    g_device = nullptr;
}

bool mixer_is_open() { return g_device != nullptr && g_device->mix != nullptr; }

int mixer_alloc_channel() { return current() ? alloc_handle() : 0; }

void mixer_free_channel(int handle) {
    mixer* m = current();
    if (const int index = m ? index_of(handle) : 0) release_index(m, index, false);
}

int mixer_play(sound_buffer* buffer, int paused, int handle) {
    mixer* m = current();
    if (!m) return 0;
    if (!buffer) return handle;
    if (m->start_queue.full()) return 0;

    const bool given = handle != 0;
    int index = 0;
    sound* settings = nullptr;
    if (!given) {
        handle = alloc_handle();
        index = static_cast<int>(static_cast<uint32_t>(handle) & kIndexMask);
    } else {
        index = index_of(handle);
        if (index) {
            settings = g_table.voice_of[index];
        } else {
            handle = 0;   // stale: the voice starts unbound and leaves that index alone
        }
    }

    int32_t rate = 65536;
    int16_t volume = 4096, pan = 0, depth = 0;
    if (settings) {
        rate = settings->get_rate(1);
        volume = settings->get_volume(1);
        pan = settings->get_pan(1);
        depth = settings->get_depth(1);
    }

    sound* v = fresh_voice(m, handle);
    v->rate[0].store(rate, kRelaxed);
    v->rate[1].store(rate, kRelaxed);
    v->volume[0].store(volume, kRelaxed);
    v->volume[1].store(volume, kRelaxed);
    v->pan[0].store(pan, kRelaxed);
    v->pan[1].store(pan, kRelaxed);
    v->depth[0].store(depth, kRelaxed);
    v->depth[1].store(depth, kRelaxed);

    buffer->refs.fetch_add(1, kRelaxed);
    v->buffer = buffer;
    v->channels = buffer->channels;
    v->status.store((buffer->loop ? kStatusLooped : kStatusOnce) | (paused ? kStatusPaused : 0), kRelaxed);
    v->start_time = mixer_now();

    if (index) {
        if (sound* old = g_table.voice_of[index]) {
            g_table.voice_of[index] = nullptr;
            old->handle = 0;
            if (old->status.load(kRelaxed) != kStatusFree || !old->in_mixer) stop_voice(m, old);
        }
        g_table.voice_of[index] = v;
    }
    v->handle = handle;
    v->auto_release.store(given && handle ? 0 : 1, kRelaxed);
    v->in_mixer = true;
    m->start_queue.push(v);
    return handle;
}

int mixer_channel_status(int handle) {
    sound* v = voice_for(handle);
    return v ? v->status.load(kRelaxed) : 0;
}

int mixer_channel_position(int handle) {
    sound* v = voice_for(handle);
    return v ? v->position() : 0;
}

void mixer_stop_channel(int handle) {
    mixer* m = current();
    if (const int index = m ? index_of(handle) : 0) release_index(m, index, true);
}

void mixer_set_paused(int handle, int flag) {
    sound* v = voice_for(handle);
    if (!v) return;
    int s = v->status.load(kRelaxed);
    for (;;) {
        // Only a playing voice can pause; a stopped or freed one stays as it is.
        int want = flag ? ((s & (kStatusOnce | kStatusLooped)) ? s | kStatusPaused : s) : s & ~kStatusPaused;
        if (want == s || v->status.compare_exchange_weak(s, want, kRelaxed)) return;
    }
}

void mixer_set_volume(int handle, float volume) {
    if (sound* v = voice_for(handle)) v->set_volume(static_cast<int16_t>(fixed(volume, 4096.0)));
}

void mixer_set_pan(int handle, float pan) {
    if (sound* v = voice_for(handle)) v->set_pan(static_cast<int16_t>(fixed(pan, 4096.0)));
}

void mixer_set_depth(int handle, float depth) {
    if (sound* v = voice_for(handle)) v->set_depth(static_cast<int16_t>(fixed(depth, 4096.0)));
}

void mixer_set_rate(int handle, float rate) {
    if (sound* v = voice_for(handle)) v->set_rate(fixed(rate, 65536.0));
}

// The active list belongs to the mixing thread, so voices are only marked
// from here; mixer::stop_all parks them directly once nothing mixes.
void mixer_stop_all() {
    mixer* m = current();
    if (!m) return;
    for (sound* v = m->voices(); v; v = v->all_next) {
        if (v->in_mixer) stop_voice(m, v);
    }
}

void mixer_mix16(int16_t* out, int count) {
    if (g_device && g_device->mix) g_device->mix->mix16(out, count);
}

}  // namespace vantrel
