// Running a function on the main thread from any other thread.
//
// PostMainThreadCall queues func(arg0, arg1) on the system driver's event
// queue; the main thread runs it inside the next Poll (PumpSystemEvents or
// WaitSystemEvents), in posting order with the input events around it.
// Returns false when the call was refused (the system module has not started,
// the queue is full or memory ran out), in which case it never runs; it never
// throws, so timer callbacks may post.
// Any thread.
#pragma once

#include <cstdint>

namespace vantrel {

using MainThreadFunc = void (*)(void* arg0, intptr_t arg1);

bool PostMainThreadCall(MainThreadFunc func, void* arg0, intptr_t arg1);

}  // namespace vantrel
