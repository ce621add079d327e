// The game's music: a 32-bar electronic piece at 100 beats per minute in
// A minor, played by a small synthesiser from a step sequence and rendered
// as one seamless loop (note tails and echoes that run past the end are
// folded back onto the start). Deterministic; any thread.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

inline constexpr int kMusicBeatsPerMinute = 100;
inline constexpr int kMusicStepsPerBeat = 4;  // sixteenth notes
inline constexpr int kMusicBars = 32;
inline constexpr int kMusicSamplesPerStep = 44100 * 60 / kMusicBeatsPerMinute / kMusicStepsPerBeat;
inline constexpr int kMusicSteps = kMusicBars * 4 * kMusicStepsPerBeat;
inline constexpr int kMusicFrames = kMusicSteps * kMusicSamplesPerStep;

// Interleaved stereo 16-bit samples, kMusicFrames frames.
std::vector<int16_t> MakeMusic();

}  // namespace assetgen
