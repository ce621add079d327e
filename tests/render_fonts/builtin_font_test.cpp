#include <vantrel/render/builtin_font.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include <vantrel/runtime/exceptions.h>

using namespace vantrel;

namespace {

std::string GlyphBits(const uint8_t* data, int n) {
    std::string bits;
    for (int r = 0; r < 16; ++r) bits.push_back(static_cast<char>(data[r * 96 + n]));
    return bits;
}

}  // namespace

TEST(BuiltinFont, BothNamesHoldTheSameFileAndOthersNone) {
    const uint8_t* orvo = BuiltinFontData("orvofont.bin");
    const uint8_t* gl = BuiltinFontData("gldrawtextfont.bin");
    ASSERT_NE(orvo, nullptr);
    ASSERT_NE(gl, nullptr);
    EXPECT_EQ(std::memcmp(orvo, gl, kBuiltinFontSize), 0);
    EXPECT_EQ(BuiltinFontData("orvofont"), nullptr);
    EXPECT_EQ(BuiltinFontData(""), nullptr);
}

TEST(BuiltinFont, SpaceIsBlankAndEveryOtherGlyphHasDistinctInk) {
    const uint8_t* data = BuiltinFontData("orvofont.bin");
    EXPECT_EQ(GlyphBits(data, 0), std::string(16, '\0'));
    std::set<std::string> seen;
    for (int n = 1; n < 96; ++n) {
        std::string bits = GlyphBits(data, n);
        EXPECT_NE(bits, std::string(16, '\0')) << "code " << 32 + n << " has no ink";
        EXPECT_TRUE(seen.insert(bits).second) << "code " << 32 + n << " repeats an earlier glyph";
    }
}

TEST(BuiltinFont, BitZeroIsTheLeftmostColumnAndRowZeroTheTop) {
    const uint8_t* data = BuiltinFontData("orvofont.bin");
    // '/' rises to the right: its top ink row has only column 6, its bottom
    // ink row only column 0.
    const int slash = '/' - 32;
    int top = 0, bottom = 15;
    while (data[top * 96 + slash] == 0) ++top;
    while (data[bottom * 96 + slash] == 0) --bottom;
    EXPECT_EQ(data[top * 96 + slash], 1 << 6);
    EXPECT_EQ(data[bottom * 96 + slash], 1 << 0);
    EXPECT_TRUE(BuiltinFontPixel('/', 6, top));
    EXPECT_FALSE(BuiltinFontPixel('/', 0, top));
    // '_' is the one glyph on the bottom rows that spans all eight columns.
    EXPECT_TRUE(BuiltinFontPixel('_', 7, 14));
    EXPECT_THROW(BuiltinFontPixel(128, 0, 0), TArrayBoundsException);
    EXPECT_THROW(BuiltinFontPixel('A', 8, 0), TArrayBoundsException);
}
