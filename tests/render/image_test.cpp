#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "recording_fixture.h"
#include <vantrel/render/image.h>
#include <vantrel/resources/pixmap.h>

namespace vantrel {
namespace {

class ImageTest : public RecordingGraphicsTest {
protected:
    void SetUp() override {
        RecordingGraphicsTest::SetUp();
        SetAutoMidHandle(0);
        SetAutoImageFlags(ImageMasked | ImageFiltered);
        SetImageMaskColor(0, 0, 0);
    }
    void TearDown() override {
        SetAutoMidHandle(0);
        SetAutoImageFlags(ImageMasked | ImageFiltered);
        SetImageMaskColor(0, 0, 0);
        RecordingGraphicsTest::TearDown();
    }

    // The frame pixels the driver was handed on the last draw.
    Ref<TPixmap> LastDrawnPixels() const { return driver->Last("FrameDraw").pixmap; }
};

// A picture of w x h in the given format whose pixel (x, y) has the colour
// argb(x, y).
template <class F>
Ref<TPixmap> Picture(int w, int h, int format, F argb) {
    Ref<TPixmap> p = NewPixmap(w, h, format, 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) p->WritePixel(x, y, argb(x, y));
    }
    return p;
}

constexpr int kOpaqueRed = static_cast<int>(0xffff0000);

TEST_F(ImageTest, LoadMasksPicturesWithoutAlphaOnly) {
    auto halfBlack = [](int x, int) { return x < 2 ? static_cast<int>(0xff000000) : kOpaqueRed; };
    Ref<TImage> rgb = LoadImageFile(Picture(4, 2, FormatRGB888, halfBlack));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->flags, ImageMasked | ImageFiltered);
    Ref<TPixmap> p = rgb->pixmaps->At(0);
    EXPECT_EQ(p->format, FormatRGBA8888);
    EXPECT_EQ(static_cast<uint32_t>(p->ReadPixel(0, 0)) >> 24, 0u);     // black keyed out
    EXPECT_EQ(p->ReadPixel(3, 1), kOpaqueRed);

    // A picture with its own alpha keeps it, black or not.
    Ref<TPixmap> rgba = Picture(4, 2, FormatRGBA8888, halfBlack);
    Ref<TImage> withAlpha = LoadImageFile(rgba);
    EXPECT_EQ(withAlpha->pixmaps->At(0), rgba);

    // Another mask colour, and masking switched off by the flags.
    SetImageMaskColor(255, 0, 0);
    Ref<TImage> redKey = LoadImageFile(Picture(4, 2, FormatRGB888, halfBlack));
    EXPECT_EQ(static_cast<uint32_t>(redKey->pixmaps->At(0)->ReadPixel(3, 0)) >> 24, 0u);
    EXPECT_EQ(static_cast<uint32_t>(redKey->pixmaps->At(0)->ReadPixel(0, 0)) >> 24, 255u);
    Ref<TImage> unmasked = LoadImageFile(Picture(4, 2, FormatRGB888, halfBlack), ImageFiltered);
    EXPECT_EQ(unmasked->pixmaps->At(0)->format, FormatRGB888);

    EXPECT_FALSE(LoadImageFile(String("no/such/picture.png")));
}

TEST_F(ImageTest, AnimStripCutsCellsRowByRow) {
    // 128 x 64: four cells a row, two rows; each cell painted with its number.
    auto cellNumber = [](int x, int y) { return static_cast<int>(0xff000000u) | ((y / 32) * 4 + x / 32 + 1); };
    Ref<TPixmap> strip = Picture(128, 64, FormatRGBA8888, cellNumber);
    Ref<TImage> anim = LoadAnimImageFile(strip, 32, 32, 0, 8);
    ASSERT_TRUE(anim);
    EXPECT_EQ(anim->width, 32);
    EXPECT_EQ(anim->height, 32);
    ASSERT_EQ(anim->pixmaps->Length(), 8);
    EXPECT_EQ(anim->frames->Length(), 8);
    EXPECT_EQ(anim->seqs->Length(), 8);
    for (int i = 0; i < 8; ++i) {
        Ref<TPixmap> cell = anim->pixmaps->At(i);
        EXPECT_EQ(cell->width, 32);
        EXPECT_EQ(cell->ReadPixel(0, 0) & 0xff, i + 1) << "cell " << i;
        EXPECT_EQ(cell->ReadPixel(31, 31) & 0xff, i + 1) << "cell " << i;
    }
    // Cells are copies: painting the strip later changes nothing.
    strip->ClearPixels(0);
    EXPECT_EQ(anim->pixmaps->At(7)->ReadPixel(5, 5) & 0xff, 8);

    EXPECT_FALSE(LoadAnimImageFile(Picture(128, 64, FormatRGBA8888, cellNumber), 32, 32, 0, 9));
    Ref<TImage> middle = LoadAnimImageFile(Picture(128, 64, FormatRGBA8888, cellNumber), 32, 32, 3, 3);
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->pixmaps->At(0)->ReadPixel(0, 0) & 0xff, 4);
    EXPECT_EQ(middle->pixmaps->At(1)->ReadPixel(0, 0) & 0xff, 5);   // first cell of row two

    // Partial cells at the edges do not count; cells of no size are refused.
    Ref<TPixmap> ragged = Picture(100, 40, FormatRGBA8888, cellNumber);
    EXPECT_TRUE(LoadAnimImageFile(ragged, 32, 32, 0, 3));
    EXPECT_FALSE(LoadAnimImageFile(ragged, 32, 32, 0, 4));
    EXPECT_FALSE(LoadAnimImageFile(ragged, 0, 32, 0, 1));
    EXPECT_FALSE(LoadAnimImageFile(ragged, 32, 32, -1, 1));
}

