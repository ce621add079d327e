#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "alloc_peak.h"
#include "memory_stream.h"
#include <vantrel/resources/png_pixmap.h>
#include <vantrel/resources/stream.h>
#include <vantrel/runtime/runtime.h>

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<fs::path> PngFiles(const char* folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(VANTREL_TEST_DATA) / folder))
        if (entry.path().extension() == ".png") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

void AppendChunk(std::vector<uint8_t>* png, const char* type, const uint8_t* data, size_t length) {
    std::vector<uint8_t> chunk(8 + length + 4);
    png_save_uint_32(chunk.data(), static_cast<png_uint_32>(length));
    std::memcpy(chunk.data() + 4, type, 4);
    if (length) std::memcpy(chunk.data() + 8, data, length);
    png_save_uint_32(chunk.data() + 8 + length,
                     static_cast<png_uint_32>(crc32(crc32(0, nullptr, 0), chunk.data() + 4, static_cast<uInt>(4 + length))));
    png->insert(png->end(), chunk.begin(), chunk.end());
}

// The image data of `height` rows that all hold `row`, deflated one row at
// a time, so that a large image costs no more than its compressed size.
std::vector<uint8_t> DeflateRows(const std::vector<uint8_t>& row, png_uint_32 height) {
    std::vector<uint8_t> line(1, 0);  // filter byte: none
    line.insert(line.end(), row.begin(), row.end());
    std::vector<uint8_t> packed(1 << 16);
    std::vector<uint8_t> data;
    z_stream z{};
    deflateInit(&z, 1);
    for (png_uint_32 y = 0; y <= height; ++y) {
        z.next_in = line.data();
        z.avail_in = y < height ? static_cast<uInt>(line.size()) : 0;
        do {
            z.next_out = packed.data();
            z.avail_out = static_cast<uInt>(packed.size());
            deflate(&z, y < height ? Z_NO_FLUSH : Z_FINISH);
            data.insert(data.end(), packed.data(), z.next_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return data;
}

// An 8-bit PNG with the given image data and `extra` chunks ahead of it.
std::vector<uint8_t> BuildPng(png_uint_32 width, png_uint_32 height, int colorType, const std::vector<uint8_t>& data,
                              const std::vector<std::pair<const char*, std::vector<uint8_t>>>& extra = {}) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    uint8_t ihdr[13] = {};
    png_save_uint_32(ihdr, width);
    png_save_uint_32(ihdr + 4, height);
    ihdr[8] = 8;
    ihdr[9] = static_cast<uint8_t>(colorType);
    AppendChunk(&png, "IHDR", ihdr, 13);
    for (const auto& [type, bytes] : extra) AppendChunk(&png, type, bytes.data(), bytes.size());
    AppendChunk(&png, "IDAT", data.data(), data.size());
    AppendChunk(&png, "IEND", nullptr, 0);
    return png;
}

// The same PNG with its colour-space chunks (gAMA, cHRM, sRGB, iCCP)
// replaced by one gAMA chunk: none at all for 8-bit samples (the simplified
// reader then takes them as sRGB), gamma 1.0 for 16-bit samples (it then
// passes them through as linear). Either way it leaves the samples as they
// are, as the loader does.
std::vector<uint8_t> WithPlainColourSpace(const std::vector<uint8_t>& png, bool linear) {
    std::vector<uint8_t> out(png.begin(), png.begin() + 8);
    for (size_t at = 8; at + 12 <= png.size();) {
        const size_t length = png_get_uint_32(png.data() + at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        const size_t end = std::min(png.size(), at + 12 + length);
        if (type != "gAMA" && type != "cHRM" && type != "sRGB" && type != "iCCP")
            out.insert(out.end(), png.begin() + at, png.begin() + end);
        if (type == "IHDR" && linear) {
            uint8_t gamma[4];
            png_save_uint_32(gamma, PNG_GAMMA_LINEAR);
            AppendChunk(&out, "gAMA", gamma, 4);
        }
        at = end;
    }
    return out;
}

// The image as libpng's simplified API decodes it: 8-bit RGBA, or for
// 16-bit files linear 16-bit RGBA (colours premultiplied by alpha).
template <class Sample>
bool Reference(const std::vector<uint8_t>& png, int* width, int* height, std::vector<Sample>* out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return false;
    image.format = sizeof(Sample) == 1 ? PNG_FORMAT_RGBA : PNG_FORMAT_LINEAR_RGB_ALPHA;
    out->resize(PNG_IMAGE_SIZE(image) / sizeof(Sample));
    if (!png_image_finish_read(&image, nullptr, out->data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return true;
}

std::vector<uint8_t> EncodeWithSimplifiedApi(int width, int height, png_uint_32 format, const std::vector<uint8_t>& pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = format;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr));
    std::vector<uint8_t> out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
    out.resize(size);
    return out;
}

Ref<TStream> Memory(std::vector<uint8_t> bytes) { return MakeRef<MemoryStream>(std::move(bytes)); }

// Nothing is started here: LoadPixmapFrom must find the PNG loader by itself.
class Png : public ::testing::Test {};

}  // namespace

TEST_F(Png, SuiteImagesMatchLibpngsSimplifiedReader) {
    int checked = 0;
    for (const fs::path& path : PngFiles("pngsuite")) {
        const std::string name = path.filename().string();
        if (name[0] == 'x') continue;
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = ReadFile(path);
        const int depth = bytes[24], colorType = bytes[25];
        Ref<TPixmap> pixmap = LoadPixmapFrom(String(path.string()));
        ASSERT_TRUE(pixmap);
        Ref<TPixmap> rgba = pixmap->Convert(FormatRGBA8888);
        auto ours = [&](int x, int y, int c) { return static_cast<int>(rgba->PixelPtr(x, y)[c]); };
        int w = 0, h = 0;

        if (depth == 16) {
            // The loader keeps the high byte of each sample.
            std::vector<uint16_t> ref;
            ASSERT_TRUE(Reference(WithPlainColourSpace(bytes, true), &w, &h, &ref));
            ASSERT_TRUE(pixmap->width == w && pixmap->height == h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint16_t* p = &ref[(static_cast<size_t>(y) * w + x) * 4];
                    const int64_t alpha = p[3];
                    ASSERT_EQ(ours(x, y, 3), alpha >> 8) << x << "," << y;
                    for (int c = 0; c < 3; ++c) {
                        // Premultiplied: p[c] = sample * alpha / 65535, rounded,
                        // with sample somewhere in ours * 256 .. ours * 256 + 255.
                        const int64_t low = ours(x, y, c) * 256 * alpha / 65535;
                        const int64_t high = ((ours(x, y, c) * 256 + 255) * alpha + 65534) / 65535;
                        ASSERT_TRUE(p[c] >= low - 1 && p[c] <= high + 1) << x << "," << y << " channel " << c;
                    }
                }
        } else {
            std::vector<uint8_t> ref;
            ASSERT_TRUE(Reference(WithPlainColourSpace(bytes, false), &w, &h, &ref));
            ASSERT_TRUE(pixmap->width == w && pixmap->height == h);
            for (int y = 0; y < h; ++y)
                ASSERT_EQ(0, std::memcmp(rgba->PixelPtr(0, y), &ref[static_cast<size_t>(y) * w * 4], w * 4)) << "row " << y;
        }

        // Grey stays grey, RGB stays RGB, anything with alpha (palette and
        // colour-key transparency included) becomes RGBA.
        const char trns[] = "tRNS";
        const bool keyed = std::search(bytes.begin(), bytes.end(), trns, trns + 4) != bytes.end();
        if (keyed || colorType == 4 || colorType == 6)
            EXPECT_EQ(pixmap->format, FormatRGBA8888);
        else
            EXPECT_EQ(pixmap->format, colorType == 0 ? FormatI8 : FormatRGB888);
        ++checked;
    }
    EXPECT_GE(checked, 150);
}

TEST_F(Png, CorruptAndHostileFilesGiveNullWithoutLargeAllocations) {
    std::vector<fs::path> files;
    for (const fs::path& p : PngFiles("pngsuite"))
        if (p.filename().string()[0] == 'x') files.push_back(p);
    for (const fs::path& p : PngFiles("png-crashers")) files.push_back(p);
    ASSERT_GE(files.size(), 30u);
    if (alloc_peak::Available()) {  // the meter sees pixmaps and libpng alike
        alloc_peak::Reset();
        DecodePngPixmap(String(VANTREL_TEST_DATA "/pngsuite/basn6a08.png"));
        EXPECT_GE(alloc_peak::PeakSinceReset(), 32u * 32 * 4 + 8192);
    }
    std::vector<std::pair<std::string, std::vector<uint8_t>>> inputs;
    for (const fs::path& path : files) inputs.emplace_back(path.filename().string(), ReadFile(path));
    // Chunks declaring a few megabytes (under libpng's own chunk limit) in
    // a file of a few dozen bytes.
    const std::vector<uint8_t> grey = ReadFile(fs::path(VANTREL_TEST_DATA) / "pngsuite/basn0g08.png");
    for (const char* type : {"tEXt", "zTXt", "iTXt", "iCCP", "eXIf", "sPLT", "IDAT"}) {
        std::vector<uint8_t> bytes(grey.begin(), grey.begin() + 33);  // signature and IHDR
        uint8_t header[8];
        png_save_uint_32(header, 7000000);
        std::memcpy(header + 4, type, 4);
        bytes.insert(bytes.end(), header, header + 8);
        bytes.insert(bytes.end(), {'k', 'e', 'y', 0, 'v', 'a', 'l', 'u', 'e'});
        inputs.emplace_back(std::string("declared 7 MB ") + type, bytes);
    }
    // A header promising 16000 x 16000 pixels over ten bytes of image data.
    std::vector<uint8_t> wide(grey.begin(), grey.begin() + 8);
    uint8_t ihdr[13] = {};
    png_save_uint_32(ihdr, 16000);
    png_save_uint_32(ihdr + 4, 16000);
    ihdr[8] = 8;
    AppendChunk(&wide, "IHDR", ihdr, 13);
    const uint8_t idat[10] = {0x78, 0x9c, 0x63, 0, 0, 0, 0, 0, 0, 0};
    AppendChunk(&wide, "IDAT", idat, 10);
    AppendChunk(&wide, "IEND", nullptr, 0);
    inputs.emplace_back("16000 x 16000", wide);

    for (auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        const size_t size = bytes.size();
        Ref<TStream> stream = Memory(std::move(bytes));
        alloc_peak::Reset();
        Ref<TPixmap> pixmap = LoadPixmapFrom(stream);
        const size_t peak = alloc_peak::PeakSinceReset();
        EXPECT_FALSE(pixmap);
        // libpng's and zlib's working state, and never what a chunk or
        // header declares beyond the data.
        if (alloc_peak::Available()) {
            EXPECT_LT(peak, 200 * 1024 + 64 * size);
        }
    }
}

TEST_F(Png, ColourManagementChunksNeverStopAnImageLoading) {
    // A display profile for RGB, which libpng will not accept on grey.
    std::vector<uint8_t> profile(132, 0);
    png_save_uint_32(profile.data(), 132);
    std::memcpy(profile.data() + 12, "mntrRGB XYZ ", 12);
    std::memcpy(profile.data() + 36, "acsp", 4);
    png_save_uint_32(profile.data() + 68, 0xF6D6);  // D50 white
    png_save_uint_32(profile.data() + 72, 0x10000);
    png_save_uint_32(profile.data() + 76, 0xD32D);
    uLongf packedSize = compressBound(132);
    std::vector<uint8_t> iccp = {'p', 0, 0};
    iccp.resize(3 + packedSize);
    ASSERT_EQ(compress(iccp.data() + 3, &packedSize, profile.data(), 132), Z_OK);
    iccp.resize(3 + packedSize);
    std::vector<uint8_t> gamma(4);
    png_save_uint_32(gamma.data(), 100000);

    using Chunks = std::vector<std::pair<const char*, std::vector<uint8_t>>>;
    for (const Chunks& chunks : {Chunks{{"iCCP", iccp}}, Chunks{{"gAMA", gamma}, {"sRGB", {0}}}}) {
        SCOPED_TRACE(chunks.front().first);
        Ref<TPixmap> pixmap = DecodePngPixmap(Memory(BuildPng(2, 1, PNG_COLOR_TYPE_GRAY, DeflateRows({10, 200}, 1), chunks)));
        ASSERT_TRUE(pixmap);
        EXPECT_EQ(pixmap->PixelPtr(0, 0)[0], 10);
        EXPECT_EQ(pixmap->PixelPtr(1, 0)[0], 200);
    }
}

TEST_F(Png, TheSizeLimitCountsThePixmapsOwnBytes) {
    // Grey of 8193 x 8192 needs 64 MiB and its data is all there.
    std::vector<uint8_t> row(8193, 0);
    for (size_t i = 0; i < 256; ++i) row[i * 29] = static_cast<uint8_t>(i * 151);  // keeps deflate honest
    Ref<TPixmap> grey = DecodePngPixmap(Memory(BuildPng(8193, 8192, PNG_COLOR_TYPE_GRAY, DeflateRows(row, 8192))));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->format, FormatI8);
    EXPECT_EQ(grey->PixelPtr(29, 8191)[0], 151);
    grey = nullptr;

    // The same size in RGBA would need a little over 256 MiB; 300 kB of data
    // could inflate to that much.
    std::vector<uint8_t> rgba = BuildPng(8193, 8192, PNG_COLOR_TYPE_RGB_ALPHA, std::vector<uint8_t>(300000));
    alloc_peak::Reset();
    EXPECT_FALSE(LoadPixmapFrom(Memory(std::move(rgba))));
    if (alloc_peak::Available()) {
        EXPECT_LT(alloc_peak::PeakSinceReset(), 1u << 20);
    }
}

TEST_F(Png, DecodingFollowsTheFormatRules) {
    // Grey with alpha spreads the grey into all three colours.
    Ref<TPixmap> ga = DecodePngPixmap(Memory(EncodeWithSimplifiedApi(2, 1, PNG_FORMAT_GA, {100, 200, 7, 0})));
    ASSERT_TRUE(ga);
    EXPECT_EQ(ga->format, FormatRGBA8888);
    EXPECT_EQ(static_cast<uint32_t>(ga->ReadPixel(0, 0)), 0xC8646464u);
    EXPECT_EQ(static_cast<uint32_t>(ga->ReadPixel(1, 0)), 0x00070707u);

    // A palette with transparent entries becomes RGBA with alpha 0 there.
    Ref<TPixmap> pal = LoadPixmapFrom(String(VANTREL_TEST_DATA "/pngsuite/tbbn3p08.png"));
    ASSERT_TRUE(pal);
    EXPECT_EQ(pal->format, FormatRGBA8888);
    EXPECT_EQ(pal->ReadPixel(0, 0) >> 24, 0);

    // 16-bit RGB keeps the high byte of each sample.
    const std::vector<uint8_t> bytes = ReadFile(fs::path(VANTREL_TEST_DATA) / "pngsuite/basn2c16.png");
    Ref<TPixmap> deep = DecodePngPixmap(Memory(bytes));
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->format, FormatRGB888);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()));
    image.format = PNG_FORMAT_LINEAR_RGB;  // 16-bit samples; no alpha, so nothing premultiplied
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    std::vector<uint16_t> wide(PNG_IMAGE_SIZE(image) / 2);
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, wide.data(), 0, nullptr));
    EXPECT_EQ(deep->PixelPtr(5, 3)[1], wide[(3 * 32 + 5) * 3 + 1] >> 8);
}

