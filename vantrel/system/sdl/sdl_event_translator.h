// SDL event translation: SDL input and window events become TEvents.
//
// The system driver's Poll takes every SDL event from SDL's queue and hands
// it to DispatchSDLEvent, which routes it by the event's window id:
//
// - An event of a window registered with RegisterSDLWindow goes to that
//   window's procedure when one was given, else straight to
//   TranslateSDLEvent with the registered source. A window procedure must
//   call TranslateSDLEvent(event, source) first, then do its own handling
//   (focus changes for full screen and the like), just as the graphics
//   layer's windows do:
//
//       RegisterSDLWindow(SDL_GetWindowID(window), nullptr, MyWindowProc, context);
//       void MyWindowProc(const SDL_Event& e, void* context) {
//           TranslateSDLEvent(e, nullptr);
//           if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) ...
//       }
//
//   Unregister the window before destroying it.
// - Every other event (no window: SDL_QUIT; an unregistered window) is
//   translated with the Null source.
//
// What becomes what: KeyDown/KeyRepeat/KeyUp with the key's virtual-key code
// (VirtualKeyForScancode; keys without one are dropped); KeyChar for each
// UTF-16 code unit of SDL_TEXTINPUT text, and for Backspace (8), Tab (9),
// Enter (13) and Escape (27) presses, which SDL's text input never reports;
// AppSuspend/AppResume when focus leaves or reaches the program (moving focus
// between two of its windows gives neither); AppTerminate on a close request
// or SDL_QUIT; MouseDown/MouseUp with button 1 left, 2 right, 3 middle;
// MouseMove (data 2 right held, else 4 middle held, else 1 left held, else 0);
// MouseWheel in notches; MouseEnter before the first MouseMove inside a
// window and MouseLeave, with the last pointer position, when it leaves.
// A window given a program size (SetSDLWindowProgramSize) shows the
// program's picture letterboxed (letterbox.h): its mouse positions are
// mapped into the program's points, and the pointer over the bars is
// outside the window.
// Modifier bits are taken from the SDL modifier state of each modifier key's
// own event, so that event already carries the new state.
//
// Main thread only, from inside Poll.
#pragma once

#include <SDL.h>

#include <vantrel/runtime/object.h>

namespace vantrel {

using SDLWindowProc = void (*)(const SDL_Event& event, void* context);

void RegisterSDLWindow(Uint32 windowId, const Ref<Object>& source, SDLWindowProc proc, void* context);
// The size of the picture the program draws into a registered window, when
// the window may be given another size (by a tiling window manager or a
// compositor); 0 x 0 goes back to the window's own points.
void SetSDLWindowProgramSize(Uint32 windowId, int width, int height);
// A program point of the window to the window's point (for warping the
// pointer); unchanged for a window without a program size.
void ProgramToSDLWindowPoint(Uint32 windowId, int& x, int& y);
// Forgets the window; if the pointer was inside it, MouseLeave is emitted.
void UnregisterSDLWindow(Uint32 windowId);

void TranslateSDLEvent(const SDL_Event& event, const Ref<Object>& source);

// For the driver: routes one event as described above.
void DispatchSDLEvent(const SDL_Event& event);
// For the driver, after the queue is empty: emits AppSuspend for a focus
// loss that no focus gain of another of the program's windows followed.
void FinishSDLEventBatch();

// For the driver: the program's wish to show the pointer.
void SetSDLPointerVisible(bool visible);

// The virtual-key code (1..255) of a key, 0 when it has none. Left and
// right Shift, Control and Alt give 160..165, never the generic 16..18.
int VirtualKeyForScancode(SDL_Scancode scancode);
// ModShift/ModCtrl/ModAlt/ModSystem bits of an SDL modifier state.
int ModifierBits(Uint16 sdlMods);

}  // namespace vantrel
