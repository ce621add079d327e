// Loading a pixmap on a worker thread while the main thread gets on with
// other work, with the result picked up where the program loads it anyway.
//
// LoadPixmapAhead(url) starts ReadPixmapFrom(url) on a thread of its own
// and returns a handle. While the handle lives, the first LoadPixmapFrom of
// the same URL text (on the main thread) waits for the worker and returns
// its pixmap, or Null, or raises again what the worker raised, exactly as a
// load made at that point would; later loads of that URL read it afresh.
// Only pixmap loads take it (load_ahead.h).
//
// Dropping the handle waits for the worker: keep it in a local, so that an
// exception leaving the scope also waits, and nothing runs on after the
// program has begun to exit. Start a load only once the stream factories
// and pixmap loaders it needs are registered; the chains must not change
// while it runs, and a protocol factory the URL reaches must be safe to
// call from another thread (plain files are). Main thread only; the worker
// reads the chains and touches nothing but its own stream, libpng state
// and pixmap.
#pragma once

#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/load_ahead.h>

namespace vantrel {

class TPixmapLoadAhead final : public TLoadAhead {
private:
    explicit TPixmapLoadAhead(const String& url) : TLoadAhead(url) {}
    friend Ref<TPixmapLoadAhead> LoadPixmapAhead(const String& url);
    friend bool TakePixmapLoadedAhead(const Ref<Object>& url, Ref<TPixmap>& pixmap);
};

// When no thread can be started the handle does nothing and the pixmap is
// read where it is loaded, as without it.
Ref<TPixmapLoadAhead> LoadPixmapAhead(const String& url);

// For LoadPixmapFrom: when a load of url was started ahead and not yet
// taken, takes it (waiting, maybe raising) into pixmap and returns true.
bool TakePixmapLoadedAhead(const Ref<Object>& url, Ref<TPixmap>& pixmap);

}  // namespace vantrel
