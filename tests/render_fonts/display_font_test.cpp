// Text drawn through the OpenGL 2D driver into a real window and read back.
// Needs a display (the test command runs these under Xvfb).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include <vantrel/render/builtin_font.h>
#include <vantrel/render/font.h>
#include <vantrel/render/freetype/freetype_font.h>
#include <vantrel/render/gl/gl_ascii_text.h>
#include <vantrel/render/gl/gl_utility.h>
#include <vantrel/render/gl/gl_vel2d_driver.h>
#include <vantrel/render/graphics.h>
#include <vantrel/render/image.h>
#include <vantrel/render/image_font.h>
#include <vantrel/render/vel2d.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/resources/png_pixmap.h>

using namespace vantrel;

namespace {

constexpr int kWidth = 800, kHeight = 300;

struct Box {
    int left = kWidth, top = kHeight, right = -1, bottom = -1;   // inclusive; right < 0: no ink
    bool Empty() const { return right < 0; }
};

bool Ink(const Ref<TPixmap>& p, int x, int y) { return (p->ReadPixel(x, y) & 0xFFFFFF) != 0; }

Box InkBox(const Ref<TPixmap>& p) {
    Box b;
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x)
            if (Ink(p, x, y)) {
                b.left = std::min(b.left, x), b.right = std::max(b.right, x);
                b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
            }
    return b;
}

std::string Pixels(const Ref<TPixmap>& p) {
    std::string s;
    for (int y = 0; y < p->height; ++y) s.append(reinterpret_cast<const char*>(p->PixelPtr(0, y)), p->width * 4);
    return s;
}

class DisplayFonts : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitGLVel2DModule();
        InitFreeTypeFontModule();
        ASSERT_TRUE(GLVel2DDriverInstance());
        SelectGraphicsDriver(GLVel2DDriverInstance(), GraphicsBackBuffer);
        ASSERT_TRUE(OpenGraphics(kWidth, kHeight, 0, 0, 0));
    }
    static void TearDownTestSuite() { ShutDownGraphics(); }

    void SetUp() override {
        SetDrawTransform(0, 1, 1);
        SetDrawFont(nullptr);
        SetBlendMode(BlendMasked);
        SetDrawColor(255, 255, 255);
        SetClearColor(0, 0, 0);
        ClearCanvas();
    }
    static Ref<TPixmap> Screen() { return GrabScreenPixmap(0, 0, kWidth, kHeight); }
};

}  // namespace

TEST_F(DisplayFonts, FiveBuiltInCharactersAdvanceFortyPixelsTimesTheScale) {
    for (float scale : {1.0f, 2.0f}) {
        ClearCanvas();
        SetDrawScale(scale, scale);
        // "|" has ink in rows 2..13 of columns 3 and 4; the sixth starts
        // where five characters have moved the pen.
        DrawTextAt("||||||", 10, 20);
        Box b = InkBox(Screen());
        EXPECT_EQ(b.left, 10 + static_cast<int>(3 * scale));
        EXPECT_EQ(b.right, 10 + static_cast<int>(45 * scale) - 1);
        EXPECT_EQ(b.top, 20 + static_cast<int>(2 * scale));
        EXPECT_EQ(MeasureTextWidth("|||||"), 40);
    }
}

TEST_F(DisplayFonts, CharactersOutsideTheBuiltInRangeNeitherDrawNorAdvance) {
    DrawTextAt("AB", 30, 30);
    std::string plain = Pixels(Screen());
    ClearCanvas();
    DrawTextAt(String("\x1f" "A\x01") + String(u"\u00c4\u2500") + String("B\x80"), 30, 30);
    EXPECT_EQ(Pixels(Screen()), plain);
    EXPECT_EQ(MeasureTextWidth(String(u"\u00c4A\tB\u2500")), 16);
}

TEST_F(DisplayFonts, RotatedTextRunsDownTheScreen) {
    SetDrawRotation(90);
    DrawTextAt("--", 200, 100);   // each "-" is a horizontal bar in rows 8, columns 1..6
    Box b = InkBox(Screen());
    ASSERT_FALSE(b.Empty());
    // The bars turn vertical, left of the pen, and the second lies below the first.
    EXPECT_EQ(b.left, b.right);
    EXPECT_LT(b.right, 200);
    EXPECT_GE(b.left, 200 - 16);
    EXPECT_EQ(b.top, 101);
    EXPECT_EQ(b.bottom, 100 + 8 + 6);
    Ref<TPixmap> s = Screen();
    EXPECT_FALSE(Ink(s, b.left, 107));   // the gap between the two bars
}

