#include <vantrel/render/gl/gl_visible_area.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <vantrel/render/gl/gl_alpha_coverage.h>

namespace vantrel {

namespace {

constexpr int kCell = 16;   // window pixels per cell side
// Margins for rounding: vertices snapped to the rasteriser's sub-pixel grid
// and texture coordinates interpolated in single precision move a sample
// by far less than these.
constexpr double kPixelMargin = 0.125;
constexpr double kTexelMargin = 0.0625;
// Each part is one more draw, with its own set-up in the rasteriser and the
// driver: a cut must leave out at least this many pixels per extra draw,
// else the quad is drawn whole.
constexpr int64_t kPixelsPerExtraDraw = 2048;
// Below this many pixels a quad is drawn whole without looking for a cut:
// what the search costs would outweigh what a cut could save.
constexpr int64_t kSmallestCutQuad = 4096;

// Window pixels to texel coordinates: s = a * x + b * y + c, t = d * x + e * y + f.
struct InverseMap {
    double a, b, c, d, e, f;
};

bool Invert(const GLTexturedQuad& q, InverseMap& m) {
    double det = q.ix * q.jy - q.iy * q.jx;
    double du = q.x1 - q.x0, dv = q.y1 - q.y0;
    if (det == 0 || du == 0 || dv == 0 || !std::isfinite(det) || !std::isfinite(du) || !std::isfinite(dv)) {
        return false;
    }
    // local = inverse(matrix) * (window - offset), then texel = s0 + (local - x0) * ds.
    double su = (q.s1 - q.s0) / du, sv = (q.t1 - q.t0) / dv;
    double ua = q.jy / det, ub = -q.iy / det, va = -q.jx / det, vb = q.ix / det;
    double uc = -(ua * q.ox + ub * q.oy), vc = -(va * q.ox + vb * q.oy);
    m = {ua * su, ub * su, q.s0 + (uc - q.x0) * su, va * sv, vb * sv, q.t0 + (vc - q.y0) * sv};
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.e) && std::isfinite(m.f);
}

bool CellReachable(const InverseMap& m, const GLAlphaCoverage& coverage, double x0, double y0, double x1,
                   double y1) {
    x0 -= kPixelMargin;
    y0 -= kPixelMargin;
    x1 += kPixelMargin;
    y1 += kPixelMargin;
    // An affine map sends the cell's corners to a parallelogram: their
    // bounds are the bounds of every point inside.
    double s[4] = {m.a * x0 + m.b * y0 + m.c, m.a * x1 + m.b * y0 + m.c, m.a * x0 + m.b * y1 + m.c,
                   m.a * x1 + m.b * y1 + m.c};
    double t[4] = {m.d * x0 + m.e * y0 + m.f, m.d * x1 + m.e * y0 + m.f, m.d * x0 + m.e * y1 + m.f,
                   m.d * x1 + m.e * y1 + m.f};
    auto [sMin, sMax] = std::minmax_element(s, s + 4);
    auto [tMin, tMax] = std::minmax_element(t, t + 4);
    return coverage.Reachable(*sMin - kTexelMargin, *tMin - kTexelMargin, *sMax + kTexelMargin,
                              *tMax + kTexelMargin);
}

// Adds the run of columns [x0, x1) over the rows [y0, y1), extending a
// rectangle of the cell row above with the same columns if there is one.
void AddRun(std::vector<GLWindowRect>& rects, int x0, int x1, int y0, int y1) {
    for (size_t i = 0; i < rects.size(); ++i) {
        GLWindowRect& r = rects[i];
        if (r.x == x0 && r.width == x1 - x0 && r.y + r.height == y0) {
            r.height = y1 - r.y;
            return;
        }
    }
    rects.push_back({x0, y0, x1 - x0, y1 - y0});
}

}  // namespace

