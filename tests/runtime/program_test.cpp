#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <unistd.h>

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
    std::raise(SIGSEGV);
}

char* Argv0() {
    static char name[] = "/nonexistent/prog";
    return name;
}

}  // namespace

TEST(ProgramDeathTest, UncaughtExceptionPrintsItsTextAndExitsMinusOne) {
    char* argv[] = {Argv0(), nullptr};
    EXPECT_EXIT(RunProgram(1, argv, ThrowUncaught), testing::ExitedWithCode(255), "boom from the entry");
}

TEST(ProgramDeathTest, ExitProgramRunsTheHandlersAndExitsZero) {
    char* argv[] = {Argv0(), nullptr};
    EXPECT_EXIT(RunProgram(1, argv, ExitThroughHandlers), testing::ExitedWithCode(0), "newest first\nhandlers ran in order 21");
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
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
