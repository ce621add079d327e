#include <vantrel/resources/pixmap_load_ahead.h>

namespace vantrel {

Ref<TPixmapLoadAhead> LoadPixmapAhead(const String& url) {
    Ref<TPixmapLoadAhead> load(new TPixmapLoadAhead(url));
    TPixmapLoadAhead::Start(load, [](TLoadAhead& self) { self.Publish(ReadPixmapFrom(self.url.AsObject())); });
    return load;
}

bool TakePixmapLoadedAhead(const Ref<Object>& url, Ref<TPixmap>& pixmap) {
    return TPixmapLoadAhead::TakePendingAs<TPixmapLoadAhead>(url, pixmap);
}

}  // namespace vantrel
