// POSIX side of native_file.h: paths are UTF-8 bytes, positions off_t.
#include <vantrel/resources/platform/native_file.h>

namespace vantrel::platform {

std::FILE* OpenNativeFile(const String& path, const char* mode) {
    return std::fopen(path.ToUtf8().c_str(), mode);
}

int64_t TellNativeFile(std::FILE* file) { return ftello(file); }

int SeekNativeFile(std::FILE* file, int64_t offset, int origin) {
    return fseeko(file, static_cast<off_t>(offset), origin);
}

}  // namespace vantrel::platform
