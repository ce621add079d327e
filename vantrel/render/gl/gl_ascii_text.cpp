#include <vantrel/render/gl/gl_ascii_text.h>

#include <GL/gl.h>
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F   // OpenGL 1.2; Windows' gl.h stops at 1.1
#endif

#include <vantrel/render/builtin_font.h>
#include <vantrel/render/gl/gl_utility.h>
#include <vantrel/render/graphics.h>
#include <vantrel/resources/pixmap.h>

namespace vantrel {
namespace {

// The font texture: 16 glyphs to a row, 6 rows, in a 128 x 128 texture.
constexpr int kSheetColumns = 16;
constexpr int kTextureSize = 128;

GLuint fontTexture = 0;
int fontTextureSeq = 0;   // GraphicsSeq() when it was made

Ref<TPixmap> FontSheet() {
    const uint8_t* data = BuiltinFontData("gldrawtextfont.bin");
    constexpr int w = kBuiltinFontGlyphWidth, h = kBuiltinFontGlyphHeight, n = kBuiltinFontGlyphs;
    Ref<TPixmap> sheet = NewPixmap(kTextureSize, kTextureSize, FormatRGBA8888, 4);
    sheet->ClearPixels(0);
    for (int c = 0; c < n; ++c)
        for (int r = 0; r < h; ++r)
            for (int k = 0; k < w; ++k)
                if ((data[r * n + c] >> k) & 1)
                    sheet->WritePixel(c % kSheetColumns * w + k, c / kSheetColumns * h + r, static_cast<int>(0xFFFFFFFFu));
    return sheet;
}

// Binds the font texture, making it when the context changed since it was
// made (a texture of an earlier context is not ours to delete). The caller
// has saved the texture binding.
void BindFontTexture() {
    if (fontTexture != 0 && fontTextureSeq == GraphicsSeq()) {
        glBindTexture(GL_TEXTURE_2D, fontTexture);
        return;
    }
    glGenTextures(1, &fontTexture);
    fontTextureSeq = GraphicsSeq();
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    Ref<TPixmap> level = FontSheet();
    for (int i = 0;; ++i) {
        glTexImage2D(GL_TEXTURE_2D, i, GL_RGBA8, level->width, level->height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     level->pixels);
        if (level->width == 1) break;
        level = ScalePixmap(level, level->width / 2, level->height / 2);
    }
    glPopClientAttrib();
}

}  // namespace

void GLDrawAsciiText(const String& text, int x, int y) {
    BeginGL2D();
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    BindFontTexture();
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    constexpr float w = kBuiltinFontGlyphWidth, h = kBuiltinFontGlyphHeight;
    constexpr float unit = 1.0f / kTextureSize;
    // The pen is a float: a long text or a pen near the int limit must not
    // overflow it.
    float px = static_cast<float>(x), py = static_cast<float>(y);
    glBegin(GL_QUADS);
    for (char16_t code : text.Units()) {
        int c = code - kBuiltinFontFirstChar;
        if (c >= 0 && c < kBuiltinFontGlyphs) {
            float u0 = static_cast<float>(c % kSheetColumns) * w * unit, u1 = u0 + w * unit;
            float v0 = static_cast<float>(c / kSheetColumns) * h * unit, v1 = v0 + h * unit;
            glTexCoord2f(u0, v0);
            glVertex2f(px, py);
            glTexCoord2f(u1, v0);
            glVertex2f(px + w, py);
            glTexCoord2f(u1, v1);
            glVertex2f(px + w, py + h);
            glTexCoord2f(u0, v1);
            glVertex2f(px, py + h);
        }
        px += w;
    }
    glEnd();
    glPopAttrib();
    EndGL2D();
}

}  // namespace vantrel
