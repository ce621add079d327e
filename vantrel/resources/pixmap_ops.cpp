// Whole-pixmap operations that make a new pixmap: colour-key masking,
// mirroring and bilinear scaling.

#include <cmath>
#include <cstring>
#include <vector>

#include <vantrel/resources/pixmap.h>

// Scaled pixels depend on every single-precision rounding step; a fused
// multiply-add would round differently on some machines.
#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace vantrel {
namespace {

// The pixmap itself when it is already in format 6, else a format-6 copy.
Ref<TPixmap> AsRGBA(const Ref<TPixmap>& pixmap) {
    return pixmap->format == FormatRGBA8888 ? pixmap : pixmap->Convert(FormatRGBA8888);
}

// One output coordinate of the bilinear filter: the two source samples it
// blends and the weight of the second.
struct Tap {
    int first;
    int second;
    float weight;
};

std::vector<Tap> BilinearTaps(int sourceSize, int size) {
    std::vector<Tap> taps(static_cast<size_t>(size));
    const float ratio = static_cast<float>(sourceSize) / static_cast<float>(size);
    for (int i = 0; i < size; ++i) {
        const float s = (static_cast<float>(i) + 0.5f) * ratio - 0.5f;
        const float base = std::floor(s);
        const int i0 = static_cast<int>(base);
        if (i0 < 0)
            taps[i] = {0, 0, 0.0f};
        else if (i0 >= sourceSize - 1)
            taps[i] = {sourceSize - 1, sourceSize - 1, 0.0f};
        else
            taps[i] = {i0, i0 + 1, s - base};
    }
    return taps;
}

}  // namespace

Ref<TPixmap> MaskPixmapColor(const Ref<TPixmap>& pixmap, int red, int green, int blue) {
    const Ref<TPixmap> src = AsRGBA(pixmap);
    const int w = src->width, h = src->height;
    Ref<TPixmap> out = TPixmap::Create(w, h, FormatRGBA8888, 4);
    if (w == 0 || h == 0) return out;
    auto keyed = [&](const uint8_t* p) { return p[0] == red && p[1] == green && p[2] == blue; };
    for (int y = 0; y < h; ++y) {
        // The rows above and below, where they exist, for the neighbours.
        const uint8_t* rows[3] = {y > 0 ? src->PixelPtr(0, y - 1) : nullptr, src->PixelPtr(0, y),
                                  y + 1 < h ? src->PixelPtr(0, y + 1) : nullptr};
        uint8_t* o = out->PixelPtr(0, y);
        for (int x = 0; x < w; ++x, o += 4) {
            const uint8_t* in = rows[1] + x * 4;
            if (!keyed(in)) {
                o[0] = in[0];
                o[1] = in[1];
                o[2] = in[2];
                o[3] = 255;
                continue;
            }
            int sum[3] = {0, 0, 0}, count = 0;
            for (int r = 0; r < 3; ++r) {
                if (!rows[r]) continue;
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if (nx < 0 || nx >= w || (r == 1 && nx == x)) continue;
                    const uint8_t* n = rows[r] + nx * 4;
                    if (keyed(n)) continue;
                    sum[0] += n[0];
                    sum[1] += n[1];
                    sum[2] += n[2];
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c) o[c] = static_cast<uint8_t>(count ? sum[c] / count : 0);
            o[3] = 0;
        }
    }
    return out;
}

Ref<TPixmap> MirrorPixmapX(const Ref<TPixmap>& pixmap) {
    const TPixmap& in = *pixmap;
    Ref<TPixmap> out = TPixmap::Create(in.width, in.height, in.format, 4);
    if (in.width == 0) return out;
    const int bpp = in.BytesPerPixel();
    for (int y = 0; y < in.height; ++y) {
        const uint8_t* s = in.PixelPtr(in.width - 1, y);
        uint8_t* d = out->PixelPtr(0, y);
        for (int x = 0; x < in.width; ++x, s -= bpp, d += bpp) std::memcpy(d, s, static_cast<size_t>(bpp));
    }
    return out;
}

Ref<TPixmap> MirrorPixmapY(const Ref<TPixmap>& pixmap) {
    const TPixmap& in = *pixmap;
    Ref<TPixmap> out = TPixmap::Create(in.width, in.height, in.format, 4);
    if (in.width == 0) return out;
    const size_t rowBytes = static_cast<size_t>(in.width) * in.BytesPerPixel();
    for (int y = 0; y < in.height; ++y)
        std::memcpy(out->PixelPtr(0, y), in.PixelPtr(0, in.height - 1 - y), rowBytes);
    return out;
}

Ref<TPixmap> ScalePixmap(const Ref<TPixmap>& pixmap, int width, int height) {
    Ref<TPixmap> out = TPixmap::Create(width, height, pixmap->format, 4);
    if (width == 0 || height == 0) return out;
    if (pixmap->width == 0 || pixmap->height == 0) {
        // Nothing to sample: the result is transparent black.
        out->ClearPixels(0);
        return out;
    }
    const Ref<TPixmap> src = AsRGBA(pixmap);
    const std::vector<Tap> xs = BilinearTaps(src->width, width);
    const std::vector<Tap> ys = BilinearTaps(src->height, height);
    std::vector<uint8_t> scratch(static_cast<size_t>(width) * 4);
    for (int i = 0; i < height; ++i) {
        const Tap& ty = ys[i];
        const uint8_t* r0 = src->PixelPtr(0, ty.first);
        const uint8_t* r1 = src->PixelPtr(0, ty.second);
        uint8_t* o = scratch.data();
        for (const Tap& tx : xs) {
            const uint8_t* p00 = r0 + tx.first * 4;
            const uint8_t* p10 = r0 + tx.second * 4;
            const uint8_t* p01 = r1 + tx.first * 4;
            const uint8_t* p11 = r1 + tx.second * 4;
            for (int c = 0; c < 4; ++c) {
                const float top = p00[c] + static_cast<float>(p10[c] - p00[c]) * tx.weight;
                const float bottom = p01[c] + static_cast<float>(p11[c] - p01[c]) * tx.weight;
                *o++ = static_cast<uint8_t>(static_cast<int>(top + (bottom - top) * ty.weight));
            }
        }
        ConvertPixels(scratch.data(), FormatRGBA8888, out->PixelPtr(0, i), out->format, width);
    }
    return out;
}

}  // namespace vantrel
