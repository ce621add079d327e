// A floating-point RGBA picture with premultiplied alpha, painted from
// distance functions with anti-aliased coverage. All the generator's art is
// drawn here and converted to 8-bit straight-alpha pixels at the end.
// Painting never fails; coordinates outside the canvas are clipped.
// Main thread only (not shared between threads).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/assetgen/sdf.h"

namespace assetgen {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;  // premultiplied
};

// Pixels of the canvas box [x0, x1) x [y0, y1) a paint call visits.
struct Box {
    int x0, y0, x1, y1;
};

// Opacity of a pixel whose centre lies at signed distance d from an edge:
// a one-pixel-wide linear ramp centred on the edge.
inline float Coverage(float d) { return std::clamp(0.5f - d, 0.0f, 1.0f); }

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), px_(size_t(width) * height) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgba& At(int x, int y) { return px_[size_t(y) * width_ + x]; }
    const Rgba& At(int x, int y) const { return px_[size_t(y) * width_ + x]; }
    Box Whole() const { return {0, 0, width_, height_}; }

    // Composites over the canvas whatever shade(p) returns for each pixel
    // centre p: a premultiplied colour (alpha 0 leaves the pixel alone).
    template <class Shade>
    void Paint(Shade shade, Box box) {
        box = Clip(box);
        for (int y = box.y0; y < box.y1; ++y) {
            for (int x = box.x0; x < box.x1; ++x) {
                Rgba s = shade(Vec2{x + 0.5f, y + 0.5f});
                if (s.a <= 0) continue;
                Rgba& d = At(x, y);
                float k = 1 - s.a;
                d = {s.r + d.r * k, s.g + d.g * k, s.b + d.b * k, s.a + d.a * k};
            }
        }
    }
    template <class Shade>
    void Paint(Shade shade) { Paint(shade, Whole()); }

    // Grey level `grey` at opacity `alpha` inside the shape sdf.
    template <class Sdf>
    void Fill(Sdf sdf, float grey, float alpha, Box box) {
        Paint([&](Vec2 p) { return Grey(grey, alpha * Coverage(sdf(p))); }, box);
    }
    template <class Sdf>
    void Fill(Sdf sdf, float grey, float alpha) { Fill(sdf, grey, alpha, Whole()); }

    // A line of the given half width along the zero set of dist, which is
    // an unsigned distance (a curve) or a signed one (an outline).
    template <class Dist>
    void Stroke(Dist dist, float halfWidth, float grey, float alpha, Box box) {
        Fill([&](Vec2 p) { return std::abs(dist(p)) - halfWidth; }, grey, alpha, box);
    }
    template <class Dist>
    void Stroke(Dist dist, float halfWidth, float grey, float alpha) {
        Stroke(dist, halfWidth, grey, alpha, Whole());
    }

    // A soft halo fading out with distance from the shape (exponential
    // falloff of the given radius), full strength inside it.
    template <class Sdf>
    void Glow(Sdf sdf, float radius, float grey, float alpha, Box box) {
        Paint([&](Vec2 p) {
            float d = std::max(sdf(p), 0.0f);
            return Grey(grey, alpha * std::exp(-d / radius));
        }, box);
    }
    template <class Sdf>
    void Glow(Sdf sdf, float radius, float grey, float alpha) { Glow(sdf, radius, grey, alpha, Whole()); }

    // Removes paint inside the shape (destination-out), to cut gaps.
    template <class Sdf>
    void Erase(Sdf sdf, Box box) {
        box = Clip(box);
        for (int y = box.y0; y < box.y1; ++y)
            for (int x = box.x0; x < box.x1; ++x) {
                float k = 1 - Coverage(sdf(Vec2{x + 0.5f, y + 0.5f}));
                Rgba& d = At(x, y);
                d = {d.r * k, d.g * k, d.b * k, d.a * k};
            }
    }
    template <class Sdf>
    void Erase(Sdf sdf) { Erase(sdf, Whole()); }

    // Copies another canvas onto this one at (x, y), composited over.
    void Blit(const Canvas& src, int x, int y);

    // 8-bit RGBA rows, straight alpha. Fully transparent pixels take the
    // colour of the painted pixels around them, so that linear filtering of
    // the texture shows no dark fringe at the edges of light shapes.
    std::vector<uint8_t> ToRgba8() const;

    static Rgba Grey(float grey, float alpha) { return {grey * alpha, grey * alpha, grey * alpha, alpha}; }

private:
    Box Clip(Box b) const {
        return {std::max(b.x0, 0), std::max(b.y0, 0), std::min(b.x1, width_), std::min(b.y1, height_)};
    }

    int width_, height_;
    std::vector<Rgba> px_;
};

// The box of pixels around the disc of radius r about c.
inline Box BoxAround(Vec2 c, float r) {
    return {int(std::floor(c.x - r)), int(std::floor(c.y - r)), int(std::ceil(c.x + r)) + 1,
            int(std::ceil(c.y + r)) + 1};
}

}  // namespace assetgen
