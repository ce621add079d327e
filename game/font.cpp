// Bitmap-font text: one 32 x 32 image cell per character code, drawn with a
// fixed advance and placed by its ink box.
#include "game/qirn.h"

namespace qirn {

using namespace vantrel;

Ref<TImage> Font::img;
int Font::offX = 0;
int Font::offY = 0;
int Font::advance = 0;
int Font::height = 0;

void Font::Load() {
    img = RequireCells(file, 32, 32, 256);
    offX = 1;
    offY = 6;
    advance = 15;
    height = 19;
}

void Font::DrawText(const String& text, int x, int y, double scale, int alignX, int alignY) {
    int len = text.Length();
    int px = TruncToInt(x - offX * scale);
    if (alignX == 1) px = TruncToInt(px - (len * advance) * scale);
    if (alignX == 2) px = TruncToInt(px - (len * advance) * 0.5 * scale);
    int py = TruncToInt(y - offY * scale);
    if (alignY == 1) py = TruncToInt(py - height * scale);
    if (alignY == 2) py = TruncToInt(py - height * 0.5 * scale);
    SetDrawScale(scale, scale);
    for (int i = 0; i < len; ++i) {
        DrawImageAt(img, px + i * scale * advance, py, text[i]);
    }
}

}  // namespace qirn
