// Windows side of OpenNativeFile (see native_file.h): _wfopen with the
// path's UTF-16 code units.
#include <vantrel/resources/platform/native_file.h>

#include <string>

namespace vantrel::platform {

std::FILE* OpenNativeFile(const String& path, const char* mode) {
    const std::u16string& units = path.Units();
    std::wstring wide(units.begin(), units.end());
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(wide.c_str(), wideMode.c_str());
}

}  // namespace vantrel::platform
