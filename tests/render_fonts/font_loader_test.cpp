#include <vantrel/render/font.h>

#include <gtest/gtest.h>

#include <vector>

#include <vantrel/resources/stream_exceptions.h>
#include <vantrel/runtime/exceptions.h>

using namespace vantrel;

namespace {

class TStubFont : public TFont {
public:
    explicit TStubFont(int style) : style(style) {}
    int Style() override { return style; }
    int Height() override { return 10; }
    int CountGlyphs() override { return 0; }
    int CharToGlyph(int) override { return -1; }
    Ref<TGlyph> LoadGlyph(int) override { return nullptr; }
    int style;
};

// Loads a font only for its own name and records every source it is asked
// for; raise 1 fails to read every source, raise 2 breaks on "boom".
class TNamedLoader : public TFontLoader {
public:
    TNamedLoader(String name, std::vector<String>* log, int raise = 0) : name(name), log(log), raise(raise) {}
    Ref<TFont> LoadFont(const Ref<Object>& source, int size, int) override {
        log->push_back(name);
        if (raise == 1) throw TStreamReadException();
        if (raise == 2 && String::FromObject(source) == "boom") throw TRuntimeException("broken loader");
        return String::FromObject(source) == name ? MakeRef<TStubFont>(size) : nullptr;
    }
    String name;
    std::vector<String>* log;
    int raise;
};

}  // namespace

// The loader chain is global, so one test walks it through its whole life.
TEST(FontLoaderChain, NewestFirstRefusalsSkippedAndRegistrationIdempotent) {
    // The chain outlives the test, so its loaders' log must too.
    static std::vector<String> log;
    Ref<TFontLoader> first = MakeRef<TNamedLoader>("first", &log);
    Ref<TFontLoader> second = MakeRef<TNamedLoader>("second", &log);
    RegisterFontLoader(first);
    RegisterFontLoader(second);
    // Registering either again must not close the chain into a ring.
    RegisterFontLoader(first);
    RegisterFontLoader(second);

    Ref<TFont> f = LoadFontByLoaders("first", 12, 0);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Style(), 12);
    EXPECT_EQ(log, (std::vector<String>{"second", "first"}));

    log.clear();
    EXPECT_FALSE(LoadFontByLoaders("nobody", 12, 0));
    EXPECT_EQ(log, (std::vector<String>{"second", "first"}));

    // A loader that cannot read the source has refused it; the next is asked.
    Ref<TFontLoader> unreadable = MakeRef<TNamedLoader>("unreadable", &log, 1);
    RegisterFontLoader(unreadable);
    log.clear();
    EXPECT_TRUE(LoadFontByLoaders("second", 9, 0));
    EXPECT_EQ(log, (std::vector<String>{"unreadable", "second"}));

    // A loader already linked elsewhere is not taken.
    Ref<TFontLoader> linked = MakeRef<TNamedLoader>("linked", &log);
    linked->_succ = first;
    RegisterFontLoader(linked);
    log.clear();
    EXPECT_FALSE(LoadFontByLoaders("linked", 9, 0));
    EXPECT_EQ(log.front(), String("unreadable"));

    // Any other failure is the caller's to see.
    RegisterFontLoader(MakeRef<TNamedLoader>("broken", &log, 2));
    EXPECT_THROW(LoadFontByLoaders("boom", 9, 0), TRuntimeException);
    EXPECT_TRUE(LoadFontByLoaders("first", 9, 0));
}
