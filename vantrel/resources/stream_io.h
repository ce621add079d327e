// The byte-stream abstraction: TIO (raw transfers) and TStream (exact-length
// transfers, typed little-endian values, lines and strings).
//
// A subclass supplies Read and Write (and Pos/Size/Seek when it can); every
// other operation is built on those two, so each stream class gets them all.
// Read and Write return how many bytes they moved, 0 meaning none could be.
// The exact-length and typed operations raise TStreamReadException /
// TStreamWriteException on a short transfer, leaving what was already
// transferred in place. ReadLine and WriteLine never raise on a short
// transfer. Streams belong to one thread at a time; nothing is locked.
//
// C++ destructors cannot dispatch to a subclass, so every concrete stream
// class closes itself in its own destructor: a stream closes when its last
// reference goes.
#pragma once

#include <cstdint>

#include <vantrel/resources/stream_exceptions.h>
#include <vantrel/runtime/object.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

class TIO : public Object {
public:
    // True exactly when Pos equals Size.
    virtual bool Eof();
    virtual int Pos();                  // -1 when the stream cannot tell
    virtual int Size();
    virtual int Seek(int position);     // the new position, or -1
    // 0, or -1 when bytes written earlier could not be delivered.
    virtual int Flush();
    virtual int Close();
    // Raise "Stream is not readable" / "Stream is not writeable" unless overridden.
    virtual int Read(void* buffer, int count);
    virtual int Write(const void* buffer, int count);
};

class TStream : public TIO {
public:
    virtual int ReadBytes(void* buffer, int count);
    virtual int WriteBytes(const void* buffer, int count);
    virtual int SkipBytes(int count);
    virtual int ReadByte();             // 0..255
    virtual void WriteByte(int value);
    virtual int ReadShort();            // 0..65535
    virtual void WriteShort(int value);
    virtual int ReadInt();
    virtual void WriteInt(int value);
    virtual int64_t ReadLong();
    virtual void WriteLong(int64_t value);
    virtual float ReadFloat();
    virtual void WriteFloat(float value);
    virtual double ReadDouble();
    virtual void WriteDouble(double value);
    // Up to a line feed, a 0 byte or the end; carriage returns are dropped.
    virtual String ReadLine();
    // The text as 8-bit, then CR LF; 1 when all of it was written, else 0.
    virtual int WriteLine(const String& text);
    virtual String ReadString(int length);
    virtual int WriteString(const String& text);
    // Object serialisation is not supported: both raise a string exception.
    virtual Ref<Object> ReadObject();
    virtual int WriteObject(const Ref<Object>& object);
};

}  // namespace vantrel
