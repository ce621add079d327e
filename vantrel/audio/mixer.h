// The software mixer: PCM sounds in memory, voices that play them with their
// own rate, volume, pan and phase, summed into 44100 Hz signed 16-bit stereo
// and handed to one output device block by block.
//
// Fixed point: rates are 16.16 (65536 = the sound's own speed); volume, pan
// and depth are signed 4.12 (4096 = 1.0; pan -4096 full left, +4096 full
// right; only the sign of depth counts, negative inverts the right channel);
// read positions are 32.32 in samples (frame x channels). The accumulator
// holds sample x 16 at unity gain.
//
// Threads: the game thread owns the flat interface (mixer_open ... the
// setters) and the channel table; the device's thread or timer calls
// mixer_mix16 / mixer::mix16 only. They meet through two single-producer
// single-consumer rings (start queue: game -> mixer; recycle ring: mixer ->
// game) and word-sized voice fields that the mixer reads once per block.
// Nothing is locked and the mixing thread never allocates or frees: a voice it
// is done with keeps its buffer reference on the recycle ring, and the game
// thread drops it when it collects the voice, at its next mixer call, so the
// memory of a sound (a whole decoded piece of music) is always freed there.
//
// Failures: every operation does nothing (or returns 0) when no mixer is
// open or the handle is 0 or stale. A full start queue drops the play.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include <vantrel/audio/fill_progress.h>

namespace vantrel {

class audiodevice;

// Output format of every mixer.
inline constexpr int kMixerRate = 44100;
inline constexpr int kMixerChannels = 2;
// A voice sounds this long after it was queued, measured on the mixing clock.
inline constexpr int kStartDelayMs = 20;
inline constexpr int kRingSlots = 4096;
inline constexpr int kChannelSlots = 4096;

// Voice status words.
inline constexpr int kStatusFree = 0;
inline constexpr int kStatusStopped = 1;
inline constexpr int kStatusOnce = 2;
inline constexpr int kStatusLooped = 4;
inline constexpr int kStatusPaused = 0x10;

// One loaded sound. `data` holds length + 1 frames: the guard frame after the
// last lets interpolation read one frame past the end.
struct sound_buffer {
    int hertz;
    int channels;          // 1 or 2
    int bits;              // 8 (unsigned) or 16 (signed, host order)
    int length;            // frames
    int frame_bytes;
    int data_bytes;
    int write_pos;         // frames copied in so far; wraps at length
    std::atomic<int> refs;
    int loop;
    uint8_t* data;
    uint8_t* write_ptr;
    int owned_bytes;       // 0 when the memory is not ours
    const FillProgress* fill;            // null when every frame is in place
    std::shared_ptr<const void> owner;   // keeps borrowed data and fill alive
};

// Anything that plays. which = 0 asks for the current value, 1 for the target.
class output {
public:
    virtual ~output() = default;
    virtual void set_rate(int32_t rate);
    virtual void set_volume(int16_t volume);
    virtual void set_pan(int16_t pan);
    virtual void set_depth(int16_t depth);
    virtual int32_t get_rate(int which);
    virtual int16_t get_volume(int which);
    virtual int16_t get_pan(int which);
    virtual int16_t get_depth(int which);
    virtual int position();
};

class mixer;

// One voice. Fields the game thread writes while the voice is being mixed are
// atomics with relaxed order: the mixer samples them at the start of a block.
class sound final : public output {
public:
    explicit sound(mixer* owner) : owner(owner) {}

    void set_rate(int32_t rate) override;
    void set_volume(int16_t volume) override;
    void set_pan(int16_t pan) override;
    void set_depth(int16_t depth) override;
    int32_t get_rate(int which) override;
    int16_t get_volume(int which) override;
    int16_t get_pan(int which) override;
    int16_t get_depth(int which) override;
    int position() override;

    // Back to a new voice's settings: rate 1.0, volume 1.0, centred, status 1.
    void reset();

    mixer* owner;
    std::atomic<int> status{kStatusStopped};
    int handle = 0;                         // game thread only
    std::atomic<int> auto_release{0};
    sound* next = nullptr;                  // active list (mixer) or spare list (game)
    sound_buffer* buffer = nullptr;
    uint64_t pos = 0;                       // mixer only once started
    std::atomic<uint64_t> played{0};
    std::atomic<int32_t> rate[2] = {65536, 65536};      // [0] current, [1] target
    std::atomic<int16_t> volume[2] = {4096, 4096};
    std::atomic<int16_t> pan[2] = {0, 0};
    std::atomic<int16_t> depth[2] = {0, 0};
    uint32_t start_time = 0;
    int delay = 0;                          // output frames still to wait

