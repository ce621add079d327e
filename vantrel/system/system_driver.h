// The system driver: the one place where the platform's event queue is read.
//
// TSystemDriver is abstract (each operation raises "Attempt to call abstract
// method"); the system module creates the platform's driver once and keeps
// it in activeSystemDriver, and the functions below act on it. Poll turns
// pending platform events into TEvents emitted synchronously on the event
// hook chain; posted main-thread calls run inside it too. Message boxes,
// requesters and OpenURL report failure only through their results (0, -1
// or the empty string).
//
// Main thread only. PumpSystemEvents and WaitSystemEvents share one re-entry
// guard: called from inside a hook or a posted call they return at once.
#pragma once

#include <vantrel/runtime/object.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

class TSystemDriver : public Object {
public:
    virtual int Poll();
    virtual int Wait();
    virtual int MoveMouse(int x, int y);
    virtual int SetMouseVisible(int visible);
    virtual int Notify(const String& text, int serious);
    // 1 when OK was chosen, else 0.
    virtual int Confirm(const String& text, int serious);
    // 1 yes, 0 no, -1 cancel.
    virtual int Proceed(const String& text, int serious);
    // The chosen path, or "" when cancelled.
    virtual String RequestFile(const String& text, const String& exts, int save, const String& path);
    virtual String RequestDir(const String& text, const String& path);
    // 1 on success, 0 on failure.
    virtual int OpenURL(const String& url);
};

extern Ref<TSystemDriver> activeSystemDriver;

// Starts the event module, then creates the platform driver.
void StartSystemModule();

void PumpSystemEvents();
void WaitSystemEvents();
// True while a pump or wait runs (further ones would return at once).
bool SystemEventsPumping();

void PlacePointer(int x, int y);
void ShowPointer();
void HidePointer();

int NotifyUser(const String& text, int serious);
int ConfirmWithUser(const String& text, int serious);
int ProceedWithUser(const String& text, int serious);

// exts: filter groups separated by ";", each "Description:ext,ext" or just
// "ext,ext". path: initial folder and file name. A backslash in a path counts as "/".
String RequestFilePath(const String& text, const String& exts, int save, const String& path);
String RequestDirPath(const String& text, const String& path);

// Opens url after CompleteWebAddress; 1 on success.
int OpenWebPage(const String& url);

// Local date as "08 Dec 2026" and time as "14:25:07".
String CurrentDateText();
String CurrentTimeText();

// Makes and emits one event (the driver's translation uses this).
void EmitSystemEvent(int id, const Ref<Object>& source, int data, int mods, int x, int y,
                     const Ref<Object>& extra);

}  // namespace vantrel
