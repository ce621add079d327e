#include <vantrel/resources/stream_io.h>

#include <bit>
#include <string>

#include <vantrel/resources/little_endian.h>
#include <vantrel/runtime/exceptions.h>

namespace vantrel {
namespace {

// Typed data on a stream is little-endian whatever the host's byte order.
template <class U>
U ReadLittleValue(TStream& stream) {
    uint8_t bytes[sizeof(U)];
    stream.ReadBytes(bytes, sizeof(U));
    return LoadLittle<U>(bytes);
}

template <class U>
void WriteLittleValue(TStream& stream, U value) {
    uint8_t bytes[sizeof(U)];
    StoreLittle(bytes, value);
    stream.WriteBytes(bytes, sizeof(U));
}

}  // namespace

bool TIO::Eof() { return Pos() == Size(); }
int TIO::Pos() { return -1; }
int TIO::Size() { return 0; }
int TIO::Seek(int) { return -1; }
int TIO::Flush() { return 0; }
int TIO::Close() { return 0; }
int TIO::Read(void*, int) { RaiseRuntimeError("Stream is not readable"); }
int TIO::Write(const void*, int) { RaiseRuntimeError("Stream is not writeable"); }

int TStream::ReadBytes(void* buffer, int count) {
    auto* p = static_cast<uint8_t*>(buffer);
    for (int done = 0; done < count;) {
        int n = Read(p + done, count - done);
        if (n <= 0) throw TStreamReadException();
        done += n;
    }
    return count;
}

int TStream::WriteBytes(const void* buffer, int count) {
    auto* p = static_cast<const uint8_t*>(buffer);
    for (int done = 0; done < count;) {
        int n = Write(p + done, count - done);
        if (n <= 0) throw TStreamWriteException();
        done += n;
    }
    return count;
}

int TStream::SkipBytes(int count) {
    uint8_t scratch[1024];
    for (int left = count; left > 0;) {
        int n = Read(scratch, left < 1024 ? left : 1024);
        if (n <= 0) throw TStreamReadException();
        left -= n;
    }
    return count;
}

int TStream::ReadByte() {
    uint8_t b;
    ReadBytes(&b, 1);
    return b;
}

void TStream::WriteByte(int value) {
    auto b = static_cast<uint8_t>(value);
    WriteBytes(&b, 1);
}

int TStream::ReadShort() { return ReadLittleValue<uint16_t>(*this); }
void TStream::WriteShort(int value) { WriteLittleValue(*this, static_cast<uint16_t>(value)); }
int TStream::ReadInt() { return static_cast<int32_t>(ReadLittleValue<uint32_t>(*this)); }
void TStream::WriteInt(int value) { WriteLittleValue(*this, static_cast<uint32_t>(value)); }
int64_t TStream::ReadLong() { return static_cast<int64_t>(ReadLittleValue<uint64_t>(*this)); }
void TStream::WriteLong(int64_t value) { WriteLittleValue(*this, static_cast<uint64_t>(value)); }
float TStream::ReadFloat() { return std::bit_cast<float>(ReadLittleValue<uint32_t>(*this)); }
void TStream::WriteFloat(float value) { WriteLittleValue(*this, std::bit_cast<uint32_t>(value)); }
double TStream::ReadDouble() { return std::bit_cast<double>(ReadLittleValue<uint64_t>(*this)); }
void TStream::WriteDouble(double value) { WriteLittleValue(*this, std::bit_cast<uint64_t>(value)); }

String TStream::ReadLine() {
    std::string line;
    line.reserve(1024);
    uint8_t c;
    while (Read(&c, 1) == 1 && c != 0 && c != 10) {
        if (c != 13) line.push_back(static_cast<char>(c));
    }
    return String(line);
}

int TStream::WriteLine(const String& text) {
    std::string bytes = text.To8Bit();
    int count = static_cast<int>(bytes.size());
    if (Write(bytes.data(), count) != count) return 0;
    static const uint8_t crlf[2] = {13, 10};
    return Write(crlf, 2) == 2 ? 1 : 0;
}

String TStream::ReadString(int length) {
    std::string bytes(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    ReadBytes(bytes.data(), static_cast<int>(bytes.size()));
    return String(bytes);
}

int TStream::WriteString(const String& text) {
    std::string bytes = text.To8Bit();
    WriteBytes(bytes.data(), static_cast<int>(bytes.size()));
    return 0;
}

Ref<Object> TStream::ReadObject() { RaiseString("Unable to read object"); }
int TStream::WriteObject(const Ref<Object>&) { RaiseString("Unable to write object"); }

}  // namespace vantrel
