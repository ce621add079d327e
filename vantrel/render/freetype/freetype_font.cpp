#include <vantrel/render/freetype/freetype_font_impl.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <memory>

#include <vantrel/resources/pixmap.h>
#include <vantrel/resources/stream.h>

// FreeType is called here only with its own memory and file streams, so no
// engine code runs inside a FreeType frame and nothing can unwind through one.

namespace vantrel {
namespace {

FT_Library library = nullptr;

bool InitLibrary() {
    if (!library && FT_Init_FreeType(&library) != 0) library = nullptr;
    return library != nullptr;
}

struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FaceHolder = std::unique_ptr<FT_FaceRec_, FaceCloser>;

// FreeType clamps pixel sizes to this; larger requests ask for the same size.
constexpr int kLargestPixelSize = 0xFFFF;

bool SelectStrike(FT_Face face, int pixels) {
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        const FT_Bitmap_Size& strike = face->available_sizes[i];
        if (strike.height == pixels || (strike.y_ppem + 32) >> 6 == pixels)
            return FT_Select_Size(face, i) == 0;
    }
    return false;
}

// Sizes the face at the largest pixel height from size down to 1 that it
// accepts. Scalable faces take any height; bitmap-only faces only their strikes.
bool SizeFace(FT_Face face, int size) {
    for (int s = size < kLargestPixelSize ? size : kLargestPixelSize; s >= 1; --s) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(s)) == 0) return true;
        if (face->num_fixed_sizes > 0 && SelectStrike(face, s)) return true;
    }
    return false;
}

FTFace SnapshotFace(FT_Face face) {
    FTFace f;
    f.numfaces = face->num_faces;
    f.faceindex = face->face_index;
    f.faceflags = face->face_flags;
    f.styleflags = face->style_flags;
    f.numglyphs = face->num_glyphs;
    if (face->family_name) f.familyname = String::FromUtf8(face->family_name);
    if (face->style_name) f.stylename = String::FromUtf8(face->style_name);
    f.numfixedsizes = face->num_fixed_sizes;
    f.unitsperem = face->units_per_EM;
    const FT_Size_Metrics& m = face->size->metrics;
    f.metrics = {m.x_ppem, m.y_ppem, m.ascender, m.descender, m.height, m.max_advance};
    return f;
}

FTGlyph SnapshotGlyph(FT_GlyphSlot slot) {
    FTGlyph g;
    g.rows = static_cast<int>(slot->bitmap.rows);
    g.width = static_cast<int>(slot->bitmap.width);
    g.pitch = slot->bitmap.pitch;
    g.buffer = slot->bitmap.buffer;
    g.numgreys = slot->bitmap.num_grays;
    g.pixelmode = slot->bitmap.pixel_mode;
    g.bitmap_left = slot->bitmap_left;
    g.bitmap_top = slot->bitmap_top;
    g.advancex = slot->advance.x;
    g.advancey = slot->advance.y;
    return g;
}

// Bytes one row of the bitmap needs, or 0 for a pixel mode that is not an
// alpha coverage (colour and sub-pixel bitmaps are not used as glyph masks).
int64_t RowBytes(const FTGlyph& g) {
    int64_t w = g.width;
    switch (g.pixelmode) {
    case FT_PIXEL_MODE_MONO: return (w + 7) / 8;
    case FT_PIXEL_MODE_GRAY2: return (w + 3) / 4;
    case FT_PIXEL_MODE_GRAY4: return (w + 1) / 2;
    case FT_PIXEL_MODE_GRAY: return w;
    default: return 0;
    }
}

}  // namespace

Ref<Object> TFreeTypeGlyph::Pixels() { return _pixmap; }

void TFreeTypeGlyph::GetRect(int& x, int& y, int& width, int& height) {
    x = _x;
    y = _y;
    width = _w;
    height = _h;
}

TFreeTypeFont::~TFreeTypeFont() {
    if (_ft_face) FT_Done_Face(_ft_face);
    delete[] _buf;
}

int TFreeTypeFont::CharToGlyph(int charCode) {
    return static_cast<int>(FT_Get_Char_Index(_ft_face, static_cast<FT_ULong>(static_cast<uint32_t>(charCode)))) - 1;
}

