// Events: TEvent records for input, window and timer notifications,
// delivered synchronously through the event hook chain (EventHookId).
//
// Emitting an event runs every hook of the chain before Emit returns; there
// is no queue. Ids are grouped by their high bits (0x100 application,
// 0x200 keyboard, 0x400 pointer, 0x800 timer, ...); user ids have the top bit
// set. Names registered for ids give the events their text form. Nothing here
// fails: an id without a name reads "Unknown Event, id=..." or "UserEventN".
//
// Main thread only; no locks.
#pragma once

#include <vantrel/runtime/object.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

struct EventId {
    static constexpr int AppSuspend = 0x101;
    static constexpr int AppResume = 0x102;
    static constexpr int AppTerminate = 0x103;
    static constexpr int AppOpenFile = 0x104;
    static constexpr int AppIdle = 0x105;
    static constexpr int KeyDown = 0x201;
    static constexpr int KeyUp = 0x202;
    static constexpr int KeyChar = 0x203;
    static constexpr int KeyRepeat = 0x204;
    static constexpr int MouseDown = 0x401;
    static constexpr int MouseUp = 0x402;
    static constexpr int MouseMove = 0x403;
    static constexpr int MouseWheel = 0x404;
    static constexpr int MouseEnter = 0x405;
    static constexpr int MouseLeave = 0x406;
    static constexpr int TimerTick = 0x801;
    static constexpr int HotkeyHit = 0x1001;
    static constexpr int GadgetAction = 0x2001;
    static constexpr int GadgetPaint = 0x2002;
    static constexpr int GadgetSelect = 0x2003;
    static constexpr int GadgetMenu = 0x2004;
    static constexpr int GadgetOpen = 0x2005;
    static constexpr int GadgetClose = 0x2006;
    static constexpr int GadgetDone = 0x2007;
    static constexpr int GadgetLostFocus = 0x2008;
    static constexpr int GadgetShape = 0x2009;
    static constexpr int WindowMove = 0x4001;
    static constexpr int WindowSize = 0x4002;
    static constexpr int WindowClose = 0x4003;
    static constexpr int WindowActivate = 0x4004;
    static constexpr int WindowAccept = 0x4005;
    static constexpr int MenuAction = 0x8001;
    static constexpr int StreamEof = 0x10001;
    static constexpr int StreamAvail = 0x10002;
    static constexpr int ProcessExit = 0x20001;
};

// Modifier bits of an event's mods field.
constexpr int ModShift = 1;
constexpr int ModCtrl = 2;
constexpr int ModAlt = 4;
constexpr int ModSystem = 8;

class TEvent : public Object {
public:
    // Runs the event hook chain on this event; returns 0.
    virtual int Emit();
    // "<name>: data=<d>, mods=<m>, x=<x>, y=<y>, extra=\"<text>\"", the
    // extra text only when extra is a string.
    String ToString() const override;

    static Ref<TEvent> Create(int id, const Ref<Object>& source, int data, int mods, int x, int y,
                              const Ref<Object>& extra);
    // The next user id: 0x80000001, 0x80000002, ... (negative as int).
    static int AllocUserId();
    // Records a name for id; the first name recorded for an id wins.
    static void RegisterId(int id, const String& name);
    // The registered name, or "" when there is none.
    static String DescriptionForId(int id);

    int id = 0;
    Ref<Object> source;
    int data = 0;
    int mods = 0;
    int x = 0;
    int y = 0;
    Ref<Object> extra;
};

// The hook chain every emitted event runs; set by StartEventModule.
extern int EventHookId;

// Starts the hook module, allocates EventHookId and names the built-in ids.
void StartEventModule();

inline Ref<TEvent> MakeEvent(int id, const Ref<Object>& source, int data, int mods, int x, int y,
                             const Ref<Object>& extra) {
    return TEvent::Create(id, source, data, mods, x, y, extra);
}
int SendEvent(const Ref<TEvent>& event);
// AllocUserId, then RegisterId when name is not empty.
int NewUserEventId(const String& name);

}  // namespace vantrel
