// How the program starts against a bare Qt window: the time until its first
// window is mapped, the CPU it spent by 5 s after that, and its resident
// memory then. Run it on an X display of its own (Xvfb), nothing else
// starting windows there:
//
//   xvfb-run -a -s "-screen 0 1280x800x24" bench_startup [--rounds N] BARE PROGRAM [OLD_PROGRAM]
//
// Each start runs a fresh copy of the program in a folder of its own, so that
// it keeps its settings there as a portable copy does, with HOME and the XDG
// folders private to the start. The copy was started and closed once before,
// so it starts as it usually does, with its settings and journal in place.
// The starts take turns, and the figures are the medians over the rounds; the
// ratios are to the bare window's.
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kIdle = std::chrono::seconds(5);
constexpr auto kMapTimeout = std::chrono::seconds(30);
constexpr auto kCloseTimeout = std::chrono::seconds(15);

struct Figures {
    double mappedMs = 0;
    double cpuMs = 0;
    double rssMb = 0;
};

struct Program {
    std::string label;
    std::string folder; // a private copy's folder, the start's HOME under it
    std::string binary;
};

[[noreturn]] void fail(const std::string &what) {
    std::fprintf(stderr, "bench_startup: %s\n", what.c_str());
    std::exit(1);
}

void run(const std::string &command) {
    if (std::system(command.c_str()) != 0)
        fail("failed: " + command);
}

std::string makeTempFolder() {
    char pattern[] = "/tmp/bench-startup-XXXXXX";
    if (!mkdtemp(pattern))
        fail("no temporary folder");
    return pattern;
}

// A copy of the binary in a folder of its own: the program keeps its settings
// beside itself when it may write there.
Program privateCopy(const std::string &label, const std::string &source) {
    Program p;
    p.label = label;
    p.folder = makeTempFolder();
    p.binary = p.folder + "/program";
    run("cp '" + source + "' '" + p.binary + "'");
    return p;
}

double clockTicksMs(long ticks) {
    return 1000.0 * double(ticks) / double(sysconf(_SC_CLK_TCK));
}

// User and system time of the process and its threads so far.
double cpuMs(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t end = text.rfind(')');
    if (end == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(end + 2));
    std::string field;
    long utime = 0;
    long stime = 0;
    // Fields 3..13 come before utime (14) and stime (15).
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n == 14)
            utime = std::stol(field);
        if (n == 15)
            stime = std::stol(field);
    }
    return clockTicksMs(utime + stime);
}

double rssMb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

class Display {
public:
    Display() {
        m_conn = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_conn))
            fail("no X display (run under xvfb-run)");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_conn, m_root, XCB_CW_EVENT_MASK, &mask);
        m_protocols = atom("WM_PROTOCOLS");
        m_delete = atom("WM_DELETE_WINDOW");
        xcb_flush(m_conn);
    }
    ~Display() { xcb_disconnect(m_conn); }

    // The first top-level window mapped from now on, 0 if none comes in time.
    xcb_window_t waitForMap(Clock::time_point deadline) {
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_conn)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                const xcb_window_t window = mapped && !map->override_redirect ? map->window : 0;
                std::free(event);
                if (window)
                    return window;
            }
            if (xcb_connection_has_error(m_conn))
                fail("the X connection broke");
            usleep(200);
        }
        return 0;
    }

    void drain() {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_conn))
            std::free(event);
    }

    // As a window manager's close button asks.
    void askToClose(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = m_protocols;
        message.data.data32[0] = m_delete;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_conn, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char *>(&message));
        xcb_flush(m_conn);
    }

private:
    xcb_atom_t atom(const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            m_conn, xcb_intern_atom(m_conn, 0, uint16_t(std::strlen(name)), name), nullptr);
        if (!reply)
            fail(std::string("no atom ") + name);
        const xcb_atom_t a = reply->atom;
        std::free(reply);
        return a;
    }

    xcb_connection_t *m_conn = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_protocols = 0;
    xcb_atom_t m_delete = 0;
};

