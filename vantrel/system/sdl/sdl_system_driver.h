// The system driver on SDL2.
//
// The first driver made sets up the glue once: SDL's event and timer
// subsystems (a failure raises a runtime error: without them nothing of the
// engine can run), the video subsystem when a display is there (without one
// the window-free parts keep working), text input, the event type of posted
// main-thread calls, and the 1 ms timer resolution, reset by an exit handler.
// Poll drains SDL's queue: posted calls run, every other event goes through
// DispatchSDLEvent (sdl_event_translator.h). It asks the window system for
// new input at most once per millisecond (each ask costs system calls and
// every polled-input query polls); what is already in SDL's queue is always
// taken. Wait blocks in SDL_WaitEvent first. Message boxes are SDL's; the file and folder requesters run the
// desktop's chooser (zenity, else kdialog) as a child process and give ""
// when neither is installed; OpenURL is SDL_OpenURL.
//
// Main thread only.
#pragma once

#include <vantrel/system/system_driver.h>

namespace vantrel {

class TSDLSystemDriver : public TSystemDriver {
public:
    TSDLSystemDriver();

    int Poll() override;
    int Wait() override;
    int MoveMouse(int x, int y) override;
    int SetMouseVisible(int visible) override;
    int Notify(const String& text, int serious) override;
    int Confirm(const String& text, int serious) override;
    int Proceed(const String& text, int serious) override;
    String RequestFile(const String& text, const String& exts, int save, const String& path) override;
    String RequestDir(const String& text, const String& path) override;
    int OpenURL(const String& url) override;
};

}  // namespace vantrel
