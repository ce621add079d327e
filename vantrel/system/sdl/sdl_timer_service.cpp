// The timer services on SDL's timer thread.
//
// Each running timer occupies a slot whose `id` word is its whole state: 0
// free, kReserved while being filled in, else the timer's id, which encodes
// the slot index (id % kSlots). SDL's callback gets the id as its parameter
// and acts only while the slot still holds that id, so cancelling is one
// compare-and-swap, a stale SDL timer ends itself at its next firing (its
// callback returns 0), and slots never need to wait for SDL to let go.
#include <vantrel/system/timer_service.h>

#include <algorithm>
#include <atomic>
#include <string>

#include <SDL.h>

namespace vantrel {
namespace {

constexpr uint32_t kSlots = 64;
constexpr uint32_t kReserved = 0xffffffffu;
constexpr uint64_t kMostMadeUpMs = 1000;

struct TimerSlot {
    std::atomic<uint32_t> id{0};
    std::atomic<PlatformTimerFunc> callback{nullptr};
    std::atomic<void*> user{nullptr};
    std::atomic<bool> periodic{false};
    std::atomic<uint32_t> period{0};
    std::atomic<uint64_t> due{0};  // when the next periodic call is due (SDL_GetTicks64)
};

TimerSlot slots[kSlots];
std::atomic<uint32_t> nextGeneration{1};

Uint32 OnSDLTimer(Uint32, void* param) {
    const uint32_t id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(param));
    TimerSlot& slot = slots[id % kSlots];
    if (slot.id.load(std::memory_order_acquire) != id) return 0;
    PlatformTimerFunc callback = slot.callback.load(std::memory_order_relaxed);
    void* user = slot.user.load(std::memory_order_relaxed);
    bool periodic = slot.periodic.load(std::memory_order_relaxed);

    if (!periodic) {
        // Free the slot before calling, so the callback can arm the next one.
        uint32_t expected = id;
        if (!slot.id.compare_exchange_strong(expected, 0, std::memory_order_acq_rel)) return 0;
        callback(static_cast<int>(id), user);
        return 0;
    }

    // Due times stay on the grid laid at start: a call that comes late (the
    // timer thread was busy or not scheduled) makes up every period that has
    // passed since, so ordinary lateness delays ticks but never loses them.
    // Lateness beyond kMostMadeUpMs is a stall (a stopped process, a
    // suspended machine, a debugger): its owner could only race through the
    // backlog, so at most kMostMadeUpMs of ticks are made up and the grid
    // starts again from now.
    const uint64_t period = slot.period.load(std::memory_order_relaxed);
    const uint64_t now = SDL_GetTicks64();
    const uint64_t due = slot.due.load(std::memory_order_relaxed);
    const uint64_t late = now > due ? now - due : 0;
    uint64_t owed = late / period + 1;
    uint64_t next = due + owed * period;
    if (late > kMostMadeUpMs) {
        owed = std::max<uint64_t>(1, kMostMadeUpMs / period);
        next = now + period;
    }
    for (uint64_t i = 0; i < owed; ++i) {
        // The fields read above are only trusted if the slot was not reused
        // meanwhile; a cancel between two calls ends the catching up.
        if (slot.id.load(std::memory_order_acquire) != id) return 0;
        callback(static_cast<int>(id), user);
    }
    slot.due.store(next, std::memory_order_relaxed);
    return static_cast<Uint32>(next - now);
}

int StartTimer(int ms, PlatformTimerFunc callback, void* user, bool periodic) {
    if (ms < 1 || !callback) return 0;
    if (!SDL_WasInit(SDL_INIT_TIMER) && SDL_InitSubSystem(SDL_INIT_TIMER) != 0) return 0;

    for (uint32_t tries = 0; tries < kSlots; ++tries) {
        uint32_t generation = nextGeneration.fetch_add(1, std::memory_order_relaxed);
        uint32_t index = generation % kSlots;
        TimerSlot& slot = slots[index];
        uint32_t expected = 0;
        if (!slot.id.compare_exchange_strong(expected, kReserved, std::memory_order_acquire)) continue;

        // Ids are positive ints, never 0, with the slot index as their residue.
        uint32_t id = ((generation / kSlots) % (0x7fffffffu / kSlots - 1) + 1) * kSlots + index;
        slot.callback.store(callback, std::memory_order_relaxed);
        slot.user.store(user, std::memory_order_relaxed);
        slot.periodic.store(periodic, std::memory_order_relaxed);
        slot.period.store(static_cast<uint32_t>(ms), std::memory_order_relaxed);
        slot.due.store(SDL_GetTicks64() + static_cast<uint64_t>(ms), std::memory_order_relaxed);
        slot.id.store(id, std::memory_order_release);

        if (SDL_AddTimer(static_cast<Uint32>(ms), OnSDLTimer,
                         reinterpret_cast<void*>(static_cast<uintptr_t>(id))) == 0) {
            uint32_t mine = id;
            slot.id.compare_exchange_strong(mine, 0, std::memory_order_acq_rel);
            return 0;
        }
        return static_cast<int>(id);
    }
    return 0;
}

}  // namespace

int StartPeriodicPlatformTimer(int periodMs, PlatformTimerFunc callback, void* user) {
    return StartTimer(periodMs, callback, user, true);
}

int StartOneShotPlatformTimer(int delayMs, PlatformTimerFunc callback, void* user) {
    return StartTimer(delayMs, callback, user, false);
}

void CancelPlatformTimer(int id) {
    if (id <= 0) return;
    uint32_t expected = static_cast<uint32_t>(id);
    slots[expected % kSlots].id.compare_exchange_strong(expected, 0, std::memory_order_acq_rel);
}

void SetTimerResolution(int ms) {
    SDL_SetHint(SDL_HINT_TIMER_RESOLUTION, std::to_string(ms).c_str());
}

void ResetTimerResolution(int) {
    SDL_SetHint(SDL_HINT_TIMER_RESOLUTION, "0");
}

}  // namespace vantrel
