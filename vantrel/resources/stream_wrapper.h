// Streams that stand in front of another stream.
//
// TStreamWrapper forwards every operation to the stream in `_stream`, except
// the exact-length transfers and the 64-bit values, which it builds itself on
// the forwarded Read and Write (so a subclass that overrides the typed reads,
// such as a byte-order wrapper, still gets them). Operations on a wrapper
// whose `_stream` is Null raise TNullObjectException. Releasing a wrapper
// closes the wrapped stream, as an explicit Close would.
//
// TStreamStream is the wrapper OpenUrlStream hands out for a stream given as
// the URL: its Close only lets go of the wrapped stream, so whoever opened
// that stream keeps it open.
//
// Not synchronised; a stream belongs to one thread at a time.
#pragma once

#include <vantrel/resources/stream_io.h>

namespace vantrel {

class TStreamWrapper : public TStream {
public:
    ~TStreamWrapper() override;

    bool Eof() override;
    int Pos() override;
    int Size() override;
    int Seek(int position) override;
    int Flush() override;
    int Close() override;
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;

    int ReadByte() override;
    void WriteByte(int value) override;
    int ReadShort() override;
    void WriteShort(int value) override;
    int ReadInt() override;
    void WriteInt(int value) override;
    float ReadFloat() override;
    void WriteFloat(float value) override;
    double ReadDouble() override;
    void WriteDouble(double value) override;
    String ReadLine() override;
    int WriteLine(const String& text) override;
    String ReadString(int length) override;
    int WriteString(const String& text) override;
    Ref<Object> ReadObject() override;
    int WriteObject(const Ref<Object>& object) override;

    void SetStream(Ref<TStream> stream);

protected:
    Ref<TStream> _stream;
};

class TStreamStream : public TStreamWrapper {
public:
    ~TStreamStream() override;

    static Ref<TStreamStream> Create(Ref<TStream> stream);

    // Drops the wrapped stream without closing it.
    int Close() override;
};

}  // namespace vantrel
