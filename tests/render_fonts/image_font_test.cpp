// Image fonts drawn through the recording driver: where glyphs land and how
// the pen moves, without a display.
#include <vantrel/render/image_font.h>

#include <gtest/gtest.h>

#include <vantrel/render/builtin_font.h>
#include <vantrel/render/font.h>
#include <vantrel/render/freetype/freetype_font.h>
#include <vantrel/render/graphics.h>
#include <vantrel/render/image.h>
#include <vantrel/render/recording_driver.h>
#include <vantrel/render/vel2d.h>
#include <vantrel/resources/pixmap.h>

using namespace vantrel;

namespace {

const char* const kOutline = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// A source font whose every character has one glyph advancing 7.5 pixels,
// with a 2 x 3 picture at (1, 4) for letters and none for anything else.
class THalfPixelFont : public TFont {
public:
    class Glyph : public TGlyph {
    public:
        explicit Glyph(bool letter) : letter(letter) {}
        Ref<Object> Pixels() override {
            if (!letter) return nullptr;
            Ref<TPixmap> p = NewPixmap(2, 3, FormatA8, 4);
            p->ClearPixels(-1);
            return p;
        }
        float Advance() override { return 7.5f; }
        void GetRect(int& x, int& y, int& w, int& h) override { x = 1, y = 4, w = 2, h = 3; }
        bool letter;
    };
    int Style() override { return 0; }
    int Height() override { return 11; }
    int CountGlyphs() override { return 2; }
    int CharToGlyph(int code) override { return code == '?' ? -1 : (code >= 'a' && code <= 'z' ? 0 : 1); }
    Ref<TGlyph> LoadGlyph(int index) override { return MakeRef<Glyph>(index == 0); }
};

class THalfPixelLoader : public TFontLoader {
public:
    Ref<TFont> LoadFont(const Ref<Object>& source, int, int) override {
        return String::FromObject(source) == String("half") ? MakeRef<THalfPixelFont>() : nullptr;
    }
};

class ImageFont : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            StartVel2DModule();
            RegisterFontLoader(MakeRef<THalfPixelLoader>());
            InitFreeTypeFontModule();
            registered = true;
        }
        driver = MakeRef<TRecordingVel2DDriver>();
        SelectGraphicsDriver(driver, 0);
        ASSERT_TRUE(OpenGraphics(320, 200, 0, 0, 0));
        driver->ClearCalls();
    }
    void TearDown() override { ShutDownGraphics(); }

    std::vector<DriverCall> Draws() const { return driver->All("FrameDraw"); }

    Ref<TRecordingVel2DDriver> driver;
};

}  // namespace

TEST_F(ImageFont, DefaultFontHoldsTheBuiltInGlyphsAsWhiteOnTransparent) {
    Ref<TImageFont> font = TImageFont::CreateDefault();
    EXPECT_EQ(font->Style(), 0);
    EXPECT_EQ(font->Height(), 16);
    EXPECT_EQ(font->CountGlyphs(), 96);
    EXPECT_EQ(font->CharToGlyph(32), 0);
    EXPECT_EQ(font->CharToGlyph(127), 95);
    EXPECT_EQ(font->CharToGlyph(31), -1);
    EXPECT_EQ(font->CharToGlyph(128), -1);
    EXPECT_EQ(font->CharToGlyph(0x263A), -1);
    for (int code : {int('A'), int('g'), int('@'), 127}) {
        Ref<TImageGlyph> g = font->LoadGlyph(code - 32);
        EXPECT_EQ(g->Advance(), 8.0f);
        int x, y, w, h;
        g->GetRect(x, y, w, h);
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);
        EXPECT_EQ(w, 8);
        EXPECT_EQ(h, 16);
        Ref<TImage> image = g->_image;
        ASSERT_TRUE(image);
        EXPECT_EQ(image->flags, 0);
        EXPECT_EQ(image->width, 8);
        EXPECT_EQ(image->height, 16);
        Ref<TPixmap> p = image->Lock(0, 1, 0);
        for (int r = 0; r < 16; ++r)
            for (int k = 0; k < 8; ++k)
                ASSERT_EQ(static_cast<uint32_t>(p->ReadPixel(k, r)), BuiltinFontPixel(code, k, r) ? 0xFFFFFFFFu : 0u)
                    << char(code) << " " << k << "," << r;
    }
}

