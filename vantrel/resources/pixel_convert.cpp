// Conversion of pixel runs between the pixmap formats, through format 6.

#include <cstring>

#include <vantrel/resources/pixmap.h>

namespace vantrel {
namespace {

// Expands n pixels of format f into (red, green, blue, alpha) quadruples.
// Formats without alpha expand to opaque pixels; unknown codes to zeros.
void ExpandToRGBA(const uint8_t* s, int f, uint8_t* d, int n) {
    auto put = [&d](uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        d[0] = r;
        d[1] = g;
        d[2] = b;
        d[3] = a;
        d += 4;
    };
    switch (f) {
    case FormatI8:
    case FormatLuminance8:
        for (int i = 0; i < n; ++i) put(s[i], s[i], s[i], 255);
        break;
    case FormatA8:
        for (int i = 0; i < n; ++i) put(255, 255, 255, s[i]);
        break;
    case FormatBGR888:
        for (int i = 0; i < n; ++i, s += 3) put(s[2], s[1], s[0], 255);
        break;
    case FormatRGB888:
        for (int i = 0; i < n; ++i, s += 3) put(s[0], s[1], s[2], 255);
        break;
    case FormatBGRA8888:
        for (int i = 0; i < n; ++i, s += 4) put(s[2], s[1], s[0], s[3]);
        break;
    case FormatRGBA8888:
        std::memmove(d, s, static_cast<size_t>(n) * 4);
        break;
    case FormatRed8:
        for (int i = 0; i < n; ++i) put(s[i], 0, 0, 255);
        break;
    case FormatGreen8:
        for (int i = 0; i < n; ++i) put(0, s[i], 0, 255);
        break;
    case FormatBlue8:
        for (int i = 0; i < n; ++i) put(0, 0, s[i], 255);
        break;
    case FormatAlpha8:
        for (int i = 0; i < n; ++i) put(0, 0, 0, s[i]);
        break;
    case FormatIntensity8:
        for (int i = 0; i < n; ++i) put(s[i], s[i], s[i], s[i]);
        break;
    default:
        std::memset(d, 0, static_cast<size_t>(n) * 4);
        break;
    }
}

// Reduces n (red, green, blue, alpha) quadruples into format f.
void ReduceFromRGBA(const uint8_t* s, int f, uint8_t* d, int n) {
    switch (f) {
    case FormatI8:
    case FormatLuminance8:
        for (int i = 0; i < n; ++i, s += 4) d[i] = static_cast<uint8_t>((s[0] + s[1] + s[2]) / 3);
        break;
    case FormatA8:
    case FormatAlpha8:
        for (int i = 0; i < n; ++i, s += 4) d[i] = s[3];
        break;
    case FormatBGR888:
        for (int i = 0; i < n; ++i, s += 4, d += 3) {
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
        break;
    case FormatRGB888:
        for (int i = 0; i < n; ++i, s += 4, d += 3) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
        break;
    case FormatBGRA8888:
        for (int i = 0; i < n; ++i, s += 4, d += 4) {
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
            d[3] = s[3];
        }
        break;
    case FormatRGBA8888:
        std::memmove(d, s, static_cast<size_t>(n) * 4);
        break;
    case FormatRed8:
    case FormatGreen8:
    case FormatBlue8:
        for (int i = 0; i < n; ++i, s += 4) d[i] = s[f - FormatRed8];
        break;
    case FormatIntensity8:
        for (int i = 0; i < n; ++i, s += 4) d[i] = static_cast<uint8_t>((s[0] + s[1] + s[2] + s[3]) >> 2);
        break;
    default:
        break;
    }
}

}  // namespace

void ConvertPixels(const uint8_t* from, int fromFormat, uint8_t* to, int toFormat, int count) {
    if (count <= 0) return;
    if (fromFormat == toFormat) {
        std::memmove(to, from, static_cast<size_t>(count) * BytesPerPixel(fromFormat));
    } else if (fromFormat == FormatRGBA8888) {
        ReduceFromRGBA(from, toFormat, to, count);
    } else if (toFormat == FormatRGBA8888) {
        ExpandToRGBA(from, fromFormat, to, count);
    } else {
        // Through a small stack buffer, a chunk at a time, so no run
        // length ever needs a heap allocation.
        constexpr int kChunk = 256;
        alignas(16) uint8_t rgba[kChunk * 4];
        const int fromBytes = BytesPerPixel(fromFormat);
        const int toBytes = BytesPerPixel(toFormat);
        for (int done = 0; done < count; done += kChunk) {
            const int n = count - done < kChunk ? count - done : kChunk;
            ExpandToRGBA(from + static_cast<size_t>(done) * fromBytes, fromFormat, rgba, n);
            ReduceFromRGBA(rgba, toFormat, to + static_cast<size_t>(done) * toBytes, n);
        }
    }
}

}  // namespace vantrel
