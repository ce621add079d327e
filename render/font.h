// Fonts: source fonts and their loader chain, and image fonts that draw text
// as a row of glyph images under the current drawing transform.
//
// A source font (TFont) hands out glyphs as pixmaps; TImageFont turns each
// glyph into a TImage the first time it is needed. Loaders form a chain whose
// most recently registered entry is asked first. The built-in 8 x 16 font
// (TImageFont::CreateDefault) needs no loader.
//
// Failure: loading gives Null. A loader that raises a TStreamException has
// refused the source; any other exception passes through. Characters without
// a glyph are skipped; glyphs without pixels advance the pen and draw nothing.
//
// Main thread only.
#pragma once

#include "render/image.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

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

// A glyph of an image font: its picture as an image, placed like the source glyph.
class TImageGlyph : public Object {
public:
    Ref<TImage> Pixels() { return _image; }
    float Advance() { return _advance; }
    void GetRect(int& x, int& y, int& width, int& height) { x = _x; y = _y; width = _w; height = _h; }

    Ref<TImage> _image;   // Null for a glyph without pixels
    float _advance = 0.0f;
    int _x = 0, _y = 0, _w = 0, _h = 0;
};

class TImageFont : public Object {
public:
    int Style();
    int Height();
    int CountGlyphs();
    int CharToGlyph(int charCode);
    // The glyph, made from the source glyph on first use.
    Ref<TImageGlyph> LoadGlyph(int index);
    // Draws text with the pen starting at (x, y) in screen space; the
    // baseline runs along (ix, jx) and the glyphs' own y axis along (iy, jy).
    void Draw(const String& text, float x, float y, float ix, float iy, float jx, float jy);

    // A font over a source font from the loader chain; Null when no loader
    // can load the source.
    static Ref<TImageFont> Load(const Ref<Object>& source, int size, int style);
    // The built-in 8 x 16 font for codes 32..127, all glyph images made at once.
    static Ref<TImageFont> CreateDefault();

    Ref<TFont> _src_font;   // Null for the built-in font
    Array<Ref<TImageGlyph>> _glyphs;
    int _imageFlags = 0;
};

}  // namespace vantrel
