#include <vantrel/audio/sample_fill.h>

#include <cstring>

namespace vantrel {

TSampleFill::TSampleFill(uint8_t* frames, int length, int frame_bytes)
    : _frames(frames), _length(length), _frameBytes(frame_bytes) {}

void TSampleFill::Advance(int count) { progress.filled.store(count, std::memory_order_release); }

void TSampleFill::Finish(bool ok) {
    std::lock_guard<std::mutex> lock(_mutex);
    if (_finished) return;
    _finished = true;
    _failed = !ok || progress.filled.load(std::memory_order_relaxed) < _length;
    if (!_failed) {
        WriteGuard();
        progress.complete.store(true, std::memory_order_release);
    }
    _finishedChanged.notify_all();
}

bool TSampleFill::Finished() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _finished;
}

void TSampleFill::Wait() const {
    std::unique_lock<std::mutex> lock(_mutex);
    _finishedChanged.wait(lock, [this] { return _finished; });
}

bool TSampleFill::Failed() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _failed;
}

bool TSampleFill::ClaimGuard(bool loop) {
    const Guard wanted = loop ? Guard::First : Guard::Last;
    std::lock_guard<std::mutex> lock(_mutex);
    if (_guard != Guard::Unclaimed) return _guard == wanted;
    _guard = wanted;
    if (_finished && !_failed) WriteGuard();
    return true;
}

// A sound of no frames is never read, guard included.
void TSampleFill::WriteGuard() {
    if (_guard == Guard::Unclaimed || _length == 0) return;
    uint8_t* guard = _frames + static_cast<size_t>(_length) * _frameBytes;
    const uint8_t* from = _guard == Guard::First ? _frames : guard - _frameBytes;
    std::memcpy(guard, from, static_cast<size_t>(_frameBytes));
}

}  // namespace vantrel
