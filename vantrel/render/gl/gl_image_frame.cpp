#include <vantrel/render/gl/gl_image_frame.h>

#include <GL/gl.h>
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F   // OpenGL 1.2; Windows' gl.h stops at 1.1
#endif

#include <algorithm>
#include <vector>

#include <vantrel/render/gl/gl_draw_state.h>
#include <vantrel/render/graphics.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/exceptions.h>

namespace vantrel {

namespace {

bool TextureSizeAccepted(int tw, int th) {
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width != 0;
}

int NextLevelSize(int size) { return size > 1 ? size / 2 : 1; }

unsigned CreateTexture(int tw, int th, int flags) {
    GLuint name = 0;
    glGenTextures(1, &name);
    BindGLTexture(name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    bool mipmapped = (flags & ImageMipmapped) != 0;
    if (flags & ImageFiltered) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST);
    }
    int w = tw, h = th;
    for (int level = 0;; ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        if (!mipmapped || (w == 1 && h == 1)) break;
        w = NextLevelSize(w);
        h = NextLevelSize(h);
    }
    return name;
}

// Uploads every level and maps where they hold alpha above 0.
void UploadTexture(Ref<TPixmap> pixmap, int flags, GLAlphaCoverage& coverage) {
    bool mipmapped = (flags & ImageMipmapped) != 0;
    for (int level = 0;; ++level) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, pixmap->pitch / pixmap->BytesPerPixel());
        glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, pixmap->width, pixmap->height, GL_RGBA, GL_UNSIGNED_BYTE,
                        pixmap->pixels);
        coverage.AddLevel(*pixmap, level);
        if (!mipmapped || (pixmap->width == 1 && pixmap->height == 1)) break;
        pixmap = ScalePixmap(pixmap, NextLevelSize(pixmap->width), NextLevelSize(pixmap->height));
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    coverage.Finish();
}

}  // namespace

int TextureSize(int size) {
    // Doubling past 2^30 would overflow; no implementation takes a texture
    // that wide, so the proxy query shrinks the picture from there.
    constexpr int kLargest = 1 << 30;
    int t = 1;
    while (t < size && t < kLargest) t *= 2;
    return t;
}

Ref<TPixmap> TexturePixmap(const Ref<TPixmap>& picture, int tw, int th) {
    int a = picture->width, b = picture->height;
    if (a == tw && b == th) {
        return picture->format == FormatRGBA8888 ? picture : ConvertPixmapFormat(picture, FormatRGBA8888);
    }
    Ref<TPixmap> texture = NewPixmap(tw, th, FormatRGBA8888, 4);
    texture->ClearPixels(0);
    texture->Paste(picture, 0, 0);
    if (a < tw) texture->Paste(picture->Window(a - 1, 0, 1, b), a, 0);
    if (b < th) texture->Paste(picture->Window(0, b - 1, a, 1), 0, b);
    if (a < tw && b < th) texture->Paste(picture->Window(a - 1, b - 1, 1, 1), a, b);
    return texture;
}

TGLImageFrame::~TGLImageFrame() {
    // A texture made under another GraphicsSeq() belonged to a context that
    // is gone; deleting its name now could hit another texture.
    if (name != 0 && seq == GraphicsSeq()) {
        ForgetGLTexture(name);
        GLuint n = name;
        glDeleteTextures(1, &n);
    }
    name = 0;
}

Ref<TGLImageFrame> TGLImageFrame::CreateFromPixmap(const Ref<TPixmap>& pixmap, int flags) {
    if (pixmap->width <= 0 || pixmap->height <= 0) return nullptr;
    int tw = TextureSize(pixmap->width);
    int th = TextureSize(pixmap->height);
    while (!TextureSizeAccepted(tw, th)) {
        if (tw == 1 && th == 1) RaiseRuntimeError("Unable to calculate tex size");
        tw = NextLevelSize(tw);
        th = NextLevelSize(th);
    }
    int a = std::min(pixmap->width, tw);
    int b = std::min(pixmap->height, th);
    Ref<TPixmap> picture = pixmap;
    if (a != pixmap->width || b != pixmap->height) picture = ScalePixmap(pixmap, a, b);
    Ref<TPixmap> texture = TexturePixmap(picture, tw, th);

    Ref<TGLImageFrame> frame = MakeRef<TGLImageFrame>();
    frame->name = CreateTexture(tw, th, flags);
    frame->seq = GraphicsSeq();
    frame->coverage_ = std::make_unique<GLAlphaCoverage>(tw, th);
    UploadTexture(texture, flags, *frame->coverage_);
    frame->uscale = 1.0f / static_cast<float>(tw);
    frame->vscale = 1.0f / static_cast<float>(th);
    frame->u1 = static_cast<float>(a) * frame->uscale;
    frame->v1 = static_cast<float>(b) * frame->vscale;
    return frame;
}

void TGLImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty,
                         float sx, float sy, float sw, float sh) {
    EnableGLTexturing(name);
    const GLDrawState& s = GLState();
    if (!coverage_ || !s.SkippingTransparent()) {
        DrawQuad(x0, y0, x1, y1, tx, ty, sx, sy, sw, sh);
        return;
    }
    const double kx = s.pixelsPerUnitX, ky = s.pixelsPerUnitY;
    GLTexturedQuad quad{s.ix * kx, s.iy * kx, s.jx * ky, s.jy * ky, tx * kx, ty * ky,
                        x0, y0, x1, y1, sx, sy, double{sx} + sw, double{sy} + sh};
    GLWindowRect clip = s.clipped ? GLWindowRect{s.clipX, s.clipY, s.clipW, s.clipH}
                                  : GLWindowRect{0, 0, s.width, s.height};
    const std::vector<GLWindowRect>* parts = nullptr;
    switch (areas_.Find(quad, *coverage_, clip, parts)) {
        case GLVisibleArea::Nothing:
            return;
        case GLVisibleArea::Whole:
            DrawQuad(x0, y0, x1, y1, tx, ty, sx, sy, sw, sh);
            return;
        case GLVisibleArea::Parts:
            break;
    }
    // The same quad once per part, cut by the scissor box, so that every
    // pixel drawn is interpolated from the same vertices as before.
    if (!s.clipped) glEnable(GL_SCISSOR_TEST);
    for (const GLWindowRect& r : *parts) {
        SetGLScissor(r.x, r.y, r.width, r.height);
        DrawQuad(x0, y0, x1, y1, tx, ty, sx, sy, sw, sh);
    }
    if (s.clipped) {
        SetGLScissor(s.clipX, s.clipY, s.clipW, s.clipH);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
}

void TGLImageFrame::DrawQuad(float x0, float y0, float x1, float y1, float tx, float ty,
                             float sx, float sy, float sw, float sh) const {
    const GLDrawState& s = GLState();
    float ul = sx * uscale, ur = (sx + sw) * uscale;
    float vt = sy * vscale, vb = (sy + sh) * vscale;
    glBegin(GL_QUADS);
    glTexCoord2f(ul, vt);
    glVertex2f(s.X(x0, y0, tx), s.Y(x0, y0, ty));
    glTexCoord2f(ur, vt);
    glVertex2f(s.X(x1, y0, tx), s.Y(x1, y0, ty));
    glTexCoord2f(ur, vb);
    glVertex2f(s.X(x1, y1, tx), s.Y(x1, y1, ty));
    glTexCoord2f(ul, vb);
    glVertex2f(s.X(x0, y1, tx), s.Y(x0, y1, ty));
    glEnd();
}

}  // namespace vantrel
