// Arbitrary bytes through a bank stream. The input is both the data and the
// script: a second stream over the same bank reads operation codes, and each
// operation runs on the data stream and checks what it got (values in range,
// positions that only move forward to the end, typed values that survive a
// write and read back, short reads only at the end).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <vantrel/resources/bank_stream.h>
#include <vantrel/runtime/runtime.h>

using namespace vantrel;

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "bank stream check failed: %s\n", what);
        std::abort();
    }
}

// Writes the value to a fresh bank stream and reads it back.
template <class T, class W, class R>
void RoundTrip(T value, W write, R read) {
    Ref<TBankStream> scratch = CreateBankStream(nullptr);
    ((*scratch).*write)(value);
    scratch->Seek(0);
    T back = ((*scratch).*read)();
    Check(std::memcmp(&back, &value, sizeof(T)) == 0, "typed value round trip");
    Check(scratch->Eof(), "round trip consumed everything");
}

void RunScript(const Ref<TBank>& bank) {
    const int size = bank->Size();
    Ref<TStream> script = OpenReadStream(Ref<Object>(bank));
    Ref<TStream> s = OpenReadStream(Ref<Object>(bank));
    Ref<TBankStream> out = CreateBankStream(nullptr);
    while (!script->Eof()) {
        int op = script->ReadByte();
        int arg = op >> 4;
        int before = s->Pos();
        try {
            switch (op % 12) {
                case 0: {
                    String line = s->ReadLine();
                    for (char16_t c : line.Units()) Check(c != 0 && c != 10 && c != 13 && c < 256, "line characters");
                    Check(s->Pos() > before || s->Eof(), "ReadLine moves on");
                    out->WriteLine(line);
                    break;
                }
                case 1: {
                    int v = s->ReadByte();
                    Check(v >= 0 && v < 256, "byte range");
                    break;
                }
                case 2: {
                    int v = s->ReadShort();
                    Check(v >= 0 && v < 65536, "short range");
                    RoundTrip(v, &TStream::WriteShort, &TStream::ReadShort);
                    break;
                }
                case 3: RoundTrip(s->ReadInt(), &TStream::WriteInt, &TStream::ReadInt); break;
                case 4: RoundTrip(s->ReadLong(), &TStream::WriteLong, &TStream::ReadLong); break;
                case 5: RoundTrip(s->ReadFloat(), &TStream::WriteFloat, &TStream::ReadFloat); break;
                case 6: RoundTrip(s->ReadDouble(), &TStream::WriteDouble, &TStream::ReadDouble); break;
                case 7: {
                    String text = s->ReadString(arg);
                    Check(text.Length() == arg, "ReadString length");
                    out->WriteString(text);
                    break;
                }
                case 8: s->SkipBytes(arg); break;
                case 9: {
                    int to = script->Eof() ? 0 : script->ReadByte() * (arg + 1) - 16;
                    int at = s->Seek(to);
                    Check(at == (to < 0 ? 0 : to > size ? size : to), "Seek clamps to the bank");
                    break;
                }
                case 10: PipeBytes(s, out, arg, 3); break;
                case 11: {
                    int offset = s->Pos() - arg;
                    try {
                        int v = bank->PeekInt(offset);
                        Check(offset >= 0 && offset + 4 <= size, "peek inside the bank");
                        bank->PokeInt(offset, v);
                    } catch (const TArrayBoundsException&) {
                        Check(offset < 0 || offset + 4 > size, "peek refused only outside the bank");
                    }
                    break;
                }
            }
        } catch (const TStreamReadException&) {
            Check(s->Eof(), "short reads happen only at the end");
        }
        Check(s->Pos() >= 0 && s->Pos() <= size, "position inside the bank");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    StartBankModule();
    Ref<TBank> bank = TBank::Create(static_cast<int>(size));
    if (size > 0) std::memcpy(bank->Buf(), data, size);

    ByteArray all = LoadBytes(Ref<Object>(bank));
    Check(all->Length() == bank->Size() && (size == 0 || std::memcmp(all->Data(), data, size) == 0),
          "LoadBytes sees every byte");
    Ref<TBank> copy = TBank::Load(Ref<Object>(bank));
    Check(copy->Size() == bank->Size(), "Load copies every byte");

    RunScript(bank);
    return 0;
}
