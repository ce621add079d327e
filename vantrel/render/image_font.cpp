#include <vantrel/render/image_font.h>

#include <vantrel/render/builtin_font.h>
#include <vantrel/render/font.h>
#include <vantrel/render/image.h>
#include <vantrel/resources/pixmap.h>

namespace vantrel {

Ref<Object> TImageGlyph::Pixels() { return _image; }

float TImageGlyph::Advance() { return _advance; }

void TImageGlyph::GetRect(int& x, int& y, int& width, int& height) {
    x = _x;
    y = _y;
    width = _w;
    height = _h;
}

TImageFont::~TImageFont() = default;

int TImageFont::Style() { return _src_font ? _src_font->Style() : 0; }

int TImageFont::Height() { return _src_font ? _src_font->Height() : kBuiltinFontGlyphHeight; }

int TImageFont::CountGlyphs() { return _glyphs->Length(); }

int TImageFont::CharToGlyph(int charCode) {
    if (_src_font) return _src_font->CharToGlyph(charCode);
    int index = charCode - kBuiltinFontFirstChar;
    return index >= 0 && index < kBuiltinFontGlyphs ? index : -1;
}

Ref<TImageGlyph> TImageFont::LoadGlyph(int index) {
    Ref<TImageGlyph>& slot = (*_glyphs)[index];
    if (slot) return slot;
    Ref<TGlyph> source = _src_font->LoadGlyph(index);
    Ref<TImageGlyph> glyph = MakeRef<TImageGlyph>();
    glyph->_advance = source->Advance();
    source->GetRect(glyph->_x, glyph->_y, glyph->_w, glyph->_h);
    // The image gets its own copy: the source font keeps its pixmap cached.
    if (Ref<TPixmap> pixmap = Cast<TPixmap>(source->Pixels()))
        glyph->_image = TImage::Load(pixmap->Copy(), _imageFlags, 0, 0, 0);
    slot = glyph;
    return glyph;
}

void TImageFont::Draw(const String& text, float x, float y, float ix, float iy, float jx, float jy) {
    for (char16_t code : text.Units()) {
        int index = CharToGlyph(code);
        if (index < 0) continue;
        Ref<TImageGlyph> glyph = LoadGlyph(index);
        if (glyph->_image) {
            if (Ref<TImageFrame> frame = glyph->_image->Frame(0)) {
                float w = static_cast<float>(glyph->_image->width);
                float h = static_cast<float>(glyph->_image->height);
                float dx = static_cast<float>(glyph->_x) * ix + static_cast<float>(glyph->_y) * iy;
                float dy = static_cast<float>(glyph->_x) * jx + static_cast<float>(glyph->_y) * jy;
                frame->Draw(0, 0, w, h, x + dx, y + dy, 0, 0, w, h);
            }
        }
        x += glyph->_advance * ix;
        y += glyph->_advance * jx;
    }
}

Ref<TImageFont> TImageFont::Load(const Ref<Object>& source, int size, int style) {
    Ref<TFont> font = LoadFontByLoaders(source, size, style);
    if (!font) return nullptr;
    Ref<TImageFont> imageFont = MakeRef<TImageFont>();
    imageFont->_src_font = font;
    imageFont->_glyphs = NewArray<Ref<TImageGlyph>>(font->CountGlyphs());
    imageFont->_imageFlags = (style & FontSmoothing) ? ImageFiltered | ImageMipmapped : 0;
    return imageFont;
}

Ref<TImageFont> TImageFont::CreateDefault() {
    const uint8_t* data = BuiltinFontData("orvofont.bin");
    constexpr int w = kBuiltinFontGlyphWidth, h = kBuiltinFontGlyphHeight, n = kBuiltinFontGlyphs;

    // All glyphs side by side in one sheet, white ink on transparency.
    Ref<TPixmap> sheet = NewPixmap(n * w, h, FormatRGBA8888, 4);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < n; ++c)
            for (int k = 0; k < w; ++k)
                sheet->WritePixel(c * w + k, r, (data[r * n + c] >> k) & 1 ? static_cast<int>(0xFFFFFFFFu) : 0);

    Ref<TImageFont> font = MakeRef<TImageFont>();
    font->_glyphs = NewArray<Ref<TImageGlyph>>(n);
    for (int c = 0; c < n; ++c) {
        Ref<TImageGlyph> glyph = MakeRef<TImageGlyph>();
        glyph->_advance = static_cast<float>(w);
        glyph->_w = w;
        glyph->_h = h;
        glyph->_image = TImage::Load(sheet->Window(c * w, 0, w, h)->Copy(), 0, 0, 0, 0);
        (*font->_glyphs)[c] = glyph;
    }
    return font;
}

}  // namespace vantrel