TEST_F(ImageTest, HandlesPlaceImagesAndIgnoreTheDrawingHandle) {
    Ref<TImage> image = NewImage(32, 32);
    EXPECT_EQ(image->flags, ImageMasked | ImageFiltered | ImageDynamic);
    SetDrawHandle(7, 7);
    DrawImageAt(image, 100, 100);
    EXPECT_EQ(driver->Last("FrameDraw").args, (std::vector<float>{0, 0, 32, 32, 100, 100, 0, 0, 32, 32}));

    CentreImageHandle(image);
    SetDrawOrigin(10, 20);
    DrawImageAt(image, 100, 100);
    EXPECT_EQ(driver->Last("FrameDraw").args, (std::vector<float>{-16, -16, 16, 16, 110, 120, 0, 0, 32, 32}));

    // Stretching keeps the handle unscaled; a region uses its own handle.
    SetImageHandleAt(image, 4, 2);
    DrawImageStretched(image, 0, 0, 64, 16);
    EXPECT_EQ(driver->Last("FrameDraw").args, (std::vector<float>{-4, -2, 60, 14, 10, 20, 0, 0, 32, 32}));
    DrawImageRegion(image, 0, 0, 20, 10, 8, 8, 10, 5, 5, 5);
    EXPECT_EQ(driver->Last("FrameDraw").args, (std::vector<float>{-10, -10, 10, 0, 10, 20, 8, 8, 10, 5}));

    SetAutoMidHandle(1);
    Ref<TImage> odd = NewImage(33, 33);
    EXPECT_EQ(odd->handle_x, 16.5f);
    EXPECT_EQ(odd->handle_y, 16.5f);
    Ref<TImage> loaded = LoadImageFile(Picture(10, 6, FormatRGBA8888, [](int, int) { return 0; }));
    EXPECT_EQ(loaded->handle_x, 5.0f);
    EXPECT_EQ(loaded->handle_y, 3.0f);
    EXPECT_EQ(GetImageWidth(odd), 33);
    EXPECT_EQ(GetImageHeight(loaded), 6);
}

TEST_F(ImageTest, FramesAreBuiltOncePerGraphicsGeneration) {
    Ref<TImage> image = LoadImageFile(Picture(8, 8, FormatRGBA8888, [](int, int) { return kOpaqueRed; }), 0);
    EXPECT_FALSE(image->frames->At(0));
    DrawImageAt(image, 0, 0);
    DrawImageAt(image, 5, 5);
    EXPECT_EQ(driver->Count("CreateFrameFromPixmap"), 1);
    EXPECT_EQ(driver->Last("CreateFrameFromPixmap").args[0], 0);
    EXPECT_EQ(image->seqs->At(0), GraphicsSeq());
    const Object* first = driver->Last("FrameDraw").target;

    // Closing and reopening graphics: the frame is made again from the pixmap.
    ASSERT_TRUE(OpenGraphics(640, 480, 0, 0, 0));
    DrawImageAt(image, 0, 0);
    EXPECT_EQ(driver->Count("CreateFrameFromPixmap"), 2);
    EXPECT_NE(driver->Last("FrameDraw").target, first);
    EXPECT_EQ(LastDrawnPixels()->ReadPixel(7, 7), kOpaqueRed);

    // A driver that cannot make frames: nothing is drawn, and it is asked again next time.
    driver->refuseFrames = true;
    BumpGraphicsSeq();
    driver->ClearCalls();
    DrawImageAt(image, 0, 0);
    TileImageFill(image, 0, 0);
    EXPECT_EQ(driver->Count("FrameDraw"), 0);
    EXPECT_EQ(image->seqs->At(0), 0);
    driver->refuseFrames = false;
    DrawImageAt(image, 0, 0);
    EXPECT_EQ(driver->Count("FrameDraw"), 1);
}

TEST_F(ImageTest, WritingLockShowsChangedPixelsReadingLockKeepsTheFrame) {
    Ref<TImage> image = NewImage(4, 4, 2);
    // Cells start transparent, not with leftover memory.
    EXPECT_EQ(LockImagePixels(image, 1, 1, 0)->ReadPixel(3, 3), 0);
    DrawImageAt(image, 0, 0, 1);
    EXPECT_EQ(LastDrawnPixels()->ReadPixel(2, 2), 0);

    LockImagePixels(image, 1, 1, 0)->WritePixel(2, 2, kOpaqueRed);
    UnlockImagePixels(image, 1);
    DrawImageAt(image, 0, 0, 1);
    EXPECT_EQ(driver->Count("CreateFrameFromPixmap"), 1);
    EXPECT_EQ(LastDrawnPixels()->ReadPixel(2, 2), 0);   // cached frame

    LockImagePixels(image, 1)->WritePixel(2, 2, kOpaqueRed);
    EXPECT_FALSE(image->frames->At(1));
    UnlockImagePixels(image, 1);
    DrawImageAt(image, 0, 0, 1);
    EXPECT_EQ(driver->Count("CreateFrameFromPixmap"), 2);
    EXPECT_EQ(LastDrawnPixels()->ReadPixel(2, 2), kOpaqueRed);
    EXPECT_THROW(LockImagePixels(image, 2), TArrayBoundsException);
}

