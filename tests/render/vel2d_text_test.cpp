#include "recording_fixture.h"
#include <vantrel/render/font.h>
#include <vantrel/render/image_font.h>

namespace vantrel {
namespace {

// A font whose every glyph advances 7.5 pixels, except that 'x' has none;
// it remembers where it was asked to draw.
class HalfPixelFont : public TImageFont {
public:
    int Height() override { return 11; }
    int CharToGlyph(int code) override { return code == 'x' ? -1 : 0; }
    Ref<TImageGlyph> LoadGlyph(int) override {
        auto g = MakeRef<TImageGlyph>();
        g->_advance = 7.5f;
        return g;
    }
    void Draw(const String& text, float x, float y, float ix, float iy, float jx, float jy) override {
        drawn = text;
        args = {x, y, ix, iy, jx, jy};
    }
    String drawn;
    std::vector<float> args;
};

using Vel2DText = RecordingGraphicsTest;

TEST_F(Vel2DText, MeasuringTruncatesAfterEachGlyphAndSkipsMissingOnes) {
    auto font = MakeRef<HalfPixelFont>();
    SetDrawFont(font);
    EXPECT_EQ(GetDrawFont(), font);
    EXPECT_EQ(MeasureTextWidth("ab"), 14);     // 7, then int(7 + 7.5)
    EXPECT_EQ(MeasureTextWidth("axxb"), 14);
    EXPECT_EQ(MeasureTextWidth(""), 0);
    SetDrawScale(3, 3);
    EXPECT_EQ(MeasureTextWidth("abc"), 21);    // scale does not count
    EXPECT_EQ(MeasureTextHeight(), 11);

    // The built-in font: 8 pixels a character for codes 32..127 only.
    SetDrawFont(nullptr);
    EXPECT_EQ(GetDrawFont(), DefaultImageFont());
    EXPECT_EQ(MeasureTextWidth("Hello"), 40);
    EXPECT_EQ(MeasureTextWidth(String(u"a\u00e9\tb")), 16);
    EXPECT_EQ(MeasureTextHeight(), 16);
}

TEST_F(Vel2DText, TextStartsAtTheTransformedHandle) {
    auto font = MakeRef<HalfPixelFont>();
    SetDrawFont(font);
    SetDrawOrigin(100, 50);
    SetDrawHandle(4, 2);
    SetDrawRotation(90);
    DrawTextAt("hi", 10, 20);
    EXPECT_EQ(font->drawn, String("hi"));
    ASSERT_EQ(font->args.size(), 6u);
    // Handle (-4, -2) turned by 90 degrees is (2, -4).
    EXPECT_NEAR(font->args[0], 112, 1e-4);
    EXPECT_NEAR(font->args[1], 66, 1e-4);
    EXPECT_NEAR(font->args[2], 0, 1e-6);
    EXPECT_NEAR(font->args[3], -1, 1e-6);
    EXPECT_NEAR(font->args[4], 1, 1e-6);
    EXPECT_NEAR(font->args[5], 0, 1e-6);
}

}  // namespace
}  // namespace vantrel
