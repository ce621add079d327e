// PNG decoding and encoding over libpng.
//
// libpng reports errors by longjmp. No C++ frame that owns anything may be
// jumped over, so every libpng call that can fail runs inside one of the
// small "guarded" functions below, whose only locals are plain values and
// which hold the setjmp. The stream callbacks catch whatever the stream
// raises, park it in the session's exception slot and then take libpng's
// error path; the owning frame rethrows it once the libpng structures are
// destroyed.

#include <vantrel/resources/png_pixmap.h>

#include <png.h>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstring>
#include <exception>
#include <vector>

#include <vantrel/resources/stream.h>
#include <vantrel/runtime/exceptions.h>

namespace vantrel {
namespace {

const char kPngError[] = "PNG ERROR";

// Deflate expands its input at most 1032-fold, so the image data of a PNG
// cannot decode to more than this many bytes per byte of the file.
constexpr int64_t kMaxInflateRatio = 1032;
// Largest pixmap accepted, whatever the data: 256 MiB of rows, as many as
// 8192 x 8192 RGBA pixels hold.
constexpr int64_t kMaxImageBytes = int64_t{1} << 28;
// The loader's rows start on 4-byte boundaries.
constexpr int kRowAlign = 4;
constexpr png_uint_32 kMaxDimension = 65535;

// What one decode or encode shares with libpng's callbacks.
struct PngSession {
    TStream* stream;
    // Bytes the stream holds after the signature, -1 when it cannot tell.
    int64_t left;
    // Reading tracks chunk boundaries as the bytes stream past, so that a
    // chunk declaring more bytes than the stream holds is refused before
    // libpng allocates for it.
    int64_t toNextHeader = 0;
    uint8_t header[8] = {};
    int headerFill = 0;
    // What a callback caught, rethrown after libpng has been torn down.
    std::exception_ptr pending;

    void TrackChunks(const uint8_t* data, size_t length) {
        while (length > 0) {
            if (toNextHeader == 0) {
                const size_t take = std::min(length, sizeof header - headerFill);
                std::memcpy(header + headerFill, data, take);
                headerFill += static_cast<int>(take);
                data += take;
                length -= take;
                if (headerFill < 8) continue;
                headerFill = 0;
                const int64_t declared = png_get_uint_32(header);
                // The data and its 4-byte CRC must still be in the stream.
                if (left >= 0 && declared + 4 > left) throw TStreamReadException();
                toNextHeader = declared + 4;
            } else {
                const size_t take = static_cast<size_t>(std::min<int64_t>(toNextHeader, static_cast<int64_t>(length)));
                toNextHeader -= static_cast<int64_t>(take);
                data += take;
                length -= take;
            }
        }
    }

    bool Read(uint8_t* data, size_t length) noexcept {
        try {
            if (length > INT_MAX) throw TStreamReadException();
            stream->ReadBytes(data, static_cast<int>(length));
            if (left >= 0) left -= static_cast<int64_t>(length);
            TrackChunks(data, length);
            return true;
        } catch (...) {
            pending = std::current_exception();
            return false;
        }
    }

    bool Write(const uint8_t* data, size_t length) noexcept {
        try {
            if (length > INT_MAX) throw TStreamWriteException();
            stream->WriteBytes(data, static_cast<int>(length));
            return true;
        } catch (...) {
            pending = std::current_exception();
            return false;
        }
    }

