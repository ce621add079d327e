// How far another thread has written a buffer it fills front to back while
// the sound already plays (a sound still decoding): the record a sample's
// fill (sample_fill.h) shares with the mixer's voices (mixer.h).
//
// The writer stores `filled` (frames in place) with release order as frames
// land, and sets `complete`, also with release order, once every frame and
// the guard frame are in place. A voice reads no frame at or past `filled`,
// and not the guard, before it sees `complete`: until then it waits, silent.
// One writer thread; any number of readers, the mixing thread among them.
#pragma once

#include <atomic>

namespace vantrel {

struct FillProgress {
    std::atomic<int> filled{0};
    std::atomic<bool> complete{false};
};

}  // namespace vantrel
