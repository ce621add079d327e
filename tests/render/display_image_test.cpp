// Texture frames of the OpenGL 2D driver and images drawn through them.
#include <GL/gl.h>

#include <climits>
#include <cstring>
#include <vector>

#include "display_fixture.h"
#include <vantrel/render/gl/gl_draw_state.h>
#include <vantrel/render/gl/gl_image_frame.h>
#include <vantrel/render/image.h>

namespace vantrel::testing {
namespace {

using DisplayImage = DisplayTest;

// Every pixel different: red from x, green from y.
Ref<TPixmap> Gradient(int width, int height, int format) {
    Ref<TPixmap> p = NewPixmap(width, height, format, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) p->WritePixel(x, y, static_cast<int>(0xFF000000u | (x << 16) | (y << 8) | 7));
    }
    return p;
}

std::vector<uint32_t> TextureLevel(unsigned name, int level, int& width, int& height) {
    BindGLTexture(name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint32_t> texels(static_cast<size_t>(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

TEST_F(DisplayImage, PictureIsPaddedToPowersOfTwoWithItsEdgesRepeated) {
    Ref<TGLImageFrame> frame = TGLImageFrame::CreateFromPixmap(Gradient(100, 50, FormatRGB888), ImageMipmapped);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->seq, GraphicsSeq());
    EXPECT_FLOAT_EQ(frame->u1, 100.0f / 128.0f);
    EXPECT_FLOAT_EQ(frame->v1, 50.0f / 64.0f);
    EXPECT_FLOAT_EQ(frame->uscale, 1.0f / 128.0f);

    int w = 0, h = 0;
    std::vector<uint32_t> t = TextureLevel(frame->name, 0, w, h);
    ASSERT_EQ(w, 128);
    ASSERT_EQ(h, 64);
    auto at = [&](int x, int y) { return t[static_cast<size_t>(y) * w + x]; };
    // Little-endian RGBA bytes: red in the low byte.
    EXPECT_EQ(at(37, 21) & 0xFFFFFF, 0x07u << 16 | 21u << 8 | 37u);
    for (int y = 0; y < 50; ++y) EXPECT_EQ(at(100, y), at(99, y)) << "row " << y;
    for (int x = 0; x < 100; ++x) EXPECT_EQ(at(x, 50), at(x, 49)) << "column " << x;
    EXPECT_EQ(at(100, 50), at(99, 49));
    EXPECT_EQ(at(101, 10), 0u);   // beyond the repeat: transparent black

    // Every mipmap level down to 1 x 1 is there.
    TextureLevel(frame->name, 1, w, h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    TextureLevel(frame->name, 7, w, h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);

    // Sizes beyond the largest power of two an int holds stop there.
    EXPECT_EQ(TextureSize(0), 1);
    EXPECT_EQ(TextureSize((1 << 30) + 1), 1 << 30);
    EXPECT_EQ(TextureSize(INT_MAX), 1 << 30);
}

TEST_F(DisplayImage, PowerOfTwoPictureIsUploadedUnchanged) {
    Ref<TPixmap> p = Gradient(64, 64, FormatRGBA8888);
    Ref<TGLImageFrame> frame = TGLImageFrame::CreateFromPixmap(p, 0);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->u1, 1.0f);
    EXPECT_EQ(frame->v1, 1.0f);
    int w = 0, h = 0;
    std::vector<uint32_t> t = TextureLevel(frame->name, 0, w, h);
    ASSERT_EQ(w, 64);
    EXPECT_EQ(std::memcmp(t.data(), p->pixels, t.size() * 4), 0);
    // Releasing the frame deletes the texture and leaves no stale cache entry.
    unsigned name = frame->name;
    frame = nullptr;
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(GLState().texture, 0u);
}

Ref<TImage> SolidImage(int width, int height, int argb) {
    Ref<TImage> image = NewImage(width, height);
    LockImagePixels(image)->ClearPixels(argb);
    UnlockImagePixels(image);
    return image;
}

TEST_F(DisplayImage, MidHandledImageIsCentredOnItsPosition) {
    SetAutoMidHandle(1);
    Ref<TImage> image = SolidImage(32, 32, static_cast<int>(0xFFFF0000u));
    SetAutoMidHandle(0);
    SetDrawHandle(20, 20);   // images ignore the drawing handle
    DrawImageAt(image, 100, 100);
    EXPECT_EQ(PixelAt(84, 84), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(115, 115), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(83, 100), kBlack);
    EXPECT_EQ(PixelAt(116, 100), kBlack);
    EXPECT_EQ(PixelAt(100, 83), kBlack);
    EXPECT_EQ(PixelAt(100, 116), kBlack);
}

TEST_F(DisplayImage, WritingLockShowsOnNextDrawReadingLockKeepsFrame) {
    Ref<TImage> image = SolidImage(16, 16, static_cast<int>(0xFFFF0000u));
    DrawImageAt(image, 0, 0);
    EXPECT_EQ(PixelAt(8, 8), (Rgb{255, 0, 0}));

    LockImagePixels(image, 0, 1, 0)->ClearPixels(static_cast<int>(0xFF0000FFu));
    DrawImageAt(image, 0, 0);
    EXPECT_EQ(PixelAt(8, 8), (Rgb{255, 0, 0}));   // cached frame still red

    LockImagePixels(image, 0, 1, 1)->ClearPixels(static_cast<int>(0xFF00FF00u));
    DrawImageAt(image, 0, 0);
    EXPECT_EQ(PixelAt(8, 8), (Rgb{0, 255, 0}));
}

TEST_F(DisplayImage, ImagesSurviveClosingAndReopeningGraphics) {
    Ref<TImage> red = SolidImage(8, 8, static_cast<int>(0xFFFF0000u));
    Ref<TImage> blue = SolidImage(8, 8, static_cast<int>(0xFF0000FFu));
    DrawImageAt(red, 0, 0);
    DrawImageAt(blue, 20, 0);
    int seq = GraphicsSeq();

    ShutDownGraphics();
    graphics = OpenGraphics(800, 600, 0, 0, 0);
    ASSERT_TRUE(graphics);
    EXPECT_NE(GraphicsSeq(), seq);
    ClearCanvas();
    DrawImageAt(red, 0, 0);
    DrawImageAt(blue, 20, 0);
    EXPECT_EQ(PixelAt(4, 4), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(24, 4), (Rgb{0, 0, 255}));
}

TEST_F(DisplayImage, StretchedRegionAndTintedDraws) {
    Ref<TImage> image = NewImage(2, 1, 1, 0);   // unfiltered, unmasked
    Ref<TPixmap> p = LockImagePixels(image);
    p->WritePixel(0, 0, static_cast<int>(0xFFFFFFFFu));
    p->WritePixel(1, 0, static_cast<int>(0xFF00FF00u));
    DrawImageStretched(image, 10, 10, 20, 10);
    EXPECT_EQ(PixelAt(15, 15), kWhite);
    EXPECT_EQ(PixelAt(25, 15), (Rgb{0, 255, 0}));

    SetDrawColor(255, 0, 0);   // the colour tints the texture
    DrawImageRegion(image, 50, 10, 10, 10, 0, 0, 1, 1);
    EXPECT_EQ(PixelAt(55, 15), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(61, 15), kBlack);
}

}  // namespace
}  // namespace vantrel::testing
