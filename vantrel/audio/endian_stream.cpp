#include <vantrel/audio/endian_stream.h>

#include <cstring>
#include <utility>

namespace vantrel {

namespace {

template <class T, void (*Swap)(void*)>
T ReadSwapped(TStream& s) {
    T value;
    s.ReadBytes(&value, sizeof value);
    Swap(&value);
    return value;
}

template <class T, void (*Swap)(void*)>
void WriteSwapped(TStream& s, T value) {
    Swap(&value);
    s.WriteBytes(&value, sizeof value);
}

}  // namespace

void TXEndianStream::Swap2(void* p) {
    auto* b = static_cast<uint8_t*>(p);
    std::swap(b[0], b[1]);
}

void TXEndianStream::Swap4(void* p) {
    auto* b = static_cast<uint8_t*>(p);
    std::swap(b[0], b[3]);
    std::swap(b[1], b[2]);
}

void TXEndianStream::Swap8(void* p) {
    auto* b = static_cast<uint8_t*>(p);
    for (int i = 0; i < 4; ++i) std::swap(b[i], b[7 - i]);
}

int TXEndianStream::ReadShort() { return ReadSwapped<uint16_t, Swap2>(*this); }
void TXEndianStream::WriteShort(int value) { WriteSwapped<uint16_t, Swap2>(*this, static_cast<uint16_t>(value)); }
int TXEndianStream::ReadInt() { return ReadSwapped<int32_t, Swap4>(*this); }
void TXEndianStream::WriteInt(int value) { WriteSwapped<int32_t, Swap4>(*this, value); }
int64_t TXEndianStream::ReadLong() { return ReadSwapped<int64_t, Swap8>(*this); }
void TXEndianStream::WriteLong(int64_t value) { WriteSwapped<int64_t, Swap8>(*this, value); }
float TXEndianStream::ReadFloat() { return ReadSwapped<float, Swap4>(*this); }
void TXEndianStream::WriteFloat(float value) { WriteSwapped<float, Swap4>(*this, value); }
double TXEndianStream::ReadDouble() { return ReadSwapped<double, Swap8>(*this); }
void TXEndianStream::WriteDouble(double value) { WriteSwapped<double, Swap8>(*this, value); }

Ref<TXEndianStream> TXEndianStream::Create(const Ref<TStream>& stream) {
    if (!stream) return nullptr;
    Ref<TXEndianStream> s = MakeRef<TXEndianStream>();
    s->SetStream(stream);
    return s;
}

Ref<TStream> TXEndianStream::BigEndian(const Ref<TStream>& stream) { return Create(stream); }

Ref<TStream> TXEndianStream::LittleEndian(const Ref<TStream>& stream) { return stream; }

Ref<TStream> TXEndianStreamFactory::CreateStream(const Ref<Object>&, const String& proto, const String& path,
                                                 bool readable, bool writeable) {
    if (proto == "bigendian") return TXEndianStream::BigEndian(OpenUrlStream(path, readable, writeable));
    if (proto == "littleendian") return TXEndianStream::LittleEndian(OpenUrlStream(path, readable, writeable));
    return nullptr;
}

Ref<TStream> AsBigEndianStream(const Ref<TStream>& stream) { return TXEndianStream::BigEndian(stream); }
Ref<TStream> AsLittleEndianStream(const Ref<TStream>& stream) { return TXEndianStream::LittleEndian(stream); }

void StartEndianStreamModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartStreamModule();
    MakeRef<TXEndianStreamFactory>();
}

}  // namespace vantrel
