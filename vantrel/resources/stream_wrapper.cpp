#include <vantrel/resources/stream_wrapper.h>

namespace vantrel {

TStreamWrapper::~TStreamWrapper() {
    // Nothing can take an error raised during release; the wrapped stream is
    // closed as far as it lets itself be.
    if (_stream) {
        try {
            _stream->Close();
        } catch (...) {
        }
    }
}

bool TStreamWrapper::Eof() { return _stream->Eof(); }
int TStreamWrapper::Pos() { return _stream->Pos(); }
int TStreamWrapper::Size() { return _stream->Size(); }
int TStreamWrapper::Seek(int position) { return _stream->Seek(position); }
int TStreamWrapper::Flush() { return _stream->Flush(); }
int TStreamWrapper::Close() { return _stream->Close(); }
int TStreamWrapper::Read(void* buffer, int count) { return _stream->Read(buffer, count); }
int TStreamWrapper::Write(const void* buffer, int count) { return _stream->Write(buffer, count); }

int TStreamWrapper::ReadByte() { return _stream->ReadByte(); }
void TStreamWrapper::WriteByte(int value) { _stream->WriteByte(value); }
int TStreamWrapper::ReadShort() { return _stream->ReadShort(); }
void TStreamWrapper::WriteShort(int value) { _stream->WriteShort(value); }
int TStreamWrapper::ReadInt() { return _stream->ReadInt(); }
void TStreamWrapper::WriteInt(int value) { _stream->WriteInt(value); }
float TStreamWrapper::ReadFloat() { return _stream->ReadFloat(); }
void TStreamWrapper::WriteFloat(float value) { _stream->WriteFloat(value); }
double TStreamWrapper::ReadDouble() { return _stream->ReadDouble(); }
void TStreamWrapper::WriteDouble(double value) { _stream->WriteDouble(value); }
String TStreamWrapper::ReadLine() { return _stream->ReadLine(); }
int TStreamWrapper::WriteLine(const String& text) { return _stream->WriteLine(text); }
String TStreamWrapper::ReadString(int length) { return _stream->ReadString(length); }
int TStreamWrapper::WriteString(const String& text) { return _stream->WriteString(text); }
Ref<Object> TStreamWrapper::ReadObject() { return _stream->ReadObject(); }
int TStreamWrapper::WriteObject(const Ref<Object>& object) { return _stream->WriteObject(object); }

void TStreamWrapper::SetStream(Ref<TStream> stream) { _stream = std::move(stream); }

TStreamStream::~TStreamStream() { TStreamStream::Close(); }

Ref<TStreamStream> TStreamStream::Create(Ref<TStream> stream) {
    Ref<TStreamStream> s = MakeRef<TStreamStream>();
    s->SetStream(std::move(stream));
    return s;
}

int TStreamStream::Close() {
    _stream = nullptr;
    return 0;
}

}  // namespace vantrel
