// Procedural fronts: one function per stream operation, taking the stream
// first. A Null stream raises TNullObjectException, like calling the method.
#pragma once

#include <vantrel/resources/stream_io.h>

namespace vantrel {

inline bool Eof(const Ref<TStream>& s) { return s->Eof(); }
inline int StreamPos(const Ref<TStream>& s) { return s->Pos(); }
inline int StreamSize(const Ref<TStream>& s) { return s->Size(); }
inline int SeekStream(const Ref<TStream>& s, int position) { return s->Seek(position); }
inline int FlushStream(const Ref<TStream>& s) { return s->Flush(); }
inline int CloseStream(const Ref<TStream>& s) { return s->Close(); }
inline int Read(const Ref<TStream>& s, void* buffer, int count) { return s->Read(buffer, count); }
inline int Write(const Ref<TStream>& s, const void* buffer, int count) { return s->Write(buffer, count); }

inline int ReadBytes(const Ref<TStream>& s, void* buffer, int count) { return s->ReadBytes(buffer, count); }
inline int WriteBytes(const Ref<TStream>& s, const void* buffer, int count) { return s->WriteBytes(buffer, count); }
inline int SkipBytes(const Ref<TStream>& s, int count) { return s->SkipBytes(count); }
inline int ReadByte(const Ref<TStream>& s) { return s->ReadByte(); }
inline void WriteByte(const Ref<TStream>& s, int value) { s->WriteByte(value); }
inline int ReadShort(const Ref<TStream>& s) { return s->ReadShort(); }
inline void WriteShort(const Ref<TStream>& s, int value) { s->WriteShort(value); }
inline int ReadInt(const Ref<TStream>& s) { return s->ReadInt(); }
inline void WriteInt(const Ref<TStream>& s, int value) { s->WriteInt(value); }
inline int64_t ReadLong(const Ref<TStream>& s) { return s->ReadLong(); }
inline void WriteLong(const Ref<TStream>& s, int64_t value) { s->WriteLong(value); }
inline float ReadFloat(const Ref<TStream>& s) { return s->ReadFloat(); }
inline void WriteFloat(const Ref<TStream>& s, float value) { s->WriteFloat(value); }
inline double ReadDouble(const Ref<TStream>& s) { return s->ReadDouble(); }
inline void WriteDouble(const Ref<TStream>& s, double value) { s->WriteDouble(value); }
inline String ReadLine(const Ref<TStream>& s) { return s->ReadLine(); }
inline int WriteLine(const Ref<TStream>& s, const String& text) { return s->WriteLine(text); }
inline String ReadString(const Ref<TStream>& s, int length) { return s->ReadString(length); }
inline int WriteString(const Ref<TStream>& s, const String& text) { return s->WriteString(text); }
inline Ref<Object> ReadObject(const Ref<TStream>& s) { return s->ReadObject(); }
inline int WriteObject(const Ref<TStream>& s, const Ref<Object>& object) { return s->WriteObject(object); }

}  // namespace vantrel
