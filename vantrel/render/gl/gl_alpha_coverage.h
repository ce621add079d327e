// Where a texture can yield alpha above 0: a map, in blocks of texels, of
// the texels whose samples may read a texel with alpha above 0 at any level
// the texture holds, under nearest or linear filtering with edge clamping.
// The image frames use it to leave out screen areas where a blend mode that
// ignores alpha-0 sources would change nothing.
//
// Failure: none; an empty map (no level added) reports nothing reachable.
//
// Any thread; one object is not shared between threads while it is built.
#pragma once

#include <cstdint>
#include <vector>

namespace vantrel {

class TPixmap;

class GLAlphaCoverage {
public:
    // A map for a texture of tw x th texels at level 0.
    GLAlphaCoverage(int tw, int th);

    // Adds the RGBA8888 pixels of the level that halves level 0 `level`
    // times. Call for every level uploaded, then Finish.
    void AddLevel(const TPixmap& pixels, int level);
    void Finish();

    // Whether a sample taken anywhere in the level-0 texel rectangle
    // [s0, s1] x [t0, t1] (texel units, edges clamped to the texture) may
    // read alpha above 0.
    bool Reachable(double s0, double t0, double s1, double t1) const;

    bool Nothing() const { return marked_ == 0; }
    bool Everywhere() const { return marked_ == static_cast<int64_t>(bw_) * bh_; }

private:
    static constexpr int kBlock = 4;   // texels per block side
    void MarkTexels(int64_t i0, int64_t j0, int64_t i1, int64_t j1);
    int TexelIndex(double s, int size) const;

    int tw_, th_, bw_, bh_;
    std::vector<uint8_t> blocks_;      // bw_ x bh_, 1 where reachable
    std::vector<int32_t> sums_;        // (bw_ + 1) x (bh_ + 1) prefix sums of blocks_
    int64_t marked_ = 0;
};

}  // namespace vantrel
