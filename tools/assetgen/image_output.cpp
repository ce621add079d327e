#include "tools/assetgen/image_output.h"

#include <png.h>

#include <cstdio>

namespace assetgen {

// Interim writer until the engine's pixmap encoder is available.
bool WritePng(const Canvas& canvas, const std::string& path) {
    std::vector<uint8_t> rgba = canvas.ToRgba8();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, canvas.Width(), canvas.Height(), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_bytep> rows(canvas.Height());
    for (int y = 0; y < canvas.Height(); ++y) rows[y] = rgba.data() + size_t(y) * canvas.Width() * 4;
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, 0, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

}  // namespace assetgen
