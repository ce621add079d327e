// Bank streams: the stream interface over a bank, and the factory that lets
// a bank object itself be given wherever a stream URL is accepted.
//
// Reads stop at the end of the bank; writes at or before the end grow the
// bank as needed, so writing at the end appends. A transfer that cannot
// happen returns 0, which the exact-length stream operations turn into
// stream exceptions. StartBankModule puts the factory at the head of the
// factory chain. Main thread only.
#pragma once

#include <vantrel/resources/bank.h>
#include <vantrel/resources/stream.h>

namespace vantrel {

class TBankStream : public TStream {
public:
    // A stream at position 0 over bank, which it keeps alive.
    static Ref<TBankStream> Create(Ref<TBank> bank);

    int Pos() override { return _pos; }
    int Size() override { return _bank->Size(); }
    // Clamped to 0..Size.
    int Seek(int position) override;
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;

    int _pos = 0;
    Ref<TBank> _bank;
};

class TBankStreamFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>& url, const String& proto, const String& path, bool readable,
                              bool writeable) override;
};

// A stream over bank, or over a new empty bank when bank is Null.
Ref<TBankStream> CreateBankStream(const Ref<TBank>& bank);

void StartBankModule();

}  // namespace vantrel