TEST_F(Png, NotPngIsRefusedAndShortDataIsAStreamError) {
    EXPECT_FALSE(LoadPixmapFrom(Memory({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0})));
    EXPECT_FALSE(LoadPixmapFrom(Memory({0x89, 'P', 'N'})));
    EXPECT_FALSE(LoadPixmapFrom(String(VANTREL_TEST_DATA "/no_such_file.png")));
    EXPECT_THROW(DecodePngPixmap(Memory({0x89, 'P', 'N'})), TStreamReadException);

    // Cut inside the image data: the decoder sees short data, the chain Null.
    std::vector<uint8_t> bytes = ReadFile(fs::path(VANTREL_TEST_DATA) / "pngsuite/basn6a08.png");
    bytes.resize(bytes.size() / 2);
    EXPECT_THROW(DecodePngPixmap(Memory(bytes)), TStreamReadException);
    EXPECT_FALSE(LoadPixmapFrom(Memory(bytes)));

    // Cut inside the checksum of the image data: the chunk is refused as
    // short before libpng reads it, whatever its (here damaged) data hold.
    std::vector<uint8_t> cut = BuildPng(1, 1, PNG_COLOR_TYPE_GRAY, {0xFF, 0, 0, 0, 0, 0, 0, 0, 0});
    cut.resize(cut.size() - 12 - 2);
    EXPECT_THROW(DecodePngPixmap(Memory(cut)), TStreamReadException);

    // The chain leaves a refusing stream open for the caller.
    Ref<TStream> caller = Memory(bytes);
    EXPECT_FALSE(LoadPixmapFrom(caller));
    EXPECT_EQ(caller->Seek(0), 0);
    EXPECT_EQ(caller->ReadByte(), 0x89);
}

