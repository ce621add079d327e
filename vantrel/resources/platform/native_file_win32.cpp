// Windows side of native_file.h: _wfopen with the path's UTF-16 code
// units, and the CRT's 64-bit tell and seek.
#include <vantrel/resources/platform/native_file.h>
#include <vantrel/runtime/platform/wide_string.h>

#include <string>

namespace vantrel::platform {

std::FILE* OpenNativeFile(const String& path, const char* mode) {
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(ToWide(path).c_str(), wideMode.c_str());
}

int64_t TellNativeFile(std::FILE* file) { return _ftelli64(file); }

int SeekNativeFile(std::FILE* file, int64_t offset, int origin) { return _fseeki64(file, offset, origin); }

}  // namespace vantrel::platform
