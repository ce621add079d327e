// Plain-OpenGL helpers and context sharing.
#include <GL/gl.h>

#include <array>

#include "display_fixture.h"
#include <vantrel/render/gl/gl_context.h>
#include <vantrel/render/gl/gl_utility.h>

namespace vantrel::testing {
namespace {

using DisplayGLUtility = DisplayTest;

std::array<float, 16> Matrix(GLenum which) {
    std::array<float, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

TEST_F(DisplayGLUtility, OverlayHelpersDrawInPixelsAndRestoreTheCallersState) {
    // A caller with its own projection, texturing and alpha test.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_ALWAYS, 0);
    glEnable(GL_TEXTURE_2D);
    auto projection = Matrix(GL_PROJECTION_MATRIX);

    glColor4ub(0, 255, 0, 255);
    GLFillRect(10, 20, 5, 5);
    Ref<TPixmap> p = NewPixmap(2, 1, FormatRGBA8888, 4);
    p->WritePixel(0, 0, static_cast<int>(0xFFFF0000u));
    p->WritePixel(1, 0, static_cast<int>(0xFF0000FFu));
    GLDrawPixmapAt(p, 30, 40);

    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Matrix(GL_PROJECTION_MATRIX), projection);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    EXPECT_EQ(PixelAt(10, 20), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelAt(14, 24), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelAt(15, 24), kBlack);
    EXPECT_EQ(PixelAt(30, 40), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(31, 40), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelAt(30, 41), kBlack);
}

TEST_F(DisplayGLUtility, SharedContextLetsEveryLaterContextSeeTextures) {
    ShareGLContexts();
    ShareGLContexts();   // once only
    Ref<TGraphics> first = NewGraphics(64, 64, 0, 0, 0);
    Ref<TGraphics> second = NewGraphics(64, 64, 0, 0, 0);
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    MakeGraphicsCurrent(first);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    MakeGraphicsCurrent(second);
    EXPECT_TRUE(glIsTexture(name));
    glDeleteTextures(1, &name);
    CloseGraphicsContext(first);
    CloseGraphicsContext(second);
}

}  // namespace
}  // namespace vantrel::testing
