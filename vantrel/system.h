// The system layer in one include: events and hook chains, polled input,
// timers, random numbers, the system driver and calls onto the main thread.
#pragma once

#include <vantrel/system/event.h>
#include <vantrel/system/hook.h>
#include <vantrel/system/keys.h>
#include <vantrel/system/main_thread_call.h>
#include <vantrel/system/polled_input.h>
#include <vantrel/system/random.h>
#include <vantrel/system/system_driver.h>
#include <vantrel/system/timer.h>
