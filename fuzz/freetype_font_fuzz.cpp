// Fuzz target: opening arbitrary bytes as an outline or bitmap font through
// a stream address (read whole, then opened from memory), sizing it, and
// rendering glyphs plain and with the smoothing border. Every glyph must keep
// its pixmap and rectangle consistent; any exception or crash is a finding.
#include <climits>
#include <cstdint>
#include <cstdlib>

#include <vantrel/render/freetype/freetype_font_impl.h>
#include <vantrel/resources/bank_stream.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/resources/stream.h>

using namespace vantrel;

namespace {

// Serves "fuzzinput::" with a stream over the current input.
class TInputFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>&, const String& proto, const String&, bool readable,
                              bool writeable) override {
        if (proto != String("fuzzinput") || !readable || writeable || !input) return nullptr;
        return OpenReadStream(Ref<Object>(input));
    }
    Ref<TBank> input;
};

void Check(bool ok) {
    if (!ok) std::abort();
}

void RenderSome(const Ref<TFreeTypeFont>& font) {
    const int count = font->CountGlyphs();
    Check(count >= 0);
    for (int code : {0x20, 0x41, 0x67, 0x7C, 0xE9, 0x4E00}) {
        int index = font->CharToGlyph(code);
        Check(index >= -1 && index < count);
    }
    for (int i = 0; i < count && i < 48; ++i) {
        Ref<TFreeTypeGlyph> g = Cast<TFreeTypeGlyph>(font->LoadGlyph(i));
        Check(g && font->LoadGlyph(i) == g);
        if (g->_pixmap) {
            Check(g->_pixmap->format == FormatA8);
            Check(g->_pixmap->width == g->_w && g->_pixmap->height == g->_h);
            // Touch the last pixel: the pixmap really holds its rows.
            (void)*g->_pixmap->PixelPtr(g->_w - 1, g->_h - 1);
            if (font->Style() & FontSmoothing) Check(*g->_pixmap->PixelPtr(0, 0) == 0);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TInputFactory* factory = [] {
        StartBankModule();
        InitFreeTypeFontModule();
        Ref<TInputFactory> f = MakeRef<TInputFactory>();
        return f.get();   // the factory chain keeps it
    }();
    if (size > INT_MAX) return 0;
    factory->input = CreateStaticBank(const_cast<uint8_t*>(data), static_cast<int>(size));
    for (int style : {0, FontSmoothing}) {
        Ref<TFreeTypeFont> font = TFreeTypeFont::Load("fuzzinput::font", style ? 40 : 13, style);
        if (font) RenderSome(font);
    }
    factory->input = nullptr;
    return 0;
}
