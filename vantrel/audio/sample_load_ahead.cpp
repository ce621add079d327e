#include <vantrel/audio/sample_load_ahead.h>

#include <vantrel/audio/progressive_load.h>
#include <vantrel/audio/sample_fill.h>
#include <vantrel/runtime/load_ahead.h>

namespace vantrel {

namespace {

// How long after the take the rest of a sound handed out early begins to
// decode: the taker's next steps (a game's first frame) keep the processor,
// and the seconds handed out cover the wait with plenty to spare.
constexpr std::chrono::milliseconds kRestDelay{500};

}  // namespace

TSampleLoadAhead::TSampleLoadAhead(std::shared_ptr<LoadJob> job) : _job(std::move(job)) {}

TSampleLoadAhead::~TSampleLoadAhead() {
    if (!_taken) _job->Stop();
}

Ref<TAudioSample> TSampleLoadAhead::Take() {
    _taken = true;
    _sample = Cast<TAudioSample>(_job->Take());
    return _sample;
}

bool TSampleLoadAhead::Done() { return _job->Done(); }

bool TSampleLoadAhead::Whole() const {
    const TSampleFill* fill = _sample ? TSampleFill::Of(*_sample).get() : nullptr;
    return !fill || (fill->Finished() && !fill->Failed());
}

Ref<TSampleLoadAhead> LoadSampleAhead(const String& url) {
    std::shared_ptr<LoadJob> job = LoadJob::Start([url](LoadJob& load) {
        bool handedOut = false;
        Ref<TAudioSample> sample = ReadSampleFromUrl(url.AsObject(), [&](const Ref<TAudioSample>& early) {
            load.OnStop([fill = TSampleFill::Of(*early)] { fill->Cancel(); });
            load.Publish(early);
            handedOut = true;
            // The rest decodes once the program holds the sound and a little
            // later; a stop meanwhile has cancelled the fill, which ends the
            // decoding.
            if (load.WaitUntilTaken()) load.Pause(kRestDelay);
        });
        if (!handedOut) load.Publish(sample);
    });
    return Ref<TSampleLoadAhead>(new TSampleLoadAhead(std::move(job)));
}

}  // namespace vantrel
