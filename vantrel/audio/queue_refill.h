// The refill rule of an output that plays a queue of mixed blocks, ticked
// every few milliseconds: keep latency_blocks blocks ahead of the play
// position (samples written minus samples still queued). When the writer has
// fallen behind (fewer than two blocks left) the output is stopped and
// emptied, stays silent for 250 ticks and comes back with two more blocks of
// latency, up to 10. Counters are rebased long before they could overflow.
// Used by one thread at a time (the device's timer).
#pragma once

#include <cstdint>

namespace vantrel {

class queue_refill {
public:
    static constexpr int kRestartTicks = 250;
    static constexpr int kStartLatencyBlocks = 6;
    static constexpr int kMaxLatencyBlocks = 10;

    explicit queue_refill(int block) : block(block) {}

    // What a tick asks of the output, in this order.
    struct step {
        bool stall = false;    // stop the output and drop what is queued
        bool resume = false;   // start the output again
        int blocks = 0;        // mix and queue this many blocks
    };

    // The first fill, before the output starts.
    step start();
    // One tick; queued = samples still waiting in the output's queue.
    step tick(int64_t queued);

    const int block;           // samples per block
    int64_t write_pos = 0;     // samples queued since the last (re)start
    int restart_ticks = 0;
    int latency_blocks = kStartLatencyBlocks;

private:
    int Fill(int64_t played);
};

}  // namespace vantrel
