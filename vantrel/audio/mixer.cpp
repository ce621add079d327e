// Mixer blocks, voices, the two rings and sound buffers.
#include <vantrel/audio/mixer.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <utility>

namespace vantrel {

// ---- output: the base of anything that plays

void output::set_rate(int32_t) {}
void output::set_volume(int16_t) {}
void output::set_pan(int16_t) {}
void output::set_depth(int16_t) {}
int32_t output::get_rate(int) { return 65536; }
int16_t output::get_volume(int) { return 4096; }
int16_t output::get_pan(int) { return 0; }
int16_t output::get_depth(int) { return 0; }
int output::position() { return 0; }

// ---- sound: one voice

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

inline int which_slot(int which) { return which == 0 ? 0 : 1; }

}  // namespace

// A change made while paused takes effect at once instead of ramping on resume.
void sound::set_rate(int32_t value) {
    rate[1].store(value, kRelaxed);
    if (status.load(kRelaxed) & kStatusPaused) rate[0].store(value, kRelaxed);
}

void sound::set_volume(int16_t value) {
    volume[1].store(value, kRelaxed);
    if (status.load(kRelaxed) & kStatusPaused) volume[0].store(value, kRelaxed);
}

void sound::set_pan(int16_t value) {
    pan[1].store(value, kRelaxed);
    if (status.load(kRelaxed) & kStatusPaused) pan[0].store(value, kRelaxed);
}

void sound::set_depth(int16_t value) { depth[1].store(value, kRelaxed); }

int32_t sound::get_rate(int which) { return rate[which_slot(which)].load(kRelaxed); }
int16_t sound::get_volume(int which) { return volume[which_slot(which)].load(kRelaxed); }
int16_t sound::get_pan(int which) { return pan[which_slot(which)].load(kRelaxed); }
int16_t sound::get_depth(int which) { return depth[which_slot(which)].load(kRelaxed); }

int sound::position() {
    return static_cast<int>((played.load(kRelaxed) >> 32) / static_cast<uint64_t>(channels));
}

void sound::reset() {
    status.store(kStatusStopped, kRelaxed);
    auto_release.store(0, kRelaxed);
    next = nullptr;
    buffer = nullptr;
    pos = 0;
    played.store(0, kRelaxed);
    for (int i = 0; i < 2; ++i) {
        rate[i].store(65536, kRelaxed);
        volume[i].store(4096, kRelaxed);
        pan[i].store(0, kRelaxed);
        depth[i].store(0, kRelaxed);
    }
    start_time = 0;
    delay = 0;
    channels = 1;
}

// ---- voice_ring

bool voice_ring::push(sound* v) {
    int w = _write.load(kRelaxed);
    int next = (w + 1) & (kRingSlots - 1);
    if (next == _read.load(std::memory_order_acquire)) return false;
    _slots[w] = v;
    _write.store(next, std::memory_order_release);
    return true;
}

sound* voice_ring::pop() {
    int r = _read.load(kRelaxed);
    if (r == _write.load(std::memory_order_acquire)) return nullptr;
    sound* v = _slots[r];
    _read.store((r + 1) & (kRingSlots - 1), std::memory_order_release);
    return v;
}

bool voice_ring::full() const {
    return ((_write.load(kRelaxed) + 1) & (kRingSlots - 1)) == _read.load(std::memory_order_acquire);
}

bool voice_ring::empty() const {
    return _read.load(kRelaxed) == _write.load(std::memory_order_acquire);
}

int voice_ring::size() const {
    return (_write.load(std::memory_order_acquire) - _read.load(kRelaxed)) & (kRingSlots - 1);
}

// ---- mixer

mixer::mixer(int block_samples) : block(std::max(block_samples, 2)) {
    accum = new int32_t[static_cast<size_t>(block)]();
}

// Runs once nothing mixes any more: every voice is freed, and the voices that
// still hold a buffer (active, queued or parked) give their reference back.
mixer::~mixer() {
    while (_all) {
        sound* v = _all;
        _all = v->all_next;
        if (v->buffer) mixer_free_sound(v->buffer);
        delete v;
    }
    delete[] accum;
}

void mixer::collect() {
    while (sound* v = recycle.pop()) {
        if (v->buffer) {
            mixer_free_sound(v->buffer);
            v->buffer = nullptr;
        }
        v->next = nullptr;
        if (_collected_last) {
            _collected_last->next = v;
        } else {
            _collected = v;
        }
        _collected_last = v;
    }
}

sound* mixer::take_voice() {
    collect();
    sound* v = _collected;
    if (v) {
        _collected = v->next;
        if (!_collected) _collected_last = nullptr;
        v->in_mixer = false;
    } else if (_spare) {
        v = _spare;
        _spare = v->next;
    } else {
        v = new sound(this);
        v->all_next = _all;
        _all = v;
    }
    v->next = nullptr;
    return v;
}

void mixer::keep_spare(sound* v) {
    v->reset();
    v->next = _spare;
    _spare = v;
}

int mixer::voice_count() const {
    int n = 0;
    for (const sound* v = _all; v; v = v->all_next) ++n;
    return n;
}

int mixer::idle_count() const {
    int n = recycle.size();
    for (const sound* v = _collected; v; v = v->next) ++n;
    for (const sound* v = _spare; v; v = v->next) ++n;
    return n;
}

