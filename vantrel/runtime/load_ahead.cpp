#include <vantrel/runtime/load_ahead.h>

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

#include <vantrel/runtime/exceptions.h>

namespace vantrel {

namespace {

// Loads started and not taken yet, oldest first. Main thread only. Never
// destroyed: a handle held in a static may be dropped while the program's
// statics are torn down, after a list of its own would be gone.
std::vector<TLoadAhead*>& Pending() {
    static auto* pending = new std::vector<TLoadAhead*>;
    return *pending;
}

void Forget(TLoadAhead* load) {
    auto& pending = Pending();
    pending.erase(std::remove(pending.begin(), pending.end(), load), pending.end());
}

}  // namespace

TLoadAhead::~TLoadAhead() {
    Forget(this);
    {
        std::lock_guard<std::mutex> lock(_mutex);
        _stopping.store(true, std::memory_order_release);
    }
    _changed.notify_all();
    if (_worker.joinable()) _worker.join();
}

bool TLoadAhead::Done() {
    {
        std::lock_guard<std::mutex> lock(_mutex);
        if (!_ended) return false;
    }
    if (_worker.joinable()) _worker.join();
    if (std::exception_ptr error = std::exchange(_lateError, nullptr)) std::rethrow_exception(error);
    return true;
}

void TLoadAhead::Publish(const Ref<Object>& result) {
    {
        std::lock_guard<std::mutex> lock(_mutex);
        if (_published) RaiseRuntimeError("A load started ahead publishes its result once");
        _result = result;
        _published = true;
    }
    _changed.notify_all();
}

bool TLoadAhead::WaitUntilTaken() {
    std::unique_lock<std::mutex> lock(_mutex);
    if (!_published) RaiseRuntimeError("A load started ahead waits for its take only once it has published");
    _changed.wait(lock, [this] { return _taken || Stopping(); });
    return !Stopping();
}

void TLoadAhead::Start(const Ref<TLoadAhead>& load, Work work) {
    TLoadAhead* self = load.get();
    try {
        self->_worker = std::thread([self, work = std::move(work)] { self->RunWorker(work); });
    } catch (const std::system_error&) {
        std::lock_guard<std::mutex> lock(self->_mutex);
        self->_ended = true;
        return;
    }
    Pending().push_back(self);
}

void TLoadAhead::RunWorker(const Work& work) noexcept {
    // No exception may leave the worker: it is kept for the main thread.
    std::exception_ptr error;
    try {
        work(*this);
    } catch (...) {
        error = std::current_exception();
    }
    {
        std::lock_guard<std::mutex> lock(_mutex);
        if (_published) {
            _lateError = error;
        } else {
            _error = error;
            _published = true;
        }
        _ended = true;
    }
    _changed.notify_all();
}

bool TLoadAhead::TakePending(const std::type_info& kind, const Ref<Object>& url, Ref<Object>& result) {
    if (Pending().empty() || !Cast<TString>(url)) return false;
    const String text = String::FromObject(url);
    for (TLoadAhead* load : Pending()) {
        if (typeid(*load) == kind && load->url == text) {
            result = load->Take();
            return true;
        }
    }
    return false;
}

Ref<Object> TLoadAhead::Take() {
    Forget(this);
    std::unique_lock<std::mutex> lock(_mutex);
    _changed.wait(lock, [this] { return _published; });
    _taken = true;
    const bool ended = _ended;
    Ref<Object> result = std::exchange(_result, nullptr);
    std::exception_ptr error = std::exchange(_error, nullptr);
    lock.unlock();
    _changed.notify_all();
    // A worker that has ended leaves no thread behind it.
    if (ended && _worker.joinable()) _worker.join();
    if (error) std::rethrow_exception(error);
    return result;
}

}  // namespace vantrel
