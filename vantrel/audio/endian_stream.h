// Byte-order stream wrappers: TXEndianStream reverses the bytes of every
// typed read and write of the stream it wraps, so a big-endian file reads
// right on this little-endian host. The factory serves the URL protocols
// "bigendian" (swapped access to the path) and "littleendian" (the path's own
// stream, unchanged). Failures are the wrapped stream's. One thread at a time.
#pragma once

#include <vantrel/resources/stream.h>

namespace vantrel {

class TXEndianStream : public TStreamWrapper {
public:

    int ReadShort() override;           // zero-extended, 0..65535
    void WriteShort(int value) override;
    int ReadInt() override;
    void WriteInt(int value) override;
    int64_t ReadLong() override;
    void WriteLong(int64_t value) override;
    float ReadFloat() override;
    void WriteFloat(float value) override;
    double ReadDouble() override;
    void WriteDouble(double value) override;

    static void Swap2(void* p);
    static void Swap4(void* p);
    static void Swap8(void* p);

    // Null for a Null stream, else a swapping wrapper around it.
    static Ref<TXEndianStream> Create(const Ref<TStream>& stream);
    static Ref<TStream> BigEndian(const Ref<TStream>& stream);
    // The host is little-endian: the stream itself.
    static Ref<TStream> LittleEndian(const Ref<TStream>& stream);
};

class TXEndianStreamFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>& url, const String& proto, const String& path, bool readable,
                              bool writeable) override;
};

Ref<TStream> AsBigEndianStream(const Ref<TStream>& stream);
Ref<TStream> AsLittleEndianStream(const Ref<TStream>& stream);

// Registers the "bigendian" / "littleendian" factory once.
void StartEndianStreamModule();

}  // namespace vantrel
