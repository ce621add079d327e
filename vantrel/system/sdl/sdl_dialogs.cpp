#include <vantrel/system/sdl/sdl_dialogs.h>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SDL.h>

#include <vantrel/runtime/program.h>

extern char** environ;

namespace vantrel {
namespace {

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t from = 0;
    while (from <= dirs.size()) {
        size_t to = dirs.find(':', from);
        if (to == std::string::npos) to = dirs.size();
        std::string dir = dirs.substr(from, to - from);
        if (dir.empty()) dir = ".";
        if (access((dir + "/" + program).c_str(), X_OK) == 0) return true;
        from = to + 1;
    }
    return false;
}

// "*.png;*.jpg" as a space-separated list.
std::string PatternList(const String& patterns) {
    return patterns.Replace(";", " ").ToUtf8();
}

// Runs argv with its standard output captured; "" unless it exits with 0.
std::string RunCaptured(const std::vector<std::string>& argv) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return std::string();

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    pid_t child = 0;
    int failed = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);

    std::string output;
    if (failed == 0) {
        char buffer[4096];
        for (;;) {
            ssize_t n = read(out[0], buffer, sizeof buffer);
            if (n > 0) {
                output.append(buffer, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                break;
            }
        }
    }
    close(out[0]);
    if (failed != 0) return std::string();

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::string();
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    return output;
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

String RunChooser(const ChooserRequest& request) {
    for (const char* program : {"zenity", "kdialog"}) {
        if (OnPath(program)) return String::FromUtf8(RunCaptured(ChooserCommand(program, request)));
    }
    return String();
}

}  // namespace vantrel
