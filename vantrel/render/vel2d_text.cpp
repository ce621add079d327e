// Text commands of the 2D front: they draw and measure with the current
// state's image font.
#include <vantrel/render/image_font.h>
#include <vantrel/render/vel2d.h>
#include <vantrel/render/vel2d_current.h>
#include <vantrel/runtime/math.h>

namespace vantrel {

void SetDrawFont(const Ref<TImageFont>& font) {
    CurrentVel2DState().image_font = font ? font : DefaultImageFont();
}

Ref<TImageFont> GetDrawFont() { return CurrentVel2DState().image_font; }

Ref<TImageFont> LoadDrawFont(const Ref<Object>& url, int size, int style) {
    return TImageFont::Load(url, size, style);
}

void DrawTextAt(const String& text, float x, float y) {
    TVel2DGraphics& g = CurrentVel2DState();
    float ix = g.tform_ix, iy = g.tform_iy, jx = g.tform_jx, jy = g.tform_jy;
    g.image_font->Draw(text, x + g.origin_x + g.handle_x * ix + g.handle_y * iy,
                       y + g.origin_y + g.handle_x * jx + g.handle_y * jy, ix, iy, jx, jy);
}

int MeasureTextWidth(const String& text) {
    Ref<TImageFont> font = CurrentVel2DState().image_font;
    int width = 0;
    for (int i = 0; i < text.Length(); ++i) {
        int glyph = font->CharToGlyph(text[i]);
        if (glyph < 0) continue;
        width = TruncToInt(static_cast<float>(width) + font->LoadGlyph(glyph)->Advance());
    }
    return width;
}

int MeasureTextHeight() { return CurrentVel2DState().image_font->Height(); }

}  // namespace vantrel
