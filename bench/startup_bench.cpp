// Start-up cost of the game against a bare SDL OpenGL window, both in the
// same run: the time from the fork that execs each program to the moment its
// window first shows a drawn frame, seen from outside through the X server
// so the game runs exactly as a user starts it, and the resident memory the
// program holds two seconds after that frame. Each round runs every program
// once, one after the other and never overlapping, starting with a different
// program each round; a program's ratios are taken against the bare window
// of the same round.
//
//     bench_startup_bench [rounds] [other qirn builds...]
//
// A frame counts as drawn when any pixel of 15 full-width rows spread over
// the window is no longer black (a new window shows black under Xvfb until
// the program presents). The rows are read every 2 ms, so each reading is
// late by up to that much plus one round trip to the server. The processor
// time the program had used at its first frame (all its threads, from
// /proc, in 10 ms steps) is printed beside the wall time, as the steadier
// figure while other work shares the machine. Two seconds later its
// resident set (VmRSS) is read and the program is killed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// How long after its first frame a program's resident memory is read: long
// enough for start-up work that goes on behind the first frame to show.
constexpr auto kSettle = 2s;

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

long WindowPid(Display* display, Window window, Atom pidAtom) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success && data) {
        if (format == 32 && count == 1) pid = *reinterpret_cast<long*>(data);
        XFree(data);
    }
    return pid;
}

// A top-level, viewable window of the process, or 0.
Window FindWindow(Display* display, pid_t pid, Atom pidAtom) {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (WindowPid(display, children[i], pidAtom) == pid && XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable && attributes.width == kWidth && attributes.height == kHeight) {
            found = children[i];
        }
    }
    if (children) XFree(children);
    return found;
}

bool ShowsAFrame(Display* display, Window window) {
    for (int y = 10; y < kHeight; y += 40) {
        XImage* row = XGetImage(display, window, 0, y, kWidth, 1, AllPlanes, ZPixmap);
        if (!row) return false;
        bool lit = false;
        for (int x = 0; x < kWidth && !lit; ++x) lit = (XGetPixel(row, x, 0) & 0xffffff) != 0;
        XDestroyImage(row);
        if (lit) return true;
    }
    return false;
}

// Processor seconds the process has used, all its threads, ended ones
// included (utime and stime of /proc/<pid>/stat).
double ProcessorSeconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(file, line);
    // The command name may hold spaces; the fields after it are plain.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string skip;
    for (int i = 3; i < 14; ++i) fields >> skip;
    double user = 0, system = 0;
    fields >> user >> system;
    return (user + system) / sysconf(_SC_CLK_TCK);
}

// The process's resident set in MiB (VmRSS of /proc/<pid>/status), or -1.
double ResidentMiB(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    }
    return -1;
}

struct Start {
    double seconds = -1;  // fork to the first drawn frame; -1 when none came
    double cpu = 0;       // processor seconds the program had used by then
    double rss = -1;      // resident MiB kSettle after the first frame; -1 when it ended before
};

Start TimeToFirstFrame(Display* display, const char* program) {
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    Start result;
    Window window = 0;
    while (Clock::now() - start < 30s) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return result;
        if (!window) window = FindWindow(display, pid, pidAtom);
        if (window && ShowsAFrame(display, window)) {
            result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
            result.cpu = ProcessorSeconds(pid);
            break;
        }
        std::this_thread::sleep_for(2ms);
    }
    if (result.seconds >= 0) {
        std::this_thread::sleep_for(kSettle);
        if (waitpid(pid, nullptr, WNOHANG) == 0) result.rss = ResidentMiB(pid);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XSync(display, False);
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 8;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_bench needs an X server (run it under xvfb-run)\n");
        return 1;
    }
    XSetErrorHandler(IgnoreXError);
    // The bare window first, then the game, then any other build of the game
    // named on the command line (it must sit beside its gfx/ and snd/).
    std::vector<std::string> programs = {STARTUP_BARE_WINDOW, VANTREL_GAME_DIR "/qirn"};
    for (int i = 2; i < argc; ++i) programs.push_back(argv[i]);
    const size_t n = programs.size();

    std::printf("load average before: %s\n", LoadAverage().c_str());
    for (size_t p = 0; p < n; ++p) std::printf("program %zu: %s\n", p, programs[p].c_str());
    std::vector<std::vector<double>> seconds(n), ratios(n), cpu(n), rss(n), rssRatios(n);
    for (int round = 0; round < rounds; ++round) {
        std::vector<Start> starts(n);
        // Each round starts with another program, so none always runs first.
        for (size_t k = 0; k < n; ++k) {
            const size_t p = (round + k) % n;
            starts[p] = TimeToFirstFrame(display, programs[p].c_str());
            if (starts[p].seconds < 0 || starts[p].rss < 0) {
                std::fprintf(stderr, "round %d: %s showed no frame or ended\n", round + 1, programs[p].c_str());
                return 1;
            }
            std::this_thread::sleep_for(300ms);
        }
        std::printf("round %2d:", round + 1);
        for (size_t p = 0; p < n; ++p) {
            seconds[p].push_back(starts[p].seconds);
            ratios[p].push_back(starts[p].seconds / starts[0].seconds);
            cpu[p].push_back(starts[p].cpu);
            rss[p].push_back(starts[p].rss);
            rssRatios[p].push_back(starts[p].rss / starts[0].rss);
            std::printf("  %zu: %.3f s (%.2f) cpu %.2f s, %.0f MiB (%.2f)", p, starts[p].seconds, ratios[p].back(),
                        starts[p].cpu, starts[p].rss, rssRatios[p].back());
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("medians (first frame: wall seconds, ratio to the bare window of the same round, cpu; "
                "resident memory: MiB, ratio):\n");
    for (size_t p = 0; p < n; ++p) {
        std::printf("  %zu: first frame %.3f s, ratio %.2f, cpu %.2f s; resident %.1f MiB, ratio %.2f\n", p,
                    Median(seconds[p]), Median(ratios[p]), Median(cpu[p]), Median(rss[p]), Median(rssRatios[p]));
    }
    std::printf("load average after: %s\n", LoadAverage().c_str());
    XCloseDisplay(display);
    return 0;
}
