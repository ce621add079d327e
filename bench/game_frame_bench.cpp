// Frame cost of the real game on the OpenGL driver, with the driver's
// skipping of transparent fill off ("off") and on ("on"), interleaved in
// blocks of frames within one run so that both see the same machine load.
// A scripted player holds the shield towards the shot closest to the centre
// and starts a new run from the title whenever one ends.
//
// Part 1, unpaced: the frame timer replaced by a clock that never waits.
// Per frame (update, draw and flip): main-thread CPU, process CPU (every
// thread, the software rasteriser's included) and wall time.
// Part 2, paced: frames wait on a 50 Hz timer as the game's own loop does.
// Frames per second, frame interval (mean, 99th percentile) and process CPU
// per frame.
// Each measure is printed for both, with the ratio off / on, and the load
// average before and after.
//
//   LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24"
//       build/bench/bench_game_frame_bench [unpaced frames] [paced frames]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include <unistd.h>

#include "game/qirn.h"
#include <vantrel/render/gl/gl_vel2d_driver_impl.h>
#include <vantrel/system/event.h>

using namespace vantrel;
using namespace qirn;

namespace {

constexpr int kBlock = 50;  // frames per block before switching
constexpr int kKeyOfBit[4] = {65, 83, 68, 87};  // mask bits 1 A, 2 S, 4 D, 8 W
constexpr int kDirectionMask[8] = {8, 12, 4, 6, 2, 3, 1, 9};

double Now(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void SendKey(int id, int key) { MakeEvent(id, nullptr, key, 0, 0, 0, nullptr)->Emit(); }

// Holds exactly the keys of mask.
void HoldMask(int mask, int& held) {
    for (int bit = 0; bit < 4; ++bit) {
        bool want = mask & (1 << bit), have = held & (1 << bit);
        if (want != have) SendKey(want ? EventId::KeyDown : EventId::KeyUp, kKeyOfBit[bit]);
    }
    held = mask;
}

// The mask that puts the shield on the shot nearest the centre (none: 15,
// which covers nothing).
int MaskForNearestShot() {
    double best = 1e18;
    int pos = -1;
    for (const Ref<Object>& value : *Shot::list) {
        auto shot = Cast<Shot>(value);
        if (!shot) continue;
        double d = (shot->x - 400) * (shot->x - 400) + (shot->y - 300) * (shot->y - 300);
        if (d < best) best = d, pos = shot->pos;
    }
    if (pos < 0) return 15;
    return Shield::rest == pos ? 0 : kDirectionMask[pos];
}

// The scripted player's input for the coming frame; counts runs started.
void Play(int& held, int& runs) {
    if (Game::state == Game::StateMenu && Game::nextState == Game::StateMenu && Game::fade == 1.0) {
        SendKey(EventId::KeyDown, 87);
        SendKey(EventId::KeyUp, 87);
        ++runs;
    }
    HoldMask(MaskForNearestShot(), held);
}

double Mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    return v.empty() ? 0 : sum / v.size();
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * (v.size() - 1))];
}

void Row(const char* what, double off, double on, const char* unit) {
    std::printf("  %-34s off %8.2f %-3s on %8.2f %-3s off/on %.2f\n", what, off, unit, on, unit, off / on);
}

