// The pointer in logical units: polled input scaled by the current state's
// logical resolution.
#include "render/vel2d.h"
#include "runtime/exceptions.h"
#include "runtime/math.h"
#include "system/polled_input.h"
#include "system/system_driver.h"

namespace vantrel {

namespace {

TVel2DGraphics& MouseState() {
    Ref<TVel2DGraphics> g = TVel2DGraphics::Current();
    if (!g) RaiseRuntimeError("No current 2D graphics");
    return *g;   // the current slot keeps it alive
}

}  // namespace

float LogicalMouseX() { return static_cast<float>(PointerX()) * MouseState().vres_mousexscale; }
float LogicalMouseY() { return static_cast<float>(PointerY()) * MouseState().vres_mouseyscale; }
float LogicalMouseXSpeed() { return static_cast<float>(PointerMoveX()) * MouseState().vres_mousexscale; }
float LogicalMouseYSpeed() { return static_cast<float>(PointerMoveY()) * MouseState().vres_mouseyscale; }

void MoveLogicalMouse(float x, float y) {
    TVel2DGraphics& g = MouseState();
    PlacePointer(TruncToInt(x / g.vres_mousexscale), TruncToInt(y / g.vres_mouseyscale));
}

}  // namespace vantrel
