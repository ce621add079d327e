#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/runtime.h>

using namespace vantrel;

namespace {

std::vector<uint8_t> RowBytes(const Ref<TPixmap>& p, int y) {
    const uint8_t* r = p->PixelPtr(0, y);
    return std::vector<uint8_t>(r, r + p->width * p->BytesPerPixel());
}

Ref<TPixmap> FromBytes(int w, int h, int format, std::vector<uint8_t> bytes) {
    Ref<TPixmap> p = NewPixmap(w, h, format, 1);
    EXPECT_EQ(bytes.size(), static_cast<size_t>(p->pitch) * h);
    std::memcpy(p->pixels, bytes.data(), bytes.size());
    return p;
}

}  // namespace

TEST(Pixmap, CreateRoundsPitchToAlignmentAndAlignsPixels) {
    struct Case { int w, h, format, align, pitch; } cases[] = {
        {3, 2, FormatRGB888, 4, 12}, {3, 2, FormatRGBA8888, 1, 12}, {5, 1, FormatI8, 4, 8},
        {5, 3, FormatBGR888, 8, 16}, {0, 4, FormatI8, 4, 0}, {7, 1, FormatA8, 0, 7},
    };
    for (const Case& c : cases) {
        Ref<TPixmap> p = NewPixmap(c.w, c.h, c.format, c.align);
        EXPECT_EQ(p->pitch, c.pitch) << c.w << "x" << c.h << " format " << c.format;
        EXPECT_EQ(p->capacity, c.pitch * c.h);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p->pixels) % 16, 0u);
    }
    EXPECT_THROW(NewPixmap(1, 1, 0, 4), TRuntimeException);
    EXPECT_THROW(NewPixmap(1, 1, 13, 4), TRuntimeException);
    EXPECT_THROW(NewPixmap(-1, 1, 1, 4), TRuntimeException);
    EXPECT_THROW(NewPixmap(65536, 65536, FormatRGBA8888, 4), TRuntimeException);
}

TEST(Pixmap, PixelAccessFollowsEachFormatsLayout) {
    const int argb = static_cast<int>(0x80306090u);
    struct Case { int format; std::vector<uint8_t> stored; uint32_t readBack; } cases[] = {
        {FormatI8, {0x60}, 0xFF606060u},
        {FormatA8, {0x80}, 0x80FFFFFFu},
        {FormatBGR888, {0x90, 0x60, 0x30}, 0xFF306090u},
        {FormatRGB888, {0x30, 0x60, 0x90}, 0xFF306090u},
        {FormatBGRA8888, {0x90, 0x60, 0x30, 0x80}, 0x80306090u},
        {FormatRGBA8888, {0x30, 0x60, 0x90, 0x80}, 0x80306090u},
    };
    for (const Case& c : cases) {
        Ref<TPixmap> p = NewPixmap(3, 2, c.format, 4);
        p->ClearPixels(0);
        WritePixel(p, 2, 1, argb);
        const uint8_t* at = p->PixelPtr(2, 1);
        EXPECT_EQ(std::vector<uint8_t>(at, at + c.stored.size()), c.stored) << "format " << c.format;
        EXPECT_EQ(static_cast<uint32_t>(ReadPixel(p, 2, 1)), c.readBack) << "format " << c.format;
        EXPECT_EQ(p->ReadPixel(1, 1) & 0xFFFFFF, c.format == FormatA8 ? 0xFFFFFF : 0);
    }
    // Codes beyond 6 are only for conversion: reads give 0, writes do nothing.
    Ref<TPixmap> red = NewPixmap(1, 1, FormatRed8, 4);
    red->pixels[0] = 7;
    red->WritePixel(0, 0, -1);
    red->ClearPixels(-1);
    EXPECT_EQ(red->pixels[0], 7);
    EXPECT_EQ(red->ReadPixel(0, 0), 0);
}