Ref<TFreeTypeFont> TFreeTypeFont::Load(const String& source, int size, int style) {
    if (!InitLibrary()) return nullptr;

    std::unique_ptr<uint8_t[]> buf;
    int bufSize = 0;
    FT_Face opened = nullptr;
    if (source.Find("::") > 0) {
        ByteArray bytes;
        try {
            bytes = LoadBytes(source);
        } catch (const TStreamException&) {
            return nullptr;
        }
        if (!bytes || bytes->Length() == 0) return nullptr;
        bufSize = bytes->Length();
        buf.reset(new uint8_t[static_cast<size_t>(bufSize)]);
        std::memcpy(buf.get(), bytes->Data(), static_cast<size_t>(bufSize));
        if (FT_New_Memory_Face(library, buf.get(), bufSize, 0, &opened) != 0) return nullptr;
    } else {
        if (FT_New_Face(library, source.ToUtf8().c_str(), 0, &opened) != 0) return nullptr;
    }
    FaceHolder face(opened);

    // Every glyph takes at least a byte of the file, so a larger count is a
    // lie that must not size the glyph table.
    int64_t fileBytes = buf ? bufSize : static_cast<int64_t>(face->stream->size);
    if (face->num_glyphs < 0 || face->num_glyphs > fileBytes) return nullptr;

    if (!SizeFace(face.get(), size)) return nullptr;

    Ref<TFreeTypeFont> font = MakeRef<TFreeTypeFont>();
    font->_face = SnapshotFace(face.get());
    font->_style = style;
    const FT_Size_Metrics& m = face->size->metrics;
    font->_height = static_cast<int>(m.height >> 6);
    font->_ascend = static_cast<int>(m.ascender >> 6);
    font->_descend = static_cast<int>(m.descender >> 6);
    font->_glyphs = NewArray<Ref<TFreeTypeGlyph>>(static_cast<int>(face->num_glyphs));
    font->_ft_face = face.release();
    font->_buf = buf.release();
    font->_buf_size = bufSize;
    return font;
}

Ref<TGlyph> TFreeTypeFont::LoadGlyph(int index) {
    Ref<TFreeTypeGlyph>& cached = (*_glyphs)[index];
    if (cached) return cached;
    Ref<TFreeTypeGlyph> glyph = MakeRef<TFreeTypeGlyph>();
    cached = glyph;

    if (FT_Load_Glyph(_ft_face, static_cast<FT_UInt>(index) + 1, FT_LOAD_RENDER) != 0) return glyph;
    FTGlyph slot = SnapshotGlyph(_ft_face->glyph);
    glyph->_x = slot.bitmap_left;
    glyph->_y = _ascend - slot.bitmap_top;
    glyph->_w = slot.width;
    glyph->_h = slot.rows;
    glyph->_advance = static_cast<float>(slot.advancex >> 6);
    if (slot.width == 0) return glyph;

    Ref<TPixmap> pixmap = RenderedPixmap(slot);
    if (!pixmap) return glyph;
    if (_style & FontSmoothing) {
        // A transparent border keeps filtered glyph images from bleeding.
        Ref<TPixmap> framed = NewPixmap(pixmap->width + 2, pixmap->height + 2, FormatA8, 4);
        framed->ClearPixels(0);
        framed->Paste(pixmap, 1, 1);
        pixmap = framed;
        glyph->_x -= 1;
        glyph->_y -= 1;
        glyph->_w += 2;
        glyph->_h += 2;
    }
    glyph->_pixmap = pixmap;
    return glyph;
}

// The rendered bitmap as an alpha pixmap; Null when it has no rows or is in
// a form that is no coverage mask or whose pitch cannot hold its width.
Ref<TPixmap> TFreeTypeFont::RenderedPixmap(const FTGlyph& slot) {
    int64_t rowBytes = RowBytes(slot);
    int64_t stride = slot.pitch < 0 ? -static_cast<int64_t>(slot.pitch) : slot.pitch;
    if (slot.rows <= 0 || slot.width <= 0 || rowBytes == 0 || stride < rowBytes || !slot.buffer) return nullptr;

    // An upward-flowing bitmap keeps its bottom row first in memory.
    const uint8_t* top = slot.buffer;
    if (slot.pitch < 0) top -= static_cast<int64_t>(slot.pitch) * (slot.rows - 1);

    if (slot.numgreys != 0 && slot.pixelmode == FT_PIXEL_MODE_GRAY && slot.pitch > 0)
        return WrapPixels(const_cast<uint8_t*>(top), slot.width, slot.rows, slot.pitch, FormatA8)->Copy();

    Ref<TPixmap> pixmap = NewPixmap(slot.width, slot.rows, FormatA8, 4);
    for (int r = 0; r < slot.rows; ++r) {
        const uint8_t* src = top + static_cast<int64_t>(r) * slot.pitch;
        uint8_t* dst = pixmap->PixelPtr(0, r);
        for (int j = 0; j < slot.width; ++j) {
            switch (slot.pixelmode) {
            case FT_PIXEL_MODE_MONO: dst[j] = (src[j >> 3] >> (7 - (j & 7))) & 1 ? 255 : 0; break;
            case FT_PIXEL_MODE_GRAY2: dst[j] = static_cast<uint8_t>(((src[j >> 2] >> (6 - 2 * (j & 3))) & 3) * 85); break;
            case FT_PIXEL_MODE_GRAY4: dst[j] = static_cast<uint8_t>(((src[j >> 1] >> (4 - 4 * (j & 1))) & 15) * 17); break;
            default: dst[j] = src[j]; break;
            }
        }
    }
    return pixmap;
}

Ref<TFont> TFreeTypeFontLoader::LoadFont(const Ref<Object>& source, int size, int style) {
    String path = String::FromObject(source);
    if (path.IsEmpty()) return nullptr;
    return TFreeTypeFont::Load(path, size, style);
}

void InitFreeTypeFontModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartStreamModule();
    StartPixmapModule();
    RegisterFontLoader(MakeRef<TFreeTypeFontLoader>());
}

}  // namespace vantrel
