#include <vantrel/render/freetype/freetype_font_impl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include <vantrel/audio/endian_stream.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/resources/stream.h>

using namespace vantrel;

namespace {

const char* const kOutline = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kStrikes = "/usr/share/fonts/opentype/terminus/terminus-normal.otb";   // 12, 14, ... 32
const char* const kOneStrike = "/usr/share/fonts/X11/misc/6x13.pcf.gz";

// Serves "fonttest::path" by opening the path as a file, so addresses go
// through the stream layer.
class TFileAddressFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>&, const String& proto, const String& path, bool readable,
                              bool writeable) override {
        if (proto != String("fonttest")) return nullptr;
        return TCStream::OpenFile(path, readable, writeable);
    }
};

class FreeTypeFont : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static Ref<TStreamFactory> factory = MakeRef<TFileAddressFactory>();
        StartEndianStreamModule();
    }
};

Ref<TFreeTypeGlyph> GlyphFor(const Ref<TFreeTypeFont>& font, int code) {
    int index = font->CharToGlyph(code);
    if (index < 0) return nullptr;
    return Cast<TFreeTypeGlyph>(font->LoadGlyph(index));
}

std::string PixmapBytes(const Ref<TPixmap>& p) {
    std::string bytes;
    for (int y = 0; y < p->height; ++y) bytes.append(reinterpret_cast<const char*>(p->PixelPtr(0, y)), p->width);
    return bytes;
}

}  // namespace

TEST_F(FreeTypeFont, OutlineFontScalesWithTheRequestedSize) {
    int lastHeight = 0, lastGlyphRows = 0;
    for (int size : {10, 16, 32, 64}) {
        Ref<TFreeTypeFont> font = TFreeTypeFont::Load(kOutline, size, 0);
        ASSERT_TRUE(font) << size;
        EXPECT_EQ(font->CountGlyphs(), font->_face.numglyphs);
        EXPECT_GT(font->Height(), lastHeight);
        EXPECT_GT(font->_ascend, 0);
        EXPECT_LT(font->_descend, 0);
        EXPECT_EQ(font->_face.metrics.y_ppem, size);

        Ref<TFreeTypeGlyph> a = GlyphFor(font, 'A');
        ASSERT_TRUE(a && a->_pixmap);
        EXPECT_EQ(a->_pixmap->format, FormatA8);
        EXPECT_EQ(a->_pixmap->width, a->_w);
        EXPECT_EQ(a->_pixmap->height, a->_h);
        EXPECT_GT(a->_h, lastGlyphRows);
        EXPECT_GT(a->Advance(), 0.0f);
        // The capital sits on the baseline, its top below the line's top.
        EXPECT_GE(a->_y, 0);
        EXPECT_EQ(a->_y + a->_h, font->_ascend);
        // Anti-aliased: some coverage lies strictly between empty and full.
        std::string bytes = PixmapBytes(a->_pixmap);
        EXPECT_NE(bytes.find_first_not_of(std::string("\0\xff", 2)), std::string::npos);
        // Glyphs are made once and cached.
        EXPECT_EQ(GlyphFor(font, 'A'), a);
        lastHeight = font->Height();
        lastGlyphRows = a->_h;
    }
}

TEST_F(FreeTypeFont, StreamAddressLoadsTheSameFontAsThePath) {
    Ref<TFreeTypeFont> byPath = TFreeTypeFont::Load(kOutline, 20, 0);
    Ref<TFreeTypeFont> byStream = TFreeTypeFont::Load(String("fonttest::") + kOutline, 20, 0);
    ASSERT_TRUE(byPath && byStream);
    EXPECT_EQ(byPath->_buf, nullptr);
    ASSERT_NE(byStream->_buf, nullptr);
    std::FILE* f = std::fopen(kOutline, "rb");
    ASSERT_TRUE(f);
    std::fseek(f, 0, SEEK_END);
    EXPECT_EQ(byStream->_buf_size, std::ftell(f));
    std::fclose(f);

    EXPECT_EQ(byStream->Height(), byPath->Height());
    EXPECT_EQ(byStream->CountGlyphs(), byPath->CountGlyphs());
    Ref<TFreeTypeGlyph> a = GlyphFor(byPath, 'g'), b = GlyphFor(byStream, 'g');
    ASSERT_TRUE(a && b && a->_pixmap && b->_pixmap);
    EXPECT_EQ(PixmapBytes(a->_pixmap), PixmapBytes(b->_pixmap));

    // The engine's own byte-order protocol reads the file unchanged.
    Ref<TFreeTypeFont> littleEndian = TFreeTypeFont::Load(String("littleendian::") + kOutline, 20, 0);
    ASSERT_TRUE(littleEndian);
    EXPECT_EQ(littleEndian->_buf_size, byStream->_buf_size);
    Ref<TFreeTypeGlyph> c = GlyphFor(littleEndian, 'g');
    ASSERT_TRUE(c && c->_pixmap);
    EXPECT_EQ(PixmapBytes(c->_pixmap), PixmapBytes(a->_pixmap));

    // The loader takes stream addresses as well, but only as text.
    TFreeTypeFontLoader loader;
    EXPECT_TRUE(loader.LoadFont(String("fonttest::") + kOutline, 12, 0));
    EXPECT_FALSE(loader.LoadFont(String(""), 12, 0));
    EXPECT_FALSE(loader.LoadFont(Ref<Object>(MakeRef<TFreeTypeGlyph>()), 12, 0));
    EXPECT_FALSE(loader.LoadFont(nullptr, 12, 0));
}

