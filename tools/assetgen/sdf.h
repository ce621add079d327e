// Signed distance functions for the asset generator's shapes. Distances are
// in pixels, negative inside a shape; the canvas turns them into anti-aliased
// coverage. Pure functions; any thread.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetgen {

struct Vec2 {
    float x = 0, y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
inline float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float Length(Vec2 a) { return std::sqrt(Dot(a, a)); }

inline constexpr float kPi = 3.14159265358979f;
inline float Radians(float degrees) { return degrees * (kPi / 180.0f); }

// The unit vector of a compass angle: 0 degrees points up (-y), angles grow
// clockwise on screen, as the game numbers its directions.
inline Vec2 Compass(float degrees) {
    return {std::sin(Radians(degrees)), -std::cos(Radians(degrees))};
}

// p rotated by -degrees about c: maps a point of a rotated copy back into
// the frame of the shape drawn upright.
inline Vec2 Unrotate(Vec2 p, Vec2 c, float degrees) {
    float s = std::sin(Radians(degrees)), k = std::cos(Radians(degrees));
    Vec2 d = p - c;
    return {c.x + d.x * k + d.y * s, c.y - d.x * s + d.y * k};
}

inline float SdCircle(Vec2 p, Vec2 c, float r) { return Length(p - c) - r; }

// Distance to the segment a-b (zero width; subtract a half width to stroke).
inline float SdSegment(Vec2 p, Vec2 a, Vec2 b) {
    Vec2 pa = p - a, ba = b - a;
    float len2 = Dot(ba, ba);
    float h = len2 > 0 ? std::clamp(Dot(pa, ba) / len2, 0.0f, 1.0f) : 0.0f;
    return Length(pa - ba * h);
}

// Axis-aligned box centred on c with half sizes h and rounded corners r.
inline float SdBox(Vec2 p, Vec2 c, Vec2 h, float r = 0) {
    float qx = std::abs(p.x - c.x) - h.x + r, qy = std::abs(p.y - c.y) - h.y + r;
    float outside = Length({std::max(qx, 0.0f), std::max(qy, 0.0f)});
    return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

// Distance to the circular arc of radius r about c spanning the compass
// angles from a0 to a1 (a0 < a1, degrees), with round ends.
inline float SdArc(Vec2 p, Vec2 c, float r, float a0, float a1) {
    Vec2 d = p - c;
    float ang = std::atan2(d.x, -d.y) * (180.0f / kPi);
    float mid = (a0 + a1) * 0.5f;
    float rel = std::remainder(ang - mid, 360.0f);
    if (std::abs(rel) <= (a1 - a0) * 0.5f) return std::abs(Length(d) - r);
    Vec2 e0 = c + Compass(a0) * r, e1 = c + Compass(a1) * r;
    return std::min(Length(p - e0), Length(p - e1));
}

// Filled annular sector between radii r0 < r1 and compass angles a0 < a1,
// with straight radial ends.
inline float SdAnnularSector(Vec2 p, Vec2 c, float r0, float r1, float a0, float a1) {
    Vec2 d = p - c;
    float len = Length(d);
    float radial = std::max(r0 - len, len - r1);
    float ang = std::atan2(d.x, -d.y) * (180.0f / kPi);
    float mid = (a0 + a1) * 0.5f;
    float rel = std::abs(std::remainder(ang - mid, 360.0f)) - (a1 - a0) * 0.5f;
    // Angular excess measured as arc length at this radius, exact enough
    // near the ends for anti-aliasing.
    float side = rel > 90.0f ? len + 1.0f : len * std::sin(Radians(std::clamp(rel, -90.0f, 90.0f)));
    return std::max(radial, side);
}

// Convex or concave polygon (even-odd inside test).
inline float SdPolygon(Vec2 p, const std::vector<Vec2>& v) {
    float d = Dot(p - v[0], p - v[0]);
    bool inside = false;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
        Vec2 e = v[j] - v[i], w = p - v[i];
        float h = std::clamp(Dot(w, e) / Dot(e, e), 0.0f, 1.0f);
        Vec2 b = w - e * h;
        d = std::min(d, Dot(b, b));
        bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) inside = !inside;
    }
    return inside ? -std::sqrt(d) : std::sqrt(d);
}

// Distance to an open polyline.
inline float SdPolyline(Vec2 p, const std::vector<Vec2>& v) {
    float d = 1e9f;
    for (size_t i = 0; i + 1 < v.size(); ++i) d = std::min(d, SdSegment(p, v[i], v[i + 1]));
    return d;
}

}  // namespace assetgen
