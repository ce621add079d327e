#include <vantrel/audio/queue_refill.h>

namespace vantrel {

namespace {

// Played bytes beyond which the counters start again from the queue's size.
constexpr int64_t kRebaseBytes = 0x10000000;

}  // namespace

queue_refill::step queue_refill::start() {
    write_pos = 0;
    restart_ticks = 0;
    latency_blocks = kStartLatencyBlocks;
    return step{false, false, Fill(0)};
}

queue_refill::step queue_refill::tick(int64_t queued) {
    step s;
    if (restart_ticks > 0) {
        if (--restart_ticks > 0) return s;
        s.resume = true;
    }
    int64_t played = write_pos - queued;
    if (played * 2 > kRebaseBytes) {
        write_pos = queued;
        played = 0;
    }
    if (played > 0 && played + 2 * block > write_pos) {
        s.stall = true;
        restart_ticks = kRestartTicks;
        if (latency_blocks < kMaxLatencyBlocks) latency_blocks += 2;
        write_pos = 0;
        return s;
    }
    s.blocks = Fill(played);
    return s;
}

int queue_refill::Fill(int64_t played) {
    int blocks = 0;
    while (write_pos < played + static_cast<int64_t>(block) * latency_blocks) {
        write_pos += block;
        ++blocks;
    }
    return blocks;
}

}  // namespace vantrel
