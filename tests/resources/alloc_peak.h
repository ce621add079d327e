// Peak heap use while a piece of code runs, and the allocator calls a thread
// makes, measured by wrapping the C library's allocator (in plain builds;
// sanitizer builds keep their own allocator, and Available() is false there).
#pragma once

#include <cstddef>

namespace alloc_peak {

bool Available();
// Starts a measurement at the current heap use.
void Reset();
// The most bytes in use above the level at Reset since Reset.
size_t PeakSinceReset();

// Counts every allocation and free the calling thread makes until it calls
// WatchThisThread(false); the count is shared by all watched threads.
void WatchThisThread(bool on);
size_t CallsOnWatchedThreads();

}  // namespace alloc_peak
