// Modal dialogs for the SDL system driver: message boxes through SDL, file
// and folder choosers through the desktop's own chooser program (Linux,
// chooser_posix.cpp) or the system's dialogs (Windows, chooser_win32.cpp).
//
// ShowMessageBox returns the id of the chosen button, or failId when SDL
// cannot show the box or it was closed without a choice. RunChooser returns
// what the user chose, or "" when it was cancelled; on Linux it looks for
// zenity, then kdialog, on PATH and returns "" when neither is installed. Main thread only; both
// block until the user answers.
#pragma once

#include <string>
#include <vector>

#include <vantrel/runtime/string.h>
#include <vantrel/system/requester_text.h>

namespace vantrel {

struct MessageBoxButton {
    int id;
    const char* label;
    bool isDefault;  // chosen by Enter
    bool isEscape;   // chosen by Escape
};

int ShowMessageBox(const String& text, bool serious, const std::vector<MessageBoxButton>& buttons,
                   int failId);

struct ChooserRequest {
    String title;
    bool directory = false;
    bool save = false;
    String initialPath;                // folder and/or file to start from
    std::vector<FilterGroup> filters;  // the preselected group first
};

String RunChooser(const ChooserRequest& request);

// The command line RunChooser would run for a chooser program ("zenity" or
// "kdialog"): program name first.
std::vector<std::string> ChooserCommand(const std::string& program, const ChooserRequest& request);

}  // namespace vantrel
