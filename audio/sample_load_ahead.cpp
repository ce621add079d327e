#include "audio/sample_load_ahead.h"

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

namespace vantrel {

namespace {

// Loads started ahead and not taken yet. Main thread only.
std::vector<TSampleLoadAhead*>& Pending() {
    static std::vector<TSampleLoadAhead*> pending;
    return pending;
}

void Forget(TSampleLoadAhead* load) {
    auto& pending = Pending();
    pending.erase(std::remove(pending.begin(), pending.end(), load), pending.end());
}

}  // namespace

TSampleLoadAhead::~TSampleLoadAhead() {
    Forget(this);
    if (_worker.joinable()) _worker.join();
}

Ref<TAudioSample> TSampleLoadAhead::Take() {
    Forget(this);
    _worker.join();
    if (std::exception_ptr error = std::exchange(_error, nullptr)) std::rethrow_exception(error);
    return std::exchange(_sample, nullptr);
}

Ref<TSampleLoadAhead> LoadSampleAhead(const String& url) {
    Ref<TSampleLoadAhead> load(new TSampleLoadAhead(url));
    TSampleLoadAhead* self = load.get();
    try {
        // No exception may leave the worker: it is kept for the main thread.
        load->_worker = std::thread([self] {
            try {
                self->_sample = ReadSampleFromUrl(self->url.AsObject());
            } catch (...) {
                self->_error = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return load;
    }
    Pending().push_back(self);
    return load;
}

bool TakeSampleLoadedAhead(const Ref<Object>& url, Ref<TAudioSample>& sample) {
    if (Pending().empty() || !Cast<TString>(url)) return false;
    const String text = String::FromObject(url);
    for (TSampleLoadAhead* load : Pending()) {
        if (load->url == text) {
            sample = load->Take();
            return true;
        }
    }
    return false;
}

}  // namespace vantrel
