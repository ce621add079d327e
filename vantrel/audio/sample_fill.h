// A sample whose frames a decoder is still writing, front to back, after it
// has handed the sample out: a long sound can start playing from its first
// seconds while the rest decodes on a worker thread.
//
// The fill describes storage that the sample owns and never moves while it
// fills, with room for one frame past the sample's length: the guard frame a
// mixer reads when it interpolates past the last frame. Its value (the first
// frame for a looping sound, else the last) is known only once a sound is
// made from the sample, so ClaimGuard records it and Finish, or the claim
// itself when the fill has finished, writes it.
//
// A fill that fails (decoding broke off, or was cancelled) never completes:
// a voice playing it waits at the last frame written, silent, for good, and
// the frames past it are never read; TAudioSample's Copy and Convert give
// silence there. Nothing is written over them, so a length the file only
// claimed costs no memory.
//
// Threads: one writer calls Advance and Finish; a mixing thread reads
// `progress` (fill_progress.h); every other member may be called from any
// thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <utility>

#include <vantrel/audio/fill_progress.h>
#include <vantrel/audio/sample.h>
#include <vantrel/runtime/object.h>

namespace vantrel {

class TSampleFill : public Object {
public:
    // frames: the storage's first frame; length frames of frame_bytes bytes
    // each, and room for the guard frame after them.
    TSampleFill(uint8_t* frames, int length, int frame_bytes);

    // Writer: frames [0, count) are in place.
    void Advance(int count);
    // Writer, once: every frame in place (ok) or not; fewer frames advanced
    // than the length is a failure either way.
    void Finish(bool ok);
    // Writer: true once somebody asked the decoding to stop.
    bool Cancelled() const { return _cancel.load(std::memory_order_relaxed); }

    void Cancel() { _cancel.store(true, std::memory_order_relaxed); }
    // Blocks until Finish; then Failed tells whether frames are missing and
    // Filled how many are in place.
    void Wait() const;
    bool Finished() const;
    bool Failed() const;
    int Filled() const { return progress.filled.load(std::memory_order_acquire); }
    // For a sound made from the sample: the guard frame it needs. False when
    // a sound claimed it the other way; that sound must copy the frames.
    bool ClaimGuard(bool loop);

    // The fill of a sample still decoding, or Null once it was made whole.
    static const Ref<TSampleFill>& Of(const TAudioSample& sample) { return sample._fill; }
    static void Attach(TAudioSample& sample, Ref<TSampleFill> fill) { sample._fill = std::move(fill); }

    FillProgress progress;

private:
    enum class Guard { Unclaimed, First, Last };
    void WriteGuard();   // with _mutex held, once finished

    uint8_t* const _frames;
    const int _length;
    const int _frameBytes;
    std::atomic<bool> _cancel{false};
    mutable std::mutex _mutex;
    mutable std::condition_variable _finishedChanged;
    bool _finished = false;
    bool _failed = false;
    Guard _guard = Guard::Unclaimed;
};

}  // namespace vantrel
