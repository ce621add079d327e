#include <vantrel/resources/stream_factory.h>

#include <algorithm>
#include <vector>

#include <vantrel/resources/cstream.h>
#include <vantrel/resources/stream_wrapper.h>

namespace vantrel {

namespace {

Ref<TStreamFactory>& ChainHead() {
    static Ref<TStreamFactory> head;
    return head;
}

}  // namespace

TStreamFactory::TStreamFactory() {
    _succ = ChainHead();
    ChainHead() = Ref<TStreamFactory>(this);
}

Ref<TStreamFactory> StreamFactories() { return ChainHead(); }

Ref<TStream> OpenUrlStream(const Ref<Object>& url, bool readable, bool writeable) {
    if (auto stream = Cast<TStream>(url)) return TStreamStream::Create(stream);
    String text = String::FromObject(url);
    String proto;
    String path;
    if (!text.IsEmpty()) {
        int sep = text.Find("::");
        if (sep < 0) return TCStream::OpenFile(text, readable, writeable);
        proto = text.Slice(0, sep).ToLower();
        path = text.Slice(sep + 2);
    }
    for (Ref<TStreamFactory> f = ChainHead(); f; f = f->_succ) {
        if (auto stream = f->CreateStream(url, proto, path, readable, writeable)) return stream;
    }
    return nullptr;
}

Ref<TStream> OpenReadStream(const Ref<Object>& url) { return OpenUrlStream(url, true, false); }
Ref<TStream> OpenWriteStream(const Ref<Object>& url) { return OpenUrlStream(url, false, true); }

ByteArray LoadBytes(const Ref<Object>& url) {
    Ref<TStream> stream = OpenReadStream(url);
    if (!stream) throw TStreamReadException();
    std::vector<uint8_t> data(1024);
    size_t used = 0;
    while (!stream->Eof()) {
        if (used == data.size()) data.resize(data.size() * 3 / 2);
        int n = stream->Read(data.data() + used, static_cast<int>(data.size() - used));
        if (n <= 0) break;
        used += static_cast<size_t>(n);
    }
    stream->Close();
    data.resize(used);
    return ByteArray(new TArray<uint8_t>(std::move(data)));
}

String LoadText(const Ref<Object>& url) {
    ByteArray bytes = LoadBytes(url);
    return String(std::string_view(reinterpret_cast<const char*>(bytes->Data()), static_cast<size_t>(bytes->Length())));
}

namespace {

void SaveRaw(const void* data, int count, const Ref<Object>& url) {
    Ref<TStream> stream = OpenWriteStream(url);
    if (!stream) throw TStreamWriteException();
    stream->WriteBytes(data, count);
    if (stream->Close() != 0) throw TStreamWriteException();
}

}  // namespace

void SaveBytes(const ByteArray& bytes, const Ref<Object>& url) {
    SaveRaw(bytes->Data(), bytes->Length(), url);
}

void SaveText(const String& text, const Ref<Object>& url) {
    std::string bytes = text.To8Bit();
    SaveRaw(bytes.data(), static_cast<int>(bytes.size()), url);
}

Ref<Object> LoadObjectFrom(const Ref<Object>& url) {
    Ref<TStream> stream = OpenReadStream(url);
    if (!stream) throw TStreamReadException();
    Ref<Object> object = stream->ReadObject();
    stream->Close();
    return object;
}

void SaveObjectTo(const Ref<Object>& object, const Ref<Object>& url) {
    Ref<TStream> stream = OpenWriteStream(url);
    if (!stream) throw TStreamWriteException();
    stream->WriteObject(object);
    stream->Close();
}

void PipeStream(const Ref<TStream>& from, const Ref<TStream>& to, int bufferSize) {
    std::vector<uint8_t> buf(static_cast<size_t>(std::max(bufferSize, 1)));
    while (!from->Eof()) {
        int n = from->Read(buf.data(), static_cast<int>(buf.size()));
        if (n <= 0) break;
        to->WriteBytes(buf.data(), n);
    }
}

void PipeBytes(const Ref<TStream>& from, const Ref<TStream>& to, int count, int bufferSize) {
    std::vector<uint8_t> buf(static_cast<size_t>(std::max(bufferSize, 1)));
    while (count > 0) {
        int n = std::min(count, static_cast<int>(buf.size()));
        from->ReadBytes(buf.data(), n);
        to->WriteBytes(buf.data(), n);
        count -= n;
    }
}

}  // namespace vantrel
