// Fuzz target: loading a pixmap from arbitrary bytes held in a bank (the
// PNG decoder and the loader chain around it). Whatever decodes is saved
// as PNG and loaded again, and must come back unchanged. Any exception
// escaping the loader, or a mismatch, is a finding.

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <vantrel/resources/bank_stream.h>
#include <vantrel/resources/png_pixmap.h>

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = [] {
        StartBankModule();
        StartPngModule();
        return true;
    }();
    (void)started;
    if (size > INT_MAX) return 0;

    // The bank only reads the input through its streams.
    Ref<TBank> input = CreateStaticBank(const_cast<uint8_t*>(data), static_cast<int>(size));
    Ref<TPixmap> pixmap = LoadPixmapFrom(input);
    if (!pixmap) return 0;

    Ref<TBank> saved = CreateBank();
    if (EncodePngPixmap(pixmap, saved, 1) != 1) std::abort();
    Ref<TPixmap> again = LoadPixmapFrom(saved);
    if (!again || again->format != pixmap->format || again->width != pixmap->width || again->height != pixmap->height)
        std::abort();
    const size_t rowBytes = static_cast<size_t>(pixmap->width) * pixmap->BytesPerPixel();
    for (int y = 0; y < pixmap->height; ++y)
        if (std::memcmp(pixmap->PixelPtr(0, y), again->PixelPtr(0, y), rowBytes) != 0) std::abort();
    return 0;
}
