// Loading a sample on a worker thread while the program gets on with other
// work, and taking it by its handle where the program needs it:
//
//     Ref<TSampleLoadAhead> music = LoadSampleAhead("snd/music.ogg");
//     ... open the window, load images ...
//     Ref<TAudioSample> sample = music->Take();
//
// LoadSampleAhead queues the load on the engine's small pool of load
// workers (at most two threads, started as loads arrive and kept until
// exit). Take waits for it and returns the sample, or Null when no loader
// reads the file, or raises again what the load raised, exactly as
// LoadSampleFromUrl at that point would; a load no worker has begun yet is
// run by Take itself. A handle is taken once.
//
// A long OGG sound is taken once its first seconds are decoded; the rest
// decodes on the worker after the take, so that it does not compete with
// the work the load overlapped, and a sound made from the sample plays
// while it fills (a voice that catches up waits, silent). Decoding may then
// still fail: Done tells when the load has ended (raising, once, what it
// raised after the take) and Whole whether every frame came. Dropping the
// handle before the take stops the load; after it, the decoding goes on.
// The program's exit stops every load and waits for the workers.
//
// Start loads once the sample loader modules are started; the loader and
// stream factory chains must not change while one runs, and the stream
// factory the URL reaches must be safe to call from another thread (plain
// files are). A handle belongs to the thread that made it.
#pragma once

#include <memory>

#include <vantrel/audio/sample.h>
#include <vantrel/runtime/object.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

class LoadJob;

class TSampleLoadAhead final : public Object {
public:
    ~TSampleLoadAhead() override;

    Ref<TAudioSample> Take();
    bool Done();
    // After Done: false when a sample taken early lacks frames.
    bool Whole() const;

private:
    explicit TSampleLoadAhead(std::shared_ptr<LoadJob> job);
    friend Ref<TSampleLoadAhead> LoadSampleAhead(const String& url);

    const std::shared_ptr<LoadJob> _job;
    bool _taken = false;
    Ref<TAudioSample> _sample;
};

Ref<TSampleLoadAhead> LoadSampleAhead(const String& url);

}  // namespace vantrel
