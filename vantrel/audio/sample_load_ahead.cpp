#include <vantrel/audio/sample_load_ahead.h>

namespace vantrel {

TSampleLoadAhead::~TSampleLoadAhead() {
    std::lock_guard<std::mutex> lock(_filling->mutex);
    _filling->dropped = true;
    if (_filling->fill) _filling->fill->Cancel();
}

bool TSampleLoadAhead::Whole() {
    std::lock_guard<std::mutex> lock(_filling->mutex);
    const Ref<TSampleFill>& fill = _filling->fill;
    return !fill || (fill->Finished() && !fill->Failed());
}

Ref<TSampleLoadAhead> LoadSampleAhead(const String& url) {
    Ref<TSampleLoadAhead> load(new TSampleLoadAhead(url));
    TSampleLoadAhead::Start(load, [filling = load->_filling](TLoadAhead& self) {
        bool handedOut = false;
        Ref<TAudioSample> sample = ReadSampleFromUrl(self.url.AsObject(), [&](const Ref<TAudioSample>& early) {
            {
                std::lock_guard<std::mutex> lock(filling->mutex);
                filling->fill = early->fill;
                if (filling->dropped) early->fill->Cancel();
            }
            self.Publish(early);
            handedOut = true;
            // The rest decodes once the program holds the sound.
            if (!self.WaitUntilTaken()) early->fill->Cancel();
        });
        if (!handedOut) self.Publish(sample);
    });
    return load;
}

bool TakeSampleLoadedAhead(const Ref<Object>& url, Ref<TAudioSample>& sample) {
    return TSampleLoadAhead::TakePendingAs<TSampleLoadAhead>(url, sample);
}

}  // namespace vantrel
