#include <vantrel/system/random.h>

#include <cstdint>

namespace vantrel {

namespace {

constexpr int32_t kDefaultState = 4660;
int32_t randomState = kDefaultState;

// Schrage's method: 44488 and 3399 are the quotient and remainder of
// 2147483647 / 48271, so nothing overflows 32 bits.
int32_t Step() {
    int32_t s = 48271 * (randomState % 44488) - 3399 * (randomState / 44488);
    if (s < 0) s += 2147483647;
    return randomState = s;
}

}  // namespace

double RandomUnit() {
    int32_t a = Step() & 0x1FFFFFFC;
    int32_t b = Step() & 0x1FFFFFF8;
    return (a + b / 134217728.0) / 536870912.0;
}

float RandomUnitSingle() {
    return static_cast<float>(Step() & 0x0FFFFFF0) / 268435456.0f;
}

double RandomBetween(double a, double b) {
    double u = RandomUnit();
    return b > a ? a + u * (b - a) : b + u * (a - b);
}

int RandomInt(int a, int b) {
    // The span is taken in 64 bits so that ranges wider than 2^31 stay
    // uniform instead of wrapping; below that it is the plain 32-bit formula.
    // The offset is never negative and below the span, so the sum lies
    // between a and b and fits an int.
    int64_t d = int64_t{b} - a;
    if (d > 0) return static_cast<int>(static_cast<int64_t>(RandomUnit() * static_cast<double>(d + 1)) + a);
    return static_cast<int>(static_cast<int64_t>(RandomUnit() * static_cast<double>(1 - d)) + b);
}

int SetRandomSeed(int seed) {
    randomState = seed & 0x7FFFFFFF;
    if (randomState == 0 || randomState == 0x7FFFFFFF) randomState = kDefaultState;
    return 0;
}

int GetRandomSeed() { return randomState; }

void StartRandomModule() {
    static bool started = false;
    if (started) return;
    started = true;
}

}  // namespace vantrel
