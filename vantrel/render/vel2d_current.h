// The drawing state that the procedures of the 2D front act on, shared by
// the files that make up the front (render/vel2d.h is its public face).
//
// Failure: raises TRuntimeException when no 2D graphics are current.
//
// Main thread only.
#pragma once

#include <vantrel/render/vel2d.h>

namespace vantrel {

// The current TVel2DGraphics; the module's current slot keeps it alive.
TVel2DGraphics& CurrentVel2DState();

}  // namespace vantrel