GLVisibleArea FindVisibleArea(const GLTexturedQuad& q, const GLAlphaCoverage& coverage, const GLWindowRect& clip,
                              std::vector<GLWindowRect>& rects) {
    rects.clear();
    if (coverage.Nothing()) return GLVisibleArea::Nothing;
    InverseMap m{};
    if (coverage.Everywhere() || !Invert(q, m)) return GLVisibleArea::Whole;

    // Bounds of the quad's corners in window pixels, within the clip.
    double xs[4], ys[4];
    const double lx[4] = {q.x0, q.x1, q.x1, q.x0}, ly[4] = {q.y0, q.y0, q.y1, q.y1};
    for (int k = 0; k < 4; ++k) {
        xs[k] = lx[k] * q.ix + ly[k] * q.iy + q.ox;
        ys[k] = lx[k] * q.jx + ly[k] * q.jy + q.oy;
    }
    double left = std::max<double>(std::floor(*std::min_element(xs, xs + 4)) - 1, clip.x);
    double top = std::max<double>(std::floor(*std::min_element(ys, ys + 4)) - 1, clip.y);
    double right = std::min<double>(std::ceil(*std::max_element(xs, xs + 4)) + 1, static_cast<double>(clip.x) + clip.width);
    double bottom = std::min<double>(std::ceil(*std::max_element(ys, ys + 4)) + 1, static_cast<double>(clip.y) + clip.height);
    if (!(left < right && top < bottom)) return GLVisibleArea::Nothing;
    int x0 = static_cast<int>(left), y0 = static_cast<int>(top);
    int x1 = static_cast<int>(right), y1 = static_cast<int>(bottom);
    if (static_cast<int64_t>(x1 - x0) * (y1 - y0) < kSmallestCutQuad) return GLVisibleArea::Whole;

    // Cells on a grid fixed to the window, so that a moving image does not
    // shift the cuts from frame to frame.
    auto gridBelow = [](int v) { return v >= 0 ? v / kCell * kCell : -((-v + kCell - 1) / kCell) * kCell; };
    int firstX = gridBelow(x0);
    for (int cy = gridBelow(y0); cy < y1; cy += kCell) {
        int rowTop = std::max(cy, y0), rowBottom = std::min(cy + kCell, y1);
        int runStart = -1;
        for (int cx = firstX; cx < x1; cx += kCell) {
            int cellLeft = std::max(cx, x0), cellRight = std::min(cx + kCell, x1);
            bool visible = CellReachable(m, coverage, cellLeft, rowTop, cellRight, rowBottom);
            if (visible && runStart < 0) runStart = cellLeft;
            if (!visible && runStart >= 0) {
                AddRun(rects, runStart, cellLeft, rowTop, rowBottom);
                runStart = -1;
            }
        }
        if (runStart >= 0) AddRun(rects, runStart, x1, rowTop, rowBottom);
    }
    if (rects.empty()) return GLVisibleArea::Nothing;
    int64_t skipped = static_cast<int64_t>(x1 - x0) * (y1 - y0);
    for (const GLWindowRect& r : rects) skipped -= static_cast<int64_t>(r.width) * r.height;
    if (skipped == 0 || static_cast<int64_t>(rects.size()) - 1 > skipped / kPixelsPerExtraDraw) {
        return GLVisibleArea::Whole;
    }
    return GLVisibleArea::Parts;
}

GLVisibleArea GLVisibleAreaCache::Find(const GLTexturedQuad& quad, const GLAlphaCoverage& coverage,
                                       const GLWindowRect& clip, const std::vector<GLWindowRect>*& rects) {
    for (const Entry& e : entries_) {
        if (e.quad == quad && e.clip == clip) {
            rects = &e.rects;
            return e.area;
        }
    }
    if (entries_.size() < kEntries) {
        entries_.push_back({quad, clip, GLVisibleArea::Whole, {}});
        next_ = entries_.size() - 1;
    }
    Entry& e = entries_[next_];
    next_ = (next_ + 1) % kEntries;
    e.quad = quad;
    e.clip = clip;
    e.area = FindVisibleArea(quad, coverage, clip, e.rects);
    rects = &e.rects;
    return e.area;
}

}  // namespace vantrel
