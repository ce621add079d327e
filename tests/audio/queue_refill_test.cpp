#include <gtest/gtest.h>

#include <vantrel/audio/queue_refill.h>

using namespace vantrel;

namespace {

constexpr int kBlock = 1024;

// The output's queue as the refill rule sees it: written minus played.
struct FakeOutput {
    queue_refill refill{kBlock};
    int64_t queued = 0;
    bool playing = false;

    void Apply(const queue_refill::step& s) {
        if (s.stall) {
            playing = false;
            queued = 0;
        }
        queued += static_cast<int64_t>(s.blocks) * kBlock;
        if (s.resume) playing = true;
    }
    void Tick() { Apply(refill.tick(queued)); }
    void Play(int64_t samples) {
        if (playing) queued -= std::min(queued, samples);
    }
};

TEST(QueueRefill, StartsSixBlocksAheadAndTopsUpEveryTick) {
    FakeOutput out;
    out.Apply(out.refill.start());
    out.playing = true;
    EXPECT_EQ(out.queued, 6 * kBlock);
    out.Tick();
    EXPECT_EQ(out.queued, 6 * kBlock);   // nothing played yet: nothing to add
    for (int i = 0; i < 100; ++i) {
        out.Play(441);                   // 5 ms of stereo output
        out.Tick();
        ASSERT_GE(out.queued, 6 * kBlock);
        ASSERT_LT(out.queued, 7 * kBlock);
    }
}

TEST(QueueRefill, AStallGoesSilentFor250TicksAndComesBackWithMoreLatency) {
    FakeOutput out;
    out.Apply(out.refill.start());
    out.playing = true;
    for (int latency : {8, 10, 10}) {
        out.Play(out.queued - kBlock);   // the timer was late: one block left
        out.Tick();
        EXPECT_FALSE(out.playing);
        EXPECT_EQ(out.queued, 0);
        EXPECT_EQ(out.refill.latency_blocks, latency);
        for (int i = 0; i < queue_refill::kRestartTicks - 1; ++i) {
            out.Tick();
            ASSERT_FALSE(out.playing) << i;
            ASSERT_EQ(out.queued, 0);
        }
        out.Tick();
        EXPECT_TRUE(out.playing);
        EXPECT_EQ(out.queued, latency * kBlock);
        out.Play(kBlock);
        out.Tick();
        EXPECT_TRUE(out.playing);
        EXPECT_EQ(out.queued, latency * kBlock);
    }
}

TEST(QueueRefill, CountersAreRebasedAfterLongPlayWithoutAGap) {
    FakeOutput out;
    out.Apply(out.refill.start());
    out.playing = true;
    out.refill.write_pos = 0x8000000 + 6 * kBlock;   // 0x10000000 bytes played
    out.Play(kBlock);
    out.Tick();
    EXPECT_TRUE(out.playing);
    EXPECT_EQ(out.queued, 6 * kBlock);
    EXPECT_EQ(out.refill.write_pos, 6 * kBlock);
}

}  // namespace
