// Replaces malloc and friends (glibc supports this) with wrappers that count
// the bytes in use, so that tests can see what a decoder allocated inside
// C libraries too.

#include "alloc_peak.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>   // defines __GLIBC__ where it applies

#if !defined(__GLIBC__)   // the wrappers need glibc's __libc_malloc
#define ALLOC_PEAK_DISABLED 1
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define ALLOC_PEAK_DISABLED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ALLOC_PEAK_DISABLED 1
#endif

#ifdef ALLOC_PEAK_DISABLED

namespace alloc_peak {
bool Available() { return false; }
void Reset() {}
size_t PeakSinceReset() { return 0; }
void WatchThisThread(bool) {}
size_t CallsOnWatchedThreads() { return 0; }
}  // namespace alloc_peak

#else

#include <malloc.h>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* p);
}

namespace {

std::atomic<int64_t> inUse{0};
std::atomic<int64_t> base{0};
std::atomic<int64_t> peak{0};
thread_local bool watched = false;
std::atomic<size_t> watchedCalls{0};

void NoteCall() {
    if (watched) watchedCalls.fetch_add(1, std::memory_order_relaxed);
}

void* Counted(void* p) {
    NoteCall();
    if (p) {
        const int64_t now = inUse.fetch_add(static_cast<int64_t>(malloc_usable_size(p))) +
                            static_cast<int64_t>(malloc_usable_size(p));
        int64_t seen = peak.load(std::memory_order_relaxed);
        while (now > seen && !peak.compare_exchange_weak(seen, now)) {
        }
    }
    return p;
}

void Uncount(void* p) {
    if (!p) return;
    NoteCall();
    inUse.fetch_sub(static_cast<int64_t>(malloc_usable_size(p)));
}

}  // namespace

extern "C" {

void* malloc(size_t size) { return Counted(__libc_malloc(size)); }
void* calloc(size_t count, size_t size) { return Counted(__libc_calloc(count, size)); }
void free(void* p) {
    Uncount(p);
    __libc_free(p);
}
void* realloc(void* p, size_t size) {
    if (!p) return malloc(size);
    if (size == 0) {
        free(p);
        return nullptr;
    }
    const size_t old = malloc_usable_size(p);
    void* q = __libc_realloc(p, size);
    if (q) {
        inUse.fetch_sub(static_cast<int64_t>(old));
        Counted(q);
    }
    return q;
}
void* memalign(size_t alignment, size_t size) { return Counted(__libc_memalign(alignment, size)); }
void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, size_t alignment, size_t size) {
    void* p = memalign(alignment, size);
    if (!p && size) return ENOMEM;
    *out = p;
    return 0;
}
void* valloc(size_t size) { return memalign(4096, size); }
void* pvalloc(size_t size) { return memalign(4096, (size + 4095) & ~size_t{4095}); }

}  // extern "C"

namespace alloc_peak {

bool Available() { return true; }

void Reset() {
    const int64_t now = inUse.load();
    base.store(now);
    peak.store(now);
}

size_t PeakSinceReset() { return static_cast<size_t>(peak.load() - base.load()); }

void WatchThisThread(bool on) { watched = on; }

size_t CallsOnWatchedThreads() { return watchedCalls.load(); }

}  // namespace alloc_peak

#endif
