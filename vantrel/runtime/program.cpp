#include <vantrel/runtime/program.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>
#include <vector>

#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/platform/process.h>

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

String SlashPath(const String& path) { return path.Replace("\\", "/"); }

void InstallFaultReporter() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return;  // the sanitizer's own report is more useful
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    return;
#endif
#endif
    platform::InstallFaultReporter();
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
    s.launchDir = SlashPath(platform::CurrentDirectory());
    s.appFile = SlashPath(platform::ExecutablePath(argc > 0 ? argv[0] : nullptr));
    int slash = -1;
    for (int i = s.appFile.Length() - 1; i >= 0; --i) {
        if (s.appFile[i] == u'/') { slash = i; break; }
    }
    s.appDir = slash > 0 ? s.appFile.Slice(0, slash) : (slash == 0 ? String("/") : s.launchDir);
    std::vector<String> given = platform::ProgramArguments(argc, argv);
    auto args = NewArray<String>(static_cast<int>(given.size()));
    for (size_t i = 0; i < given.size(); ++i) (*args)[static_cast<int>(i)] = given[i];
    s.args = args;
    s.title = "Vantrel Application";
    if (changeDirectory && !platform::ChangeDirectory(s.appDir)) {
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
