// Loading a sample on a worker thread while the main thread gets on with
// other work, with the result picked up where the program loads it anyway.
//
// LoadSampleAhead(url) starts ReadSampleFromUrl(url) on a thread of its own
// and returns a handle. While the handle lives, the first LoadSampleFromUrl
// of the same URL text (on the main thread) waits for the worker and returns
// its sample, or Null, or raises again what the worker raised, exactly as a
// load made at that point would; later loads of that URL read it afresh. So
// a program may start a slow load early without moving the point where its
// result, or its failure, shows. Only sample loads take it (load_ahead.h).
//
// Dropping the handle waits for the worker: keep it in a local, so that an
// exception leaving the scope also waits, and nothing runs on after the
// program has begun to exit. Start a load only once the stream factories
// and sample loaders it needs are registered; the chains must not change
// while it runs. Main thread only; the worker touches nothing but the load.
#pragma once

#include "audio/sample_loader.h"
#include "runtime/load_ahead.h"

namespace vantrel {

class TSampleLoadAhead final : public TLoadAhead {
private:
    explicit TSampleLoadAhead(const String& url) : TLoadAhead(url) {}
    friend Ref<TSampleLoadAhead> LoadSampleAhead(const String& url);
    friend bool TakeSampleLoadedAhead(const Ref<Object>& url, Ref<TAudioSample>& sample);
};

// When no thread can be started the handle does nothing and the sample is
// read where it is loaded, as without it.
Ref<TSampleLoadAhead> LoadSampleAhead(const String& url);

// For LoadSampleFromUrl: when a load of url was started ahead and not yet
// taken, takes it (waiting, maybe raising) into sample and returns true.
bool TakeSampleLoadedAhead(const Ref<Object>& url, Ref<TAudioSample>& sample);

}  // namespace vantrel
