// The three sound effects, 16-bit mono at 44100 Hz: a shot launched, a
// shot blocked (bright) and a shot that got through (dull). Each starts
// and ends at silence. Deterministic; any thread.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

std::vector<int16_t> MakeShotSound();
std::vector<int16_t> MakeHitSound();
std::vector<int16_t> MakeMissSound();

struct EffectPiece {
    const char* name;  // file name under snd/
    std::vector<int16_t> (*make)();
};
inline constexpr EffectPiece kEffectPieces[] = {
    {"shot.wav", MakeShotSound}, {"hit.wav", MakeHitSound}, {"miss.wav", MakeMissSound}};

}  // namespace assetgen
