#include "tools/assetgen/image_output.h"

#include <cstring>

#include <vantrel/resources/png_pixmap.h>
#include <vantrel/runtime/string.h>

namespace assetgen {

vantrel::Ref<vantrel::TPixmap> ToPixmap(const Canvas& canvas) {
    using namespace vantrel;
    std::vector<uint8_t> rgba = canvas.ToRgba8();
    Ref<TPixmap> pixmap = NewPixmap(canvas.Width(), canvas.Height(), FormatRGBA8888, 4);
    const size_t row = size_t(canvas.Width()) * 4;
    for (int y = 0; y < canvas.Height(); ++y) std::memcpy(pixmap->PixelPtr(0, y), rgba.data() + row * size_t(y), row);
    return pixmap;
}

bool WritePng(const Canvas& canvas, const std::string& path) {
    using namespace vantrel;
    StartPngModule();
    return EncodePngPixmap(ToPixmap(canvas), String::FromUtf8(path), 9) == 1;
}

}  // namespace assetgen
