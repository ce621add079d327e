// Outline and bitmap-strike font files through FreeType, as source fonts
// whose glyphs are alpha pixmaps. InitFreeTypeFontModule puts a
// TFreeTypeFontLoader on the font loader chain, so image fonts and
// LoadDrawFont can use font files.
//
// A source is a file path, or a stream address ("protocol::path") that is
// read whole through the stream layer and opened from memory. A size the face
// cannot provide falls back to the next smaller one it can (bitmap-only faces
// pick among their fixed strikes).
//
// Failure: every failure (library, opening, sizing, a file whose glyph count
// it cannot hold) gives Null, never an exception. A glyph that fails to render
// is an empty glyph that draws nothing and does not advance.
//
// Inside the engine only: the classes hold FreeType's own records; a program
// calls InitFreeTypeFontModule (freetype_font.h).
//
// Main thread only (FreeType faces are not shared between threads).
#pragma once

#include <cstdint>

#include <vantrel/render/font.h>
#include <vantrel/render/freetype/freetype_font.h>
#include <vantrel/runtime/array.h>
#include <vantrel/runtime/string.h>

struct FT_FaceRec_;

namespace vantrel {

class TPixmap;

// Size metrics of a sized face, in 26.6 fixed point (pixels * 64) except the ppem.
struct FTMetrics {
    int x_ppem = 0, y_ppem = 0;
    long ascender = 0, descender = 0, height = 0, max_advance = 0;
};

// The face record as it was after opening and sizing.
struct FTFace {
    long numfaces = 0, faceindex = 0, faceflags = 0, styleflags = 0, numglyphs = 0;
    String familyname, stylename;
    int numfixedsizes = 0;
    int unitsperem = 0;
    FTMetrics metrics;
};

// The glyph slot after loading and rendering one glyph.
struct FTGlyph {
    int rows = 0, width = 0, pitch = 0;
    const uint8_t* buffer = nullptr;
    int numgreys = 0, pixelmode = 0;
    int bitmap_left = 0, bitmap_top = 0;
    long advancex = 0, advancey = 0;
};

class TFreeTypeGlyph : public TGlyph {
public:
    Ref<Object> Pixels() override;
    float Advance() override { return _advance; }
    void GetRect(int& x, int& y, int& width, int& height) override;

    Ref<TPixmap> _pixmap;   // FormatA8; Null for an empty glyph
    float _advance = 0.0f;
    // Placement relative to the pen at the top of the line, and size.
    int _x = 0, _y = 0, _w = 0, _h = 0;
};

class TFreeTypeFont : public TFont {
public:
    ~TFreeTypeFont() override;

    int Style() override { return _style; }
    int Height() override { return _height; }
    int CountGlyphs() override { return _glyphs->Length(); }
    // FreeType's glyph index minus 1: -1 for an unmapped character.
    int CharToGlyph(int charCode) override;
    // Renders FreeType glyph index + 1 on first use; cached afterwards.
    Ref<TGlyph> LoadGlyph(int index) override;

    static Ref<TFreeTypeFont> Load(const String& source, int size, int style);

    FTFace _face;
    FT_FaceRec_* _ft_face = nullptr;
    int _style = 0;
    int _height = 0;
    int _ascend = 0, _descend = 0;
    Array<Ref<TFreeTypeGlyph>> _glyphs;
    uint8_t* _buf = nullptr;   // the font file for a face opened from memory (owned)
    int _buf_size = 0;

private:
    Ref<TPixmap> RenderedPixmap(const FTGlyph& slot);
};

class TFreeTypeFontLoader : public TFontLoader {
public:
    // source must be a non-empty text; anything else gives Null.
    Ref<TFont> LoadFont(const Ref<Object>& source, int size, int style) override;
};

}  // namespace vantrel
