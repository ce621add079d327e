#include <vantrel/resources/pixmap.h>

#include <climits>
#include <cstring>
#include <new>

#include <vantrel/runtime/exceptions.h>

namespace vantrel {
namespace {

constexpr std::align_val_t kPixelAlignment{16};

void CheckShape(int width, int height, int format) {
    if (format < 1 || format >= kPixelFormatCount) RaiseRuntimeError("Invalid pixel format");
    if (width < 0 || height < 0) RaiseRuntimeError("Invalid pixmap size");
}

uint8_t Channel(int argb, int shift) { return static_cast<uint8_t>(static_cast<uint32_t>(argb) >> shift); }

// The bytes of one pixel of format f (codes 1 to 6) holding argb; returns
// the byte count, 0 for codes the accessors do not handle.
int EncodePixel(int f, int argb, uint8_t* out) {
    const uint8_t a = Channel(argb, 24), r = Channel(argb, 16), g = Channel(argb, 8), b = Channel(argb, 0);
    switch (f) {
    case FormatI8: out[0] = static_cast<uint8_t>((r + g + b) / 3); return 1;
    case FormatA8: out[0] = a; return 1;
    case FormatBGR888: out[0] = b; out[1] = g; out[2] = r; return 3;
    case FormatRGB888: out[0] = r; out[1] = g; out[2] = b; return 3;
    case FormatBGRA8888: out[0] = b; out[1] = g; out[2] = r; out[3] = a; return 4;
    case FormatRGBA8888: out[0] = r; out[1] = g; out[2] = b; out[3] = a; return 4;
    default: return 0;
    }
}

int Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<int>(a << 24 | r << 16 | g << 8 | b);
}

}  // namespace

TPixmap::~TPixmap() {
    if (capacity >= 0) ::operator delete(pixels, kPixelAlignment);
}

Ref<TPixmap> TPixmap::Create(int width, int height, int format, int align) {
    CheckShape(width, height, format);
    if (align < 1) align = 1;
    const int64_t row = static_cast<int64_t>(width) * PixelFormatBytes[format];
    const int64_t pitch = (row + align - 1) / align * align;
    const int64_t size = pitch * height;
    if (pitch > INT_MAX || size > INT_MAX) RaiseRuntimeError("Pixmap too large");
    Ref<TPixmap> p(new TPixmap);
    p->pixels = static_cast<uint8_t*>(::operator new(static_cast<size_t>(size), kPixelAlignment));
    p->width = width;
    p->height = height;
    p->pitch = static_cast<int>(pitch);
    p->format = format;
    p->capacity = static_cast<int>(size);
    return p;
}

Ref<TPixmap> TPixmap::CreateStatic(void* pixels, int width, int height, int pitch, int format) {
    CheckShape(width, height, format);
    Ref<TPixmap> p(new TPixmap);
    p->pixels = static_cast<uint8_t*>(pixels);
    p->width = width;
    p->height = height;
    p->pitch = pitch;
    p->format = format;
    p->capacity = -1;
    return p;
}

uint8_t* TPixmap::PixelPtr(int x, int y) const {
    CheckIndex(x, width);
    CheckIndex(y, height);
    return Row(y) + static_cast<intptr_t>(x) * BytesPerPixel();
}

Ref<TPixmap> TPixmap::Window(int x, int y, int w, int h) {
    CheckRange(x, w, width);
    CheckRange(y, h, height);
    Ref<TPixmap> win = CreateStatic(Row(y) + static_cast<intptr_t>(x) * BytesPerPixel(), w, h, pitch, format);
    win->_source = Ref<Object>(this);
    return win;
}

Ref<TPixmap> TPixmap::Copy() const {
    Ref<TPixmap> copy = Create(width, height, format, 4);
    const size_t rowBytes = static_cast<size_t>(width) * BytesPerPixel();
    for (int y = 0; y < height; ++y) std::memcpy(copy->Row(y), Row(y), rowBytes);
    return copy;
}

