// Writes a canvas as an RGBA PNG file through the engine's pixmap encoder.
// Returns false when the file cannot be written. Main thread only.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <vantrel/resources/pixmap.h>
#include "tools/assetgen/canvas.h"

namespace assetgen {

// The canvas as a format-6 (RGBA) pixmap.
vantrel::Ref<vantrel::TPixmap> ToPixmap(const Canvas& canvas);

bool WritePng(const Canvas& canvas, const std::string& path);

// A Windows icon file holding the given PNG files as its images (one per
// square size, as listed), stored whole as the format allows since Windows
// Vista. False when a PNG cannot be read or the file cannot be written.
bool WriteIco(const std::vector<std::pair<int, std::string>>& sizedPngs, const std::string& path);

}  // namespace assetgen
