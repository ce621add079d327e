#include <vantrel/render/font.h>

#include <vantrel/resources/stream_exceptions.h>

namespace vantrel {
namespace {

Ref<TFontLoader> fontLoaders;

}  // namespace

void RegisterFontLoader(const Ref<TFontLoader>& loader) {
    // Linking a loader that is already in the chain would close it into a
    // ring (the last loader's _succ is Null too), so that is refused.
    for (TFontLoader* l = fontLoaders.get(); l; l = l->_succ.get())
        if (l == loader.get()) return;
    if (loader->_succ) return;
    loader->_succ = fontLoaders;
    fontLoaders = loader;
}

Ref<TFont> LoadFontByLoaders(const Ref<Object>& source, int size, int style) {
    for (Ref<TFontLoader> l = fontLoaders; l; l = l->_succ) {
        Ref<TFont> font;
        try {
            font = l->LoadFont(source, size, style);
        } catch (const TStreamException&) {
            continue;   // the loader could not read the source: a refusal
        }
        if (font) return font;
    }
    return nullptr;
}

}  // namespace vantrel
