// Images: drawable pictures of one or more equally sized cells (animation
// frames). Each cell keeps its pixels in a TPixmap and, separately, a
// driver-made drawing frame built lazily from the pixmap on first draw and
// rebuilt whenever GraphicsSeq() changed, so images survive closing and
// reopening graphics. The drawing commands taking images are in
// render/vel2d.h.
//
// Failure: loaders return Null for a missing or unreadable source or when
// more cells are asked than the picture holds; a frame the driver cannot
// build is Null and drawing skips the image. A cell index outside the image
// raises TArrayBoundsException.
//
// Main thread only.
#pragma once

#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/array.h>
#include <vantrel/runtime/object.h>

namespace vantrel {

// Image flags, combined by OR.
inline constexpr int ImageMasked = 1;     // pixmaps without alpha are keyed by the mask colour
inline constexpr int ImageFiltered = 2;   // linear filtering when scaled or rotated
inline constexpr int ImageMipmapped = 4;
inline constexpr int ImageDynamic = 8;    // meant to be drawn into or locked

// A driver-specific drawing frame of one image cell.
class TImageFrame : public Object {
public:
    // Draws the source rectangle (sx, sy, sw, sh), in cell pixels, onto the
    // quadrilateral whose local corners (x0, y0), (x1, y0), (x1, y1),
    // (x0, y1) are transformed by the driver's current matrix and translated
    // by (tx, ty). Raises TNullMethodException unless overridden.
    virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty,
                      float sx, float sy, float sw, float sh);
};

class TImage : public Object {
public:
    ~TImage() override;

    virtual int _pad() { return 0; }
    // The cell's frame, rebuilt from its pixmap by the current 2D driver when
    // it was made under another GraphicsSeq(); Null when the driver cannot
    // make one.
    virtual Ref<TImageFrame> Frame(int index);
    // The cell's pixmap, created blank (RGBA) when the cell has none. A
    // writing lock drops the frame so that changed pixels show on the next
    // draw. read is not used.
    virtual Ref<TPixmap> Lock(int index, int read, int write);
    // Stores the pixmap for the cell (masked first when the image is masked
    // and the pixmap has no alpha) and drops the cell's frame.
    virtual void SetPixmap(int index, const Ref<TPixmap>& pixmap);

    static Ref<TImage> Create(int width, int height, int cellCount, int flags,
                              int maskRed, int maskGreen, int maskBlue);
    // source: a TPixmap (used directly), or a path, URL or stream to load one from.
    static Ref<TImage> Load(const Ref<Object>& source, int flags, int maskRed, int maskGreen, int maskBlue);
    // Cuts cellCount cells of cellWidth x cellHeight, from firstCell on,
    // numbered left to right then top to bottom; partial cells at the right
    // and bottom edges are ignored.
    static Ref<TImage> LoadAnim(const Ref<Object>& source, int cellWidth, int cellHeight, int firstCell,
                                int cellCount, int flags, int maskRed, int maskGreen, int maskBlue);

    int width = 0, height = 0;   // one cell
    int flags = 0;
    int mask_r = 0, mask_g = 0, mask_b = 0;
    // The point of a cell placed at the drawing position (0, 0: top left).
    float handle_x = 0.0f, handle_y = 0.0f;
    Array<Ref<TPixmap>> pixmaps;
    Array<Ref<TImageFrame>> frames;
    // GraphicsSeq() at which each frame was built; 0: must be rebuilt.
    Array<int> seqs;
};

// Front procedures. flags -1 means the automatic image flags; new images
// take the current mask colour and, when enabled, a centred handle.
Ref<TImage> LoadImageFile(const Ref<Object>& source, int flags = -1);
Ref<TImage> LoadAnimImageFile(const Ref<Object>& source, int cellWidth, int cellHeight,
                              int firstCell, int cellCount, int flags = -1);
Ref<TImage> NewImage(int width, int height, int cellCount = 1, int flags = -1);
void SetImageHandleAt(const Ref<TImage>& image, float x, float y);
void CentreImageHandle(const Ref<TImage>& image);
void SetAutoMidHandle(int enable);
void SetAutoImageFlags(int flags);
int GetAutoImageFlags();
void SetImageMaskColor(int red, int green, int blue);
void GetImageMaskColor(int& red, int& green, int& blue);
int GetImageWidth(const Ref<TImage>& image);
int GetImageHeight(const Ref<TImage>& image);
Ref<TPixmap> LockImagePixels(const Ref<TImage>& image, int frame = 0, int read = 1, int write = 1);
void UnlockImagePixels(const Ref<TImage>& image, int frame = 0);
// Copies the screen rectangle at (x, y) of the image's size into the cell,
// masked with the current mask colour when the image is masked.
void GrabImageFromScreen(const Ref<TImage>& image, int x, int y, int frame = 0);

void StartImageModule();

}  // namespace vantrel
