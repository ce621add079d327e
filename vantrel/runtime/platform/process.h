// What the program start needs from the operating system, behind one set of
// calls: process_posix.cpp for Linux and the other POSIX systems,
// process_win32.cpp for Windows. Paths come back as the system gives them
// (Windows: with "\" separators); the caller turns them into "/" paths.
//
// Main thread only; nothing here raises.
#pragma once

#include <vector>

#include <vantrel/runtime/string.h>

namespace vantrel::platform {

// The program's arguments. Windows re-reads the process's own command line
// in UTF-16 (argv holds it in the ANSI code page); argv handed in by a test
// or a tool is taken as UTF-8 everywhere.
std::vector<String> ProgramArguments(int argc, char** argv);

// The working directory; "" when it cannot be read.
String CurrentDirectory();

// False when the directory cannot be entered.
bool ChangeDirectory(const String& dir);

// The running executable's full path (Windows: the module file name); falls
// back to argv0 where the system cannot tell.
String ExecutablePath(const char* argv0);

// Reports a processor fault that nothing handles (POSIX: on standard error,
// by signal name; Windows: in a message box titled "Windows exception"
// naming the exception) and ends the process with a non-zero status.
void InstallFaultReporter();

}  // namespace vantrel::platform
