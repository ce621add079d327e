#include <vantrel/runtime/program.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <thread>
#include <vector>

#include <unistd.h>

#include <vantrel/runtime/exceptions.h>

namespace vantrel {
namespace {

struct ProgramState {
    std::thread::id mainThread = std::this_thread::get_id();
    String launchDir;
    String appFile;
    String appDir;
    Array<String> args = NewArray<String>(0);
    String title = "Vantrel Application";
    std::vector<std::function<void()>> exitHandlers;
};

ProgramState& State() {
    static ProgramState state;
    return state;
}

String SlashPath(const std::string& path) {
    return String::FromUtf8(path).Replace("\\", "/");
}

std::string CurrentDirectory() {
    std::vector<char> buf(PATH_MAX);
    return getcwd(buf.data(), buf.size()) ? std::string(buf.data()) : std::string();
}

std::string ExecutablePath(const char* argv0) {
    std::vector<char> buf(PATH_MAX + 1);
    ssize_t n = readlink("/proc/self/exe", buf.data(), PATH_MAX);
    if (n > 0) return std::string(buf.data(), static_cast<size_t>(n));
    if (argv0 && realpath(argv0, buf.data())) return std::string(buf.data());
    return argv0 ? std::string(argv0) : std::string();
}

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

void InstallFaultReporter() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return;  // the sanitizer's own report is more useful
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    return;
#endif
#endif
    struct sigaction action {};
    action.sa_handler = OnProcessorFault;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGSEGV, SIGFPE, SIGILL, SIGBUS}) sigaction(sig, &action, nullptr);
}

void ReportUncaught(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace

void StartRuntime(int argc, char** argv, bool changeDirectory) {
    ProgramState& s = State();
    s.mainThread = std::this_thread::get_id();
    s.launchDir = SlashPath(CurrentDirectory());
    s.appFile = SlashPath(ExecutablePath(argc > 0 ? argv[0] : nullptr));
    int slash = -1;
    for (int i = s.appFile.Length() - 1; i >= 0; --i) {
        if (s.appFile[i] == u'/') { slash = i; break; }
    }
    s.appDir = slash > 0 ? s.appFile.Slice(0, slash) : (slash == 0 ? String("/") : s.launchDir);
    auto args = NewArray<String>(argc);
    for (int i = 0; i < argc; ++i) (*args)[i] = String::FromUtf8(argv[i]);
    s.args = args;
    s.title = "Vantrel Application";
    if (changeDirectory && chdir(s.appDir.ToUtf8().c_str()) != 0) {
        // Keep running from the launch directory; relative asset paths then
        // resolve there, which is what a user starting it from there expects.
    }
}

int RunProgram(int argc, char** argv, void (*entry)()) {
    InstallFaultReporter();
    try {
        StartRuntime(argc, argv, true);
        entry();
        RunExitHandlers();
        return 0;
    } catch (const Object& e) {
        ReportUncaught(e.ToString().To8Bit());
    } catch (const std::exception& e) {
        ReportUncaught(e.what());
    }
    std::exit(kUncaughtExceptionStatus);
}

bool IsMainThread() { return std::this_thread::get_id() == State().mainThread; }
String LaunchDir() { return State().launchDir; }
String AppFile() { return State().appFile; }
String AppDir() { return State().appDir; }
Array<String> AppArgs() { return State().args; }
String AppTitle() { return State().title; }
void SetAppTitle(const String& title) { State().title = title; }

void AddExitHandler(std::function<void()> handler) {
    State().exitHandlers.push_back(std::move(handler));
}

void RunExitHandlers() {
    auto& handlers = State().exitHandlers;
    while (!handlers.empty()) {
        auto handler = std::move(handlers.back());
        handlers.pop_back();
        handler();
    }
}

void ExitProgram() {
    try {
        RunExitHandlers();
    } catch (const Object& e) {
        ReportUncaught(e.ToString().To8Bit());
        std::exit(kUncaughtExceptionStatus);
    }
    std::fflush(nullptr);
    std::exit(0);
}

}  // namespace vantrel
