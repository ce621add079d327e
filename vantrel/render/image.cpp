#include <vantrel/render/image.h>

#include <vantrel/render/graphics.h>
#include <vantrel/render/vel2d.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/exceptions.h>

namespace vantrel {

namespace {

struct ImageSettings {
    int maskRed = 0, maskGreen = 0, maskBlue = 0;
    int autoImageFlags = ImageMasked | ImageFiltered;
    int autoMidHandle = 0;
};

ImageSettings& Settings() {
    static ImageSettings settings;
    return settings;
}

int ResolveFlags(int flags) { return flags == -1 ? Settings().autoImageFlags : flags; }

Ref<TImage> WithAutoHandle(const Ref<TImage>& image) {
    if (image && Settings().autoMidHandle != 0) CentreImageHandle(image);
    return image;
}

Ref<TPixmap> SourcePixmap(const Ref<Object>& source) {
    if (Ref<TPixmap> p = Cast<TPixmap>(source)) return p;
    return LoadPixmapFrom(source);
}

}  // namespace

TImage::~TImage() = default;

Ref<TImageFrame> TImage::Frame(int index) {
    int seq = GraphicsSeq();
    // A stored 0 always means "rebuild", even before any graphics bumped
    // the counter away from its initial 0.
    if (seqs->At(index) != 0 && seqs->At(index) == seq) return frames->At(index);
    Ref<TPixmap> p = Lock(index, 1, 0);
    Ref<TVel2DDriver> driver = CurrentVel2DDriver();
    Ref<TImageFrame> f = driver ? driver->CreateFrameFromPixmap(p, flags) : nullptr;
    frames->At(index) = f;
    seqs->At(index) = f ? seq : 0;
    return f;
}

Ref<TPixmap> TImage::Lock(int index, int /*read*/, int write) {
    Ref<TPixmap>& p = pixmaps->At(index);
    if (write != 0) {
        seqs->At(index) = 0;
        frames->At(index) = nullptr;
    }
    if (!p) {
        p = NewPixmap(width, height, FormatRGBA8888, 4);
        p->ClearPixels(0);   // a new cell is transparent, not leftover memory
    }
    return p;
}

void TImage::SetPixmap(int index, const Ref<TPixmap>& pixmap) {
    Ref<TPixmap> p = pixmap;
    if ((flags & ImageMasked) && p && PixelFormatAlphaBits[p->format] == 0) {
        p = MaskPixmapColor(p, mask_r, mask_g, mask_b);
    }
    pixmaps->At(index) = p;
    seqs->At(index) = 0;
    frames->At(index) = nullptr;
}

Ref<TImage> TImage::Create(int width, int height, int cellCount, int flags,
                           int maskRed, int maskGreen, int maskBlue) {
    Ref<TImage> image = MakeRef<TImage>();
    image->width = width;
    image->height = height;
    image->flags = flags;
    image->mask_r = maskRed;
    image->mask_g = maskGreen;
    image->mask_b = maskBlue;
    image->pixmaps = NewArray<Ref<TPixmap>>(cellCount);
    image->frames = NewArray<Ref<TImageFrame>>(cellCount);
    image->seqs = NewArray<int>(cellCount);
    return image;
}

Ref<TImage> TImage::Load(const Ref<Object>& source, int flags, int maskRed, int maskGreen, int maskBlue) {
    Ref<TPixmap> pixmap = SourcePixmap(source);
    if (!pixmap) return nullptr;
    Ref<TImage> image = Create(pixmap->width, pixmap->height, 1, flags, maskRed, maskGreen, maskBlue);
    image->SetPixmap(0, pixmap);
    return image;
}

Ref<TImage> TImage::LoadAnim(const Ref<Object>& source, int cellWidth, int cellHeight, int firstCell,
                             int cellCount, int flags, int maskRed, int maskGreen, int maskBlue) {
    // Cells of no size cannot be cut; a negative range asks for cells that
    // do not exist.
    if (cellWidth <= 0 || cellHeight <= 0 || firstCell < 0 || cellCount < 0) return nullptr;
    Ref<TPixmap> pixmap = SourcePixmap(source);
    if (!pixmap) return nullptr;
    int perRow = pixmap->width / cellWidth;
    int rows = pixmap->height / cellHeight;
    if (static_cast<int64_t>(perRow) * rows < static_cast<int64_t>(firstCell) + cellCount) return nullptr;
    Ref<TImage> image = Create(cellWidth, cellHeight, cellCount, flags, maskRed, maskGreen, maskBlue);
    for (int i = firstCell; i < firstCell + cellCount; ++i) {
        Ref<TPixmap> cell = pixmap->Window(cellWidth * (i % perRow), cellHeight * (i / perRow), cellWidth, cellHeight);
        image->SetPixmap(i - firstCell, cell->Copy());
    }
    return image;
}

Ref<TImage> LoadImageFile(const Ref<Object>& source, int flags) {
    ImageSettings& s = Settings();
    return WithAutoHandle(TImage::Load(source, ResolveFlags(flags), s.maskRed, s.maskGreen, s.maskBlue));
}

Ref<TImage> LoadAnimImageFile(const Ref<Object>& source, int cellWidth, int cellHeight,
                              int firstCell, int cellCount, int flags) {
    ImageSettings& s = Settings();
    return WithAutoHandle(TImage::LoadAnim(source, cellWidth, cellHeight, firstCell, cellCount,
                                           ResolveFlags(flags), s.maskRed, s.maskGreen, s.maskBlue));
}

Ref<TImage> NewImage(int width, int height, int cellCount, int flags) {
    ImageSettings& s = Settings();
    return WithAutoHandle(TImage::Create(width, height, cellCount, ResolveFlags(flags) | ImageDynamic,
                                         s.maskRed, s.maskGreen, s.maskBlue));
}

void SetImageHandleAt(const Ref<TImage>& image, float x, float y) {
    image->handle_x = x;
    image->handle_y = y;
}

void CentreImageHandle(const Ref<TImage>& image) {
    image->handle_x = static_cast<float>(image->width) * 0.5f;
    image->handle_y = static_cast<float>(image->height) * 0.5f;
}

void SetAutoMidHandle(int enable) { Settings().autoMidHandle = enable; }

void SetAutoImageFlags(int flags) {
    if (flags != -1) Settings().autoImageFlags = flags;
}

int GetAutoImageFlags() { return Settings().autoImageFlags; }

void SetImageMaskColor(int red, int green, int blue) {
    ImageSettings& s = Settings();
    s.maskRed = red;
    s.maskGreen = green;
    s.maskBlue = blue;
}

void GetImageMaskColor(int& red, int& green, int& blue) {
    ImageSettings& s = Settings();
    red = s.maskRed;
    green = s.maskGreen;
    blue = s.maskBlue;
}

int GetImageWidth(const Ref<TImage>& image) { return image->width; }
int GetImageHeight(const Ref<TImage>& image) { return image->height; }

Ref<TPixmap> LockImagePixels(const Ref<TImage>& image, int frame, int read, int write) {
    return image->Lock(frame, read, write);
}

void UnlockImagePixels(const Ref<TImage>& image, int frame) {
    // A writing lock already dropped the frame; only the index is checked.
    CheckIndex(frame, image->pixmaps->Length());
}

void GrabImageFromScreen(const Ref<TImage>& image, int x, int y, int frame) {
    Ref<TVel2DDriver> driver = CurrentVel2DDriver();
    if (!driver) RaiseRuntimeError("No current 2D graphics");
    Ref<TPixmap> p = driver->GrabPixmap(x, y, image->width, image->height);
    if (image->flags & ImageMasked) {
        ImageSettings& s = Settings();
        p = MaskPixmapColor(p, s.maskRed, s.maskGreen, s.maskBlue);
    }
    image->SetPixmap(frame, p);
}

void StartImageModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartPixmapModule();
    StartGraphicsModule();
}

}  // namespace vantrel
