// The voice mixer: one voice, one block, integer arithmetic only. There is one
// inner loop per sample width, channel count and block kind (steady or ramp);
// a silent steady block only advances the position.
#include <algorithm>
#include <cstring>

#include <vantrel/audio/mixer.h>

namespace vantrel {

namespace {

struct gains {
    int left;
    int right;
};

// Gains from a volume: pan attenuates the far side, a negative depth inverts
// the right channel. Every value is an int16, as in the output's fields.
inline gains gains_for(int g, int pan, int depth) {
    int left = g;
    int right = g;
    if (pan > 0) left = static_cast<int16_t>((g * (4096 - pan)) >> 12);
    if (pan < 0) right = static_cast<int16_t>((g * (4096 + pan)) >> 12);
    if (depth < 0) right = static_cast<int16_t>(-right);
    return {static_cast<int16_t>(left), static_cast<int16_t>(right)};
}

// Linear interpolation between a and the next value of the same channel, b,
// at fraction f (16 bits). The 16-bit product needs 64 bits: a full-scale
// step times f exceeds 32.
template <int Bits>
inline int interpolate(const uint8_t* data, int64_t i, int next, int f) {
    if constexpr (Bits == 16) {
        const int16_t* d = reinterpret_cast<const int16_t*>(data);
        int a = d[i];
        int b = d[i + next];
        return a + static_cast<int>((static_cast<int64_t>(b - a) * f) >> 16);
    } else {
        int a = data[i];
        int b = data[i + next];
        return a * 256 + (((b - a) * f) >> 8) - 32768;
    }
}

// The accumulator wraps rather than overflowing (hundreds of loud voices).
inline void add(int32_t& acc, int value) {
    acc = static_cast<int32_t>(static_cast<uint32_t>(acc) + static_cast<uint32_t>(value));
}

struct voice_state {
    uint64_t pos;
    uint64_t played;
    uint64_t limit;   // channels x length, as 32.32
    bool loop;
};

// Applies the end rule; true when a one-shot voice has run out.
inline bool past_end(voice_state& s) {
    if (s.pos < s.limit) return false;
    if (!s.loop) return true;
    s.pos %= s.limit;
    return false;
}

// What changes frame by frame in a ramp block: the stride (32.32) and the
// volume (4.20), each stepped after the frame is mixed.
struct ramp {
    uint64_t stride;
    int64_t stride_inc;
    int volume;
    int volume_inc;
};

// m frames that cannot reach the end of the sound before the last of them.
template <int Bits, int Channels, bool Ramp>
inline void mix_span(const uint8_t* data, int32_t* acc, int m, uint64_t& pos, ramp& r, gains g, int pan, int depth) {
    uint64_t p = pos;
    uint64_t stride = r.stride;
    int volume = r.volume;
    for (int k = 0; k < m; ++k) {
        if constexpr (Ramp) g = gains_for(static_cast<int16_t>(volume >> 8), pan, depth);
        const int64_t whole = static_cast<int64_t>(p >> 32);
        int left;
        int right;
        if constexpr (Channels == 1) {
            const int f = static_cast<int>((p >> 16) & 0xFFFF);
            left = right = interpolate<Bits>(data, whole, 1, f);
        } else {
            const int64_t i = whole & ~int64_t{1};
            const int f = static_cast<int>((whole & 1) * 32768 + ((p & 0xFFFFFFFFu) >> 17));
            left = interpolate<Bits>(data, i, 2, f);
            right = interpolate<Bits>(data, i + 1, 2, f);
        }
        add(acc[0], (left * g.left) >> 8);
        add(acc[1], (right * g.right) >> 8);
        acc += 2;
        p += stride;
        if constexpr (Ramp) {
            stride += static_cast<uint64_t>(r.stride_inc);
            volume += r.volume_inc;
        }
    }
    pos = p;
    r.stride = stride;
    r.volume = volume;
}

// Mixes n frames, applying the end rule after every frame. The rule is only
// checked where it can fire: a span of frames is sized so that the largest
// stride of the block cannot reach the end before the span's last frame.
// Returns true when a one-shot voice ran out.
template <int Bits, int Channels, bool Ramp>
bool mix_frames(const uint8_t* data, int32_t* acc, int n, voice_state& s, ramp r, uint64_t max_stride, gains g,
                int pan, int depth) {
    for (int done = 0; done < n;) {
        int m = n - done;
        if (max_stride) {
            const uint64_t reach = (s.limit - s.pos + max_stride - 1) / max_stride;
            if (reach < static_cast<uint64_t>(m)) m = static_cast<int>(reach);
        }
        const uint64_t before = s.pos;
        mix_span<Bits, Channels, Ramp>(data, acc + 2 * done, m, s.pos, r, g, pan, depth);
        s.played += s.pos - before;
        done += m;
        if (past_end(s)) return true;
    }
    return false;
}

using mix_fn = bool (*)(const uint8_t*, int32_t*, int, voice_state&, ramp, uint64_t, gains, int, int);

template <bool Ramp>
mix_fn pick(int bits, int channels) {
    if (bits == 16) return channels == 1 ? mix_frames<16, 1, Ramp> : mix_frames<16, 2, Ramp>;
    return channels == 1 ? mix_frames<8, 1, Ramp> : mix_frames<8, 2, Ramp>;
}

// Source frames per output frame (16.16) for a rate; negative or absurd
// rates would walk outside the buffer, so they are held to 0 .. 32768.
inline int64_t step_for(int32_t rate, int hertz) {
    int64_t step = static_cast<int64_t>(rate) * hertz / kMixerRate;
    if (step < 0) return 0;
    return step > 0x7FFFFFFF ? 0x7FFFFFFF : step;
}

// True while a buffer still being written lacks a frame this block may read:
// any frame up to `reach` (32.32 samples) with the neighbour interpolation
// takes, and every frame and the guard when the block could reach the end.
bool waits_for_frames(const sound_buffer& b, uint64_t reach, uint64_t limit) {
    if (b.fill->complete.load(std::memory_order_acquire)) return false;
    if (reach >= limit) return true;
    const uint64_t last_read = (reach >> 32) / static_cast<uint64_t>(b.channels) + 1;
    return last_read >= static_cast<uint64_t>(b.fill->filled.load(std::memory_order_acquire));
}

}  // namespace

voice_result mix_voice(sound* v, int32_t* accum, int n) {
    int status = v->status.load(std::memory_order_relaxed);
    if (status == kStatusStopped) return kVoiceEnded;
    if (status & kStatusPaused) return kVoicePaused;
    if (status == kStatusFree || v->buffer == nullptr) return kVoiceRemove;

    const sound_buffer* b = v->buffer;
    const int channels = b->channels;
    const int32_t rate_target = v->get_rate(1);
    const int64_t step_now = step_for(v->get_rate(0), b->hertz);
    const int64_t step_target = step_for(rate_target, b->hertz);
    const uint64_t stride_now = static_cast<uint64_t>(step_now * channels) << 16;
    const uint64_t stride_target = static_cast<uint64_t>(step_target * channels) << 16;
    const uint64_t limit = static_cast<uint64_t>(channels) * static_cast<uint64_t>(b->length) << 32;
    // Waiting for the writer keeps the voice as it is, start delay included;
    // the reach counts the delay as played, which only errs towards waiting.
    if (b->fill &&
        waits_for_frames(*b, v->pos + std::max(stride_now, stride_target) * static_cast<uint64_t>(n), limit)) {
        return kVoiceMixed;
    }

    if (v->delay > 0) {
        if (v->delay >= n) {
            v->delay -= n;
            return kVoiceMixed;
        }
        accum += v->delay * 2;
        n -= v->delay;
        v->delay = 0;
    }

    if (b->length == 0) return kVoiceEnded;
    const int vol_now = v->get_volume(0);
    const int vol_target = v->get_volume(1);
    const int pan = v->get_pan(1);
    const int depth = v->get_depth(1);

    voice_state s{v->pos, v->played.load(std::memory_order_relaxed), limit, (status & kStatusLooped) != 0};
    bool ended;
    if (step_now == step_target && vol_now == vol_target) {
        if (vol_target == 0) {
            s.pos += stride_now * static_cast<uint64_t>(n);
            s.played += stride_now * static_cast<uint64_t>(n);
            v->volume[0].store(0, std::memory_order_relaxed);
            ended = past_end(s);
        } else {
            ended = pick<false>(b->bits, channels)(b->data, accum, n, s, ramp{stride_now, 0, 0, 0}, stride_now,
                                                   gains_for(vol_now, pan, depth), pan, depth);
        }
    } else {
        v->volume[0].store(static_cast<int16_t>(vol_target), std::memory_order_relaxed);
        v->rate[0].store(rate_target, std::memory_order_relaxed);
        int volume = vol_now * 256;
        int volume_inc = (vol_target * 256 - volume) / n;
        int64_t stride_inc = (static_cast<int64_t>(stride_target) - static_cast<int64_t>(stride_now)) / n;
        ended = pick<true>(b->bits, channels)(b->data, accum, n, s, ramp{stride_now, stride_inc, volume, volume_inc},
                                              std::max(stride_now, stride_target), gains{}, pan, depth);
    }
    v->pos = s.pos;
    v->played.store(s.played, std::memory_order_relaxed);
    return ended ? kVoiceEnded : kVoiceMixed;
}

}  // namespace vantrel