pid_t launch(const Program &p, int start) {
    const std::string home = p.folder + "/home-" + std::to_string(start);
    const std::string runtime = home + "/runtime";
    for (const std::string &dir : {home, home + "/.config", home + "/.cache", runtime})
        mkdir(dir.c_str(), 0700);
    const pid_t pid = fork();
    if (pid < 0)
        fail("fork");
    if (pid == 0) {
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
        setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        setenv("TMPDIR", home.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        execl(p.binary.c_str(), p.binary.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

bool waitForExit(pid_t pid, Clock::time_point deadline) {
    while (Clock::now() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        usleep(2000);
    }
    return false;
}

Figures startOnce(Display &display, const Program &p, int start) {
    display.drain();
    const Clock::time_point begun = Clock::now();
    const pid_t pid = launch(p, start);
    const xcb_window_t window = display.waitForMap(begun + kMapTimeout);
    const Clock::time_point mapped = Clock::now();
    if (!window) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        fail(p.label + ": no window within 30 s");
    }
    Figures f;
    f.mappedMs = std::chrono::duration<double, std::milli>(mapped - begun).count();
    const auto idleEnd = mapped + kIdle;
    while (Clock::now() < idleEnd)
        usleep(10000);
    f.cpuMs = cpuMs(pid);
    f.rssMb = rssMb(pid);
    display.askToClose(window);
    if (!waitForExit(pid, Clock::now() + kCloseTimeout)) {
        std::fprintf(stderr, "%s: did not close when asked; killed\n", p.label.c_str());
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    return f;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double loadAverage() {
    double load = 0;
    std::ifstream("/proc/loadavg") >> load;
    return load;
}

} // namespace

int main(int argc, char **argv) {
    int rounds = 5;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--rounds") {
        rounds = std::max(1, std::atoi(args[1].c_str()));
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr,
                     "usage: bench_startup [--rounds N] BARE_WINDOW PROGRAM [OLD_PROGRAM]\n");
        return 2;
    }
    std::vector<Program> programs{privateCopy("bare window", args[0]),
                                  privateCopy("program", args[1])};
    if (args.size() == 3)
        programs.push_back(privateCopy("old program", args[2]));

    Display display;
    std::printf("Start-up under %s, %d rounds, load average %.2f at the start\n",
                std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "?", rounds, loadAverage());
    // The first start of each copy writes its settings and journal.
    for (const Program &p : programs)
        startOnce(display, p, 0);

    std::vector<std::vector<Figures>> figures(programs.size());
    for (int round = 1; round <= rounds; ++round)
        for (size_t i = 0; i < programs.size(); ++i)
            figures[i].push_back(startOnce(display, programs[i], round));

    std::vector<Figures> medians;
    for (const std::vector<Figures> &list : figures) {
        std::vector<double> mapped, cpu, rss;
        for (const Figures &f : list) {
            mapped.push_back(f.mappedMs);
            cpu.push_back(f.cpuMs);
            rss.push_back(f.rssMb);
        }
        medians.push_back({median(mapped), median(cpu), median(rss)});
    }
    const Figures &bare = medians[0];
    std::printf("%-12s %14s %20s %16s\n", "", "window mapped", "CPU to start + 5 s", "RSS idle");
    for (size_t i = 0; i < programs.size(); ++i) {
        const Figures &m = medians[i];
        std::printf("%-12s %8.0f ms %4.2fx %11.0f ms %4.2fx %8.1f MB %4.2fx\n",
                    programs[i].label.c_str(), m.mappedMs, m.mappedMs / bare.mappedMs, m.cpuMs,
                    m.cpuMs / bare.cpuMs, m.rssMb, m.rssMb / bare.rssMb);
    }
    std::printf("load average %.2f at the end\n", loadAverage());
    for (const Program &p : programs)
        run("rm -rf '" + p.folder + "'");
    return 0;
}
