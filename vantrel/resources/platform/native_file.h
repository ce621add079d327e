// Opening a file by its path for the C stream layer: native_file_posix.cpp
// passes the path as UTF-8, native_file_win32.cpp through the wide API, so
// paths with letters outside the ANSI code page open on Windows too.
//
// Any thread; nullptr when the file cannot be opened.
#pragma once

#include <cstdio>

#include <vantrel/runtime/string.h>

namespace vantrel::platform {

// mode is a C library mode such as "rb" or "r+b".
std::FILE* OpenNativeFile(const String& path, const char* mode);

}  // namespace vantrel::platform
