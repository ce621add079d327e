#include "tools/assetgen/image_output.h"

#include <cstring>
#include <fstream>
#include <iterator>

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

bool WriteIco(const std::vector<std::pair<int, std::string>>& sizedPngs, const std::string& path) {
    std::vector<std::vector<char>> images;
    for (const auto& [size, png] : sizedPngs) {
        std::ifstream in(png, std::ios::binary);
        images.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) return false;
        if (images.back().empty() || size < 1 || size > 256) return false;
    }
    std::string ico;
    auto put16 = [&ico](uint32_t v) { ico += char(v & 0xff); ico += char(v >> 8 & 0xff); };
    auto put32 = [&put16](uint32_t v) { put16(v & 0xffff); put16(v >> 16); };
    put16(0);   // reserved
    put16(1);   // an icon, not a cursor
    put16(uint32_t(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = sizedPngs[i].first;
        ico += char(size == 256 ? 0 : size);   // width; 0 stands for 256
        ico += char(size == 256 ? 0 : size);   // height
        ico += char(0);                         // no palette
        ico += char(0);
        put16(1);    // colour planes
        put16(32);   // bits per pixel
        put32(uint32_t(images[i].size()));
        put32(offset);
        offset += uint32_t(images[i].size());
    }
    for (const std::vector<char>& image : images) ico.append(image.begin(), image.end());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(ico.data(), std::streamsize(ico.size()));
    return out.good();
}

}  // namespace assetgen
