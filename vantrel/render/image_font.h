// Image fonts: a TImageFont turns each glyph of a source font into a TImage
// on first use and draws text as a row of those images under the current
// transform. Without a source font it is the built-in 8 x 16 font.
//
// Failure: Load gives Null when no font loader can load the source;
// characters without a glyph are skipped, glyphs without pixels only
// advance the pen.
//
// Main thread only.
#pragma once

#include <vantrel/runtime/array.h>
#include <vantrel/runtime/object.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

class TFont;
class TImage;

// One glyph of an image font: its picture as an image (Null for an empty
// glyph), pen advance and placement relative to the pen.
class TImageGlyph : public Object {
public:
    virtual Ref<Object> Pixels();
    virtual float Advance();
    virtual void GetRect(int& x, int& y, int& width, int& height);

    Ref<TImage> _image;
    float _advance = 0.0f;
    int _x = 0, _y = 0, _w = 0, _h = 0;
};

class TImageFont : public Object {
public:
    ~TImageFont() override;

    virtual int Style();
    virtual int Height();
    virtual int CountGlyphs();
    // The glyph index of a character code, or -1.
    virtual int CharToGlyph(int charCode);
    virtual Ref<TImageGlyph> LoadGlyph(int index);
    // Draws text with the pen at (x, y) in screen space and the drawing
    // matrix (ix, iy, jx, jy): the baseline runs along (ix, jx).
    virtual void Draw(const String& text, float x, float y, float ix, float iy, float jx, float jy);

    static Ref<TImageFont> Load(const Ref<Object>& source, int size, int style);
    static Ref<TImageFont> CreateDefault();

    Ref<TFont> _src_font;            // Null for the built-in font
    Array<Ref<TImageGlyph>> _glyphs;  // one per source glyph, Null until loaded
    int _imageFlags = 0;             // image flags of the glyph images
};

}  // namespace vantrel
