// Banks: resizable blocks of raw bytes with typed little-endian peeks and
// pokes, loadable from and savable to any stream URL.
//
// A bank owns its memory (capacity 0 or more) or lies over memory the caller
// keeps alive (capacity -1) until a resize moves it into memory of its own.
// Every access is checked against the bytes in use: a peek, poke, copy or
// stream transfer reaching outside them raises TArrayBoundsException; a
// negative size raises TRuntimeException. Save and Load report failure as
// 0 and Null. Main thread only.
#pragma once

#include <cstdint>

#include <vantrel/runtime/object.h>

namespace vantrel {

class TStream;

class TBank : public Object {
public:
    ~TBank() override;
    TBank(const TBank&) = delete;
    TBank& operator=(const TBank&) = delete;

    // size bytes of the bank's own, cleared.
    static Ref<TBank> Create(int size);
    static Ref<TBank> CreateStatic(void* buffer, int size);
    // Everything the URL's stream holds, or Null when it cannot be opened.
    static Ref<TBank> Load(const Ref<Object>& url);

    uint8_t* Buf() const { return _buf; }
    uint8_t* Lock();
    void Unlock();
    int Size() const { return _size; }
    int Capacity() const { return _capacity; }
    // Growing beyond the capacity moves the bytes to max(capacity * 3 / 2,
    // size) new bytes (the new ones cleared); shrinking keeps the memory,
    // except that a bank over caller memory always moves into its own.
    void Resize(int size);

    // At most count bytes between the stream and the bank at offset; returns
    // what the stream's Read or Write returned.
    int Read(const Ref<TStream>& stream, int offset, int count);
    int Write(const Ref<TStream>& stream, int offset, int count);

    int PeekByte(int offset) const;     // 0..255
    void PokeByte(int offset, int value);
    int PeekShort(int offset) const;    // 0..65535
    void PokeShort(int offset, int value);
    int PeekInt(int offset) const;
    void PokeInt(int offset, int value);
    int64_t PeekLong(int offset) const;
    void PokeLong(int offset, int64_t value);
    float PeekFloat(int offset) const;
    void PokeFloat(int offset, float value);
    double PeekDouble(int offset) const;
    void PokeDouble(int offset, double value);

    // 1 when the bytes were written to the URL, 0 when it cannot be opened
    // or closing it reports lost bytes.
    int Save(const Ref<Object>& url);

    uint8_t* _buf = nullptr;
    int _size = 0;
    int _capacity = 0;                  // -1: the memory is the caller's
    int _locked = 0;                    // informational

private:
    TBank() = default;
    // The address of [offset, offset + width), raising outside the bytes in use.
    uint8_t* At(int offset, int width) const;
};

// Procedural fronts, the bank first.
Ref<TBank> CreateBank(int size = 0);
Ref<TBank> CreateStaticBank(void* buffer, int size);
Ref<TBank> LoadBank(const Ref<Object>& url);
int SaveBank(const Ref<TBank>& bank, const Ref<Object>& url);
uint8_t* BankBuf(const Ref<TBank>& bank);
uint8_t* LockBank(const Ref<TBank>& bank);
void UnlockBank(const Ref<TBank>& bank);
int BankSize(const Ref<TBank>& bank);
int BankCapacity(const Ref<TBank>& bank);
void ResizeBank(const Ref<TBank>& bank, int size);
int ReadBank(const Ref<TBank>& bank, const Ref<TStream>& stream, int offset, int count);
int WriteBank(const Ref<TBank>& bank, const Ref<TStream>& stream, int offset, int count);
// count bytes from src at srcOffset to dst at dstOffset; the ranges may overlap.
void CopyBank(const Ref<TBank>& src, int srcOffset, const Ref<TBank>& dst, int dstOffset, int count);
int PeekByte(const Ref<TBank>& bank, int offset);
void PokeByte(const Ref<TBank>& bank, int offset, int value);
int PeekShort(const Ref<TBank>& bank, int offset);
void PokeShort(const Ref<TBank>& bank, int offset, int value);
int PeekInt(const Ref<TBank>& bank, int offset);
void PokeInt(const Ref<TBank>& bank, int offset, int value);
int64_t PeekLong(const Ref<TBank>& bank, int offset);
void PokeLong(const Ref<TBank>& bank, int offset, int64_t value);
float PeekFloat(const Ref<TBank>& bank, int offset);
void PokeFloat(const Ref<TBank>& bank, int offset, float value);
double PeekDouble(const Ref<TBank>& bank, int offset);
void PokeDouble(const Ref<TBank>& bank, int offset, double value);

}  // namespace vantrel
