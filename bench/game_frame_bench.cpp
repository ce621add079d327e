// Frame cost of the real game: 3000 frames of scripted play on the OpenGL
// driver, the frame timer replaced by a clock that never waits. A scripted
// player holds the shield towards the shot closest to the centre. Prints the
// mean and 99th-percentile time per frame (update, draw and flip), both as
// main-thread CPU time and as wall time.
//
//   LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24"
//       build/bench/bench_game_frame_bench
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include <unistd.h>

#include "game/qirn.h"
#include "system/event.h"

using namespace vantrel;
using namespace qirn;

namespace {

constexpr int kFrames = 3000;
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

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * (v.size() - 1))];
}

void Report(const char* what, const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    std::printf("%-22s mean %.3f ms   p99 %.3f ms\n", what, sum / v.size(), Percentile(v, 0.99));
}

}  // namespace

int main(int argc, char** argv) {
    StartRuntime(argc, argv, false);
    if (chdir(VANTREL_GAME_DIR) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", VANTREL_GAME_DIR);
        return 1;
    }
    StartUp();
    SetRandomSeed(4660);
    int held = 0;
    while (Game::fade < 1.0) {
        RunFrame();
        ticks += tickDelta;
    }
    std::vector<double> cpu, wall;
    cpu.reserve(kFrames);
    wall.reserve(kFrames);
    int runs = 0;
    for (int frame = 0; frame < kFrames; ++frame) {
        if (Game::state == Game::StateMenu && Game::nextState == Game::StateMenu && Game::fade == 1.0) {
            SendKey(EventId::KeyDown, 87);
            SendKey(EventId::KeyUp, 87);
            ++runs;
        }
        HoldMask(MaskForNearestShot(), held);
        double c0 = Now(CLOCK_THREAD_CPUTIME_ID), w0 = Now(CLOCK_MONOTONIC);
        RunFrame();
        cpu.push_back(Now(CLOCK_THREAD_CPUTIME_ID) - c0);
        wall.push_back(Now(CLOCK_MONOTONIC) - w0);
        ticks += tickDelta;
    }
    std::printf("%d frames, level %d, score %d, health %d, runs %d\n", kFrames, Level::number, Game::score,
                Player::health, runs);
    Report("main-thread CPU/frame", cpu);
    Report("wall time/frame", wall);
    ExitProgram();
}
