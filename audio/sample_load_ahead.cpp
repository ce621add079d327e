#include "audio/sample_load_ahead.h"

namespace vantrel {

Ref<TSampleLoadAhead> LoadSampleAhead(const String& url) {
    Ref<TSampleLoadAhead> load(new TSampleLoadAhead(url));
    TSampleLoadAhead::Start(load, [](TLoadAhead& self) { self.Publish(ReadSampleFromUrl(self.url.AsObject())); });
    return load;
}

bool TakeSampleLoadedAhead(const Ref<Object>& url, Ref<TAudioSample>& sample) {
    Ref<Object> taken;
    if (!TSampleLoadAhead::TakePending(typeid(TSampleLoadAhead), url, taken)) return false;
    sample = Cast<TAudioSample>(taken);
    return true;
}

}  // namespace vantrel