namespace {

// A stream that fails with a runtime error part-way through.
class FailingStream : public MemoryStream {
public:
    FailingStream(std::vector<uint8_t> bytes, int failAt) : MemoryStream(std::move(bytes)), _failAt(failAt) {}
    int Read(void* buffer, int count) override {
        if (Pos() + count > _failAt) RaiseRuntimeError("disk on fire");
        return MemoryStream::Read(buffer, count);
    }

private:
    int _failAt;
};

}  // namespace

TEST_F(Png, OtherStreamErrorsPassThroughAndLeaveNoStateBehind) {
    const std::vector<uint8_t> good = ReadFile(fs::path(VANTREL_TEST_DATA) / "pngsuite/basi6a08.png");
    Ref<TStream> failing = MakeRef<FailingStream>(good, static_cast<int>(good.size()) - 20);
    EXPECT_THROW(LoadPixmapFrom(failing), TRuntimeException);
    // Hostile data and a corrupt checksum in between must not disturb the
    // next decode.
    EXPECT_FALSE(LoadPixmapFrom(String(VANTREL_TEST_DATA "/png-crashers/huge_iTXt_chunk.png")));
    EXPECT_FALSE(LoadPixmapFrom(String(VANTREL_TEST_DATA "/pngsuite/xcsn0g01.png")));
    Ref<TPixmap> again = DecodePngPixmap(Memory(good));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->width, 32);
}

