#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include <vantrel/runtime/heap_warmup.h>

using namespace vantrel;

namespace {

long ResidentAnonymousBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        long kib = 0;
        if (std::sscanf(line.c_str(), "RssAnon: %ld kB", &kib) == 1) return kib * 1024;
    }
    return -1;
}

}  // namespace

// Run alone (ctest starts each test in a process of its own), since the
// warm-up must come before any other thread of the process.
TEST(HeapWarmup, MainThreadAllocationsAfterwardsNeedNoFreshPages) {
    constexpr std::size_t kWarm = 32u << 20;
    const bool started = WarmHeapAhead(kWarm);
    WaitHeapWarm();
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers' allocators do not take the C library's options";
#endif
    ASSERT_TRUE(started);
    const long before = ResidentAnonymousBytes();
    ASSERT_GT(before, 0);
    char* block = static_cast<char*>(std::malloc(kWarm / 2));
    ASSERT_NE(block, nullptr);
    volatile char* pages = block;
    for (std::size_t at = 0; at < kWarm / 2; at += static_cast<std::size_t>(sysconf(_SC_PAGESIZE))) pages[at] = 1;
    const long grown = ResidentAnonymousBytes() - before;
    std::free(block);
    EXPECT_LT(grown, static_cast<long>(kWarm / 8));
}
