// Polled input: a frame-by-frame view of keyboard and pointer.
//
// A hook on the event chain keeps tables of held keys and buttons, press
// counts not yet taken, a 256-character typing queue, the pointer position
// and wheel, and the suspend and terminate flags. Every query pumps the
// system driver first (autoPoll), so it answers with what has happened up to
// now. Key codes are 0..255 and buttons 0..3 (1 left, 2 right, 3 middle),
// named in keys.h (keys::Escape, buttons::Left), which comes with this
// header; other arguments raise the runtime's array-bounds error, and
// events carrying codes outside those tables are ignored. Suspending or
// resuming the application flushes keys and buttons, so a key released in
// another application does not stay held.
//
// Main thread only.
#pragma once

#include <vantrel/runtime/object.h>
#include <vantrel/system/keys.h>

namespace vantrel {

void StartPolledInputModule();

// Records events of source only (Null: of every source); flushes first.
void AttachPolledInput(const Ref<Object>& source);
void DetachPolledInput();

int TakeTerminateRequest();
int IsAppSuspended();

int IsKeyDown(int key);
int TakeKeyHits(int key);
// The oldest typed character (a UTF-16 code unit), removed; 0 when none.
int TakeTypedChar();
void FlushKeyState();

int IsButtonDown(int button);
int TakeButtonHits(int button);
// Clears buttons and the wheel; the pointer position stays.
void FlushButtonState();

int PointerX();
int PointerY();
int PointerWheel();
// Movement since the previous call of the same function.
int PointerMoveX();
int PointerMoveY();
int PointerWheelMove();

// Block until a key press (its code), a typed character or a button press.
// Called inside the event pump (from a hook or a posted call) they return 0
// at once and leave the tables alone.
int WaitKeyPress();
int WaitTypedChar();
int WaitButtonPress();

}  // namespace vantrel
