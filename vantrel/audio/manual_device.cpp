// A device without platform output: its owner pulls mixed blocks itself.
#include <vantrel/audio/audio_device.h>
#include <vantrel/audio/mixer.h>

namespace vantrel {

namespace {

class manual_device final : public audiodevice {
public:
    explicit manual_device(int block) : _block(block) {}
    int open() override {
        mix = new mixer(_block);
        return 0;
    }
    void close() override {}

private:
    int _block;
};

}  // namespace

audiodevice* CreateManualDevice(int block) { return new manual_device(block); }

}  // namespace vantrel
