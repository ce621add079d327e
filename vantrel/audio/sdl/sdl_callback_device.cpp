// The output device that SDL's audio thread pulls from ("Sonvar DirectSound"):
// every buffer SDL asks for is mixed on the spot, in spans of at most one
// mixer block. SDL keeps two 2048-frame buffers (8192 bytes each) in flight.
#include <algorithm>

#include <vantrel/audio/audio_device.h>
#include <vantrel/audio/mixer.h>
#include <vantrel/audio/sdl/sdl_output.h>

namespace vantrel {

namespace {

constexpr int kBlockSamples = 12288;
constexpr int kBufferFrames = 2048;

class callback_device final : public audiodevice {
public:
    int open() override {
        mix = new mixer(kBlockSamples);
        _device = OpenSDLOutput(kBufferFrames, Pull, this);
        if (_device == 0) return -1;
        SDL_PauseAudioDevice(_device, 0);
        return 0;
    }

    // Returns once SDL's audio thread has left the callback for good.
    void close() override {
        if (_device == 0) return;
        SDL_CloseAudioDevice(_device);
        _device = 0;
    }

private:
    // SDL's audio thread. Mixing raises nothing, so nothing can unwind into SDL.
    static void SDLCALL Pull(void* user, Uint8* stream, int len) noexcept {
        auto* self = static_cast<callback_device*>(user);
        auto* out = reinterpret_cast<int16_t*>(stream);
        for (int left = len / 2; left > 0;) {
            const int n = std::min(left, self->mix->block);
            self->mix->mix16(out, n);
            out += n;
            left -= n;
        }
    }

    SDL_AudioDeviceID _device = 0;
};

}  // namespace

audiodevice* CreateCallbackDevice() { return new callback_device(); }

}  // namespace vantrel
