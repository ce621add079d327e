// The contact sheet: the title and play screens put together from the art
// as the game draws them, then every picture on its own, plain and tinted.
// Main thread only.
#pragma once

#include "tools/assetgen/canvas.h"

namespace assetgen {

Canvas MakeContactSheet();

}  // namespace assetgen
