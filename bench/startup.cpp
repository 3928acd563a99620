// Start-up benchmark: how long the program takes from its launch to the
// first map of its top-level window, and how much memory it holds one
// second later, against a bare Qt window of the same make, run by run.
//
// It starts its own Xvfb with no window manager, so the first MapNotify of
// a new child of the root window is the program's window going up. The
// time is taken from the X event, not by polling.
//
//     startup CALCULATOR BASELINE [--runs N] [--warmup N]

#include "procmem.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char **environ;

namespace {

constexpr double MapTimeoutMs = 15000;
constexpr double SettleMs = 1000;
constexpr double StopTimeoutMs = 3000;

volatile sig_atomic_t interrupted = 0;

// What must not outlive the benchmark, should the X connection break.
pid_t runningChild = -1;
pid_t runningServer = -1;

void OnSignal(int) { interrupted = 1; }

// Milliseconds on the monotonic clock.
double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void SleepUntil(double ms) {
    timespec until{};
    until.tv_sec = static_cast<time_t>(ms / 1e3);
    until.tv_nsec = static_cast<long>((ms - static_cast<double>(until.tv_sec) * 1e3) * 1e6);
    while (!interrupted &&
           clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

// The child's standard streams go nowhere: warnings a program prints at
// start-up must not cost it terminal time.
struct QuietStreams {
    posix_spawn_file_actions_t actions;
    QuietStreams() {
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    ~QuietStreams() { posix_spawn_file_actions_destroy(&actions); }
    QuietStreams(const QuietStreams &) = delete;
    QuietStreams &operator=(const QuietStreams &) = delete;
};

// Ends a child by its PID: asks first, then insists.
void Stop(pid_t pid) {
    if (pid == runningChild)
        runningChild = -1;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid)
        return;
    kill(pid, SIGTERM);
    const double deadline = Now() + StopTimeoutMs;
    while (Now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return;
        const timespec pause{0, 2'000'000};
        nanosleep(&pause, nullptr);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

// CPU time a process has had, and time it spent ready but waiting for a
// CPU, over all its threads, in milliseconds. On a busy machine the wall
// time to the map swings with the load; the CPU time much less.
struct Cpu {
    double runMs = 0;
    double waitMs = 0;
};

Cpu ReadCpu(pid_t pid) {
    Cpu cpu;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (!dir)
        return cpu;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string path = tasks + "/" + entry->d_name + "/schedstat";
        if (std::FILE *file = std::fopen(path.c_str(), "re")) {
            unsigned long long run = 0, wait = 0;
            if (std::fscanf(file, "%llu %llu", &run, &wait) == 2) {
                cpu.runMs += static_cast<double>(run) / 1e6;
                cpu.waitMs += static_cast<double>(wait) / 1e6;
            }
            std::fclose(file);
        }
    }
    closedir(dir);
    return cpu;
}

std::string LoadAverage() {
    std::string load = "?";
    if (std::FILE *file = std::fopen("/proc/loadavg", "re")) {
        char buffer[64] = {};
        if (std::fgets(buffer, sizeof buffer, file))
            load.assign(buffer, std::strcspn(buffer, " "));
        std::fclose(file);
    }
    return load;
}

struct XServer {
    pid_t pid = -1;
    int display = -1;
};

// Starts Xvfb on the first free display; it writes the display's number to
// the pipe once it accepts clients.
std::optional<XServer> StartXvfb() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    const int childFd = fds[1] == 9 ? 10 : 9;
    QuietStreams streams;
    posix_spawn_file_actions_adddup2(&streams.actions, fds[1], childFd);
    const std::string fd = std::to_string(childFd);
    std::vector<std::string> args{"Xvfb",         "-displayfd", fd,    "-screen", "0",
                                  "1280x1024x24", "-nolisten",  "tcp", "-noreset"};
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    XServer server;
    const int spawned =
        posix_spawnp(&server.pid, "Xvfb", &streams.actions, nullptr, argv.data(), environ);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        std::fprintf(stderr, "startup: cannot start Xvfb: %s\n", std::strerror(spawned));
        return std::nullopt;
    }
    std::string number;
    const double deadline = Now() + 10000;
    while (number.find('\n') == std::string::npos && Now() < deadline && !interrupted) {
        pollfd ready{fds[0], POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0)
            continue;
        char buffer[16];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        number.append(buffer, static_cast<std::size_t>(got));
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        std::fprintf(stderr, "startup: Xvfb did not come up\n");
        Stop(server.pid);
        return std::nullopt;
    }
    server.display = std::atoi(number.c_str());
    return server;
}

// The environment of a measured program: ours, on our X server.
struct ChildEnvironment {
    std::vector<std::string> entries;
    std::vector<char *> pointers;
    explicit ChildEnvironment(int display) {
        for (char **entry = environ; *entry; ++entry) {
            const std::string text = *entry;
            const std::string name = text.substr(0, text.find('='));
            if (name != "DISPLAY" && name != "QT_QPA_PLATFORM" && name != "WAYLAND_DISPLAY")
                entries.push_back(text);
        }
        entries.push_back("DISPLAY=:" + std::to_string(display));
        entries.push_back("QT_QPA_PLATFORM=xcb");
        for (std::string &entry : entries)
            pointers.push_back(entry.data());
        pointers.push_back(nullptr);
    }
};

int IgnoreXErrors(Display *, XErrorEvent *) {
    // A window may be gone before its owner is asked for.
    return 0;
}

int OnLostServer(Display *) {
    std::fprintf(stderr, "startup: lost the connection to Xvfb\n");
    if (runningChild > 0)
        Stop(runningChild);
    if (runningServer > 0)
        Stop(runningServer);
    std::_Exit(1);
}

// Whether the window says it belongs to pid. A window that does not say
// counts as the child's: with no window manager, nothing else maps.
bool OwnedBy(Display *display, Window window, pid_t pid, Atom netWmPid) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    const int status = XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL,
                                          &type, &format, &count, &after, &data);
    bool owned = true;
    if (status == Success && data && format == 32 && count == 1)
        owned = static_cast<pid_t>(*reinterpret_cast<unsigned long *>(data)) == pid;
    if (data)
        XFree(data);
    return owned;
}

