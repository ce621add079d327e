#include <vantrel/resources/bank_stream.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace vantrel {

Ref<TBankStream> TBankStream::Create(Ref<TBank> bank) {
    Ref<TBankStream> stream = MakeRef<TBankStream>();
    stream->_bank = std::move(bank);
    return stream;
}

int TBankStream::Seek(int position) {
    _pos = std::clamp(position, 0, _bank->Size());
    return _pos;
}

int TBankStream::Read(void* buffer, int count) {
    int size = _bank->Size();
    if (count < 1 || _pos >= size) return 0;
    count = std::min(count, size - _pos);
    std::memcpy(buffer, _bank->Buf() + _pos, static_cast<size_t>(count));
    _pos += count;
    return count;
}

int TBankStream::Write(const void* buffer, int count) {
    int size = _bank->Size();
    // A bank cannot grow past 2^31 - 1 bytes: such a write moves nothing.
    if (count < 1 || _pos > size || count > INT_MAX - _pos) return 0;
    if (_pos + count > size) _bank->Resize(_pos + count);
    std::memcpy(_bank->Buf() + _pos, buffer, static_cast<size_t>(count));
    _pos += count;
    return count;
}

Ref<TStream> TBankStreamFactory::CreateStream(const Ref<Object>& url, const String&, const String&, bool, bool) {
    if (auto bank = Cast<TBank>(url)) return TBankStream::Create(bank);
    return nullptr;
}

Ref<TBankStream> CreateBankStream(const Ref<TBank>& bank) {
    return TBankStream::Create(bank ? bank : TBank::Create(0));
}

void StartBankModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartStreamModule();
    MakeRef<TBankStreamFactory>();
}

}  // namespace vantrel
