// Writes sounds to files through the engine's streams: 16-bit PCM as a
// RIFF/WAVE file, and the music as Ogg Vorbis through libvorbisenc. Each
// returns false when the file cannot be opened, written or encoded.
// Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// pcm holds `channels` interleaved samples per frame.
bool WriteWav(const std::vector<int16_t>& pcm, int channels, int rate, const std::string& path);

// Variable bit rate at libvorbisenc's quality (-0.1..1). The stream's
// serial number is fixed, so the same input always gives the same bytes.
bool WriteOggVorbis(const std::vector<int16_t>& pcm, int channels, int rate, float quality, const std::string& path);

}  // namespace assetgen
