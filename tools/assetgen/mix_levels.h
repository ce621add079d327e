// Peak levels, as fractions of full scale, that the generated sounds are
// scaled to. The game plays the music and every effect at volume 1.0 through
// a mixer that adds the voices and clamps the sum, so the levels leave room
// for the music and any two effects at once: 0.36 + 2 x 0.30 stays below
// full scale, with a little to spare for the music encoder's overshoot.
#pragma once

namespace assetgen {

inline constexpr float kMusicPeak = 0.36f;
inline constexpr float kEffectPeak = 0.30f;  // the loudest effect; the others sit below it

}  // namespace assetgen