TEST_F(ImageTest, GrabFromScreenMasksWithTheCurrentMaskColour) {
    SetClearColor(0, 0, 255);
    SetClipViewport(0, 0, 2, 2);
    ClearCanvas();
    SetClipViewport(0, 0, 800, 600);
    Ref<TImage> image = TImage::Create(4, 4, 1, ImageMasked, 0, 0, 0);
    SetImageMaskColor(0, 0, 255);
    GrabImageFromScreen(image, 0, 0);
    Ref<TPixmap> p = image->pixmaps->At(0);
    EXPECT_EQ(static_cast<uint32_t>(p->ReadPixel(0, 0)) >> 24, 0u);     // blue, the current mask
    EXPECT_EQ(static_cast<uint32_t>(p->ReadPixel(3, 3)) >> 24, 255u);   // black, the image's own mask
    EXPECT_EQ(driver->Last("GrabPixmap").args, (std::vector<float>{0, 0, 4, 4}));
}

// Tiles must cover every pixel of the viewport, on the lattice through the
// image's handle at (x, y), with no tile wholly outside.
void ExpectTiledViewport(TRecordingVel2DDriver& driver, int vx, int vy, int vw, int vh, float px, float py,
                         int w, int h) {
    std::set<float> cols, rows;
    for (const DriverCall& c : driver.All("FrameDraw")) {
        EXPECT_EQ(c.args[0], 0);
        EXPECT_EQ(c.args[2], w);
        cols.insert(c.args[4]);
        rows.insert(c.args[5]);
    }
    ASSERT_FALSE(cols.empty());
    EXPECT_EQ(driver.Count("FrameDraw"), static_cast<int>(cols.size() * rows.size()));
    auto check = [](const std::set<float>& starts, int edge, int extent, float pos, int size) {
        EXPECT_LE(*starts.begin(), edge) << "pos " << pos;
        EXPECT_GT(*starts.begin() + size, edge) << "pos " << pos;
        EXPECT_LT(*starts.rbegin(), edge + extent) << "pos " << pos;
        EXPECT_GE(*starts.rbegin() + size, edge + extent) << "pos " << pos;
        float prev = *starts.begin() - size;
        for (float s : starts) {
            EXPECT_FLOAT_EQ(s - prev, size);
            prev = s;
        }
        double phase = std::fabs(std::fmod(static_cast<double>(*starts.begin()) - pos, size));
        EXPECT_NEAR(std::min(phase, size - phase), 0, 1e-3) << "pos " << pos;
    };
    check(cols, vx, vw, px, w);
    check(rows, vy, vh, py, h);
}

TEST_F(ImageTest, TileImageFillCoversTheViewport) {
    Ref<TImage> tile = NewImage(16, 10);
    SetDrawRotation(30);
    SetDrawScale(2, 2);
    SetClipViewport(5, 7, 100, 50);
    // Positions beyond every integer type still put a lattice on the viewport.
    for (float x : {0.0f, 3.0f, -19.5f, -11.0f, -26.0f, -42.0f, 121.25f, 1000.0f, 3e9f, -1e20f, 1e30f}) {
        for (float y : {0.0f, -3.0f, -12.0f, 55.5f}) {
            driver->ClearCalls();
            TileImageFill(tile, x, y);
            ASSERT_EQ(driver->All("SetTransform").size(), 2u);
            EXPECT_EQ(driver->All("SetTransform")[0].args, (std::vector<float>{1, 0, 0, 1}));
            ExpectTiledViewport(*driver, 5, 7, 100, 50, x, y, 16, 10);
        }
    }
    // The matrix is the rotated one again afterwards.
    EXPECT_NEAR(driver->matrix[0], 2 * std::cos(M_PI / 6), 1e-5);

    // A position that is no number has no lattice: nothing is drawn.
    driver->ClearCalls();
    TileImageFill(tile, std::numeric_limits<float>::quiet_NaN(), 0);
    TileImageFill(tile, 0, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(driver->Count("FrameDraw"), 0);

    // Origin and the image handle move the lattice; the drawing handle does not.
    SetDrawOrigin(4, 0);
    SetDrawHandle(3, 3);
    SetImageHandleAt(tile, 1.5f, 0);
    driver->ClearCalls();
    TileImageFill(tile, 0, 0);
    ExpectTiledViewport(*driver, 5, 7, 100, 50, 2.5f, 0, 16, 10);
}

}  // namespace
}  // namespace vantrel
