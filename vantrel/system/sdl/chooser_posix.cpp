// RunChooser on Linux and the other POSIX systems (see sdl_dialogs.h): the
// desktop's chooser program, zenity or kdialog, run with its standard
// output captured.
#include <vantrel/system/sdl/sdl_dialogs.h>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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
        // An empty entry is the working directory.
        const std::string dir = to > from ? dirs.substr(from, to - from) : std::string(".");
        if (access((dir + "/" + program).c_str(), X_OK) == 0) return true;
        from = to + 1;
    }
    return false;
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

String RunChooser(const ChooserRequest& request) {
    for (const char* program : {"zenity", "kdialog"}) {
        if (OnPath(program)) return String::FromUtf8(RunCaptured(ChooserCommand(program, request)));
    }
    return String();
}

}  // namespace vantrel
