#include "tools/assetgen/preview.h"

#include "tools/assetgen/art.h"

namespace assetgen {
namespace {

float Channel(double hue, int sat, int val) {
    double k = 3.14159265358979323846 / 180.0;
    double level = std::clamp(0.5 + (std::cos(hue * k) / std::cos(60 * k)) / 2, 0.0, 1.0);
    return float(int((255.0 * val + (level - 1) * val * sat) / 255.0)) / 255.0f;
}

// Bilinear sample of a premultiplied picture inside `cell`; outside it the
// picture is transparent.
Rgba Sample(const Canvas& image, Box cell, float u, float v) {
    u -= 0.5f;
    v -= 0.5f;
    int x0 = int(std::floor(u)), y0 = int(std::floor(v));
    float fx = u - x0, fy = v - y0;
    Rgba out;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            int x = x0 + i, y = y0 + j;
            if (x < cell.x0 || y < cell.y0 || x >= cell.x1 || y >= cell.y1) continue;
            float w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
            const Rgba& p = image.At(x, y);
            out = {out.r + p.r * w, out.g + p.g * w, out.b + p.b * w, out.a + p.a * w};
        }
    return out;
}

}  // namespace

Rgb HueColour(double hue, int sat, int val) {
    return {Channel(hue, sat, val), Channel(hue - 120, sat, val), Channel(hue - 240, sat, val)};
}

void DrawImage(Canvas& screen, const Canvas& image, Box cell, Vec2 handle, float x, float y, const DrawState& s) {
    float w = float(cell.x1 - cell.x0), h = float(cell.y1 - cell.y0);
    float reach = (std::abs(s.scaleX) + std::abs(s.scaleY)) * (w + h);
    Box box = BoxAround({x, y}, reach);
    box = {std::max(box.x0, 0), std::max(box.y0, 0), std::min(box.x1, screen.Width()),
           std::min(box.y1, screen.Height())};
    float sn = std::sin(Radians(s.rotation)), cs = std::cos(Radians(s.rotation));
    for (int py = box.y0; py < box.y1; ++py)
        for (int px = box.x0; px < box.x1; ++px) {
            // Screen point back to cell pixels: undo translation, rotation
            // and scale.
            float dx = px + 0.5f - x, dy = py + 0.5f - y;
            float u = (dx * cs + dy * sn) / s.scaleX + handle.x + cell.x0;
            float v = (-dx * sn + dy * cs) / s.scaleY + handle.y + cell.y0;
            if (u < cell.x0 - 1 || v < cell.y0 - 1 || u > cell.x1 + 1 || v > cell.y1 + 1) continue;
            Rgba p = Sample(image, cell, u, v);
            if (p.a <= 0) continue;
            Rgba src = {p.r * s.colour.r * s.alpha, p.g * s.colour.g * s.alpha, p.b * s.colour.b * s.alpha,
                        p.a * s.alpha};
            Rgba& d = screen.At(px, py);
            float keep = s.blend == Blend::Alpha ? 1 - src.a : 1.0f;
            d = {std::min(1.0f, src.r + d.r * keep), std::min(1.0f, src.g + d.g * keep),
                 std::min(1.0f, src.b + d.b * keep), 1.0f};
        }
}

void DrawText(Canvas& screen, const Canvas& font, std::string_view text, int x, int y, float scale, int alignX,
              int alignY, DrawState s) {
    int len = int(text.size());
    int px = int(x - kFontOffX * scale);
    if (alignX == 1) px = int(px - (len * kFontAdvance) * scale);
    if (alignX == 2) px = int(px - (len * kFontAdvance) * 0.5 * scale);
    int py = int(y - kFontOffY * scale);
    if (alignY == 1) py = int(py - kFontHeight * scale);
    if (alignY == 2) py = int(py - kFontHeight * 0.5 * scale);
    s.scaleX = s.scaleY = scale;
    s.rotation = 0;
    for (int i = 0; i < len; ++i) {
        int code = static_cast<unsigned char>(text[i]);
        Box cell{code % 16 * kFontCell, code / 16 * kFontCell, code % 16 * kFontCell + kFontCell,
                 code / 16 * kFontCell + kFontCell};
        DrawImage(screen, font, cell, {0, 0}, px + i * scale * kFontAdvance, float(py), s);
    }
}

void Clear(Canvas& screen, Rgb colour) {
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x) screen.At(x, y) = {colour.r, colour.g, colour.b, 1};
}

}  // namespace assetgen
