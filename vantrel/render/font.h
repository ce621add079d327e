// Source fonts and their loader chain.
//
// A source font (TFont) hands out glyphs whose pictures are pixmaps; image
// fonts (render/image_font.h) turn them into images for drawing. Loaders form
// a chain whose most recently registered entry is asked first.
//
// Failure: loading gives Null. A loader that raises a TStreamException has
// refused the source; any other exception passes through.
//
// Main thread only.
#pragma once

#include <vantrel/runtime/object.h>

namespace vantrel {

// Style flags, combined by OR.
inline constexpr int FontSmoothing = 4;   // filtered, mipmapped glyph images

// One glyph of a source font.
class TGlyph : public Object {
public:
    // The glyph picture (a TPixmap for source fonts); Null for a glyph
    // without pixels.
    virtual Ref<Object> Pixels() = 0;
    // Pen advance in pixels.
    virtual float Advance() = 0;
    // Placement of the picture relative to the pen position at the top of
    // the line, and its size.
    virtual void GetRect(int& x, int& y, int& width, int& height) = 0;
};

class TFont : public Object {
public:
    virtual int Style() = 0;
    // Line height in pixels.
    virtual int Height() = 0;
    virtual int CountGlyphs() = 0;
    // The glyph index for a character code, or -1 when the font has none.
    virtual int CharToGlyph(int charCode) = 0;
    virtual Ref<TGlyph> LoadGlyph(int index) = 0;
};

class TFontLoader : public Object {
public:
    // The font, or Null when this loader cannot load the source.
    virtual Ref<TFont> LoadFont(const Ref<Object>& source, int size, int style) = 0;

    Ref<TFontLoader> _succ;   // next loader; Null at the end of the chain
};

// Puts the loader at the head of the chain. A loader already in the chain is
// left where it is.
void RegisterFontLoader(const Ref<TFontLoader>& loader);
// The first font a loader of the chain gives, from the head; Null when none can.
Ref<TFont> LoadFontByLoaders(const Ref<Object>& source, int size, int style);

}  // namespace vantrel
