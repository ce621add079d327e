#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <atomic>
#include <thread>

#include <windows.h>
#endif

#include <vantrel/runtime/runtime.h>

using namespace vantrel;

namespace {

int g_handlerOrder = 0;

void ThrowUncaught() { throw TRuntimeException("boom from the entry"); }

void ExitThroughHandlers() {
    AddExitHandler([] { g_handlerOrder = g_handlerOrder * 10 + 1; });
    AddExitHandler([] { g_handlerOrder = g_handlerOrder * 10 + 2; });
    AddExitHandler([] { if (g_handlerOrder == 0) std::fputs("newest first\n", stderr); });
    AddExitHandler([] {});
    std::atexit([] { std::fprintf(stderr, "handlers ran in order %d\n", g_handlerOrder); });
    ExitProgram();
}

// Only the fault test uses it, and that test is left out under sanitizers.
[[maybe_unused]] void Segfault() {
#ifdef _WIN32
    *static_cast<volatile int*>(nullptr) = 1;   // raise() is no processor fault there
#else
    std::raise(SIGSEGV);
#endif
}

// exit(-1) as the parent sees it: Windows keeps all 32 bits.
#ifdef _WIN32
constexpr int kMinusOneStatus = -1;
#else
constexpr int kMinusOneStatus = 255;
#endif

char* Argv0() {
    static char name[] = "/nonexistent/prog";
    return name;
}

}  // namespace

TEST(ProgramDeathTest, UncaughtExceptionPrintsItsTextAndExitsMinusOne) {
    char* argv[] = {Argv0(), nullptr};
    EXPECT_EXIT(RunProgram(1, argv, ThrowUncaught), testing::ExitedWithCode(kMinusOneStatus), "boom from the entry");
}

TEST(ProgramDeathTest, ExitProgramRunsTheHandlersAndExitsZero) {
    char* argv[] = {Argv0(), nullptr};
    EXPECT_EXIT(RunProgram(1, argv, ExitThroughHandlers), testing::ExitedWithCode(0), "newest first\nhandlers ran in order 21");
}

#if defined(_WIN32)
// The message box waits for the user: a watcher in the test (not in the
// death test's child, which runs this body again) presses its OK button.
// The exit status is the exception code, so it names the fault too.
TEST(ProgramDeathTest, ProcessorFaultIsShownInAMessageBoxAndFails) {
    char* argv[] = {Argv0(), nullptr};
    const bool child = !GTEST_FLAG_GET(internal_run_death_test).empty();
    std::atomic<bool> done{false}, seen{false};
    std::thread watcher([&] {
        while (!child && !done.load()) {
            if (HWND box = FindWindowW(nullptr, L"Windows exception")) {
                seen = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(50);
        }
    });
    EXPECT_EXIT(RunProgram(1, argv, Segfault), testing::ExitedWithCode(int(EXCEPTION_ACCESS_VIOLATION)), "");
    done = true;
    watcher.join();
    EXPECT_TRUE(seen.load());
}
#elif !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
TEST(ProgramDeathTest, ProcessorFaultIsReportedAndFails) {
    char* argv[] = {Argv0(), nullptr};
    EXPECT_EXIT(RunProgram(1, argv, Segfault), testing::ExitedWithCode(128 + SIGSEGV), "Processor fault: SIGSEGV");
}
#endif

TEST(Program, RecordsPathsWithForwardSlashesAndTheDefaultTitle) {
    std::string argvText = "prog";
    char* argv[] = {argvText.data(), nullptr};
    StartRuntime(1, argv, false);
    EXPECT_TRUE(IsMainThread());
    EXPECT_EQ(AppTitle(), String("Vantrel Application"));
    EXPECT_TRUE(AppFile().StartsWith(AppDir() + "/"));
    EXPECT_EQ(AppFile().Find("\\"), -1);
    EXPECT_EQ(AppArgs()->Length(), 1);
    EXPECT_EQ(AppArgs()->At(0), String("prog"));
    SetAppTitle("OXR #48 - QIRN");
    EXPECT_EQ(AppTitle(), String("OXR #48 - QIRN"));
}
