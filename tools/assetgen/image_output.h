// Writes a canvas as an RGBA PNG file through the engine's pixmap encoder.
// Returns false when the file cannot be written. Main thread only.
#pragma once

#include <string>

#include <vantrel/resources/pixmap.h>
#include "tools/assetgen/canvas.h"

namespace assetgen {

// The canvas as a format-6 (RGBA) pixmap.
vantrel::Ref<vantrel::TPixmap> ToPixmap(const Canvas& canvas);

bool WritePng(const Canvas& canvas, const std::string& path);

}  // namespace assetgen
