// The pixmap loader chain and loading a pixmap from a URL.

#include <vantrel/resources/pixmap.h>
#include <vantrel/resources/png_pixmap.h>
#include <vantrel/resources/stream.h>

namespace vantrel {
namespace {

Ref<TPixmapLoader>& LoaderHead() {
    static Ref<TPixmapLoader> head;
    return head;
}

}  // namespace

TPixmapLoader::TPixmapLoader() {
    // The chain keeps every loader for the whole run, so the share taken
    // here never falls back to zero while the constructor's caller holds it.
    _succ = LoaderHead();
    LoaderHead() = Ref<TPixmapLoader>(this);
}

Ref<TPixmapLoader> PixmapLoaders() { return LoaderHead(); }

Ref<TPixmap> LoadPixmapFrom(const Ref<Object>& url) {
    StartPixmapModule();
    Ref<TStream> stream = OpenReadStream(url);
    if (!stream) return nullptr;
    Ref<TPixmap> pixmap;
    const int start = stream->Pos();
    if (start != -1) {
        for (Ref<TPixmapLoader> loader = LoaderHead(); loader && !pixmap; loader = loader->_succ) {
            try {
                stream->Seek(start);
                pixmap = loader->LoadPixmap(stream);
            } catch (const TStreamException&) {
                // Data that ends early or cannot be read is not this loader's.
            }
        }
    }
    stream->Close();
    return pixmap;
}

void StartPixmapModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartStreamModule();
    MakeRef<TPixmapLoaderPNG>();
}

}  // namespace vantrel
