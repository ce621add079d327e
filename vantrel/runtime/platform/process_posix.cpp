// POSIX side of the program start (see process.h): /proc/self/exe, getcwd,
// chdir and signal handlers for the processor faults.
#include <vantrel/runtime/platform/process.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

namespace vantrel::platform {
namespace {

const char* FaultName(int sig) {
    switch (sig) {
        case SIGSEGV: return "SIGSEGV (access violation)";
        case SIGFPE: return "SIGFPE (arithmetic fault)";
        case SIGILL: return "SIGILL (illegal instruction)";
        case SIGBUS: return "SIGBUS (bus error)";
        default: return "unknown fault";
    }
}

// Runs on the faulting thread with the program in an unknown state: only
// async-signal-safe calls.
void OnProcessorFault(int sig) {
    const char* prefix = "Processor fault: ";
    const char* name = FaultName(sig);
    ssize_t ignored = write(STDERR_FILENO, prefix, strlen(prefix));
    ignored = write(STDERR_FILENO, name, strlen(name));
    ignored = write(STDERR_FILENO, "\n", 1);
    (void)ignored;
    _exit(128 + sig);
}

}  // namespace

std::vector<String> ProgramArguments(int argc, char** argv) {
    std::vector<String> args;
    for (int i = 0; i < argc; ++i) args.push_back(String::FromUtf8(argv[i]));
    return args;
}

String CurrentDirectory() {
    std::string buf(PATH_MAX, '\0');
    return getcwd(buf.data(), buf.size()) ? String::FromUtf8(buf.c_str()) : String();
}

bool ChangeDirectory(const String& dir) { return chdir(dir.ToUtf8().c_str()) == 0; }

String ExecutablePath(const char* argv0) {
    std::string buf(PATH_MAX + 1, '\0');
    ssize_t n = readlink("/proc/self/exe", buf.data(), PATH_MAX);
    if (n > 0) return String::FromUtf8(std::string_view(buf.data(), static_cast<size_t>(n)));
    if (argv0 && realpath(argv0, buf.data())) return String::FromUtf8(buf.c_str());
    return argv0 ? String::FromUtf8(argv0) : String();
}

void InstallFaultReporter() {
    struct sigaction action {};
    action.sa_handler = OnProcessorFault;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGSEGV, SIGFPE, SIGILL, SIGBUS}) sigaction(sig, &action, nullptr);
}

}  // namespace vantrel::platform
