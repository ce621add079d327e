// Pixmaps: rectangles of pixels in main memory with an explicit row pitch and
// one of twelve byte-oriented pixel formats, plus the chain of pixmap loaders.
//
// Format 6 (RGBA8888) is the working format: conversions between two other
// formats go through it, and masking and scaling work in it. Packed colours
// (ReadPixel, WritePixel, ClearPixels) are 32-bit ARGB.
//
// Failures: loading gives Null. Pixel addresses, windows and pastes that
// reach outside a pixmap raise TArrayBoundsException instead of touching
// memory outside it; a bad format code, a negative size or a pixmap whose
// byte size does not fit in 32 bits raises TRuntimeException on creation.
// Pixel codes 7 to 12 are understood only by conversion: ReadPixel gives 0
// and WritePixel and ClearPixels leave such pixmaps unchanged, except that
// clearing to 0 zeroes the pixels of every format.
//
// Main thread only (a pixmap is not shared between threads while written),
// except LoadPixmapFrom.
#pragma once

#include <cstdint>

#include <vantrel/runtime/object.h>

namespace vantrel {

class TStream;

inline constexpr int FormatI8 = 1;           // grey
inline constexpr int FormatA8 = 2;           // alpha
inline constexpr int FormatBGR888 = 3;       // blue, green, red
inline constexpr int FormatRGB888 = 4;       // red, green, blue
inline constexpr int FormatBGRA8888 = 5;     // blue, green, red, alpha
inline constexpr int FormatRGBA8888 = 6;     // red, green, blue, alpha
inline constexpr int FormatRed8 = 7;
inline constexpr int FormatGreen8 = 8;
inline constexpr int FormatBlue8 = 9;
inline constexpr int FormatAlpha8 = 10;
inline constexpr int FormatIntensity8 = 11;
inline constexpr int FormatLuminance8 = 12;
inline constexpr int kPixelFormatCount = 13;  // table size, entry 0 unused

// Per-format tables indexed by format code; entry 0 is zero.
inline constexpr int PixelFormatBytes[kPixelFormatCount] = {0, 1, 1, 3, 3, 4, 4, 1, 1, 1, 1, 1, 1};
inline constexpr int PixelFormatAlphaBits[kPixelFormatCount] = {0, 0, 8, 0, 0, 8, 8, 0, 0, 0, 8, 0, 0};

// Bytes per pixel of a format code; 0 for codes outside 1 to 12.
constexpr int BytesPerPixel(int format) {
    return format > 0 && format < kPixelFormatCount ? PixelFormatBytes[format] : 0;
}

class TPixmap final : public Object {
public:
    ~TPixmap() override;

    // pitch = width * bytes per pixel raised to a multiple of align; the
    // pixels are 16-byte aligned and not cleared.
    static Ref<TPixmap> Create(int width, int height, int format, int align);
    // A pixmap over memory the caller owns and keeps alive (capacity -1).
    static Ref<TPixmap> CreateStatic(void* pixels, int width, int height, int pitch, int format);

    int BytesPerPixel() const { return vantrel::BytesPerPixel(format); }
    // Address of pixel (x, y); raises TArrayBoundsException outside the pixmap.
    uint8_t* PixelPtr(int x, int y) const;
    // A pixmap viewing part of this one's memory; keeps this pixmap alive.
    Ref<TPixmap> Window(int x, int y, int width, int height);
    Ref<TPixmap> Copy() const;
    // Converts source into this pixmap at (x, y); source must fit inside.
    void Paste(const TPixmap& source, int x, int y);
    void Paste(const Ref<TPixmap>& source, int x, int y) { Paste(*source, x, y); }
    Ref<TPixmap> Convert(int format) const;
    int ReadPixel(int x, int y) const;
    void WritePixel(int x, int y, int argb);
    void ClearPixels(int argb);

    uint8_t* pixels = nullptr;  // first byte of row 0
    int width = 0;
    int height = 0;
    int pitch = 0;
    int format = 0;
    int capacity = -1;          // bytes owned in pixels; -1 when not owned
    Ref<Object> _source;        // for a window, the pixmap it views

private:
    TPixmap() = default;
    // Row y without a bounds check: for loops whose range is checked once.
    uint8_t* Row(int y) const { return pixels + static_cast<intptr_t>(y) * pitch; }
};

// A file-format decoder on the global loader chain. Constructing one puts it
// at the head of the chain, so the newest loader is asked first; loaders are
// never removed.
class TPixmapLoader : public Object {
public:
    // The pixmap in the stream, or Null when the data is not in this format.
    virtual Ref<TPixmap> LoadPixmap(const Ref<TStream>& stream) = 0;

    Ref<TPixmapLoader> _succ;

protected:
    // Links the new loader in at the head of the chain, which keeps it for
    // the rest of the run. Create loaders with MakeRef only.
    TPixmapLoader();
};

// Head of the loader chain (Null while no loader exists).
Ref<TPixmapLoader> PixmapLoaders();

// Converts a run of count pixels between formats (through format 6 unless
// they are equal). Unknown codes read as transparent black, write nothing.
void ConvertPixels(const uint8_t* from, int fromFormat, uint8_t* to, int toFormat, int count);

Ref<TPixmap> NewPixmap(int width, int height, int format, int align);
Ref<TPixmap> WrapPixels(void* pixels, int width, int height, int pitch, int format);
Ref<TPixmap> ConvertPixmapFormat(const Ref<TPixmap>& pixmap, int format);
// A format-6 copy in which every pixel of colour (red, green, blue) is
// transparent and takes the average colour of its unkeyed neighbours; all
// other pixels become opaque.
Ref<TPixmap> MaskPixmapColor(const Ref<TPixmap>& pixmap, int red, int green, int blue);
Ref<TPixmap> MirrorPixmapX(const Ref<TPixmap>& pixmap);
Ref<TPixmap> MirrorPixmapY(const Ref<TPixmap>& pixmap);
// Bilinear resize into a new pixmap of the input's format.
Ref<TPixmap> ScalePixmap(const Ref<TPixmap>& pixmap, int width, int height);
// Opens url and asks each loader in turn, from the same stream position;
// a loader's stream exception counts as a refusal. Null when none can read it.
// Starts the pixmap module first, so PNG files load without any start-up.
// Once the module is started and the loader and stream factory chains are
// built, any thread may call it with a URL of its own (text, or a stream no
// other thread uses); the pixmap it returns is the caller's.
Ref<TPixmap> LoadPixmapFrom(const Ref<Object>& url);

int PixmapWidth(const Ref<TPixmap>& pixmap);
int PixmapHeight(const Ref<TPixmap>& pixmap);
int PixmapPitch(const Ref<TPixmap>& pixmap);
int PixmapFormat(const Ref<TPixmap>& pixmap);
uint8_t* PixmapPixelPtr(const Ref<TPixmap>& pixmap, int x, int y);
Ref<TPixmap> PixmapWindow(const Ref<TPixmap>& pixmap, int x, int y, int width, int height);
Ref<TPixmap> CopyPixmap(const Ref<TPixmap>& pixmap);
int ReadPixel(const Ref<TPixmap>& pixmap, int x, int y);
void WritePixel(const Ref<TPixmap>& pixmap, int x, int y, int argb);
void ClearPixels(const Ref<TPixmap>& pixmap, int argb);

// Module start-up: starts the stream module and puts the built-in PNG
// loader (png_pixmap.h) on the chain, so that no program has to remember it.
void StartPixmapModule();

}  // namespace vantrel
