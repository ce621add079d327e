// Opening a file by its path for the C stream layer: native_file_posix.cpp
// passes the path as UTF-8, native_file_win32.cpp through the wide API, so
// paths with letters outside the ANSI code page open on Windows too. Tell
// and seek take 64-bit positions (C's long, which ftell returns, has 32
// bits on Windows).
//
// Any thread. OpenNativeFile gives nullptr when the file cannot be opened;
// TellNativeFile -1 and SeekNativeFile non-zero on failure.
#pragma once

#include <cstdint>
#include <cstdio>

#include <vantrel/runtime/string.h>

namespace vantrel::platform {

// mode is a C library mode such as "rb" or "r+b".
std::FILE* OpenNativeFile(const String& path, const char* mode);

int64_t TellNativeFile(std::FILE* file);
int SeekNativeFile(std::FILE* file, int64_t offset, int origin);

}  // namespace vantrel::platform