TEST(Pixmap, AccessOutsideThePixmapRaisesArrayBounds) {
    Ref<TPixmap> p = NewPixmap(4, 3, FormatRGBA8888, 4);
    EXPECT_THROW(p->PixelPtr(4, 0), TArrayBoundsException);
    EXPECT_THROW(p->PixelPtr(0, -1), TArrayBoundsException);
    EXPECT_THROW(p->ReadPixel(0, 3), TArrayBoundsException);
    EXPECT_THROW(p->WritePixel(-1, 0, 0), TArrayBoundsException);
    EXPECT_THROW(p->Window(2, 0, 3, 1), TArrayBoundsException);
    EXPECT_THROW(p->Window(0, 1, 1, 3), TArrayBoundsException);
    EXPECT_NO_THROW(p->Window(4, 3, 0, 0));
    Ref<TPixmap> small = NewPixmap(2, 2, FormatI8, 4);
    EXPECT_THROW(p->Paste(small, 3, 0), TArrayBoundsException);
    EXPECT_THROW(p->Paste(small, 0, 2), TArrayBoundsException);
    EXPECT_NO_THROW(p->Paste(p, 0, 0));
    EXPECT_THROW(p->Paste(p, 1, 0), TArrayBoundsException);
}

TEST(Pixmap, ConversionExpandsAndReducesThroughRGBA) {
    // One source pixel per format, expanded to (r, g, b, a).
    struct Expand { int format; std::vector<uint8_t> pixel; std::vector<uint8_t> rgba; } expands[] = {
        {FormatI8, {40}, {40, 40, 40, 255}},
        {FormatA8, {40}, {255, 255, 255, 40}},
        {FormatBGR888, {1, 2, 3}, {3, 2, 1, 255}},
        {FormatRGB888, {1, 2, 3}, {1, 2, 3, 255}},
        {FormatBGRA8888, {1, 2, 3, 4}, {3, 2, 1, 4}},
        {FormatRed8, {9}, {9, 0, 0, 255}},
        {FormatGreen8, {9}, {0, 9, 0, 255}},
        {FormatBlue8, {9}, {0, 0, 9, 255}},
        {FormatAlpha8, {9}, {0, 0, 0, 9}},
        {FormatIntensity8, {9}, {9, 9, 9, 9}},
        {FormatLuminance8, {9}, {9, 9, 9, 255}},
    };
    for (const Expand& e : expands) {
        uint8_t out[4];
        ConvertPixels(e.pixel.data(), e.format, out, FormatRGBA8888, 1);
        EXPECT_EQ(std::vector<uint8_t>(out, out + 4), e.rgba) << "from " << e.format;
    }
    // (10, 20, 33, 41) reduced into every format.
    const uint8_t rgba[4] = {10, 20, 33, 41};
    struct Reduce { int format; std::vector<uint8_t> pixel; } reduces[] = {
        {FormatI8, {21}}, {FormatA8, {41}}, {FormatBGR888, {33, 20, 10}}, {FormatRGB888, {10, 20, 33}},
        {FormatBGRA8888, {33, 20, 10, 41}}, {FormatRed8, {10}}, {FormatGreen8, {20}}, {FormatBlue8, {33}},
        {FormatAlpha8, {41}}, {FormatIntensity8, {26}}, {FormatLuminance8, {21}},
    };
    for (const Reduce& r : reduces) {
        uint8_t out[4] = {};
        ConvertPixels(rgba, FormatRGBA8888, out, r.format, 1);
        EXPECT_EQ(std::vector<uint8_t>(out, out + r.pixel.size()), r.pixel) << "to " << r.format;
    }
}

TEST(Pixmap, ConvertBetweenTwoOtherFormatsHandlesLongPaddedRows) {
    // 300 pixels cross the converter's internal chunk size; the padded pitch
    // of the source must not leak into the result's packed-to-4 rows.
    const int w = 300;
    Ref<TPixmap> bgr = NewPixmap(w, 2, FormatBGR888, 16);
    ASSERT_EQ(bgr->pitch, 912);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < w; ++x) bgr->WritePixel(x, y, static_cast<int>(0xFF000000u) | ((x * 7919 + y) & 0xFFFFFF));
    Ref<TPixmap> rgb = ConvertPixmapFormat(bgr, FormatRGB888);
    EXPECT_EQ(rgb->pitch, 900);
    Ref<TPixmap> grey = bgr->Convert(FormatI8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* s = bgr->PixelPtr(x, y);
            const uint8_t* d = rgb->PixelPtr(x, y);
            ASSERT_TRUE(d[0] == s[2] && d[1] == s[1] && d[2] == s[0]) << x << "," << y;
            ASSERT_EQ(grey->PixelPtr(x, y)[0], (s[0] + s[1] + s[2]) / 3);
        }
}

