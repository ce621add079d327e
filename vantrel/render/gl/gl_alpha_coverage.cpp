#include <vantrel/render/gl/gl_alpha_coverage.h>

#include <algorithm>
#include <cmath>

#include <vantrel/resources/pixmap.h>

namespace vantrel {

GLAlphaCoverage::GLAlphaCoverage(int tw, int th)
    : tw_(tw), th_(th), bw_((tw + kBlock - 1) / kBlock), bh_((th + kBlock - 1) / kBlock),
      blocks_(static_cast<size_t>(bw_) * bh_, 0) {}

void GLAlphaCoverage::MarkTexels(int64_t i0, int64_t j0, int64_t i1, int64_t j1) {
    i0 = std::max<int64_t>(i0, 0);
    j0 = std::max<int64_t>(j0, 0);
    i1 = std::min<int64_t>(i1, tw_ - 1);
    j1 = std::min<int64_t>(j1, th_ - 1);
    for (int64_t b = j0 / kBlock; b <= j1 / kBlock; ++b) {
        uint8_t* row = &blocks_[static_cast<size_t>(b) * bw_];
        std::fill(row + i0 / kBlock, row + i1 / kBlock + 1, uint8_t{1});
    }
}

void GLAlphaCoverage::AddLevel(const TPixmap& pixels, int level) {
    // A sample at level-0 position u reads, at this level, texels within one
    // of floor(u / 2^level) under either filter, so level texel a is reached
    // from the level-0 texels whose index, shifted down, lies in a-1 .. a+1.
    for (int b = 0; b < pixels.height; ++b) {
        const uint8_t* p = pixels.PixelPtr(0, b);
        for (int a = 0; a < pixels.width; ++a) {
            if (p[4 * a + 3] == 0) continue;
            int run = a;
            while (run + 1 < pixels.width && p[4 * (run + 1) + 3] != 0) ++run;
            const int64_t scale = int64_t{1} << level;
            MarkTexels((a - 1) * scale, (b - 1) * scale, (run + 2) * scale - 1, (b + 2) * scale - 1);
            a = run;
        }
    }
}

void GLAlphaCoverage::Finish() {
    sums_.assign(static_cast<size_t>(bw_ + 1) * (bh_ + 1), 0);
    marked_ = 0;
    for (int y = 0; y < bh_; ++y) {
        int32_t rowSum = 0;
        for (int x = 0; x < bw_; ++x) {
            rowSum += blocks_[static_cast<size_t>(y) * bw_ + x];
            sums_[static_cast<size_t>(y + 1) * (bw_ + 1) + x + 1] = sums_[static_cast<size_t>(y) * (bw_ + 1) + x + 1] + rowSum;
        }
        marked_ += rowSum;
    }
}

int GLAlphaCoverage::TexelIndex(double s, int size) const {
    // Edge clamping reads the first or last texel for anything beyond.
    if (!(s > 0)) return 0;
    if (s >= size - 1) return size - 1;
    return static_cast<int>(s);
}

bool GLAlphaCoverage::Reachable(double s0, double t0, double s1, double t1) const {
    if (sums_.empty() || marked_ == 0) return false;
    int x0 = TexelIndex(s0, tw_) / kBlock, x1 = TexelIndex(s1, tw_) / kBlock;
    int y0 = TexelIndex(t0, th_) / kBlock, y1 = TexelIndex(t1, th_) / kBlock;
    auto at = [&](int x, int y) { return sums_[static_cast<size_t>(y) * (bw_ + 1) + x]; };
    return at(x1 + 1, y1 + 1) - at(x0, y1 + 1) - at(x1 + 1, y0) + at(x0, y0) > 0;
}

}  // namespace vantrel