    bool Flush() noexcept {
        try {
            stream->Flush();
            return true;
        } catch (...) {
            pending = std::current_exception();
            return false;
        }
    }
};

PngSession* SessionOf(png_structp png) { return static_cast<PngSession*>(png_get_io_ptr(png)); }

// The callbacks leave through png_error only after the C++ handler above
// has finished, so no exception is in flight when libpng jumps.
void ReadCallback(png_structp png, png_bytep data, size_t length) {
    if (!SessionOf(png)->Read(data, length)) png_error(png, "stream read failed");
}
void WriteCallback(png_structp png, png_bytep data, size_t length) {
    if (!SessionOf(png)->Write(data, length)) png_error(png, "stream write failed");
}
void FlushCallback(png_structp png) {
    if (!SessionOf(png)->Flush()) png_error(png, "stream flush failed");
}

// libpng would print its messages; errors become the decoder's own result.
void ErrorCallback(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void WarningCallback(png_structp, png_const_charp) {}

[[noreturn]] void RaisePngError() { RaiseString(kPngError); }

bool IsPngError(const TStringException& e) { return e.text == String(kPngError); }

// The decoded layout that the header leads to.
struct PngLayout {
    png_uint_32 width;
    png_uint_32 height;
    int format;  // 0 when the image has no pixmap format
};

int FormatForColorType(int colorType) {
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY: return FormatI8;
    case PNG_COLOR_TYPE_RGB: return FormatRGB888;
    case PNG_COLOR_TYPE_RGB_ALPHA: return FormatRGBA8888;
    default: return 0;
    }
}

// Reads the chunks up to the image data, checks the size the image needs
// against what the file can hold, and sets up the transforms: 16-bit
// samples to 8, palettes and low bit depths expanded, transparency to an
// alpha channel, and grey with alpha spread to RGBA. Guarded: plain
// locals only.
bool ReadPngHeader(png_structp png, png_infop info, PngSession* session, PngLayout* layout) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
    const int64_t packedRow = (static_cast<int64_t>(width) * png_get_channels(png, info) * depth + 7) / 8;
    if (session->left >= 0 && packedRow * height > kMaxInflateRatio * session->left)
        png_error(png, "image larger than its data");

    png_set_strip_16(png);
    png_set_expand(png);
    if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA ||
        (colorType == PNG_COLOR_TYPE_GRAY && png_get_valid(png, info, PNG_INFO_tRNS)))
        png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const int64_t pitch = (static_cast<int64_t>(png_get_rowbytes(png, info)) + kRowAlign - 1) / kRowAlign * kRowAlign;
    if (pitch * height > kMaxImageBytes) png_error(png, "image too large");

    layout->width = png_get_image_width(png, info);
    layout->height = png_get_image_height(png, info);
    layout->format = png_get_bit_depth(png, info) == 8 ? FormatForColorType(png_get_color_type(png, info)) : 0;
    if (layout->format && png_get_rowbytes(png, info) != static_cast<size_t>(layout->width) * BytesPerPixel(layout->format))
        layout->format = 0;
    return true;
}

// Decodes every row (all passes of an interlaced image) and the chunks
// after the image data. Guarded: plain locals only.
bool ReadPngRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

struct PngEncoding {
    png_uint_32 width;
    png_uint_32 height;
    int colorType;
    int transforms;
    int level;
};

// Guarded: plain locals only.
bool WritePng(png_structp png, png_infop info, const PngEncoding* e, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_compression_level(png, e->level);
    png_set_IHDR(png, info, e->width, e->height, 8, e->colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows);
    png_write_png(png, info, e->transforms, nullptr);
    return true;
}

// Owns a read or write structure pair; destroying them never jumps.
struct PngReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadStructs() { png_destroy_read_struct(&png, &info, nullptr); }
};
struct PngWriteStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngWriteStructs() { png_destroy_write_struct(&png, &info); }
};

// Rethrows what a callback caught, else raises the library error. Called
// once the libpng structures are gone.
[[noreturn]] void RaiseFailure(PngSession& session) {
    if (session.pending) std::rethrow_exception(session.pending);
    RaisePngError();
}

