// Program start, exit handlers and the process-wide facts the runtime records.
//
// RunProgram is the body of main(): it records the main thread, the launch
// directory and the executable's path and directory (with "/" separators),
// changes the working directory to the executable's directory, sets the
// application title to "Vantrel Application", keeps the arguments, installs
// the processor-fault reporter and runs the entry. An exception that nobody
// catches is written to standard error (its ToString, as 8-bit text) and the
// process exits with status -1. A processor fault (SIGSEGV, SIGFPE, SIGILL,
// SIGBUS) is reported on standard error by name and ends the process with a
// non-zero status; on Windows a fault nothing handles is named in a message
// box titled "Windows exception" and the exception code is the exit status.
// On Windows the arguments are the process's UTF-16 command line and the
// executable's path is its module file name.
//
// Main thread only, except IsMainThread.
#pragma once

#include <functional>

#include <vantrel/runtime/array.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

int RunProgram(int argc, char** argv, void (*entry)());

// Records the program facts without running an entry; for tests and tools
// that have their own main. Does not change the working directory when
// changeDirectory is false.
void StartRuntime(int argc, char** argv, bool changeDirectory);

bool IsMainThread();
String LaunchDir();
String AppFile();
String AppDir();
Array<String> AppArgs();
String AppTitle();
void SetAppTitle(const String& title);

// Handlers run in reverse order of registration when the program ends
// through ExitProgram or after the entry returns.
void AddExitHandler(std::function<void()> handler);
// Runs the exit handlers (each at most once) without ending the process.
void RunExitHandlers();
[[noreturn]] void ExitProgram();

// The process-wide exit code used for an uncaught exception.
inline constexpr int kUncaughtExceptionStatus = -1;

}  // namespace vantrel
