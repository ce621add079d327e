// The shared look of the art: shapes drawn as a dark translucent body with
// a bright outline and a soft halo, like lit tubes over tinted glass.
// Main thread only (paints into the caller's canvas).
#pragma once

#include "tools/assetgen/canvas.h"

namespace assetgen {

struct NeonStyle {
    float bodyGrey = 0.25f, bodyAlpha = 0.6f;   // fill inside the shape
    float lineGrey = 1.0f, lineHalfWidth = 1.1f; // outline along its edge
    float glowRadius = 2.5f, glowAlpha = 0.35f;  // halo outside it
};

// The filled shape sdf in the neon style; the outline is drawn just inside
// the edge so the shape keeps its size.
template <class Sdf>
void NeonShape(Canvas& c, Sdf sdf, const NeonStyle& s, Box box) {
    c.Paint([&](Vec2 p) {
        float d = sdf(p);
        float halo = s.glowAlpha * std::exp(-std::max(d, 0.0f) / s.glowRadius) * (1 - Coverage(d));
        return Canvas::Grey(s.lineGrey, halo);
    }, box);
    c.Fill(sdf, s.bodyGrey, s.bodyAlpha, box);
    c.Stroke([&](Vec2 p) { return sdf(p) + s.lineHalfWidth; }, s.lineHalfWidth, s.lineGrey, 1.0f, box);
}
template <class Sdf>
void NeonShape(Canvas& c, Sdf sdf, const NeonStyle& s) { NeonShape(c, sdf, s, c.Whole()); }

// A lit line along the curve dist (unsigned distance) with its halo.
template <class Dist>
void NeonLine(Canvas& c, Dist dist, float halfWidth, float grey, float glowAlpha, Box box) {
    c.Glow([&](Vec2 p) { return dist(p) - halfWidth; }, 2.0f, grey, glowAlpha, box);
    c.Stroke(dist, halfWidth, grey, 1.0f, box);
}
template <class Dist>
void NeonLine(Canvas& c, Dist dist, float halfWidth, float grey, float glowAlpha) {
    NeonLine(c, dist, halfWidth, grey, glowAlpha, c.Whole());
}

}  // namespace assetgen