    // Game-side bookkeeping: the voice was handed to the mixer and has not
    // come back through the recycle ring; the list of every voice made.
    bool in_mixer = false;
    int channels = 1;                       // of the buffer it was started on
    sound* all_next = nullptr;
};

// A single-producer single-consumer ring of voices. One slot stays empty, so
// at most kRingSlots - 1 entries are pending; push refuses when full.
class voice_ring {
public:
    bool push(sound* v);
    sound* pop();
    bool full() const;
    bool empty() const;
    int size() const;   // entries pending; exact only on the consumer's side

private:
    std::atomic<int> _read{0};
    std::atomic<int> _write{0};
    sound* _slots[kRingSlots] = {};
};

class mixer final : public output {
public:
    // block: samples (frames x out_channels) per block, at least 2.
    explicit mixer(int block);
    ~mixer() override;
    mixer(const mixer&) = delete;
    mixer& operator=(const mixer&) = delete;

    // Mixing thread: mixes count samples (0 = block; capped at block) and
    // converts them into out. A count below one frame gives silence and
    // leaves every voice as it was.
    void mix16(int16_t* out, int count);
    // Parks every active voice on the recycle ring; only while nothing mixes
    // (a device's close). mixer_stop_all is the form for any other time.
    void stop_all();

    int32_t* accum;
    int block;
    int rate = kMixerRate;
    int out_channels = kMixerChannels;
    sound* active = nullptr;
    voice_ring start_queue;
    voice_ring recycle;

    // Game thread: takes every voice off the recycle ring, giving back the
    // buffer each one still holds; they wait, in the order they came, to be
    // taken again.
    void collect();
    // Game thread: a voice ready to start: the longest collected one, a spare
    // one or a new allocation.
    sound* take_voice();
    // Game thread: a voice that never reached the mixer goes back to spare.
    void keep_spare(sound* v);
    // Game thread: every voice ever made, linked through all_next.
    sound* voices() const { return _all; }
    // Game thread, for checks: voices ever made, and those idle on the
    // recycle ring, collected or on the spare list.
    int voice_count() const;
    int idle_count() const;

private:
    // Mixing thread: starts the queued voices and mixes frames (> 0) of
    // every active one into accum.
    void mix_block(int frames);
    void recycle_voice(sound* v);

    sound* _collected = nullptr;   // oldest first, linked through next
    sound* _collected_last = nullptr;
    sound* _spare = nullptr;
    sound* _all = nullptr;
};

// Millisecond clock the mixer stamps voice starts with; any monotonic,
// wrapping 32-bit counter will do. Replaceable (tests pin the clock).
using mixer_clock_fn = uint32_t (*)();
void mixer_set_clock(mixer_clock_fn clock);
uint32_t mixer_now();

// The voice mixer: one voice, n frames into a stereo accumulator. Results:
enum voice_result { kVoiceMixed = 0, kVoiceEnded = 1, kVoicePaused = 2, kVoiceRemove = 3 };
voice_result mix_voice(sound* v, int32_t* accum, int n);

// Sound buffers. Creating copies the data; the guard frame is frame 0 for a
// looping sound, else the last frame (silence for an empty sound).
// Returns null for sizes that do not fit, unsupported bits/channels, or a
// rate of 0 or less (such a voice would never advance, sounding its first
// frame for good).
sound_buffer* mixer_create_sound(int length, int bits, int channels, int hertz, const void* data, int loop);
// A sound over frames that another thread is still writing (FillProgress):
// data, length + 1 frames with the guard frame that `loop` calls for written
// by the time fill->complete is set, is used in place, not copied; owner
// keeps data and fill alive while the mixer holds the buffer, and is released
// on the thread that drops the last reference, never the mixing thread.
// Null as mixer_create_sound.
sound_buffer* mixer_create_filling_sound(int length, int bits, int channels, int hertz, uint8_t* data, int loop,
                                         const FillProgress* fill, std::shared_ptr<const void> owner);
// Drops one reference; works whether or not a mixer is open. Any thread but
// the mixing one.
void mixer_free_sound(sound_buffer* buffer);

// A device with no platform output: whoever owns it pulls blocks with
// mixer_mix16 (offline rendering, tools). block: samples per block.
audiodevice* CreateManualDevice(int block);

// The flat interface (game thread). Every call that plays or takes a handle
// first collects the voices the open mixer has finished with.
int mixer_open(audiodevice* device);
void mixer_close();
bool mixer_is_open();
int mixer_alloc_channel();
void mixer_free_channel(int handle);
int mixer_play(sound_buffer* buffer, int paused, int handle);
int mixer_channel_status(int handle);
int mixer_channel_position(int handle);
void mixer_stop_channel(int handle);
void mixer_set_paused(int handle, int flag);
void mixer_set_volume(int handle, float volume);
void mixer_set_pan(int handle, float pan);
void mixer_set_depth(int handle, float depth);
void mixer_set_rate(int handle, float rate);
// Stops every voice as mixer_stop_channel does, leaving handles bound; the
// mixer recycles them at its next block.
void mixer_stop_all();
// Mixes into out with the open mixer; for a caller that owns no device thread.
void mixer_mix16(int16_t* out, int count);

}  // namespace vantrel
