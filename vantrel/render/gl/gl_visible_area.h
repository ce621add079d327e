// The parts of the window where a textured quad can change the screen under
// a blend mode that ignores sources of alpha 0: the window is cut into
// square cells, each cell's area is mapped back into the texture, and the
// cells whose texels can all only yield alpha 0 are left out when that
// saves enough to pay for the extra draws. The rest is
// returned as rectangles for the scissor box, so that the quad itself is
// drawn unchanged (same vertices, same texture coordinates). A pixel drawn
// may still differ by 1 in a channel where the rasteriser steps its
// interpolation from the scissor box's edge.
//
// Failure: none; a quad whose mapping cannot be inverted (zero or
// non-finite scale) is reported as wholly visible.
//
// Any thread.
#pragma once

#include <cstddef>
#include <vector>

namespace vantrel {

class GLAlphaCoverage;

struct GLWindowRect {
    int x, y, width, height;   // window pixels, rows from the top
    bool operator==(const GLWindowRect&) const = default;
};

// A quad in window pixels: corner k is at (x[k], y[k]); texel coordinates
// follow the affine map texel = (s0, t0) + local * (ds, dt), where local is
// the position in the quad's own frame before the matrix (ix iy / jx jy,
// scaled to window pixels) and the offset (ox, oy) placed it.
struct GLTexturedQuad {
    double ix, iy, jx, jy, ox, oy;   // local -> window pixels
    double x0, y0, x1, y1;           // local corners
    double s0, t0, s1, t1;           // texel coordinates at (x0, y0) and (x1, y1)
    bool operator==(const GLTexturedQuad&) const = default;
};

enum class GLVisibleArea { Whole, Nothing, Parts };

// Which part of the quad, inside clip, can change the screen. For Parts,
// rects holds disjoint rectangles inside clip that cover every such pixel.
GLVisibleArea FindVisibleArea(const GLTexturedQuad& quad, const GLAlphaCoverage& coverage, const GLWindowRect& clip,
                              std::vector<GLWindowRect>& rects);

// FindVisibleArea for one texture, remembering its latest answers: most
// images are drawn with the same placements frame after frame.
class GLVisibleAreaCache {
public:
    // The answer and, for Parts, its rectangles (valid until the next call).
    GLVisibleArea Find(const GLTexturedQuad& quad, const GLAlphaCoverage& coverage, const GLWindowRect& clip,
                       const std::vector<GLWindowRect>*& rects);

private:
    static constexpr size_t kEntries = 16;
    struct Entry {
        GLTexturedQuad quad;
        GLWindowRect clip;
        GLVisibleArea area;
        std::vector<GLWindowRect> rects;
    };
    std::vector<Entry> entries_;
    size_t next_ = 0;   // the entry replaced next once all are in use
};

}  // namespace vantrel
