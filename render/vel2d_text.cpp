// Text commands of the 2D front: they draw and measure with the current
// state's image font.
#include "render/image_font.h"
#include "render/vel2d.h"
#include "runtime/exceptions.h"
#include "runtime/math.h"

namespace vantrel {

namespace {

TVel2DGraphics& TextState() {
    Ref<TVel2DGraphics> g = TVel2DGraphics::Current();
    if (!g) RaiseRuntimeError("No current 2D graphics");
    return *g;   // the current slot keeps it alive
}

}  // namespace

void SetDrawFont(const Ref<TImageFont>& font) {
    TextState().image_font = font ? font : DefaultImageFont();
}

Ref<TImageFont> GetDrawFont() { return TextState().image_font; }

Ref<TImageFont> LoadDrawFont(const Ref<Object>& url, int size, int style) {
    return TImageFont::Load(url, size, style);
}

void DrawTextAt(const String& text, float x, float y) {
    TVel2DGraphics& g = TextState();
    float ix = g.tform_ix, iy = g.tform_iy, jx = g.tform_jx, jy = g.tform_jy;
    g.image_font->Draw(text, x + g.origin_x + g.handle_x * ix + g.handle_y * iy,
                       y + g.origin_y + g.handle_x * jx + g.handle_y * jy, ix, iy, jx, jy);
}

int MeasureTextWidth(const String& text) {
    Ref<TImageFont> font = TextState().image_font;
    int width = 0;
    for (int i = 0; i < text.Length(); ++i) {
        int glyph = font->CharToGlyph(text[i]);
        if (glyph < 0) continue;
        width = TruncToInt(static_cast<float>(width) + font->LoadGlyph(glyph)->Advance());
    }
    return width;
}

int MeasureTextHeight() { return TextState().image_font->Height(); }

}  // namespace vantrel
