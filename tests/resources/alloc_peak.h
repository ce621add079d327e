// Peak heap use while a piece of code runs, measured by wrapping the C
// library's allocator (in plain builds; sanitizer builds keep their own
// allocator, and Available() is false there).
#pragma once

#include <cstddef>

namespace alloc_peak {

bool Available();
// Starts a measurement at the current heap use.
void Reset();
// The most bytes in use above the level at Reset since Reset.
size_t PeakSinceReset();

}  // namespace alloc_peak