TEST(Pixmap, ClearPixelsLeavesRowPaddingAlone) {
    Ref<TPixmap> p = NewPixmap(3, 3, FormatRGB888, 8);  // 9 bytes of pixels, pitch 16
    std::memset(p->pixels, 0xEE, p->capacity);
    p->ClearPixels(0);
    p->Window(1, 1, 2, 1)->ClearPixels(static_cast<int>(0xFF102030u));
    for (int y = 0; y < 3; ++y) {
        std::vector<uint8_t> expect(9, 0);
        if (y == 1) expect = {0, 0, 0, 0x10, 0x20, 0x30, 0x10, 0x20, 0x30};
        EXPECT_EQ(RowBytes(p, y), expect);
        for (int i = 9; i < 16; ++i) EXPECT_EQ(p->pixels[y * 16 + i], 0xEE);
    }
    Ref<TPixmap> packed = NewPixmap(2, 2, FormatI8, 1);
    packed->ClearPixels(static_cast<int>(0xFF306090u));
    EXPECT_EQ(RowBytes(packed, 1), (std::vector<uint8_t>{0x60, 0x60}));
}

TEST(Pixmap, WindowsShareMemoryAndKeepTheirParentAlive) {
    Ref<TPixmap> parent = NewPixmap(4, 4, FormatRGBA8888, 4);
    parent->ClearPixels(0);
    Ref<TPixmap> win = PixmapWindow(parent, 1, 2, 2, 2);
    EXPECT_EQ(win->pitch, parent->pitch);
    EXPECT_EQ(win->capacity, -1);
    win->WritePixel(0, 0, 0x11223344);
    EXPECT_EQ(parent->ReadPixel(1, 2), 0x11223344);
    Ref<TPixmap> inner = win->Window(1, 1, 1, 1);
    parent = nullptr;
    win = nullptr;
    inner->WritePixel(0, 0, 0x55667788);  // parent memory must still be alive
    EXPECT_EQ(inner->ReadPixel(0, 0), 0x55667788);
}

TEST(Pixmap, CopyAndPasteConvertIntoPlace) {
    std::vector<uint8_t> mem(3 * 10, 0);  // 3 rows of 10 bytes, 3 RGB pixels each
    for (int i = 0; i < 30; ++i) mem[i] = static_cast<uint8_t>(i);
    Ref<TPixmap> wrapped = WrapPixels(mem.data(), 3, 3, 10, FormatRGB888);
    Ref<TPixmap> copy = CopyPixmap(wrapped);
    EXPECT_EQ(copy->pitch, 12);
    EXPECT_EQ(RowBytes(copy, 2), (std::vector<uint8_t>{20, 21, 22, 23, 24, 25, 26, 27, 28}));
    wrapped = nullptr;  // a wrapper never frees the caller's memory

    Ref<TPixmap> dest = NewPixmap(4, 4, FormatBGRA8888, 4);
    dest->ClearPixels(0);
    dest->Paste(copy->Window(1, 1, 2, 2), 2, 1);
    EXPECT_EQ(dest->ReadPixel(1, 1), 0);
    EXPECT_EQ(static_cast<uint32_t>(dest->ReadPixel(2, 1)), 0xFF0D0E0Fu);
    EXPECT_EQ(static_cast<uint32_t>(dest->ReadPixel(3, 2)), 0xFF1A1B1Cu);
    EXPECT_EQ(dest->ReadPixel(2, 3), 0);
}