struct Sample {
    double mapMs = 0;
    Cpu cpu; // up to the map
    bench::Memory memory;
};

std::optional<Sample> Measure(Display *display, const std::string &program,
                              ChildEnvironment &environment, Atom netWmPid) {
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True); // what the last run left behind is not this run's

    QuietStreams streams;
    std::string path = program;
    char *argv[] = {path.data(), nullptr};
    pid_t pid = -1;
    const double start = Now();
    const int spawned = posix_spawn(&pid, path.c_str(), &streams.actions, nullptr, argv,
                                    environment.pointers.data());
    if (spawned != 0) {
        std::fprintf(stderr, "startup: cannot start %s: %s\n", program.c_str(),
                     std::strerror(spawned));
        return std::nullopt;
    }
    runningChild = pid;

    Sample sample;
    double mapped = -1;
    const double deadline = start + MapTimeoutMs;
    while (mapped < 0) {
        while (mapped < 0 && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.override_redirect)
                continue;
            const double at = Now();
            const Cpu cpu = ReadCpu(pid);
            if (OwnedBy(display, event.xmap.window, pid, netWmPid)) {
                mapped = at - start;
                sample.cpu = cpu;
            }
        }
        if (mapped >= 0)
            break;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            runningChild = -1;
            std::fprintf(stderr, "startup: %s ended before its window went up (status %d)\n",
                         program.c_str(), status);
            return std::nullopt;
        }
        if (interrupted || Now() > deadline) {
            if (!interrupted)
                std::fprintf(stderr, "startup: %s mapped no window in %.0f ms\n", program.c_str(),
                             MapTimeoutMs);
            Stop(pid);
            return std::nullopt;
        }
        pollfd ready{ConnectionNumber(display), POLLIN, 0};
        poll(&ready, 1, 20);
    }

    SleepUntil(start + mapped + SettleMs);
    sample.mapMs = mapped;
    sample.memory = bench::ReadMemory(pid);
    Stop(pid);
    if (!sample.memory.valid()) {
        std::fprintf(stderr, "startup: cannot read the memory of %s\n", program.c_str());
        return std::nullopt;
    }
    return sample;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series {
    std::vector<double> mapMs, cpuMs, waitMs, residentMiB, privateMiB, dirtyMiB;
    void Add(const Sample &sample) {
        cpuMs.push_back(sample.cpu.runMs);
        waitMs.push_back(sample.cpu.waitMs);
        dirtyMiB.push_back(bench::MiB(sample.memory.dirtyKiB));
        mapMs.push_back(sample.mapMs);
        residentMiB.push_back(bench::MiB(sample.memory.residentKiB));
        privateMiB.push_back(bench::MiB(sample.memory.privateKiB));
    }
};

