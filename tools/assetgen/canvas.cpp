#include "tools/assetgen/canvas.h"

namespace assetgen {

void Canvas::Blit(const Canvas& src, int x, int y) {
    Paint([&](Vec2 p) {
        int sx = int(p.x) - x, sy = int(p.y) - y;
        return src.At(sx, sy);
    }, Box{x, y, x + src.Width(), y + src.Height()});
}

std::vector<uint8_t> Canvas::ToRgba8() const {
    std::vector<uint8_t> out(size_t(width_) * height_ * 4);
    // Straight colour of each pixel, and whether it was painted.
    std::vector<float> colour(size_t(width_) * height_ * 3, 1.0f);
    std::vector<uint8_t> known(size_t(width_) * height_, 0);
    for (size_t i = 0; i < px_.size(); ++i) {
        const Rgba& p = px_[i];
        uint8_t a = uint8_t(std::lround(std::clamp(p.a, 0.0f, 1.0f) * 255));
        if (a == 0) continue;
        colour[i * 3] = std::clamp(p.r / p.a, 0.0f, 1.0f);
        colour[i * 3 + 1] = std::clamp(p.g / p.a, 0.0f, 1.0f);
        colour[i * 3 + 2] = std::clamp(p.b / p.a, 0.0f, 1.0f);
        known[i] = 1;
    }
    // Spread colours a few pixels into the transparent area; what stays
    // unreached is white, the colour of all the art.
    for (int pass = 0; pass < 3; ++pass) {
        std::vector<uint8_t> next = known;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                size_t i = size_t(y) * width_ + x;
                if (known[i]) continue;
                float sum[3] = {0, 0, 0};
                int n = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
                        size_t j = size_t(ny) * width_ + nx;
                        if (!known[j]) continue;
                        for (int c = 0; c < 3; ++c) sum[c] += colour[j * 3 + c];
                        ++n;
                    }
                if (n == 0) continue;
                for (int c = 0; c < 3; ++c) colour[i * 3 + c] = sum[c] / n;
                next[i] = 1;
            }
        known.swap(next);
    }
    for (size_t i = 0; i < px_.size(); ++i) {
        for (int c = 0; c < 3; ++c) out[i * 4 + c] = uint8_t(std::lround(colour[i * 3 + c] * 255));
        out[i * 4 + 3] = uint8_t(std::lround(std::clamp(px_[i].a, 0.0f, 1.0f) * 255));
    }
    return out;
}

}  // namespace assetgen
