#include <vantrel/resources/cstream.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <system_error>

#include <vantrel/resources/platform/native_file.h>

namespace vantrel {
namespace {

// Positions and sizes are 32-bit: a stream covers the first 2^31 - 1 bytes
// of a larger file.
int StreamPosition(int64_t position) { return position > INT_MAX ? INT_MAX : static_cast<int>(position); }

// How many of count bytes a transfer at pos may move without pos passing
// the last position a stream can hold.
int TransferLimit(int pos, int count) { return std::min(count, INT_MAX - std::max(pos, 0)); }

}  // namespace

TCStream::~TCStream() { TCStream::Close(); }

Ref<TCStream> TCStream::OpenFile(const String& path, bool readable, bool writeable) {
    const char* cmode = "rb";
    int mode = MODE_READ;
    if (readable && writeable) {
        cmode = "r+b";
        mode = MODE_READ | MODE_WRITE;
    } else if (writeable) {
        cmode = "wb";
        mode = MODE_WRITE;
    }
    const String native = path.Replace("\\", "/");
    // Some C libraries open a folder for reading; its reads then fail and its
    // size is nonsense, so a folder is refused like a missing file.
    std::error_code error;
    if (std::filesystem::is_directory(std::filesystem::path(native.Units()), error)) return nullptr;
    FILE* f = platform::OpenNativeFile(native, cmode);
    if (!f) return nullptr;
    return CreateWithCStream(f, mode);
}

Ref<TCStream> TCStream::CreateWithCStream(FILE* cstream, int mode) {
    Ref<TCStream> s = MakeRef<TCStream>();
    s->_cstream = cstream;
    s->_mode = mode;
    s->_pos = StreamPosition(platform::TellNativeFile(cstream));
    platform::SeekNativeFile(cstream, 0, SEEK_END);
    s->_size = StreamPosition(platform::TellNativeFile(cstream));
    platform::SeekNativeFile(cstream, s->_pos, SEEK_SET);
    return s;
}

void TCStream::Switch(LastOp op) {
    if (_last != LastOp::None && _last != op) platform::SeekNativeFile(_cstream, 0, SEEK_CUR);
    _last = op;
}

int TCStream::Seek(int position) {
    if (!_cstream) return -1;
    platform::SeekNativeFile(_cstream, position, SEEK_SET);
    _last = LastOp::None;
    _pos = StreamPosition(platform::TellNativeFile(_cstream));
    return _pos;
}

int TCStream::Read(void* buffer, int count) {
    count = TransferLimit(_pos, count);
    if (!_cstream || count <= 0) return 0;
    Switch(LastOp::Read);
    int n = static_cast<int>(std::fread(buffer, 1, static_cast<size_t>(count), _cstream));
    _pos += n;
    return n;
}

int TCStream::Write(const void* buffer, int count) {
    count = TransferLimit(_pos, count);
    if (!_cstream || count <= 0) return 0;
    Switch(LastOp::Write);
    int n = static_cast<int>(std::fwrite(buffer, 1, static_cast<size_t>(count), _cstream));
    _pos += n;
    if (_pos > _size) _size = _pos;
    return n;
}

int TCStream::Flush() {
    return _cstream && std::fflush(_cstream) != 0 ? -1 : 0;
}

int TCStream::Close() {
    if (!_cstream) return 0;
    // Buffered bytes reach the file only now; a full disk shows up here.
    const bool flushed = Flush() == 0;
    const bool closed = std::fclose(_cstream) == 0;
    _cstream = nullptr;
    _pos = 0;
    _size = 0;
    return flushed && closed ? 0 : -1;
}

}  // namespace vantrel