TEST(Pixmap, MaskReplacesKeyedPixelsByTheirUnkeyedNeighboursAverage) {
    const uint32_t M = 0xFFFF00FFu, R = 0xFFFF0000u;
    Ref<TPixmap> p = NewPixmap(3, 3, FormatRGB888, 4);
    p->ClearPixels(static_cast<int>(R));
    p->WritePixel(1, 1, static_cast<int>(M));
    Ref<TPixmap> m = MaskPixmapColor(p, 255, 0, 255);
    EXPECT_EQ(m->format, FormatRGBA8888);
    EXPECT_EQ(static_cast<uint32_t>(m->ReadPixel(1, 1)), 0x00FF0000u);
    EXPECT_EQ(static_cast<uint32_t>(m->ReadPixel(0, 0)), R);

    p->ClearPixels(static_cast<int>(M));
    m = MaskPixmapColor(p, 255, 0, 255);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(m->ReadPixel(x, y), 0);

    // Corner pixel with three neighbours, one of them keyed; a transparent
    // unkeyed pixel becomes opaque. The input itself stays untouched.
    Ref<TPixmap> q = FromBytes(2, 2, FormatRGBA8888,
                               {255, 0, 255, 255, 10, 20, 30, 0, 255, 0, 255, 9, 21, 40, 61, 255});
    m = MaskPixmapColor(q, 255, 0, 255);
    EXPECT_EQ(static_cast<uint32_t>(m->ReadPixel(0, 0)), 0x000F1E2Du);  // (10+21)/2, (20+40)/2, (30+61)/2
    EXPECT_EQ(static_cast<uint32_t>(m->ReadPixel(1, 0)), 0xFF0A141Eu);
    EXPECT_EQ(static_cast<uint32_t>(m->ReadPixel(0, 1)), 0x000F1E2Du);
    EXPECT_EQ(static_cast<uint32_t>(q->ReadPixel(0, 0)), M);
}

TEST(Pixmap, MirrorsReverseColumnsOrRows) {
    Ref<TPixmap> p = FromBytes(3, 2, FormatRGB888, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
    Ref<TPixmap> x = MirrorPixmapX(p);
    EXPECT_EQ(x->format, FormatRGB888);
    EXPECT_EQ(x->pitch, 12);
    EXPECT_EQ(RowBytes(x, 0), (std::vector<uint8_t>{7, 8, 9, 4, 5, 6, 1, 2, 3}));
    EXPECT_EQ(RowBytes(x, 1), (std::vector<uint8_t>{16, 17, 18, 13, 14, 15, 10, 11, 12}));
    Ref<TPixmap> y = MirrorPixmapY(p);
    EXPECT_EQ(RowBytes(y, 0), RowBytes(p, 1));
    EXPECT_EQ(RowBytes(y, 1), RowBytes(p, 0));
}

TEST(Pixmap, ScaleIsBilinearWithClampedEdges) {
    Ref<TPixmap> p = FromBytes(2, 1, FormatRGBA8888, {0, 255, 10, 255, 255, 0, 10, 255});
    Ref<TPixmap> wide = ScalePixmap(p, 4, 1);
    const uint8_t red[4] = {0, 63, 191, 255}, green[4] = {255, 191, 63, 0};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(wide->PixelPtr(x, 0)[0], red[x]) << x;
        EXPECT_EQ(wide->PixelPtr(x, 0)[1], green[x]) << x;
        EXPECT_EQ(wide->PixelPtr(x, 0)[2], 10);
    }

    Ref<TPixmap> one = NewPixmap(1, 1, FormatBGR888, 4);
    one->WritePixel(0, 0, 0x00123456);
    Ref<TPixmap> big = ScalePixmap(one, 4, 4);
    EXPECT_EQ(big->format, FormatBGR888);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(static_cast<uint32_t>(big->ReadPixel(x, y)), 0xFF123456u);

    // Halving: each output pixel sits between two source pixels, vertically too.
    Ref<TPixmap> g = FromBytes(4, 2, FormatI8, {0, 100, 200, 250, 50, 150, 250, 0});
    Ref<TPixmap> half = ScalePixmap(g, 2, 1);
    EXPECT_EQ(RowBytes(half, 0), (std::vector<uint8_t>{75, 175}));
    EXPECT_EQ(ScalePixmap(g, 0, 5)->width, 0);
}
