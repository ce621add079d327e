// Starting a load on a worker thread now and picking its result up where
// the program would have loaded it anyway.
//
// Each kind of load (samples, pixmaps, ...) derives a handle class from
// TLoadAhead, starts its work with Start and looks for it in its loader
// with TakePending. While the handle lives, the first take of the same URL
// text for the same handle class waits until the worker has published its
// result and returns it: the result, Null when the worker ended without
// publishing, or the worker's exception raised again when it raised before
// publishing. Later loads of that URL find nothing and read afresh. So a
// slow load may start early without moving the point where its result, or
// its failure, shows.
//
// A worker may publish early and go on working (a sound whose decoding goes
// on after its first seconds): the take then returns at once. Done tells
// the main thread when the worker has ended and raises again an exception
// it raised after publishing; an exception still unreported when the
// handle is dropped is lost with it, as the handle asked the worker to stop.
//
// Dropping the handle asks the worker to stop (Stopping, WaitUntilTaken)
// and waits for it: keep handles in locals, so that an exception leaving
// the scope also waits and nothing runs on after the program has begun to
// exit. When no thread can be started the handle does nothing and the
// loader reads as without it.
//
// Threads: the handle, Start, TakePending and Done belong to the main
// thread (the list of pending loads is not locked). The worker calls only
// Publish, WaitUntilTaken and Stopping, and reads url. The published
// result, the exceptions and the taken, stop and end flags pass between
// the two under one mutex, with a condition variable for the waits; the
// result is handed over once and then belongs to the taker.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <typeinfo>

#include <vantrel/runtime/object.h>

namespace vantrel {

class TLoadAhead : public Object {
public:
    using Work = std::function<void(TLoadAhead& load)>;

    ~TLoadAhead() override;

    // Main thread: whether the worker has ended. Once it has, joins it and
    // raises again, once, an exception it raised after publishing.
    bool Done();

    // Worker: hands result to the take; a load publishes once (a second
    // Publish raises TRuntimeException on the worker).
    void Publish(const Ref<Object>& result);
    // Worker, after Publish: blocks until the main thread has taken the
    // result (true) or the handle is being dropped (false: stop now).
    bool WaitUntilTaken();
    // Worker: whether the handle is being dropped and the work should end.
    bool Stopping() const { return _stopping.load(std::memory_order_acquire); }

    const String url;

protected:
    explicit TLoadAhead(const String& url) : url(url) {}

    // Runs work on a thread of its own and lists load as pending; does
    // nothing more when no thread can be started.
    static void Start(const Ref<TLoadAhead>& load, Work work);
    // When a load of kind (the handle's class) for the URL text of url is
    // pending, takes it: waits for its result, stores it in result (or
    // raises the worker's exception) and returns true. Else false.
    static bool TakePending(const std::type_info& kind, const Ref<Object>& url, Ref<Object>& result);
    // TakePending for loads of the handle class Handle, whose results are Ts.
    template <class Handle, class T>
    static bool TakePendingAs(const Ref<Object>& url, Ref<T>& result) {
        Ref<Object> taken;
        if (!TakePending(typeid(Handle), url, taken)) return false;
        result = Cast<T>(taken);
        return true;
    }

private:
    Ref<Object> Take();
    void RunWorker(const Work& work) noexcept;

    std::thread _worker;
    std::mutex _mutex;
    std::condition_variable _changed;
    // Guarded by _mutex.
    bool _published = false;
    bool _taken = false;
    bool _ended = false;
    Ref<Object> _result;
    std::exception_ptr _error;      // raised before publishing: the take's
    std::exception_ptr _lateError;  // raised after publishing: Done's
    // Written under _mutex; read without it by Stopping.
    std::atomic<bool> _stopping{false};
};

}  // namespace vantrel
