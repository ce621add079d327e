#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include <vantrel/resources/bank_stream.h>
#include <vantrel/runtime/runtime.h>

using namespace vantrel;

TEST(Bank, ResizeGrowsByHalfOrToTheSizeAndShrinksInPlace) {
    Ref<TBank> bank = CreateBank(10);
    bank->PokeByte(9, 0x5A);
    bank->Resize(12);
    EXPECT_EQ(bank->Capacity(), 15);
    EXPECT_EQ(bank->Size(), 12);
    EXPECT_EQ(bank->PeekByte(9), 0x5A);  // bytes in use move along
    EXPECT_EQ(bank->PeekByte(11), 0);
    bank->Resize(20);
    EXPECT_EQ(bank->Capacity(), 22);
    Ref<TBank> jump = CreateBank(10);
    jump->Resize(20);
    EXPECT_EQ(jump->Capacity(), 20);
    uint8_t* mem = bank->Buf();
    bank->Resize(5);
    EXPECT_EQ(bank->Capacity(), 22);
    EXPECT_EQ(bank->Size(), 5);
    EXPECT_EQ(bank->Buf(), mem);
    EXPECT_THROW(bank->PeekByte(9), TArrayBoundsException);
    EXPECT_THROW(bank->Resize(-1), TRuntimeException);

    // A bank over caller memory moves into memory of its own when it grows.
    uint8_t outside[4] = {1, 2, 3, 4};
    Ref<TBank> over = CreateStaticBank(outside, 4);
    EXPECT_EQ(over->Capacity(), -1);
    over->PokeByte(0, 9);
    EXPECT_EQ(outside[0], 9);
    over->Resize(6);
    EXPECT_EQ(over->Capacity(), 6);
    over->PokeByte(1, 7);
    EXPECT_EQ(outside[1], 2);
    EXPECT_EQ(over->PeekInt(0), 0x04030709);

    // Shrinking one moves it too, and only the bytes that still fit.
    uint8_t wide[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    Ref<TBank> narrowed = CreateStaticBank(wide, 8);
    narrowed->Resize(3);
    EXPECT_EQ(narrowed->Capacity(), 3);
    EXPECT_NE(narrowed->Buf(), wide);
    EXPECT_EQ(narrowed->PeekShort(1), 0x0302);
}

TEST(Bank, TypedAccessIsLittleEndianAndZeroExtended) {
    Ref<TBank> bank = CreateBank(32);
    bank->PokeInt(0, 1);
    EXPECT_EQ(bank->PeekByte(0), 1);
    EXPECT_EQ(bank->PeekByte(3), 0);
    bank->PokeShort(4, -1);
    EXPECT_EQ(bank->PeekShort(4), 65535);
    bank->PokeByte(6, 0x180);
    EXPECT_EQ(bank->PeekByte(6), 0x80);
    bank->PokeLong(8, -2);
    EXPECT_EQ(bank->PeekLong(8), -2);
    EXPECT_EQ(bank->PeekInt(12), -1);
    bank->PokeFloat(16, -2.5f);
    EXPECT_EQ(bank->PeekInt(16), static_cast<int>(0xC0200000u));
    EXPECT_EQ(bank->PeekFloat(16), -2.5f);
    bank->PokeDouble(24, 1.0);
    EXPECT_EQ(bank->PeekByte(31), 0x3F);
    EXPECT_EQ(PeekDouble(bank, 24), 1.0);
}

TEST(Bank, AccessOutsideTheBytesInUseRaises) {
    Ref<TBank> bank = CreateBank(8);
    EXPECT_NO_THROW(bank->PeekLong(0));
    EXPECT_NO_THROW(bank->PokeInt(4, 1));
    EXPECT_THROW(bank->PeekInt(5), TArrayBoundsException);
    EXPECT_THROW(bank->PokeShort(7, 1), TArrayBoundsException);
    EXPECT_THROW(bank->PeekByte(-1), TArrayBoundsException);
    EXPECT_THROW(bank->PeekDouble(INT_MAX), TArrayBoundsException);
    EXPECT_THROW(bank->PokeLong(INT_MIN, 0), TArrayBoundsException);
    EXPECT_THROW(CreateBank(0)->PeekByte(0), TArrayBoundsException);

    Ref<TBank> other = CreateBank(4);
    EXPECT_THROW(CopyBank(bank, 6, other, 0, 4), TArrayBoundsException);
    EXPECT_THROW(CopyBank(bank, 0, other, 1, 4), TArrayBoundsException);
    Ref<TBankStream> s = CreateBankStream(nullptr);
    s->WriteString("abc");
    EXPECT_THROW(bank->Write(s, 6, 3), TArrayBoundsException);
    EXPECT_THROW(bank->Read(s, 0, -1), TArrayBoundsException);
    s->Seek(0);
    EXPECT_EQ(bank->Read(s, 5, 3), 3);
    EXPECT_EQ(bank->PeekByte(7), 'c');
}

TEST(Bank, CopyMovesBytesEvenWhenRangesOverlap) {
    Ref<TBank> bank = CreateBank(6);
    for (int i = 0; i < 6; ++i) bank->PokeByte(i, i + 1);
    CopyBank(bank, 0, bank, 2, 4);
    EXPECT_EQ(bank->PeekInt(0), 0x02010201);
    EXPECT_EQ(bank->PeekShort(4), 0x0403);
    Ref<TBank> dst = CreateBank(2);
    CopyBank(bank, 4, dst, 0, 2);
    EXPECT_EQ(dst->PeekShort(0), 0x0403);
}

TEST(BankStream, WritesAppendAndReadsStopAtTheEnd) {
    Ref<TBank> bank = CreateBank(0);
    Ref<TBankStream> s = TBankStream::Create(bank);
    s->WriteInt(7);
    EXPECT_EQ(bank->Size(), 4);
    EXPECT_EQ(s->Seek(0), 0);
    EXPECT_EQ(s->ReadInt(), 7);
    EXPECT_TRUE(s->Eof());
    EXPECT_THROW(s->ReadInt(), TStreamReadException);

    EXPECT_EQ(s->Seek(-5), 0);
    EXPECT_EQ(s->Seek(14), 4);
    s->Seek(2);
    s->WriteInt(-1);  // overlaps the end: grows by two bytes
    EXPECT_EQ(bank->Size(), 6);
    EXPECT_EQ(bank->PeekShort(0), 7);
    EXPECT_EQ(bank->PeekInt(2), -1);

    // The bank shrank under the stream: nothing moves either way.
    bank->Resize(3);
    char c = 'x';
    EXPECT_EQ(s->Read(&c, 1), 0);
    EXPECT_EQ(s->Write(&c, 1), 0);
    EXPECT_THROW(s->WriteByte(1), TStreamWriteException);
}

TEST(BankStream, ABankIsAStreamUrl) {
    StartBankModule();
    Ref<TBank> bank = CreateBank(0);
    {
        Ref<TStream> w = OpenWriteStream(Ref<Object>(bank));
        ASSERT_TRUE(w);
        w->WriteLine("first");
        w->WriteLine("second");
    }
    EXPECT_EQ(bank->Size(), 15);
    Ref<TStream> r = OpenReadStream(Ref<Object>(bank));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->ReadLine(), String("first"));
    EXPECT_EQ(LoadText(Ref<Object>(bank)), String("first\r\nsecond\r\n"));

    // Other URLs still reach their own handlers.
    EXPECT_FALSE(OpenReadStream("bank::nothing"));
    EXPECT_FALSE(OpenReadStream(Ref<Object>(MakeRef<Object>())));

    Ref<TBank> copy = TBank::Load(Ref<Object>(bank));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Size(), 15);
    EXPECT_NE(copy->Buf(), bank->Buf());
    EXPECT_EQ(std::memcmp(copy->Buf(), bank->Buf(), 15), 0);

    Ref<TBank> target = CreateBank(0);
    EXPECT_EQ(copy->Save(Ref<Object>(target)), 1);
    EXPECT_EQ(target->PeekByte(14), 10);
    EXPECT_EQ(SaveBank(copy, String("/nonexistent-dir/x.bin")), 0);
    EXPECT_FALSE(LoadBank(String("/nonexistent-dir/x.bin")));
}