TEST_F(FreeTypeFont, MissingOrBrokenSourcesGiveNull) {
    EXPECT_FALSE(TFreeTypeFont::Load("/no/such/font.ttf", 12, 0));
    EXPECT_FALSE(TFreeTypeFont::Load("fonttest::/no/such/font.ttf", 12, 0));
    EXPECT_FALSE(TFreeTypeFont::Load("noprotocol::/no/such/font.ttf", 12, 0));
    // "::" at the start is no protocol: the text is a (missing) file path.
    EXPECT_FALSE(TFreeTypeFont::Load(String("::") + kOutline, 12, 0));
    // A file that is not a font, whole and cut short.
    EXPECT_FALSE(TFreeTypeFont::Load(String(VANTREL_TEST_DATA "/../render_fonts/CMakeLists.txt"), 12, 0));
    std::string cut = std::string(VANTREL_BUILD_DIR) + "/fonts_cut.ttf";
    {
        ByteArray whole = LoadBytes(kOutline);
        ByteArray head = whole->Resized(4000);
        SaveBytes(head, String(cut));
    }
    Ref<TFreeTypeFont> font = TFreeTypeFont::Load(String(cut), 12, 0);
    if (font) {
        // FreeType may open a truncated face lazily; its glyphs then fail
        // one by one and come back empty.
        Ref<TFreeTypeGlyph> g = Cast<TFreeTypeGlyph>(font->LoadGlyph(font->CountGlyphs() - 1));
        EXPECT_FALSE(g->_pixmap);
    }
    std::remove(cut.c_str());
    // No size down to 1 pixel.
    EXPECT_FALSE(TFreeTypeFont::Load(kOutline, 0, 0));
    EXPECT_FALSE(TFreeTypeFont::Load(kStrikes, 11, 0));
}

TEST_F(FreeTypeFont, SpaceAdvancesWithoutPixelsAndUnmappedCharactersHaveNoGlyph) {
    Ref<TFreeTypeFont> font = TFreeTypeFont::Load(kOutline, 24, 0);
    ASSERT_TRUE(font);
    Ref<TFreeTypeGlyph> space = GlyphFor(font, ' ');
    ASSERT_TRUE(space);
    EXPECT_GT(space->Advance(), 0.0f);
    EXPECT_FALSE(space->Pixels());
    EXPECT_EQ(font->CharToGlyph(0xE000), -1);   // private use: not in the face
    EXPECT_EQ(font->CharToGlyph(-5), -1);
    // The last table entry stands for a glyph index the face does not have.
    Ref<TFreeTypeGlyph> past = Cast<TFreeTypeGlyph>(font->LoadGlyph(font->CountGlyphs() - 1));
    EXPECT_FALSE(past->_pixmap);
    EXPECT_EQ(past->Advance(), 0.0f);
    EXPECT_THROW(font->LoadGlyph(font->CountGlyphs()), TArrayBoundsException);
}

