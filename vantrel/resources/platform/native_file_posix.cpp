// POSIX side of OpenNativeFile (see native_file.h): paths are UTF-8 bytes.
#include <vantrel/resources/platform/native_file.h>

namespace vantrel::platform {

std::FILE* OpenNativeFile(const String& path, const char* mode) {
    return std::fopen(path.ToUtf8().c_str(), mode);
}

}  // namespace vantrel::platform
