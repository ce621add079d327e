// A load started now on a small pool of worker threads and taken later by
// the thread that wants its result. The engine's load handle
// (LoadSampleAhead) is built on it; it is not for games.
//
// Start queues the work; one of at most kLoadWorkers threads, started as
// work arrives and kept until exit, runs it. Take waits until the work has
// published its result and returns it, or raises again the exception the
// work raised before publishing; work that no worker has begun yet (all
// busy, or no thread could be started) is run by the taker itself, so a
// take never waits behind other loads. A work may publish early and go on
// (a sound decoding while it plays): Done tells when it has ended and
// raises, once, an exception it raised after publishing.
//
// Stop asks the work to end early: WaitUntilTaken and Pause return false,
// Stopping turns true and the cancel hook given to OnStop runs. Exit stops
// every load still queued or running and joins the workers, so no worker
// runs on while the process is torn down.
//
// Threads: Start, Take, Done and Stop from any one thread that owns the
// load; Publish, WaitUntilTaken, Pause, Stopping and OnStop from the work.
// The two meet under one mutex with a condition variable for the waits.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

#include <vantrel/runtime/object.h>

namespace vantrel {

inline constexpr std::size_t kLoadWorkers = 2;

class LoadJob {
public:
    using Work = std::function<void(LoadJob& job)>;

    static std::shared_ptr<LoadJob> Start(Work work);

    // Once; a second take raises TRuntimeException.
    Ref<Object> Take();
    bool Done();
    void Stop();

    // Work: hands result to the take, once.
    void Publish(const Ref<Object>& result);
    // Work, after Publish: blocks until the result is taken (true) or the
    // load is stopped (false).
    bool WaitUntilTaken();
    // Work: blocks for that long, or until the load is stopped (false);
    // returns at once in work its taker runs, which waits for the result.
    bool Pause(std::chrono::milliseconds duration);
    bool Stopping();
    // Work: cancel runs at Stop, or at once when the load is stopped already.
    void OnStop(std::function<void()> cancel);

private:
    friend class LoadPool;
    enum class Stage { Queued, Running, Ended };

    explicit LoadJob(Work work) : _work(std::move(work)) {}
    // Moves the load from Queued to Running; false when it was not queued.
    bool Claim();
    void Run() noexcept;

    Work _work;
    std::mutex _mutex;
    std::condition_variable _changed;
    // Guarded by _mutex.
    Stage _stage = Stage::Queued;
    bool _published = false;
    bool _taken = false;
    bool _stopping = false;
    bool _runByTaker = false;
    Ref<Object> _result;
    std::exception_ptr _error;      // raised before publishing: the take's
    std::exception_ptr _lateError;  // raised after publishing: Done's
    std::function<void()> _cancel;
};

}  // namespace vantrel