TEST_F(FreeTypeFont, BitmapStrikesFallBackToTheNextSmallerSize) {
    Ref<TFreeTypeFont> at12 = TFreeTypeFont::Load(kStrikes, 12, 0);
    Ref<TFreeTypeFont> at13 = TFreeTypeFont::Load(kStrikes, 13, 0);
    Ref<TFreeTypeFont> at15 = TFreeTypeFont::Load(kStrikes, 15, 0);
    Ref<TFreeTypeFont> at16 = TFreeTypeFont::Load(kStrikes, 16, 0);
    ASSERT_TRUE(at12 && at13 && at15 && at16);
    EXPECT_EQ(at12->_face.metrics.y_ppem, 12);
    EXPECT_EQ(at13->_face.metrics.y_ppem, 12);
    EXPECT_EQ(at15->_face.metrics.y_ppem, 14);
    EXPECT_EQ(at16->_face.metrics.y_ppem, 16);
    EXPECT_EQ(at13->Height(), at12->Height());
    // Far above every strike: the largest one.
    Ref<TFreeTypeFont> huge = TFreeTypeFont::Load(kStrikes, 1000000, 0);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->_face.metrics.y_ppem, 32);

    // Strike glyphs are 1-bit: full coverage or none. At 32 pixels an M is
    // two bytes wide, so a row read with the wrong pitch would shear it; read
    // right, every row is symmetric about the letter's middle.
    Ref<TFreeTypeFont> at32 = TFreeTypeFont::Load(kStrikes, 32, 0);
    ASSERT_TRUE(at32);
    Ref<TFreeTypeGlyph> m = GlyphFor(at32, 'M');
    ASSERT_TRUE(m && m->_pixmap);
    ASSERT_GT(m->_w, 8);
    std::string bytes = PixmapBytes(m->_pixmap);
    EXPECT_EQ(bytes.find_first_not_of(std::string("\0\xff", 2)), std::string::npos);
    int left = m->_w, right = -1, inkRows = 0;
    for (int y = 0; y < m->_h; ++y)
        for (int x = 0; x < m->_w; ++x)
            if (bytes[static_cast<size_t>(y * m->_w + x)]) left = std::min(left, x), right = std::max(right, x);
    for (int y = 0; y < m->_h; ++y) {
        bool ink = false;
        for (int x = left; x <= right; ++x) {
            ink |= bytes[static_cast<size_t>(y * m->_w + x)] != 0;
            EXPECT_EQ(bytes[static_cast<size_t>(y * m->_w + x)], bytes[static_cast<size_t>(y * m->_w + left + right - x)])
                << "row " << y;
        }
        inkRows += ink;
    }
    EXPECT_GT(inkRows, m->_h / 2);

    // FreeType refuses this BDF's 16-pixel strike by its nominal size (its
    // ppem is 16.67 at 75 dpi); it is chosen by its height instead.
    Ref<TFreeTypeFont> bdf = TFreeTypeFont::Load(VANTREL_TEST_DATA "/fuzz/freetype_font/handmade.bdf", 18, 0);
    ASSERT_TRUE(bdf);
    EXPECT_EQ(bdf->Height(), 16);
    EXPECT_EQ(bdf->_ascend, 12);
    Ref<TFreeTypeGlyph> bdfA = GlyphFor(bdf, 'A');
    ASSERT_TRUE(bdfA && bdfA->_pixmap);
    EXPECT_EQ(bdfA->_y, 0);
    EXPECT_EQ(bdfA->_h, 16);
    EXPECT_EQ(*bdfA->_pixmap->PixelPtr(3, 3), 255);   // the apex of the built-in A
    EXPECT_EQ(*bdfA->_pixmap->PixelPtr(2, 3), 0);

    Ref<TFreeTypeFont> pcf = TFreeTypeFont::Load(kOneStrike, 20, 0);
    ASSERT_TRUE(pcf);
    EXPECT_EQ(pcf->Height(), 13);
    Ref<TFreeTypeGlyph> x = GlyphFor(pcf, 'x');
    ASSERT_TRUE(x && x->_pixmap);
    EXPECT_EQ(x->Advance(), 6.0f);
}

TEST_F(FreeTypeFont, SmoothingStyleFramesEveryGlyphInATransparentBorder) {
    for (const char* file : {kOutline, kStrikes}) {
        Ref<TFreeTypeFont> plain = TFreeTypeFont::Load(file, 16, 0);
        Ref<TFreeTypeFont> smooth = TFreeTypeFont::Load(file, 16, FontSmoothing);
        ASSERT_TRUE(plain && smooth);
        EXPECT_EQ(smooth->Style(), FontSmoothing);
        for (int code : {'A', 'g', '|'}) {
            Ref<TFreeTypeGlyph> p = GlyphFor(plain, code), s = GlyphFor(smooth, code);
            ASSERT_TRUE(p && s && p->_pixmap && s->_pixmap);
            int px, py, pw, ph, sx, sy, sw, sh;
            p->GetRect(px, py, pw, ph);
            s->GetRect(sx, sy, sw, sh);
            EXPECT_EQ(sx, px - 1);
            EXPECT_EQ(sy, py - 1);
            EXPECT_EQ(sw, pw + 2);
            EXPECT_EQ(sh, ph + 2);
            EXPECT_EQ(s->Advance(), p->Advance());
            const Ref<TPixmap>& framed = s->_pixmap;
            ASSERT_EQ(framed->width, sw);
            ASSERT_EQ(framed->height, sh);
            for (int y = 0; y < sh; ++y) {
                for (int x = 0; x < sw; ++x) {
                    int a = *framed->PixelPtr(x, y);
                    if (x == 0 || y == 0 || x == sw - 1 || y == sh - 1)
                        ASSERT_EQ(a, 0) << file << " " << char(code) << " border " << x << "," << y;
                    else
                        ASSERT_EQ(a, *p->_pixmap->PixelPtr(x - 1, y - 1));
                }
            }
        }
    }
}

TEST_F(FreeTypeFont, ModuleStartPutsTheLoaderOnTheChain) {
    InitFreeTypeFontModule();
    InitFreeTypeFontModule();
    Ref<TFont> font = LoadFontByLoaders(kOutline, 18, 0);
    ASSERT_TRUE(IsA<TFreeTypeFont>(font));
    EXPECT_EQ(font->Style(), 0);
    EXPECT_FALSE(LoadFontByLoaders("/no/such/font.ttf", 18, 0));
}