Ref<TPixmap> Decode(TStream& stream) {
    uint8_t signature[8];
    stream.ReadBytes(signature, 8);
    if (png_sig_cmp(signature, 0, 8) != 0) return nullptr;

    PngSession session{&stream, -1};
    const int pos = stream.Pos();
    const int size = stream.Size();
    if (pos >= 0 && size >= pos) session.left = size - pos;

    // The libpng structures go before anything is raised.
    Ref<TPixmap> pixmap;
    bool failed = false;
    {
        PngReadStructs s;
        s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorCallback, WarningCallback);
        if (!s.png) return nullptr;
        s.info = png_create_info_struct(s.png);
        if (!s.info) return nullptr;
        png_set_read_fn(s.png, &session, ReadCallback);
        png_set_user_limits(s.png, kMaxDimension, kMaxDimension);
        // A malformed chunk, ancillary or not, marks a damaged file.
        png_set_benign_errors(s.png, 0);
        // Except for the colour-management chunks: pixels are loaded as
        // stored, so these are never read, and real files often carry
        // profiles libpng finds fault with.
        static const png_byte kColourChunks[] = "iCCP\0sRGB\0gAMA\0cHRM";
        png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, kColourChunks, 4);

        PngLayout layout{};
        failed = !ReadPngHeader(s.png, s.info, &session, &layout);
        if (!failed && layout.format != 0) {
            pixmap = NewPixmap(static_cast<int>(layout.width), static_cast<int>(layout.height), layout.format, kRowAlign);
            std::vector<png_bytep> rows(layout.height);
            for (png_uint_32 y = 0; y < layout.height; ++y) rows[y] = pixmap->PixelPtr(0, static_cast<int>(y));
            failed = !ReadPngRows(s.png, s.info, rows.data());
        }
    }
    if (failed) RaiseFailure(session);
    return pixmap;
}

// Closes and lets go of the stream however the decode or encode ends.
struct StreamCloser {
    Ref<TStream>& stream;
    ~StreamCloser() {
        try {
            stream->Close();
        } catch (...) {
            // The result (or the exception on its way) matters more.
        }
        stream = nullptr;
    }
};

}  // namespace

Ref<TPixmap> DecodePngPixmap(const Ref<Object>& url) {
    Ref<TStream> stream = OpenReadStream(url);
    if (!stream) return nullptr;
    StreamCloser closer{stream};
    try {
        return Decode(*stream);
    } catch (const TStringException& e) {
        if (IsPngError(e)) return nullptr;
        throw;
    }
}

int EncodePngPixmap(const Ref<TPixmap>& pixmap, const Ref<Object>& url, int level) {
    Ref<TPixmap> source = pixmap;
    PngEncoding e{};
    e.level = std::clamp(level, 0, 9);
    e.transforms = PNG_TRANSFORM_IDENTITY;
    switch (source->format) {
    case FormatI8: e.colorType = PNG_COLOR_TYPE_GRAY; break;
    case FormatRGB888: e.colorType = PNG_COLOR_TYPE_RGB; break;
    case FormatBGR888: e.colorType = PNG_COLOR_TYPE_RGB; e.transforms = PNG_TRANSFORM_BGR; break;
    case FormatRGBA8888: e.colorType = PNG_COLOR_TYPE_RGB_ALPHA; break;
    case FormatBGRA8888: e.colorType = PNG_COLOR_TYPE_RGB_ALPHA; e.transforms = PNG_TRANSFORM_BGR; break;
    default:
        source = source->Convert(FormatRGBA8888);
        e.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
        break;
    }
    e.width = static_cast<png_uint_32>(source->width);
    e.height = static_cast<png_uint_32>(source->height);

    Ref<TStream> stream = OpenWriteStream(url);
    if (!stream) return 0;
    StreamCloser closer{stream};
    try {
        PngSession session{stream.get(), -1};
        bool failed = true;
        {
            PngWriteStructs s;
            s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorCallback, WarningCallback);
            if (s.png) s.info = png_create_info_struct(s.png);
            if (s.info) {
                png_set_write_fn(s.png, &session, WriteCallback, FlushCallback);
                std::vector<png_bytep> rows(e.height);
                for (png_uint_32 y = 0; y < e.height; ++y)
                    rows[y] = source->pixels + static_cast<intptr_t>(y) * source->pitch;
                failed = !WritePng(s.png, s.info, &e, rows.data());
            }
        }
        if (failed) RaiseFailure(session);
        // The last bytes reach the file when it closes.
        return stream->Close() == 0 ? 1 : 0;
    } catch (const TStringException& ex) {
        if (IsPngError(ex)) return 0;
        throw;
    }
}

Ref<TPixmap> TPixmapLoaderPNG::LoadPixmap(const Ref<TStream>& stream) { return DecodePngPixmap(stream); }

void StartPngModule() { StartPixmapModule(); }

}  // namespace vantrel
