// The pixmap loader chain and loading a pixmap from a URL.

#include "resources/pixmap.h"

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

void StartPixmapModule() {
    static bool started = false;
    if (started) return;
    started = true;
}

}  // namespace vantrel