void PrintLoad(const char* when) {
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("load average %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

// Samples of one variant: index 0 off, 1 on.
struct Samples {
    std::vector<double> thread, process, wall;
};

void SetSkipping(bool on) { Cast<TGLVel2DDriver>(GLVel2DDriverInstance())->SetSkipTransparent(on); }

}  // namespace

int main(int argc, char** argv) {
    int unpacedFrames = argc > 1 ? std::atoi(argv[1]) : 2000;
    int pacedFrames = argc > 2 ? std::atoi(argv[2]) : 1500;
    StartRuntime(argc, argv, false);
    if (chdir(VANTREL_GAME_DIR) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", VANTREL_GAME_DIR);
        return 1;
    }
    StartUp();
    SetRandomSeed(4660);
    PrintLoad("at start");
    int held = 0, runs = 0;
    while (Game::fade < 1.0) {
        RunFrame();
        ticks += tickDelta;
    }

    Samples unpaced[2];
    for (int frame = 0; frame < unpacedFrames; ++frame) {
        int v = (frame / kBlock) % 2;
        SetSkipping(v == 1);
        Play(held, runs);
        double t0 = Now(CLOCK_THREAD_CPUTIME_ID), p0 = Now(CLOCK_PROCESS_CPUTIME_ID), w0 = Now(CLOCK_MONOTONIC);
        RunFrame();
        unpaced[v].thread.push_back(Now(CLOCK_THREAD_CPUTIME_ID) - t0);
        unpaced[v].process.push_back(Now(CLOCK_PROCESS_CPUTIME_ID) - p0);
        unpaced[v].wall.push_back(Now(CLOCK_MONOTONIC) - w0);
        ticks += tickDelta;
    }
    PrintLoad("after the unpaced part");

    // As the game's loop: draw, then wait for the next tick of a 50 Hz timer.
    // A frame's interval runs from its start to the next frame's start.
    Ref<TTimer> timer = MakeTimer(50.0, nullptr);
    tickDelta = AwaitTimerTicks(timer);
    Samples paced[2];
    double pacedTime[2] = {0, 0};
    int dropped[2] = {0, 0};
    double w0 = Now(CLOCK_MONOTONIC), p0 = Now(CLOCK_PROCESS_CPUTIME_ID);
    for (int frame = 0; frame < pacedFrames; ++frame) {
        int v = (frame / kBlock) % 2;
        SetSkipping(v == 1);
        Play(held, runs);
        RunFrame();
        tickDelta = AwaitTimerTicks(timer);
        ticks += tickDelta;
        dropped[v] += tickDelta - 1;
        double w1 = Now(CLOCK_MONOTONIC), p1 = Now(CLOCK_PROCESS_CPUTIME_ID);
        paced[v].wall.push_back(w1 - w0);
        paced[v].process.push_back(p1 - p0);
        pacedTime[v] += w1 - w0;
        w0 = w1;
        p0 = p1;
    }
    PrintLoad("at the end");
    SetSkipping(true);

    std::printf("%d unpaced + %d paced frames in blocks of %d, level %d, score %d, health %d, runs %d\n",
                unpacedFrames, pacedFrames, kBlock, Level::number, Game::score, Player::health, runs);
    std::printf("unpaced (no waiting), per frame:\n");
    Row("process CPU, mean", Mean(unpaced[0].process), Mean(unpaced[1].process), "ms");
    Row("process CPU, p99", Percentile(unpaced[0].process, 0.99), Percentile(unpaced[1].process, 0.99), "ms");
    Row("main-thread CPU, mean", Mean(unpaced[0].thread), Mean(unpaced[1].thread), "ms");
    Row("wall time, mean", Mean(unpaced[0].wall), Mean(unpaced[1].wall), "ms");
    Row("wall time, p99", Percentile(unpaced[0].wall, 0.99), Percentile(unpaced[1].wall, 0.99), "ms");
    if (pacedFrames <= 0) ExitProgram();
    std::printf("paced by the 50 Hz timer:\n");
    double fps[2];
    for (int v = 0; v < 2; ++v) fps[v] = paced[v].wall.size() * 1000.0 / pacedTime[v];
    Row("frames per second", fps[0], fps[1], "");
    Row("frame interval, mean", Mean(paced[0].wall), Mean(paced[1].wall), "ms");
    Row("frame interval, p99", Percentile(paced[0].wall, 0.99), Percentile(paced[1].wall, 0.99), "ms");
    Row("process CPU per frame, mean", Mean(paced[0].process), Mean(paced[1].process), "ms");
    std::printf("  ticks missed: off %d, on %d\n", dropped[0], dropped[1]);
    ExitProgram();
}