TEST_F(DisplayFonts, EveryBuiltInGlyphDrawsExactlyItsBitmap) {
    for (int code = 32; code < 128; ++code) {
        int n = code - 32;
        DrawTextAt(String(std::string(1, static_cast<char>(code))), static_cast<float>(n % 32 * 10),
                   static_cast<float>(n / 32 * 20));
    }
    Ref<TPixmap> s = Screen();
    for (int code = 32; code < 128; ++code) {
        int n = code - 32, x0 = n % 32 * 10, y0 = n / 32 * 20;
        for (int r = 0; r < 16; ++r)
            for (int k = 0; k < 8; ++k)
                ASSERT_EQ(Ink(s, x0 + k, y0 + r), BuiltinFontPixel(code, k, r)) << "code " << code << " at " << k << "," << r;
    }

    // The picture for the docs: all 96 glyphs at scale 2 in rows of 32.
    ClearCanvas();
    SetClearColor(24, 28, 40);
    ClearCanvas();
    SetDrawScale(2, 2);
    for (int row = 0; row < 3; ++row) {
        std::u16string line;
        for (int c = 0; c < 32; ++c) line.push_back(static_cast<char16_t>(32 + row * 32 + c));
        SetDrawColor(255, row == 1 ? 220 : 255, row == 2 ? 160 : 255);
        DrawTextAt(String(line), 16, 16 + row * 48.0f);
    }
    SetDrawScale(1, 1);
    SetDrawColor(140, 150, 170);
    DrawTextAt("Built-in 8 x 16 font, codes 32..127, drawn at scale 2", 16, 170);
    EXPECT_EQ(EncodePngPixmap(GrabScreenPixmap(0, 0, 16 * 2 + 32 * 16, 200),
                              String(VANTREL_BUILD_DIR "/builtin_font_x2.png"), 9), 1);
    SetClearColor(0, 0, 0);
}

TEST_F(DisplayFonts, OutlineFontTextSitsOnItsGlyphRectangles) {
    Ref<TImageFont> font = LoadDrawFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 32, 0);
    ASSERT_TRUE(font);
    SetDrawFont(font);
    EXPECT_EQ(MeasureTextHeight(), font->Height());
    DrawTextAt("H", 50, 40);
    Ref<TImageGlyph> h = font->LoadGlyph(font->CharToGlyph('H'));
    Box b = InkBox(Screen());
    ASSERT_FALSE(b.Empty());
    // Nearest sampling at scale 1 leaves the picture where its rectangle says.
    EXPECT_GE(b.left, 50 + h->_x);
    EXPECT_LE(b.right, 50 + h->_x + h->_w - 1);
    EXPECT_GE(b.top, 40 + h->_y);
    EXPECT_LE(b.bottom, 40 + h->_y + h->_h - 1);
    EXPECT_GT(b.right - b.left, h->_w / 2);
    EXPECT_EQ(MeasureTextWidth("HH"), 2 * static_cast<int>(h->Advance()));
}

TEST_F(DisplayFonts, SmoothedTextBlendsItsEdgesAndPlainTextIsMasked) {
    for (int style : {0, FontSmoothing}) {
        ClearCanvas();
        SetDrawFont(LoadDrawFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 28, style));
        SetBlendMode(style ? BlendAlpha : BlendMasked);
        SetDrawTransform(20, 1.5f, 1.5f);
        DrawTextAt("Sow", 100, 60);
        Ref<TPixmap> s = Screen();
        int full = 0, partial = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                int v = s->ReadPixel(x, y) & 0xFF;
                full += v == 255;
                partial += v > 0 && v < 255;
            }
        EXPECT_GT(full, 50) << style;
        if (style) {
            EXPECT_GT(partial, full);
        } else {
            EXPECT_EQ(partial, 0);
        }
    }
}

TEST_F(DisplayFonts, PlainGLUtilitiesDrawAndLeaveTheDriverStateAlone) {
    SetDrawColor(255, 255, 0);
    GLDrawAsciiText(String("Ok") + String(u"\u00e9") + String("!"), 40, 50);
    Ref<TPixmap> s = Screen();
    for (int i = 0; i < 4; ++i) {
        int code = "Ok?!"[i];
        for (int r = 0; r < 16; ++r)
            for (int k = 0; k < 8; ++k) {
                bool ink = i != 2 && BuiltinFontPixel(code, k, r);
                ASSERT_EQ(Ink(s, 40 + 8 * i + k, 50 + r), ink) << i << " " << k << "," << r;
                if (ink) {
                    ASSERT_EQ(static_cast<uint32_t>(s->ReadPixel(40 + 8 * i + k, 50 + r)) & 0xFFFFFF, 0xFFFF00u);
                }
            }
    }

    // A pen past the right edge, however far, draws nothing.
    ClearCanvas();
    GLDrawAsciiText("Far off", INT_MAX - 20, 50);
    EXPECT_TRUE(InkBox(Screen()).Empty());

    ClearCanvas();
    SetDrawColor(0, 128, 255);
    GLFillRect(10, 10, 30, 20);
    Ref<TPixmap> block = NewPixmap(4, 4, FormatRGBA8888, 4);
    block->ClearPixels(static_cast<int>(0xFFFF0000u));
    GLDrawPixmapAt(block, -2, 100);   // hangs over the left edge
    s = Screen();
    Box b = InkBox(s);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 10);
    EXPECT_EQ(b.right, 39);
    EXPECT_EQ(b.bottom, 103);
    EXPECT_EQ(static_cast<uint32_t>(s->ReadPixel(20, 20)) & 0xFFFFFF, 0x0080FFu);
    EXPECT_EQ(static_cast<uint32_t>(s->ReadPixel(1, 100)) & 0xFFFFFF, 0xFF0000u);
    EXPECT_FALSE(Ink(s, 2, 100));

    // The 2D driver carries on as if nothing happened: scaled text and an
    // image drawn after the utilities land where they should.
    ClearCanvas();
    SetDrawColor(255, 255, 255);
    SetDrawScale(2, 2);
    DrawTextAt("|", 100, 100);
    FillRect(300, 100, 4, 4);
    b = InkBox(Screen());
    EXPECT_EQ(b.left, 106);
    EXPECT_EQ(b.top, 100);
    EXPECT_EQ(b.right, 300 + 8 - 1);
    EXPECT_EQ(b.bottom, 100 + 14 * 2 - 1);
}
