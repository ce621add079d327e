#include <vantrel/system/system_driver.h>

#include <ctime>

#include <vantrel/runtime/exceptions.h>
#include <vantrel/system/event.h>
#include <vantrel/system/requester_text.h>
#include <vantrel/system/sdl/sdl_system_driver.h>

namespace vantrel {

Ref<TSystemDriver> activeSystemDriver;

namespace {

bool systemModuleStarted = false;
bool pumpRunning = false;

class PumpGuard {
public:
    PumpGuard() { pumpRunning = true; }
    ~PumpGuard() { pumpRunning = false; }
    PumpGuard(const PumpGuard&) = delete;
    PumpGuard& operator=(const PumpGuard&) = delete;
};

String LocalTimeText(const char* pattern) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[256];
    size_t n = std::strftime(buffer, sizeof buffer, pattern, &local);
    return String(std::string_view(buffer, n));
}

}  // namespace

int TSystemDriver::Poll() { RaiseAbstractMethod(); }
int TSystemDriver::Wait() { RaiseAbstractMethod(); }
int TSystemDriver::MoveMouse(int, int) { RaiseAbstractMethod(); }
int TSystemDriver::SetMouseVisible(int) { RaiseAbstractMethod(); }
int TSystemDriver::Notify(const String&, int) { RaiseAbstractMethod(); }
int TSystemDriver::Confirm(const String&, int) { RaiseAbstractMethod(); }
int TSystemDriver::Proceed(const String&, int) { RaiseAbstractMethod(); }
String TSystemDriver::RequestFile(const String&, const String&, int, const String&) { RaiseAbstractMethod(); }
String TSystemDriver::RequestDir(const String&, const String&) { RaiseAbstractMethod(); }
int TSystemDriver::OpenURL(const String&) { RaiseAbstractMethod(); }

void StartSystemModule() {
    if (systemModuleStarted) return;
    systemModuleStarted = true;
    StartEventModule();
    activeSystemDriver = MakeRef<TSDLSystemDriver>();
}

void PumpSystemEvents() {
    if (pumpRunning) return;
    PumpGuard guard;
    activeSystemDriver->Poll();
}

void WaitSystemEvents() {
    if (pumpRunning) return;
    PumpGuard guard;
    activeSystemDriver->Wait();
}

bool SystemEventsPumping() { return pumpRunning; }

void PlacePointer(int x, int y) { activeSystemDriver->MoveMouse(x, y); }
void ShowPointer() { activeSystemDriver->SetMouseVisible(1); }
void HidePointer() { activeSystemDriver->SetMouseVisible(0); }

int NotifyUser(const String& text, int serious) { return activeSystemDriver->Notify(text, serious); }
int ConfirmWithUser(const String& text, int serious) { return activeSystemDriver->Confirm(text, serious); }
int ProceedWithUser(const String& text, int serious) { return activeSystemDriver->Proceed(text, serious); }

String RequestFilePath(const String& text, const String& exts, int save, const String& path) {
    return activeSystemDriver->RequestFile(text, exts, save, path.Replace("\\", "/"));
}

String RequestDirPath(const String& text, const String& path) {
    return activeSystemDriver->RequestDir(text, path.Replace("\\", "/"));
}

int OpenWebPage(const String& url) {
    return activeSystemDriver->OpenURL(CompleteWebAddress(url));
}

String CurrentDateText() { return LocalTimeText("%d %b %Y"); }
String CurrentTimeText() { return LocalTimeText("%H:%M:%S"); }

void EmitSystemEvent(int id, const Ref<Object>& source, int data, int mods, int x, int y,
                     const Ref<Object>& extra) {
    MakeEvent(id, source, data, mods, x, y, extra)->Emit();
}

}  // namespace vantrel
