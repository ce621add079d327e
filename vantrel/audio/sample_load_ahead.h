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
// A long sound that its loader can hand out early (sample_fill.h) is taken
// once its first seconds are decoded; the worker decodes the rest only after
// the take, so that it does not compete with the start-up it overlapped, and
// a sound made from it plays while it fills. Decoding may then still fail:
// Done tells when the worker has ended (raising what it raised) and Whole
// whether every frame came. Keep the handle until Done: dropping it stops
// the decoding, leaving the rest of the sound silent.
//
// Dropping the handle waits for the worker: keep it in a local, or as long
// as the sound decodes, so that nothing runs on after the program has begun
// to exit. Start a load only once the stream factories and sample loaders it
// needs are registered; the chains must not change while it runs. Main
// thread only; the worker touches nothing but the load.
#pragma once

#include <memory>
#include <mutex>

#include <vantrel/audio/sample_loader.h>
#include <vantrel/runtime/load_ahead.h>

namespace vantrel {

class TSampleLoadAhead final : public TLoadAhead {
public:
    // Stops a sound still decoding before the worker is joined.
    ~TSampleLoadAhead() override;

    // After Done: false when a sample handed out early lacks frames.
    bool Whole();

private:
    explicit TSampleLoadAhead(const String& url) : TLoadAhead(url) {}
    friend Ref<TSampleLoadAhead> LoadSampleAhead(const String& url);
    friend bool TakeSampleLoadedAhead(const Ref<Object>& url, Ref<TAudioSample>& sample);
    // The fill of a sample handed out early, shared with the worker, which
    // may outlive the handle's own members while the base joins it.
    struct Filling {
        std::mutex mutex;
        Ref<TSampleFill> fill;   // guarded by mutex, as dropped
        bool dropped = false;
    };
    const std::shared_ptr<Filling> _filling = std::make_shared<Filling>();
};

// When no thread can be started the handle does nothing and the sample is
// read where it is loaded, as without it.
Ref<TSampleLoadAhead> LoadSampleAhead(const String& url);

// For LoadSampleFromUrl: when a load of url was started ahead and not yet
// taken, takes it (waiting, maybe raising) into sample and returns true.
bool TakeSampleLoadedAhead(const Ref<Object>& url, Ref<TAudioSample>& sample);

}  // namespace vantrel
