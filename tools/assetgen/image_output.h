// Writes a canvas as an RGBA PNG file. Returns false when the file cannot
// be written. Main thread only.
#pragma once

#include <string>

#include "tools/assetgen/canvas.h"

namespace assetgen {

bool WritePng(const Canvas& canvas, const std::string& path);

}  // namespace assetgen
