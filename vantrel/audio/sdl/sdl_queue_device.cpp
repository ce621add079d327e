// The output device refilled from a 5 ms one-shot timer ("Sonvar Multimedia"):
// SDL plays a queue of mixed blocks, and every tick tops the queue up by the
// rule of queue_refill, measured on SDL's count of bytes still queued.
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include <vantrel/audio/audio_device.h>
#include <vantrel/audio/mixer.h>
#include <vantrel/audio/queue_refill.h>
#include <vantrel/audio/sdl/sdl_output.h>
#include <vantrel/system/timer_service.h>

namespace vantrel {

namespace {

constexpr int kBlockSamples = 1024;
constexpr int kTickMs = 5;

class queue_device;

// A tick that was already claimed by the timer service may still run after
// its device closed, so ticks find their device through these, which live
// for the whole run: a tick of an older generation leaves at once.
std::atomic<queue_device*> g_ticked{nullptr};
std::atomic<uintptr_t> g_generation{0};
std::atomic<int> g_ticking{0};

class queue_device final : public audiodevice {
public:
    int open() override {
        mix = new mixer(kBlockSamples);
        _scratch.assign(kBlockSamples, 0);
        _device = OpenSDLOutput(kBlockSamples / kMixerChannels, nullptr, nullptr);
        if (_device == 0) return 1;
        Queue(_refill.start().blocks);
        SDL_PauseAudioDevice(_device, 0);

        const uintptr_t generation = g_generation.fetch_add(1) + 1;
        g_ticked.store(this);
        _running.store(true);
        _timer.store(StartOneShotPlatformTimer(kTickMs, Tick, reinterpret_cast<void*>(generation)));
        return _timer.load() ? 0 : 1;
    }

    void close() override {
        _running.store(false);
        g_ticked.store(nullptr);
        g_generation.fetch_add(1);
        CancelPlatformTimer(_timer.load());
        while (g_ticking.load() != 0) std::this_thread::yield();
        CancelPlatformTimer(_timer.load());
        if (mix) mix->stop_all();
        if (_device) {
            SDL_CloseAudioDevice(_device);
            _device = 0;
        }
    }

private:
    static void Tick(int, void* user) {
        g_ticking.fetch_add(1);
        queue_device* self = g_ticked.load();
        if (self && reinterpret_cast<uintptr_t>(user) == g_generation.load()) {
            self->Step();
            if (self->_running.load()) self->_timer.store(StartOneShotPlatformTimer(kTickMs, Tick, user));
        }
        g_ticking.fetch_sub(1);
    }

    // Timer thread.
    void Step() {
        const queue_refill::step s = _refill.tick(SDL_GetQueuedAudioSize(_device) / 2);
        if (s.stall) {
            SDL_PauseAudioDevice(_device, 1);
            SDL_ClearQueuedAudio(_device);
        }
        Queue(s.blocks);
        if (s.resume) SDL_PauseAudioDevice(_device, 0);
    }

    // The timer thread, or the game thread before the first tick is armed.
    void Queue(int blocks) {
        for (int i = 0; i < blocks; ++i) {
            mix->mix16(_scratch.data(), kBlockSamples);
            if (SDL_QueueAudio(_device, _scratch.data(), kBlockSamples * 2) != 0) std::puts("waveOutWrite error");
        }
    }

    SDL_AudioDeviceID _device = 0;
    std::vector<int16_t> _scratch;
    std::atomic<bool> _running{false};
    std::atomic<int> _timer{0};
    queue_refill _refill{kBlockSamples};
};

}  // namespace

audiodevice* CreateQueueDevice() { return new queue_device(); }

}  // namespace vantrel
