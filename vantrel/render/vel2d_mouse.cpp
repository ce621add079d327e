// The pointer in logical units: polled input scaled by the current state's
// logical resolution.
#include <vantrel/render/vel2d.h>
#include <vantrel/render/vel2d_current.h>
#include <vantrel/runtime/math.h>
#include <vantrel/system/polled_input.h>
#include <vantrel/system/system_driver.h>

namespace vantrel {

float LogicalMouseX() { return static_cast<float>(PointerX()) * CurrentVel2DState().vres_mousexscale; }
float LogicalMouseY() { return static_cast<float>(PointerY()) * CurrentVel2DState().vres_mouseyscale; }
float LogicalMouseXSpeed() { return static_cast<float>(PointerMoveX()) * CurrentVel2DState().vres_mousexscale; }
float LogicalMouseYSpeed() { return static_cast<float>(PointerMoveY()) * CurrentVel2DState().vres_mouseyscale; }

void MoveLogicalMouse(float x, float y) {
    TVel2DGraphics& g = CurrentVel2DState();
    PlacePointer(TruncToInt(x / g.vres_mousexscale), TruncToInt(y / g.vres_mouseyscale));
}

}  // namespace vantrel
