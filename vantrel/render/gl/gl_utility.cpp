#include <vantrel/render/gl/gl_utility.h>

#include <GL/gl.h>

#include <vantrel/resources/pixmap.h>

namespace vantrel {

void BeginGL2D() {
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT | GL_TEXTURE_BIT);
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, viewport[2], viewport[3], 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
}

void EndGL2D() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void GLFillRect(float x, float y, float width, float height) {
    BeginGL2D();
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glVertex2f(x, y);
    glVertex2f(x + width, y);
    glVertex2f(x + width, y + height);
    glVertex2f(x, y + height);
    glEnd();
    EndGL2D();
}

void GLDrawPixmapAt(const Ref<TPixmap>& pixmap, int x, int y) {
    BeginGL2D();
    glDisable(GL_TEXTURE_2D);   // textures would apply to the copied pixels too
    DrawPixmapPixels(pixmap, x, y);
    EndGL2D();
}

void DrawPixmapPixels(const Ref<TPixmap>& pixmap, int x, int y) {
    Ref<TPixmap> rgba = pixmap->format == FormatRGBA8888 ? pixmap : ConvertPixmapFormat(pixmap, FormatRGBA8888);
    glPixelZoom(1.0f, -1.0f);
    glRasterPos2f(0.0f, 0.0f);
    // Moves the raster position without drawing, so that it may leave the
    // viewport to the left or above (a plain glRasterPos there is invalid).
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<float>(x), static_cast<float>(-y), nullptr);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
    glDrawPixels(rgba->width, rgba->height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelZoom(1.0f, 1.0f);
}

}  // namespace vantrel