void TPixmap::Paste(const TPixmap& source, int x, int y) {
    CheckRange(x, source.width, width);
    CheckRange(y, source.height, height);
    uint8_t* at = Row(y) + static_cast<intptr_t>(x) * BytesPerPixel();
    for (int i = 0; i < source.height; ++i, at += pitch)
        ConvertPixels(source.Row(i), source.format, at, format, source.width);
}

Ref<TPixmap> TPixmap::Convert(int toFormat) const {
    Ref<TPixmap> out = Create(width, height, toFormat, 4);
    for (int y = 0; y < height; ++y) ConvertPixels(Row(y), format, out->Row(y), toFormat, width);
    return out;
}

int TPixmap::ReadPixel(int x, int y) const {
    const uint8_t* p = PixelPtr(x, y);
    switch (format) {
    case FormatI8: return Argb(255, p[0], p[0], p[0]);
    case FormatA8: return Argb(p[0], 255, 255, 255);
    case FormatBGR888: return Argb(255, p[2], p[1], p[0]);
    case FormatRGB888: return Argb(255, p[0], p[1], p[2]);
    case FormatBGRA8888: return Argb(p[3], p[2], p[1], p[0]);
    case FormatRGBA8888: return Argb(p[3], p[0], p[1], p[2]);
    default: return 0;
    }
}

void TPixmap::WritePixel(int x, int y, int argb) {
    uint8_t* p = PixelPtr(x, y);
    uint8_t bytes[4];
    const int n = EncodePixel(format, argb, bytes);
    std::memcpy(p, bytes, static_cast<size_t>(n));
}

void TPixmap::ClearPixels(int argb) {
    if (width == 0 || height == 0) return;
    const int bpp = BytesPerPixel();
    const size_t rowBytes = static_cast<size_t>(width) * bpp;
    if (argb == 0) {
        if (pitch == width * bpp)
            std::memset(pixels, 0, rowBytes * static_cast<size_t>(height));
        else
            for (int y = 0; y < height; ++y) std::memset(Row(y), 0, rowBytes);
        return;
    }
    uint8_t bytes[4];
    if (EncodePixel(format, argb, bytes) == 0) return;
    // Fill row 0 pixel by pixel, then copy it to the other rows.
    uint8_t* first = Row(0);
    for (int x = 0; x < width; ++x) std::memcpy(first + static_cast<size_t>(x) * bpp, bytes, static_cast<size_t>(bpp));
    for (int y = 1; y < height; ++y) std::memcpy(Row(y), first, rowBytes);
}

Ref<TPixmap> NewPixmap(int width, int height, int format, int align) {
    return TPixmap::Create(width, height, format, align);
}
Ref<TPixmap> WrapPixels(void* pixels, int width, int height, int pitch, int format) {
    return TPixmap::CreateStatic(pixels, width, height, pitch, format);
}
Ref<TPixmap> ConvertPixmapFormat(const Ref<TPixmap>& pixmap, int format) { return pixmap->Convert(format); }
int PixmapWidth(const Ref<TPixmap>& pixmap) { return pixmap->width; }
int PixmapHeight(const Ref<TPixmap>& pixmap) { return pixmap->height; }
int PixmapPitch(const Ref<TPixmap>& pixmap) { return pixmap->pitch; }
int PixmapFormat(const Ref<TPixmap>& pixmap) { return pixmap->format; }
uint8_t* PixmapPixelPtr(const Ref<TPixmap>& pixmap, int x, int y) { return pixmap->PixelPtr(x, y); }
Ref<TPixmap> PixmapWindow(const Ref<TPixmap>& pixmap, int x, int y, int width, int height) {
    return pixmap->Window(x, y, width, height);
}
Ref<TPixmap> CopyPixmap(const Ref<TPixmap>& pixmap) { return pixmap->Copy(); }
int ReadPixel(const Ref<TPixmap>& pixmap, int x, int y) { return pixmap->ReadPixel(x, y); }
void WritePixel(const Ref<TPixmap>& pixmap, int x, int y, int argb) { pixmap->WritePixel(x, y, argb); }
void ClearPixels(const Ref<TPixmap>& pixmap, int argb) { pixmap->ClearPixels(argb); }

}  // namespace vantrel
