// Pre-faulting heap pages on a worker thread while the main thread starts up.
//
// The first write to a freshly mapped page costs a page fault, and a
// program's start-up writes many megabytes it has just allocated (decoded
// images, textures, the driver's buffers), all on the main thread. With
// WarmHeapAhead(bytes) a worker allocates a block of that size from the
// heap, writes one byte to each page and frees it again; the main thread's
// later allocations are carved out of pages that are already mapped. Where
// the system maps transparent huge pages on request, the block asks for
// them: one fault then maps 2 MiB instead of 4 KiB, which makes the warm-up
// itself cheap (48 MiB in 3 to 80 ms instead of about 180 ms on a 2-core
// virtual machine), and those pages too stay in the heap after free.
//
// For freed pages to stay in the heap, the C library's allocator is told to
// keep them: blocks under 256 MiB come from the heap instead of a mapping of
// their own (which free would unmap), free space at the heap's end is given
// back only beyond 512 MiB, and every thread allocates from the one main
// heap (a worker's blocks would otherwise go to an arena of its own, out of
// the main thread's reach). The trade-off is for the whole process: freed
// memory is not given back to the system, and all threads share one heap
// lock. That suits a program that allocates its working set once, early,
// and keeps it; a program whose memory use swings widely should not call it.
//
// WarmHeapAhead returns whether it started the worker; the program goes on
// either way, since the warm-up only ever saves time. It starts none when
// the allocator refuses an option (AddressSanitizer's does: pages warmed
// there would go back to the system on free) or no thread can be started;
// the options already set stay set. A worker that cannot allocate its block
// simply ends.
//
// Main thread only, and WarmHeapAhead before any other thread exists: the
// allocator creates a thread's arena at its first allocation, so the
// one-heap option must be in place before then. A second call does nothing
// and returns false. The program's exit stops an unfinished warm-up and
// waits for it, so the worker never runs on while the process is torn down.
// On systems other than glibc both calls do nothing.
#pragma once

#include <cstddef>

namespace vantrel {

bool WarmHeapAhead(std::size_t bytes);

// Waits until the warm-up, if one was started, has freed its block.
void WaitHeapWarm();

}  // namespace vantrel
