#include <vantrel/runtime/load_ahead.h>

#include <deque>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include <vantrel/runtime/exceptions.h>

namespace vantrel {

// The workers and the loads waiting for one. A function-local static: made
// at the first Start, after the loader chains the work reads, so it is torn
// down before them.
class LoadPool {
public:
    static LoadPool& Instance() {
        static LoadPool pool;
        return pool;
    }

    ~LoadPool() {
        std::vector<std::shared_ptr<LoadJob>> live;
        {
            std::lock_guard<std::mutex> lock(_mutex);
            _closing = true;
            live.assign(_queue.begin(), _queue.end());
            live.insert(live.end(), _running.begin(), _running.end());
            _queue.clear();
        }
        _changed.notify_all();
        for (const auto& job : live) job->Stop();
        for (std::thread& worker : _workers) worker.join();
    }

    void Submit(const std::shared_ptr<LoadJob>& job) {
        {
            std::lock_guard<std::mutex> lock(_mutex);
            _queue.push_back(job);
            if (_queue.size() > static_cast<size_t>(_idle) && _workers.size() < kLoadWorkers) {
                try {
                    _workers.emplace_back([this] { Serve(); });
                } catch (const std::system_error&) {
                    // Fewer workers, or none: a take runs the work itself.
                }
            }
        }
        _changed.notify_one();
    }

private:
    void Serve() {
        std::unique_lock<std::mutex> lock(_mutex);
        for (;;) {
            ++_idle;
            _changed.wait(lock, [this] { return _closing || !_queue.empty(); });
            --_idle;
            if (_closing) return;
            std::shared_ptr<LoadJob> job = std::move(_queue.front());
            _queue.pop_front();
            if (!job->Claim()) continue;  // a taker runs it
            _running.push_back(job);
            lock.unlock();
            job->Run();
            lock.lock();
            std::erase(_running, job);
        }
    }

    std::mutex _mutex;
    std::condition_variable _changed;
    // Guarded by _mutex.
    std::deque<std::shared_ptr<LoadJob>> _queue;
    std::vector<std::shared_ptr<LoadJob>> _running;
    std::vector<std::thread> _workers;
    int _idle = 0;
    bool _closing = false;
};

std::shared_ptr<LoadJob> LoadJob::Start(Work work) {
    std::shared_ptr<LoadJob> job(new LoadJob(std::move(work)));
    LoadPool::Instance().Submit(job);
    return job;
}

bool LoadJob::Claim() {
    std::lock_guard<std::mutex> lock(_mutex);
    if (_stage != Stage::Queued) return false;
    _stage = Stage::Running;
    return true;
}

void LoadJob::Run() noexcept {
    // No exception may leave the work: it is kept for the taker.
    std::exception_ptr error;
    try {
        if (!Stopping()) _work(*this);
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
        _stage = Stage::Ended;
        _work = nullptr;
        _cancel = nullptr;
    }
    _changed.notify_all();
}

Ref<Object> LoadJob::Take() {
    std::unique_lock<std::mutex> lock(_mutex);
    if (_taken) RaiseRuntimeError("A load started ahead is taken once");
    _taken = true;
    if (_stage == Stage::Queued) {
        // Taken before any worker began it: the taker holds it already, so
        // work that waits for its take goes straight on.
        _stage = Stage::Running;
        _runByTaker = true;
        lock.unlock();
        Run();
        lock.lock();
    }
    _changed.notify_all();
    _changed.wait(lock, [this] { return _published; });
    Ref<Object> result = std::exchange(_result, nullptr);
    if (std::exception_ptr error = std::exchange(_error, nullptr)) std::rethrow_exception(error);
    return result;
}

bool LoadJob::Done() {
    std::lock_guard<std::mutex> lock(_mutex);
    if (_stage != Stage::Ended) return false;
    if (std::exception_ptr error = std::exchange(_lateError, nullptr)) std::rethrow_exception(error);
    return true;
}

void LoadJob::Stop() {
    std::function<void()> cancel;
    {
        std::lock_guard<std::mutex> lock(_mutex);
        if (_stopping) return;
        _stopping = true;
        cancel = std::move(_cancel);
    }
    _changed.notify_all();
    if (cancel) cancel();
}

void LoadJob::Publish(const Ref<Object>& result) {
    {
        std::lock_guard<std::mutex> lock(_mutex);
        if (_published) RaiseRuntimeError("A load started ahead publishes its result once");
        _result = result;
        _published = true;
    }
    _changed.notify_all();
}

bool LoadJob::WaitUntilTaken() {
    std::unique_lock<std::mutex> lock(_mutex);
    _changed.wait(lock, [this] { return _taken || _stopping; });
    return !_stopping;
}

bool LoadJob::Pause(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> lock(_mutex);
    if (_runByTaker) return !_stopping;
    return !_changed.wait_for(lock, duration, [this] { return _stopping; });
}

bool LoadJob::Stopping() {
    std::lock_guard<std::mutex> lock(_mutex);
    return _stopping;
}

void LoadJob::OnStop(std::function<void()> cancel) {
    std::unique_lock<std::mutex> lock(_mutex);
    if (!_stopping) {
        _cancel = std::move(cancel);
        return;
    }
    lock.unlock();
    cancel();
}

}  // namespace vantrel
