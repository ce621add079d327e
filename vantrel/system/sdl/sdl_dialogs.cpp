#include <vantrel/system/sdl/sdl_dialogs.h>

#include <SDL.h>

#include <vantrel/runtime/program.h>

namespace vantrel {
namespace {

// "*.png;*.jpg" as a space-separated list.
std::string PatternList(const String& patterns) {
    return patterns.Replace(";", " ").ToUtf8();
}

}  // namespace

int ShowMessageBox(const String& text, bool serious, const std::vector<MessageBoxButton>& buttons,
                   int failId) {
    std::vector<SDL_MessageBoxButtonData> data;
    for (const MessageBoxButton& button : buttons) {
        Uint32 flags = (button.isDefault ? Uint32(SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT) : 0u) |
                       (button.isEscape ? Uint32(SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT) : 0u);
        data.push_back({flags, button.id, button.label});
    }
    std::string title = AppTitle().ToUtf8();
    std::string message = text.ToUtf8();
    SDL_MessageBoxData box{};
    box.flags = serious ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
    box.window = SDL_GetKeyboardFocus();
    box.title = title.c_str();
    box.message = message.c_str();
    box.numbuttons = static_cast<int>(data.size());
    box.buttons = data.data();
    int chosen = failId;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) return failId;
    return chosen;
}

std::vector<std::string> ChooserCommand(const std::string& program, const ChooserRequest& request) {
    std::vector<std::string> argv{program};
    std::string start = request.initialPath.ToUtf8();
    if (program == "kdialog") {
        argv.insert(argv.end(), {"--title", request.title.ToUtf8()});
        argv.push_back(request.directory ? "--getexistingdirectory"
                       : request.save    ? "--getsavefilename"
                                         : "--getopenfilename");
        argv.push_back(start.empty() ? "." : start);
        if (!request.directory && !request.filters.empty()) {
            std::string filter;
            for (const FilterGroup& group : request.filters) {
                if (!filter.empty()) filter += "|";
                filter += group.description.ToUtf8() + " (" + PatternList(group.patterns) + ")";
            }
            argv.push_back(filter);
        }
        return argv;
    }
    argv.push_back("--file-selection");
    argv.push_back("--title=" + request.title.ToUtf8());
    if (request.directory) argv.push_back("--directory");
    if (request.save) argv.insert(argv.end(), {"--save", "--confirm-overwrite"});
    if (!start.empty()) argv.push_back("--filename=" + start);
    if (!request.directory) {
        for (const FilterGroup& group : request.filters) {
            argv.push_back("--file-filter=" + group.description.ToUtf8() + " | " +
                           PatternList(group.patterns));
        }
    }
    return argv;
}

}  // namespace vantrel