void PrintRow(const char *what, const char *who, const std::vector<double> &values) {
    std::printf("  %-20s %-11s %9.2f %9.2f %9.2f\n", what, who, Median(values),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
}

int Usage() {
    std::fprintf(stderr, "usage: startup CALCULATOR BASELINE [--runs N] [--warmup N]\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    std::vector<std::string> programs;
    int runs = 15;
    int warmups = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--runs" || arg == "--warmup") && i + 1 < argc) {
            const int value = std::atoi(argv[++i]);
            if (value < (arg == "--runs" ? 1 : 0))
                return Usage();
            (arg == "--runs" ? runs : warmups) = value;
        } else if (arg.starts_with("-")) {
            return Usage();
        } else {
            programs.push_back(arg);
        }
    }
    if (programs.size() != 2)
        return Usage();
    for (const std::string &program : programs) {
        if (access(program.c_str(), X_OK) != 0) {
            std::fprintf(stderr, "startup: %s is not a program\n", program.c_str());
            return 1;
        }
    }

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);

    const std::optional<XServer> server = StartXvfb();
    if (!server)
        return 1;
    runningServer = server->pid;
    const std::string name = ":" + std::to_string(server->display);
    Display *display = XOpenDisplay(name.c_str());
    if (!display) {
        std::fprintf(stderr, "startup: cannot open display %s\n", name.c_str());
        Stop(server->pid);
        return 1;
    }
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    XSetErrorHandler(IgnoreXErrors);
    XSetIOErrorHandler(OnLostServer);
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    ChildEnvironment environment(server->display);

    std::printf("Start-up: launch to the first map of the top-level window, then memory %.0f s "
                "later\n",
                SettleMs / 1000);
    std::printf("  Xvfb %s, no window manager; %d warm-up run(s) each, then %d runs each, "
                "interleaved; load average %s\n",
                name.c_str(), warmups, runs, LoadAverage().c_str());
    std::printf("  calculator: %s\n  baseline:   %s\n\n", programs[0].c_str(), programs[1].c_str());
    std::fflush(stdout);

    bool failed = false;
    for (int i = 0; i < warmups && !failed && !interrupted; ++i)
        for (const std::string &program : programs)
            failed = failed || !Measure(display, program, environment, netWmPid);

    Series calculator, baseline;
    std::printf("  %4s %5s  %23s  %27s  %27s\n", "pair", "first", "launch to map ms (ratio)",
                "resident MiB (diff, ratio)", "private MiB (diff, ratio)");
    for (int i = 0; i < runs && !failed && !interrupted; ++i) {
        // Each program goes first in every other pair, so that neither gains
        // from what the other just brought into the caches.
        const bool calculatorFirst = i % 2 == 0;
        std::optional<Sample> c, b;
        if (calculatorFirst) {
            c = Measure(display, programs[0], environment, netWmPid);
            if (c)
                b = Measure(display, programs[1], environment, netWmPid);
        } else {
            b = Measure(display, programs[1], environment, netWmPid);
            if (b)
                c = Measure(display, programs[0], environment, netWmPid);
        }
        if (!c || !b) {
            failed = true;
            break;
        }
        calculator.Add(*c);
        baseline.Add(*b);
        const double cr = bench::MiB(c->memory.residentKiB), br = bench::MiB(b->memory.residentKiB);
        const double cp = bench::MiB(c->memory.privateKiB), bp = bench::MiB(b->memory.privateKiB);
        std::printf("  %4d %5s  %6.1f / %6.1f (%5.3f)  %5.1f / %5.1f (%+5.2f, %4.2f)  "
                    "%5.1f / %5.1f (%+5.2f, %4.2f)\n",
                    i + 1, calculatorFirst ? "calc" : "base", c->mapMs, b->mapMs,
                    c->mapMs / b->mapMs, cr, br, cr - br, cr / br, cp, bp, cp - bp, cp / bp);
        std::fflush(stdout);
    }

    XCloseDisplay(display);
    Stop(server->pid);
    if (failed || interrupted || calculator.mapMs.empty())
        return 1;

    std::printf("\n  %-20s %-11s %9s %9s %9s\n", "", "", "median", "min", "max");
    PrintRow("launch to map, ms", "calculator", calculator.mapMs);
    PrintRow("", "baseline", baseline.mapMs);
    PrintRow("  CPU to map, ms", "calculator", calculator.cpuMs);
    PrintRow("", "baseline", baseline.cpuMs);
    PrintRow("  CPU wait, ms", "calculator", calculator.waitMs);
    PrintRow("", "baseline", baseline.waitMs);
    PrintRow("resident, MiB", "calculator", calculator.residentMiB);
    PrintRow("", "baseline", baseline.residentMiB);
    PrintRow("private, MiB", "calculator", calculator.privateMiB);
    PrintRow("", "baseline", baseline.privateMiB);
    PrintRow("  of it dirty, MiB", "calculator", calculator.dirtyMiB);
    PrintRow("", "baseline", baseline.dirtyMiB);

    std::vector<double> mapRatios, cpuRatios, residentDiffs, privateDiffs;
    for (std::size_t i = 0; i < calculator.mapMs.size(); ++i) {
        mapRatios.push_back(calculator.mapMs[i] / baseline.mapMs[i]);
        cpuRatios.push_back(calculator.cpuMs[i] / baseline.cpuMs[i]);
        residentDiffs.push_back(calculator.residentMiB[i] - baseline.residentMiB[i]);
        privateDiffs.push_back(calculator.privateMiB[i] - baseline.privateMiB[i]);
    }
    std::printf("\n  calculator against the baseline, medians of this run:\n");
    std::printf("    launch to map  %6.3f x    goal at most 1.05 x   median of the pair ratios "
                "%6.3f\n",
                Median(calculator.mapMs) / Median(baseline.mapMs), Median(mapRatios));
    std::printf("    CPU to map     %6.3f x                          median of the pair ratios "
                "%6.3f\n",
                Median(calculator.cpuMs) / Median(baseline.cpuMs), Median(cpuRatios));
    std::printf("    resident       %+6.2f MiB  goal at most +2 MiB   median of the pair "
                "differences %+6.2f\n",
                Median(calculator.residentMiB) - Median(baseline.residentMiB),
                Median(residentDiffs));
    std::printf("    private        %+6.2f MiB  goal at most +2 MiB   median of the pair "
                "differences %+6.2f\n",
                Median(calculator.privateMiB) - Median(baseline.privateMiB), Median(privateDiffs));
    std::printf("  load average at the end %s\n", LoadAverage().c_str());
    return 0;
}
