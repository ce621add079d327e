// Opening streams by URL, and whole-stream transfers.
//
// A URL is a stream object (wrapped so that closing the result leaves the
// caller's stream open), a plain file path, or text of the form
// protocol "::" path. Protocols are served by TStreamFactory objects kept in
// one chain: creating a factory puts it at the head, so the newest factory is
// asked first, and factories are never removed. A factory may also accept a
// URL object of its own kind (for example a bank).
//
// Opening fails quietly (Null); the load and save functions turn that into
// TStreamReadException / TStreamWriteException, and the save functions raise
// TStreamWriteException too when closing the stream reports lost bytes. Factories are created during
// module start-up on the main thread; the chain is not locked.
#pragma once

#include <vantrel/resources/stream_io.h>
#include <vantrel/runtime/array.h>

namespace vantrel {

class TStreamFactory : public Object {
public:
    // Returns the stream when the factory serves proto (lower case) or the
    // URL object, else Null.
    virtual Ref<TStream> CreateStream(const Ref<Object>& url, const String& proto, const String& path,
                                      bool readable, bool writeable) = 0;

    Ref<TStreamFactory> _succ;

protected:
    // Links the new factory in at the head of the chain, which keeps it for
    // the rest of the run. Create factories with MakeRef only.
    TStreamFactory();
};

// The most recently created factory, or Null.
Ref<TStreamFactory> StreamFactories();

Ref<TStream> OpenUrlStream(const Ref<Object>& url, bool readable, bool writeable);
Ref<TStream> OpenReadStream(const Ref<Object>& url);
Ref<TStream> OpenWriteStream(const Ref<Object>& url);

// Reads until the end of the stream, or until a Read moves nothing.
ByteArray LoadBytes(const Ref<Object>& url);
String LoadText(const Ref<Object>& url);          // one character per byte
void SaveBytes(const ByteArray& bytes, const Ref<Object>& url);
void SaveText(const String& text, const Ref<Object>& url);    // 8-bit text
Ref<Object> LoadObjectFrom(const Ref<Object>& url);
void SaveObjectTo(const Ref<Object>& object, const Ref<Object>& url);

// Copies until `from` ends or a Read moves nothing.
void PipeStream(const Ref<TStream>& from, const Ref<TStream>& to, int bufferSize = 4096);
// Copies exactly count bytes; a short transfer raises a stream exception.
void PipeBytes(const Ref<TStream>& from, const Ref<TStream>& to, int count, int bufferSize = 4096);

}  // namespace vantrel
