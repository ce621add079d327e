#include <vantrel/system/event.h>

#include <cstdint>

#include <vantrel/system/hook.h>

namespace vantrel {

int EventHookId = -1;

namespace {

bool eventModuleStarted = false;
// "}" followed by "<id>{<name>}" for every registration, so a lookup is one
// search for "}<id>{".
String& IdRegistry() {
    static String registry = "}";
    return registry;
}
uint32_t userIdCounter = 0x80000000u;

}  // namespace

int TEvent::Emit() {
    CallHooks(EventHookId, Ref<Object>(this));
    return 0;
}

String TEvent::ToString() const {
    String name = DescriptionForId(id);
    if (name.IsEmpty()) {
        name = id < 0 ? "UserEvent" + String::FromInt(id & 0x7fffffff)
                      : "Unknown Event, id=" + String::FromInt(id);
    }
    return name + ": data=" + String::FromInt(data) + ", mods=" + String::FromInt(mods) +
           ", x=" + String::FromInt(x) + ", y=" + String::FromInt(y) + ", extra=\"" +
           String::FromObject(extra) + "\"";
}

Ref<TEvent> TEvent::Create(int id, const Ref<Object>& source, int data, int mods, int x, int y,
                           const Ref<Object>& extra) {
    Ref<TEvent> event = MakeRef<TEvent>();
    event->id = id;
    event->source = source;
    event->data = data;
    event->mods = mods;
    event->x = x;
    event->y = y;
    event->extra = extra;
    return event;
}

int TEvent::AllocUserId() {
    ++userIdCounter;
    return static_cast<int>(userIdCounter);
}

void TEvent::RegisterId(int id, const String& name) {
    IdRegistry() += String::FromInt(id) + "{" + name + "}";
}

String TEvent::DescriptionForId(int id) {
    String key = "}" + String::FromInt(id) + "{";
    const String& registry = IdRegistry();
    int at = registry.Find(key);
    if (at < 0) return String();
    int from = at + key.Length();
    int to = registry.Find("}", from);
    return to < 0 ? String() : registry.Slice(from, to);
}

int SendEvent(const Ref<TEvent>& event) {
    return event->Emit();
}

int NewUserEventId(const String& name) {
    int id = TEvent::AllocUserId();
    if (!name.IsEmpty()) TEvent::RegisterId(id, name);
    return id;
}

void StartEventModule() {
    if (eventModuleStarted) return;
    eventModuleStarted = true;
    StartHookModule();
    EventHookId = NewHookId();

    static const struct { int id; const char* name; } kNames[] = {
        {EventId::AppSuspend, "AppSuspend"},       {EventId::AppResume, "AppResume"},
        {EventId::AppTerminate, "AppTerminate"},   {EventId::AppOpenFile, "AppOpenFile"},
        {EventId::AppIdle, "AppIdle"},             {EventId::KeyDown, "KeyDown"},
        {EventId::KeyUp, "KeyUp"},                 {EventId::KeyChar, "KeyChar"},
        {EventId::KeyRepeat, "KeyRepeat"},         {EventId::MouseDown, "MouseDown"},
        {EventId::MouseUp, "MouseUp"},             {EventId::MouseMove, "MouseMove"},
        {EventId::MouseWheel, "MouseWheel"},       {EventId::MouseEnter, "MouseEnter"},
        {EventId::MouseLeave, "MouseLeave"},       {EventId::TimerTick, "TimerTick"},
        {EventId::HotkeyHit, "HotkeyHit"},         {EventId::GadgetAction, "GadgetAction"},
        {EventId::GadgetPaint, "GadgetPaint"},     {EventId::GadgetSelect, "GadgetSelect"},
        {EventId::GadgetMenu, "GadgetMenu"},       {EventId::GadgetOpen, "GadgetOpen"},
        {EventId::GadgetClose, "GadgetClose"},     {EventId::GadgetDone, "GadgetDone"},
        {EventId::GadgetLostFocus, "GadgetLostFocus"}, {EventId::GadgetShape, "GadgetShape"},
        {EventId::WindowMove, "WindowMove"},       {EventId::WindowSize, "WindowSize"},
        {EventId::WindowClose, "WindowClose"},     {EventId::WindowActivate, "WindowActivate"},
        {EventId::WindowAccept, "WindowAccept"},   {EventId::MenuAction, "MenuAction"},
        {EventId::StreamEof, "StreamEof"},         {EventId::StreamAvail, "StreamAvail"},
        {EventId::ProcessExit, "ProcessExit"},
    };
    for (const auto& entry : kNames) TEvent::RegisterId(entry.id, entry.name);
}

}  // namespace vantrel
