// Windows side of the program start (see process.h): the UTF-16 command
// line, the module file name, the wide working-directory calls, and an
// unhandled-exception filter that names the fault in a message box titled
// "Windows exception".
#include <vantrel/runtime/platform/process.h>
#include <vantrel/runtime/platform/wide_string.h>

#include <cstdlib>
#include <string>

#include <windows.h>
#include <shellapi.h>

namespace vantrel::platform {
namespace {

const char* ExceptionName(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION: return "EXCEPTION_ACCESS_VIOLATION";
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED: return "EXCEPTION_ARRAY_BOUNDS_EXCEEDED";
        case EXCEPTION_BREAKPOINT: return "EXCEPTION_BREAKPOINT";
        case EXCEPTION_DATATYPE_MISALIGNMENT: return "EXCEPTION_DATATYPE_MISALIGNMENT";
        case EXCEPTION_FLT_DENORMAL_OPERAND: return "EXCEPTION_FLT_DENORMAL_OPERAND";
        case EXCEPTION_FLT_DIVIDE_BY_ZERO: return "EXCEPTION_FLT_DIVIDE_BY_ZERO";
        case EXCEPTION_FLT_INEXACT_RESULT: return "EXCEPTION_FLT_INEXACT_RESULT";
        case EXCEPTION_FLT_INVALID_OPERATION: return "EXCEPTION_FLT_INVALID_OPERATION";
        case EXCEPTION_FLT_OVERFLOW: return "EXCEPTION_FLT_OVERFLOW";
        case EXCEPTION_FLT_STACK_CHECK: return "EXCEPTION_FLT_STACK_CHECK";
        case EXCEPTION_FLT_UNDERFLOW: return "EXCEPTION_FLT_UNDERFLOW";
        case EXCEPTION_ILLEGAL_INSTRUCTION: return "EXCEPTION_ILLEGAL_INSTRUCTION";
        case EXCEPTION_IN_PAGE_ERROR: return "EXCEPTION_IN_PAGE_ERROR";
        case EXCEPTION_INT_DIVIDE_BY_ZERO: return "EXCEPTION_INT_DIVIDE_BY_ZERO";
        case EXCEPTION_INT_OVERFLOW: return "EXCEPTION_INT_OVERFLOW";
        case EXCEPTION_INVALID_DISPOSITION: return "EXCEPTION_INVALID_DISPOSITION";
        case EXCEPTION_NONCONTINUABLE_EXCEPTION: return "EXCEPTION_NONCONTINUABLE_EXCEPTION";
        case EXCEPTION_PRIV_INSTRUCTION: return "EXCEPTION_PRIV_INSTRUCTION";
        case EXCEPTION_SINGLE_STEP: return "EXCEPTION_SINGLE_STEP";
        case EXCEPTION_STACK_OVERFLOW: return "EXCEPTION_STACK_OVERFLOW";
        default: return "unknown exception";
    }
}

// Runs on the faulting thread. The exit status is the exception code, as
// Windows itself reports a process that a fault ended.
LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    DWORD code = info->ExceptionRecord->ExceptionCode;
    MessageBoxA(nullptr, ExceptionName(code), "Windows exception", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(code != 0 ? code : 1u);
}

}  // namespace

std::vector<String> ProgramArguments(int argc, char** argv) {
    std::vector<String> args;
    if (argc == __argc && argv == __argv) {
        int count = 0;
        if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
            for (int i = 0; i < count; ++i) args.push_back(FromWide(wide[i]));
            LocalFree(wide);
            return args;
        }
    }
    for (int i = 0; i < argc; ++i) args.push_back(String::FromUtf8(argv[i]));
    return args;
}

String CurrentDirectory() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) return String();
    std::wstring buf(n, L'\0');
    n = GetCurrentDirectoryW(n, buf.data());
    return n == 0 ? String() : FromWide(buf.c_str());
}

bool ChangeDirectory(const String& dir) { return SetCurrentDirectoryW(ToWide(dir).c_str()) != 0; }

String ExecutablePath(const char* argv0) {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return argv0 ? String::FromUtf8(argv0) : String();
        if (n < buf.size()) return FromWide(buf.c_str());
        buf.resize(buf.size() * 2);   // truncated: long path
    }
}

void InstallFaultReporter() { SetUnhandledExceptionFilter(OnUnhandledException); }

}  // namespace vantrel::platform