// Mixing thread. The voice keeps its buffer until the game thread collects
// it: dropping the reference here could free the sound's memory on this
// thread. A voice that cannot be parked because the recycle ring is full
// stays on the active list with status 0 and is tried again next block.
void mixer::recycle_voice(sound* v) { v->status.store(kStatusFree, kRelaxed); }

void mixer::mix16(int16_t* out, int count) {
    if (count <= 0 || count > block) count = block;
    const int frames = count / out_channels;
    // A block shorter than one frame mixes nothing: queued voices, delays,
    // positions and pending ramps wait for the next real block.
    if (frames > 0) mix_block(frames);
    for (int i = 0; i < count; ++i) {
        int value = accum[i] >> 4;
        out[i] = static_cast<int16_t>(std::clamp(value, -32768, 32767));
        accum[i] = 0;
    }
}

void mixer::mix_block(int frames) {
    const uint32_t now = mixer_now();
    while (sound* v = start_queue.pop()) {
        int wait = static_cast<int>(v->start_time - now) + kStartDelayMs;
        v->delay = static_cast<int>(static_cast<int64_t>(std::max(wait, 0)) * rate / 1000);
        v->next = active;
        active = v;
    }

    sound** link = &active;
    while (sound* v = *link) {
        bool drop = false;
        switch (mix_voice(v, accum, frames)) {
        case kVoiceRemove:
            drop = true;
            break;
        case kVoiceEnded:
            if (v->auto_release.load(kRelaxed)) {
                drop = true;
            } else {
                v->status.store(kStatusStopped, kRelaxed);
            }
            break;
        case kVoiceMixed:
        case kVoicePaused:
            break;
        }
        if (drop) {
            recycle_voice(v);
            sound* after = v->next;
            if (recycle.push(v)) {
                *link = after;
                continue;
            }
        }
        link = &v->next;
    }
}

void mixer::stop_all() {
    while (sound* v = active) {
        active = v->next;
        recycle_voice(v);
        if (!recycle.push(v)) {
            // The game thread has not collected 4095 parked voices; keep the
            // rest listed so they are parked later instead of lost.
            v->next = active;
            active = v;
            return;
        }
    }
}

// ---- clock

namespace {

uint32_t steady_milliseconds() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::atomic<mixer_clock_fn> g_clock{steady_milliseconds};

}  // namespace

void mixer_set_clock(mixer_clock_fn clock) { g_clock.store(clock ? clock : steady_milliseconds); }

uint32_t mixer_now() { return g_clock.load(kRelaxed)(); }

// ---- sound buffers

namespace {

// Copies frames in at write_ptr, wrapping at the end of the sound.
void write_frames(sound_buffer* b, const uint8_t* src, int frames) {
    while (frames > 0) {
        int run = std::min(frames, b->length - b->write_pos);
        size_t bytes = static_cast<size_t>(run) * static_cast<size_t>(b->frame_bytes);
        if (src) {
            std::memcpy(b->write_ptr, src, bytes);
            src += bytes;
        } else {
            std::memset(b->write_ptr, b->bits == 8 ? 0x80 : 0, bytes);
        }
        b->write_pos += run;
        b->write_ptr += bytes;
        frames -= run;
        if (b->write_pos == b->length) {
            b->write_pos = 0;
            b->write_ptr = b->data;
        }
    }
}

}  // namespace

namespace {

// A buffer's description without its data; null for what cannot play.
sound_buffer* new_buffer(int length, int bits, int channels, int hertz, int loop) {
    if (length < 0 || hertz <= 0 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16)) return nullptr;
    const int frame_bytes = channels * std::max(bits, 8) / 8;
    const int64_t total = (static_cast<int64_t>(length) + 1) * frame_bytes;
    if (total > INT_MAX) return nullptr;

    auto* b = new sound_buffer{};
    b->hertz = hertz;
    b->channels = channels;
    b->bits = bits;
    b->length = length;
    b->frame_bytes = frame_bytes;
    b->data_bytes = length * frame_bytes;
    b->refs.store(1, kRelaxed);
    b->loop = loop;
    return b;
}

}  // namespace

sound_buffer* mixer_create_sound(int length, int bits, int channels, int hertz, const void* data, int loop) {
    sound_buffer* b = new_buffer(length, bits, channels, hertz, loop);
    if (!b) return nullptr;
    b->owned_bytes = b->data_bytes + b->frame_bytes;
    b->data = new uint8_t[static_cast<size_t>(b->owned_bytes)];
    b->write_ptr = b->data;
    write_frames(b, static_cast<const uint8_t*>(data), length);

    uint8_t* guard = b->data + b->data_bytes;
    if (length == 0) {
        std::memset(guard, bits == 8 ? 0x80 : 0, static_cast<size_t>(b->frame_bytes));
    } else {
        const uint8_t* from = loop ? b->data : guard - b->frame_bytes;
        std::memcpy(guard, from, static_cast<size_t>(b->frame_bytes));
    }
    return b;
}

sound_buffer* mixer_create_filling_sound(int length, int bits, int channels, int hertz, uint8_t* data, int loop,
                                         const FillProgress* fill, std::shared_ptr<const void> owner) {
    sound_buffer* b = new_buffer(length, bits, channels, hertz, loop);
    if (!b) return nullptr;
    b->data = data;
    b->write_ptr = data;
    b->fill = fill;
    b->owner = std::move(owner);
    return b;
}

void mixer_free_sound(sound_buffer* buffer) {
    if (!buffer) return;
    if (buffer->refs.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    if (buffer->owned_bytes) delete[] buffer->data;
    delete buffer;
}

}  // namespace vantrel
