#include <vantrel/resources/bank.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

#include <vantrel/resources/little_endian.h>
#include <vantrel/resources/stream.h>
#include <vantrel/runtime/array.h>
#include <vantrel/runtime/exceptions.h>

namespace vantrel {

namespace {

void CheckSize(int size) {
    if (size < 0) RaiseRuntimeError("Negative bank size");
}

}  // namespace

TBank::~TBank() {
    if (_capacity >= 0) delete[] _buf;
}

Ref<TBank> TBank::Create(int size) {
    CheckSize(size);
    Ref<TBank> bank(new TBank());
    bank->_buf = new uint8_t[static_cast<size_t>(size)]();
    bank->_size = size;
    bank->_capacity = size;
    return bank;
}

Ref<TBank> TBank::CreateStatic(void* buffer, int size) {
    CheckSize(size);
    Ref<TBank> bank(new TBank());
    bank->_buf = static_cast<uint8_t*>(buffer);
    bank->_size = size;
    bank->_capacity = -1;
    return bank;
}

Ref<TBank> TBank::Load(const Ref<Object>& url) {
    Ref<TStream> stream = OpenReadStream(url);
    if (!stream) return nullptr;
    ByteArray bytes = LoadBytes(stream);
    stream->Close();
    Ref<TBank> bank = Create(bytes->Length());
    std::memcpy(bank->_buf, bytes->Data(), static_cast<size_t>(bytes->Length()));
    return bank;
}

uint8_t* TBank::Lock() {
    ++_locked;
    return _buf;
}

void TBank::Unlock() { --_locked; }

void TBank::Resize(int size) {
    CheckSize(size);
    if (size > _capacity) {
        int64_t grown = int64_t{_capacity} * 3 / 2;
        int capacity = static_cast<int>(std::clamp<int64_t>(grown, size, INT_MAX));
        auto* buf = new uint8_t[static_cast<size_t>(capacity)]();
        // A bank over caller memory (capacity -1) moves even when it shrinks:
        // only the bytes that fit the new size come along.
        const int keep = std::min(_size, size);
        if (keep > 0) std::memcpy(buf, _buf, static_cast<size_t>(keep));
        if (_capacity >= 0) delete[] _buf;
        _buf = buf;
        _capacity = capacity;
    }
    _size = size;
}

uint8_t* TBank::At(int offset, int width) const {
    CheckRange(offset, width, _size);
    return _buf + offset;
}

int TBank::Read(const Ref<TStream>& stream, int offset, int count) {
    return stream->Read(At(offset, count), count);
}

int TBank::Write(const Ref<TStream>& stream, int offset, int count) {
    return stream->Write(At(offset, count), count);
}

int TBank::PeekByte(int offset) const { return *At(offset, 1); }
void TBank::PokeByte(int offset, int value) { *At(offset, 1) = static_cast<uint8_t>(value); }
int TBank::PeekShort(int offset) const { return LoadLittle<uint16_t>(At(offset, 2)); }
void TBank::PokeShort(int offset, int value) { StoreLittle(At(offset, 2), static_cast<uint16_t>(value)); }
int TBank::PeekInt(int offset) const { return static_cast<int32_t>(LoadLittle<uint32_t>(At(offset, 4))); }
void TBank::PokeInt(int offset, int value) { StoreLittle(At(offset, 4), static_cast<uint32_t>(value)); }
int64_t TBank::PeekLong(int offset) const { return static_cast<int64_t>(LoadLittle<uint64_t>(At(offset, 8))); }
void TBank::PokeLong(int offset, int64_t value) { StoreLittle(At(offset, 8), static_cast<uint64_t>(value)); }
float TBank::PeekFloat(int offset) const { return std::bit_cast<float>(LoadLittle<uint32_t>(At(offset, 4))); }
void TBank::PokeFloat(int offset, float value) { StoreLittle(At(offset, 4), std::bit_cast<uint32_t>(value)); }
double TBank::PeekDouble(int offset) const { return std::bit_cast<double>(LoadLittle<uint64_t>(At(offset, 8))); }
void TBank::PokeDouble(int offset, double value) { StoreLittle(At(offset, 8), std::bit_cast<uint64_t>(value)); }

int TBank::Save(const Ref<Object>& url) {
    Ref<TStream> stream = OpenWriteStream(url);
    if (!stream) return 0;
    stream->WriteBytes(_buf, _size);
    return stream->Close() == 0 ? 1 : 0;
}

Ref<TBank> CreateBank(int size) { return TBank::Create(size); }
Ref<TBank> CreateStaticBank(void* buffer, int size) { return TBank::CreateStatic(buffer, size); }
Ref<TBank> LoadBank(const Ref<Object>& url) { return TBank::Load(url); }
int SaveBank(const Ref<TBank>& bank, const Ref<Object>& url) { return bank->Save(url); }
uint8_t* BankBuf(const Ref<TBank>& bank) { return bank->Buf(); }
uint8_t* LockBank(const Ref<TBank>& bank) { return bank->Lock(); }
void UnlockBank(const Ref<TBank>& bank) { bank->Unlock(); }
int BankSize(const Ref<TBank>& bank) { return bank->Size(); }
int BankCapacity(const Ref<TBank>& bank) { return bank->Capacity(); }
void ResizeBank(const Ref<TBank>& bank, int size) { bank->Resize(size); }
int ReadBank(const Ref<TBank>& bank, const Ref<TStream>& stream, int offset, int count) {
    return bank->Read(stream, offset, count);
}
int WriteBank(const Ref<TBank>& bank, const Ref<TStream>& stream, int offset, int count) {
    return bank->Write(stream, offset, count);
}

void CopyBank(const Ref<TBank>& src, int srcOffset, const Ref<TBank>& dst, int dstOffset, int count) {
    CheckRange(srcOffset, count, src->Size());
    CheckRange(dstOffset, count, dst->Size());
    if (count > 0) std::memmove(dst->Buf() + dstOffset, src->Buf() + srcOffset, static_cast<size_t>(count));
}

int PeekByte(const Ref<TBank>& bank, int offset) { return bank->PeekByte(offset); }
void PokeByte(const Ref<TBank>& bank, int offset, int value) { bank->PokeByte(offset, value); }
int PeekShort(const Ref<TBank>& bank, int offset) { return bank->PeekShort(offset); }
void PokeShort(const Ref<TBank>& bank, int offset, int value) { bank->PokeShort(offset, value); }
int PeekInt(const Ref<TBank>& bank, int offset) { return bank->PeekInt(offset); }
void PokeInt(const Ref<TBank>& bank, int offset, int value) { bank->PokeInt(offset, value); }
int64_t PeekLong(const Ref<TBank>& bank, int offset) { return bank->PeekLong(offset); }
void PokeLong(const Ref<TBank>& bank, int offset, int64_t value) { bank->PokeLong(offset, value); }
float PeekFloat(const Ref<TBank>& bank, int offset) { return bank->PeekFloat(offset); }
void PokeFloat(const Ref<TBank>& bank, int offset, float value) { bank->PokeFloat(offset, value); }
double PeekDouble(const Ref<TBank>& bank, int offset) { return bank->PeekDouble(offset); }
void PokeDouble(const Ref<TBank>& bank, int offset, double value) { bank->PokeDouble(offset, value); }

}  // namespace vantrel
