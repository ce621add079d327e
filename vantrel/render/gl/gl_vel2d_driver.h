// The OpenGL 2D driver: the 2D drawing interface (vel2d.h) on fixed-function
// OpenGL, over SDL windows with OpenGL contexts. InitGLVel2DModule starts the
// graphics layers and makes it the graphics driver; GLVel2DDriverInstance is
// the driver itself, for SelectGraphicsDriver.
//
// Failure: OpenGraphics gives Null when no window and context can be made.
//
// Main thread only.
#pragma once

#include <vantrel/render/vel2d.h>

namespace vantrel {

// The driver, made on first use; Null when the OpenGL graphics driver does
// not exist.
Ref<TVel2DDriver> GLVel2DDriverInstance();

// Starts the graphics layers and makes this driver the default one.
void InitGLVel2DModule();

}  // namespace vantrel
