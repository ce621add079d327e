// Image frames of the OpenGL 2D driver: one texture per image cell, sized to
// powers of two. A picture smaller than its texture has its last column and
// row repeated once into the spare area, so that filtering at the edges
// never reads undefined texels. Each frame keeps a map of where its
// texture can yield alpha above 0; under alpha and additive blending the
// parts of the window where it cannot are not filled at all.
//
// Failure: when the implementation accepts no texture size down to 1 x 1,
// CreateFromPixmap raises the runtime error "Unable to calculate tex size";
// an empty pixmap gives Null.
//
// Main thread only, with the OpenGL context of the 2D driver current.
#pragma once

#include <memory>

#include <vantrel/render/gl/gl_alpha_coverage.h>
#include <vantrel/render/gl/gl_visible_area.h>
#include <vantrel/render/image.h>

namespace vantrel {

class TPixmap;

class TGLImageFrame : public TImageFrame {
public:
    ~TGLImageFrame() override;

    void Draw(float x0, float y0, float x1, float y1, float tx, float ty,
              float sx, float sy, float sw, float sh) override;

    static Ref<TGLImageFrame> CreateFromPixmap(const Ref<TPixmap>& pixmap, int flags);

    float u0 = 0.0f, v0 = 0.0f;   // picture's top-left corner in the texture
    float u1 = 0.0f, v1 = 0.0f;   // picture's bottom-right corner
    float uscale = 0.0f, vscale = 0.0f;   // 1 / texture width, 1 / texture height
    unsigned name = 0;            // OpenGL texture; 0 when none
    int seq = 0;                  // GraphicsSeq() when made

private:
    void DrawQuad(float x0, float y0, float x1, float y1, float tx, float ty,
                  float sx, float sy, float sw, float sh) const;

    std::unique_ptr<GLAlphaCoverage> coverage_;   // none: always drawn whole
    GLVisibleAreaCache areas_;
};

// Smallest power of two at or above size (1 for sizes up to 1), at most 2^30.
int TextureSize(int size);

// The pixmap laid out as a tw x th texture in RGBA: the picture at (0, 0),
// its last column and row repeated once to the right and below when there is
// room; the rest of the spare area is transparent black. The picture must
// already fit.
Ref<TPixmap> TexturePixmap(const Ref<TPixmap>& picture, int tw, int th);

}  // namespace vantrel
