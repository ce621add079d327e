#include <vantrel/runtime/heap_warmup.h>

#include <cstdlib>  // also what defines __GLIBC__ where it applies

#if defined(__GLIBC__)

#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace vantrel {
namespace {

constexpr int kLargestHeapBlock = 256 << 20;
constexpr int kKeptFreeHeap = 512 << 20;

struct Warmup {
    bool started = false;
    std::atomic<bool> stop{false};
    std::thread worker;

    // Runs at exit (a function-local static): a warm-up still going is cut
    // short and joined, so no thread touches the heap while it is torn down.
    ~Warmup() {
        if (!worker.joinable()) return;
        stop.store(true, std::memory_order_relaxed);
        worker.join();
    }
};

Warmup& State() {
    static Warmup warmup;
    return warmup;
}

// All three are needed for a block freed by the worker to serve the main
// thread; the first refusal ends the attempt.
bool KeepFreedHeapInProcess() {
    return mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock) == 1 && mallopt(M_TRIM_THRESHOLD, kKeptFreeHeap) == 1 &&
           mallopt(M_ARENA_MAX, 1) == 1;
}

// A fault maps one small page; where the system can, it maps a 2 MiB page
// instead, once, for every aligned stretch of the block. The heap keeps
// those pages after free like any other. Where transparent huge pages are
// off, the advice changes nothing and the block is warmed page by page.
void AskForHugePages(char* block, std::size_t bytes, std::size_t pageSize) {
#ifdef MADV_HUGEPAGE
    const auto first = (reinterpret_cast<std::uintptr_t>(block) + pageSize - 1) / pageSize * pageSize;
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes) / pageSize * pageSize;
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)block, (void)bytes, (void)pageSize;
#endif
}

// The worker frees the block itself, the moment it is warm, rather than
// handing it to the main thread: the main thread could only free it at a
// fixed point of its start-up and would have to wait there for a late
// warm-up, the very stall this is meant to remove.
// Freed into the one arena, the block either joins the heap's top or, when
// the main thread has allocated above it meanwhile, becomes a free chunk,
// and the allocator cuts requests from free chunks before it grows the
// heap: the main thread's next allocations land in warm pages.
void TouchAndRelease(std::size_t bytes, const std::atomic<bool>& stop) {
    char* block = static_cast<char*>(std::malloc(bytes));
    if (!block) return;
    const std::size_t pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    AskForHugePages(block, bytes, pageSize);
    // Volatile, so that the compiler cannot drop writes to a block that is
    // freed unread.
    volatile char* pages = block;
    for (std::size_t at = 0; at < bytes && !stop.load(std::memory_order_relaxed); at += pageSize) pages[at] = 0;
    std::free(block);
}

}  // namespace

bool WarmHeapAhead(std::size_t bytes) {
    Warmup& warmup = State();
    if (warmup.started || bytes == 0) return false;
    warmup.started = true;
    if (!KeepFreedHeapInProcess()) return false;
    try {
        warmup.worker = std::thread(TouchAndRelease, bytes, std::cref(warmup.stop));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void WaitHeapWarm() {
    Warmup& warmup = State();
    if (warmup.worker.joinable()) warmup.worker.join();
}

}  // namespace vantrel

#else

namespace vantrel {

bool WarmHeapAhead(std::size_t) { return false; }
void WaitHeapWarm() {}

}  // namespace vantrel

#endif