TEST_F(Png, SavedPixmapsLoadBackUnchanged) {
    const fs::path dir = fs::temp_directory_path() / ("vantrel_png_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    struct Case { int format; int loadsAs; } cases[] = {
        {FormatI8, FormatI8}, {FormatBGR888, FormatRGB888}, {FormatRGB888, FormatRGB888},
        {FormatBGRA8888, FormatRGBA8888}, {FormatRGBA8888, FormatRGBA8888}, {FormatA8, FormatRGBA8888},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        Ref<TPixmap> p = NewPixmap(13, 7, c.format, 8);  // padded rows
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) p->WritePixel(x, y, static_cast<int>(0x9E3779B9u * (y * 13 + x + 1)));
        const String path((dir / ("f" + std::to_string(c.format) + ".png")).string());
        ASSERT_EQ(EncodePngPixmap(p, path, 12), 1);
        Ref<TPixmap> back = LoadPixmapFrom(path);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->format, c.loadsAs);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) ASSERT_EQ(back->ReadPixel(x, y), p->ReadPixel(x, y)) << x << "," << y;
    }
    // libpng refuses an empty image; an unwritable place gives 0 as well.
    EXPECT_EQ(EncodePngPixmap(NewPixmap(0, 0, FormatRGB888, 4), String((dir / "empty.png").string()), 6), 0);
    EXPECT_EQ(EncodePngPixmap(NewPixmap(1, 1, FormatRGB888, 4), String((dir / "no/such/dir.png").string()), 6), 0);
    // So does a disk that fills up: the bytes are lost when the file closes.
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(EncodePngPixmap(NewPixmap(1, 1, FormatRGB888, 4), "/dev/full", 6), 0);
    }
    fs::remove_all(dir);
}
