#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include <vantrel/runtime/runtime.h>

using namespace vantrel;

namespace {

struct Tracked : Object {
    explicit Tracked(int* alive) : alive(alive) { ++*alive; }
    ~Tracked() override { --*alive; }
    int* alive;
};

struct Derived : Tracked {
    using Tracked::Tracked;
};

}  // namespace

TEST(Ref, DestroysWithTheLastShareAndConvertsUpAndDown) {
    int alive = 0;
    {
        Ref<Derived> d = MakeRef<Derived>(&alive);
        Ref<Tracked> t = d;
        Ref<Object> o = t;
        EXPECT_EQ(alive, 1);
        EXPECT_EQ(d->RefCount(), 3);
        EXPECT_EQ(Cast<Derived>(o), d);
        EXPECT_TRUE(Cast<TString>(o).IsNull());
        d = nullptr;
        t = nullptr;
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(Ref, NullDereferenceRaisesTheRuntimeError) {
    Ref<Object> none;
    try {
        none->ToString();
        FAIL() << "no exception";
    } catch (const TNullObjectException& e) {
        EXPECT_EQ(e.ToString(), String("Attempt to access field or method of Null object"));
    }
}

TEST(String, EightBitConversionsKeepTheLowByte) {
    String s(std::u16string{u'A', 0x1E9, 0x00FF});
    EXPECT_EQ(s.To8Bit(), std::string("A\xE9\xFF"));
    String widened("\x80\xFF");
    EXPECT_EQ(widened[0], 0x80);
    EXPECT_EQ(widened[1], 0xFF);
    EXPECT_THROW(widened[2], TArrayBoundsException);
}

TEST(String, Utf8RoundTripIncludingSurrogatesAndBadBytes) {
    std::string text = "gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80";
    String s = String::FromUtf8(text);
    EXPECT_EQ(s.Length(), 7);
    EXPECT_EQ(s.ToUtf8(), text);
    EXPECT_EQ(String::FromUtf8("a\xC3").Length(), 2);  // truncated sequence -> replacement
    // Over-long forms and encoded surrogates decode to replacements, never to
    // the character they disguise.
    EXPECT_EQ(String::FromUtf8("\xC0\xAF\xE0\x80\xAF").Units(), std::u16string(5, u'\uFFFD'));
    EXPECT_EQ(String::FromUtf8("\xED\xA0\x80x").Units(), u"\uFFFD\uFFFD\uFFFDx");
    EXPECT_EQ(String::FromUtf8("\xF0\x8F\xBF\xBF").Units(), std::u16string(4, u'\uFFFD'));
    // The first and last code point of every encoding length, and those
    // either side of the surrogates.
    const std::string edges = "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
    EXPECT_EQ(String::FromUtf8(edges).Units(), u"\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U0010FFFF");
    EXPECT_EQ(String::FromUtf8(edges).ToUtf8(), edges);
    EXPECT_EQ(String::FromUtf8("\xF4\x90\x80\x80").Units(), std::u16string(4, u'\uFFFD'));
}

TEST(String, DecimalTextAndSearching) {
    EXPECT_EQ(String::FromInt(0), String("0"));
    EXPECT_EQ(String::FromInt(-42), String("-42"));
    EXPECT_EQ(String::FromInt(INT64_MIN), String("-9223372036854775808"));
    String url = "BANK::a::b";
    EXPECT_EQ(url.Find("::"), 4);
    EXPECT_EQ(url.Find("::", 5), 7);
    EXPECT_EQ(url.Slice(0, 4).ToLower(), String("bank"));
    EXPECT_EQ(url.Slice(-1, 99), url);
    EXPECT_EQ(url.Slice(9, 99), String("b"));
    EXPECT_EQ(url.Slice(5, 4), String());
    EXPECT_EQ(String("@AZ[`az{").ToLower(), String("@az[`az{"));
    EXPECT_EQ(String("@AZ[`az{").ToUpper(), String("@AZ[`AZ{"));
    EXPECT_EQ(String("a\\b\\c").Replace("\\", "/"), String("a/b/c"));
    EXPECT_EQ(String("\x01 !x y! \r\n").Trim(), String("!x y!"));
    EXPECT_TRUE(String() == String(""));
}

TEST(String, TravelsAsAnObject) {
    Ref<Object> url = "gfx/a.png";
    EXPECT_EQ(String::FromObject(url), String("gfx/a.png"));
    EXPECT_EQ(url->ToString(), String("gfx/a.png"));
    EXPECT_EQ(String::FromObject(MakeRef<Object>()), String());
    EXPECT_EQ(url->Compare(String("gfx/b.png").AsObject().get()), -1);
}

TEST(Array, IsBoundsChecked) {
    auto a = NewArray<int>(3);
    (*a)[2] = 7;
    EXPECT_EQ(a->At(2), 7);
    EXPECT_EQ(a->At(0), 0);
    EXPECT_THROW(a->At(3), TArrayBoundsException);
    EXPECT_THROW(a->At(-1), TArrayBoundsException);
    auto b = a->Resized(5);
    EXPECT_EQ(b->Length(), 5);
    EXPECT_EQ(b->At(2), 7);
    EXPECT_EQ(a->Resized(1)->Length(), 1);
}

TEST(Exceptions, CarryTheirMessages) {
    EXPECT_EQ(TNullMethodException().ToString(), String("Attempt to call abstract method"));
    EXPECT_EQ(TNullFunctionException().ToString(), String("Attempt to call uninitialized function pointer"));
    EXPECT_EQ(TArrayBoundsException().ToString(), String("Attempt to index array element beyond array length"));
    EXPECT_EQ(TOutOfDataException().ToString(), String("Attempt to read beyond end of data"));
    try {
        RaiseRuntimeError("List index out of range");
    } catch (const TOrvoException& e) {
        EXPECT_EQ(e.ToString(), String("List index out of range"));
    }
    try {
        RaiseString("PNG ERROR");
    } catch (const TStringException& e) {
        EXPECT_EQ(e.text, String("PNG ERROR"));
    }
    EXPECT_THROW(CheckRange(4, 5, 8), TArrayBoundsException);
    EXPECT_NO_THROW(CheckRange(3, 5, 8));
    EXPECT_THROW(CheckRange(0, -1, 8), TArrayBoundsException);
}

TEST(Math, DegreesAndTruncation) {
    EXPECT_DOUBLE_EQ(SinDegrees(30), 0.49999999999999994);
    EXPECT_DOUBLE_EQ(CosDegrees(180), -1.0);
    EXPECT_DOUBLE_EQ(ATan2Degrees(1, 0), 90.0);
    EXPECT_DOUBLE_EQ(ATan2Degrees(0, -1), 180.0);
    EXPECT_EQ(FloatMod(-370, 360), -10);
    EXPECT_EQ(TruncToInt(-1.9), -1);
    EXPECT_EQ(TruncToInt(2.999), 2);
    EXPECT_EQ(TruncToInt(1e20), INT_MIN);
    EXPECT_EQ(TruncToInt(std::nan("")), INT_MIN);
    EXPECT_EQ(MinInt(-3, 2), -3);
    EXPECT_EQ(MaxFloat(0.5, 0.25), 0.5);
    EXPECT_NEAR(NaturalExp(1), 2.718281828459045, 1e-15);
}