TEST_F(ImageFont, PenFollowsTheMatrixAndSkipsCharactersWithoutGlyphs) {
    Ref<TImageFont> font = TImageFont::CreateDefault();
    // Plain: each glyph 8 to the right of the one before.
    font->Draw(String("Hi\x01\x7f") + String(u"\u00e9!"), 10, 20, 1, 0, 0, 1);
    std::vector<DriverCall> draws = Draws();
    ASSERT_EQ(draws.size(), 4u);   // control code and accented letter skipped
    for (size_t i = 0; i < draws.size(); ++i) {
        EXPECT_EQ(draws[i].args, (std::vector<float>{0, 0, 8, 16, 10.0f + 8 * i, 20, 0, 0, 8, 16}));
    }
    // Rotated 90 degrees and scaled 2: the baseline runs down the screen.
    driver->ClearCalls();
    font->Draw("ab", 100, 50, 0, -2, 2, 0);
    draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].args[4], 100);
    EXPECT_EQ(draws[0].args[5], 50);
    EXPECT_EQ(draws[1].args[4], 100);
    EXPECT_EQ(draws[1].args[5], 66);
}

TEST_F(ImageFont, GlyphOffsetsAndAdvancesOfASourceFontAreTransformed) {
    Ref<TImageFont> font = TImageFont::Load("half", 10, 0);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->Height(), 11);
    EXPECT_EQ(font->CountGlyphs(), 2);
    // A letter, a glyph without picture, a character without glyph, a letter.
    font->Draw("a-?b", 0, 0, 2, 0, 0, 2);
    std::vector<DriverCall> draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].args, (std::vector<float>{0, 0, 2, 3, 2, 8, 0, 0, 2, 3}));
    // The picture-less "-" advanced the pen too: b stands two advances on.
    EXPECT_EQ(draws[1].args[4], 2 + 2 * (7.5f + 7.5f));
    // Glyph images are made once, on first use.
    EXPECT_EQ(font->LoadGlyph(0), font->LoadGlyph(0));
    EXPECT_FALSE(font->LoadGlyph(1)->_image);
    EXPECT_FALSE(TImageFont::Load("nobody loads this", 10, 0));
}

TEST_F(ImageFont, TextFrontsMeasureAndDrawWithTheDrawingState) {
    SetDrawFont(nullptr);
    EXPECT_EQ(GetDrawFont(), DefaultImageFont());
    EXPECT_EQ(MeasureTextHeight(), 16);
    for (float scale : {1.0f, 2.0f}) {
        SetDrawScale(scale, scale);
        EXPECT_EQ(MeasureTextWidth("Hello"), 40);
        EXPECT_EQ(MeasureTextWidth(String("\tHello\r\n")), 40);
        driver->ClearCalls();
        DrawTextAt("Hello", 0, 0);
        std::vector<DriverCall> draws = Draws();
        ASSERT_EQ(draws.size(), 5u);
        // Five glyphs move the pen 40 pixels at scale 1 and 80 at scale 2.
        EXPECT_EQ(draws[4].args[4] + 8 * scale, 40 * scale);
    }
    SetDrawScale(1, 1);

    // Truncation after every glyph: int(7.5) = 7, then int(7 + 7.5) = 14.
    SetDrawFont(LoadDrawFont("half", 10, 0));
    EXPECT_EQ(MeasureTextWidth("ab"), 14);
    EXPECT_EQ(MeasureTextWidth("a?b"), 14);
    EXPECT_EQ(MeasureTextHeight(), 11);
    SetDrawFont(nullptr);
}

TEST_F(ImageFont, SmoothingSelectsFilteredMipmappedGlyphImages) {
    Ref<TImageFont> plain = LoadDrawFont(kOutline, 20, 0);
    Ref<TImageFont> smooth = LoadDrawFont(kOutline, 20, FontSmoothing);
    ASSERT_TRUE(plain && smooth);
    EXPECT_EQ(plain->_imageFlags, 0);
    EXPECT_EQ(smooth->_imageFlags, ImageFiltered | ImageMipmapped);
    EXPECT_EQ(smooth->Style(), FontSmoothing);
    Ref<TImageGlyph> a = smooth->LoadGlyph(smooth->CharToGlyph('A'));
    ASSERT_TRUE(a->_image);
    EXPECT_EQ(a->_image->flags, ImageFiltered | ImageMipmapped);
    EXPECT_EQ(a->_image->width, a->_w);

    // The space advances without drawing; frames are built with the font's flags.
    smooth->Draw("A A", 0, 0, 1, 0, 0, 1);
    ASSERT_EQ(Draws().size(), 2u);
    for (const DriverCall& c : driver->All("CreateFrameFromPixmap")) EXPECT_EQ(c.args[0], 6);
    float space = smooth->LoadGlyph(smooth->CharToGlyph(' '))->Advance();
    EXPECT_GT(space, 0);
    EXPECT_EQ(Draws()[1].args[4] - Draws()[0].args[4], a->Advance() + space);
}
