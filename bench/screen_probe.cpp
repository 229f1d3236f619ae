// Measures the meter against its floors on the current X display, each
// program alone on the screen, and prints one line per figure:
//
//     screen_probe METER BARE_WINDOW TEXT_WINDOW
//
// "startup NAME MAP_MS RSS_KIB": ten interleaved starts of each after a
// warm-up, the milliseconds from exec until its first window is mapped and,
// after a second of idling, its resident memory. "cpu NAME PERCENT": three
// rounds of 20 s of CPU time, summed over the program's threads, of the
// meter running (Start pressed as a user would, the pointer then moved off
// the window) and of a window whose two text fields are rewritten ten times
// a second.
#include "resident_memory.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono;

// CPU time in nanoseconds over the program's threads: clock ticks are too
// coarse for well under 1 % of a core.
long long cpuNs(pid_t pid)
{
    long long sum = 0;
    for (const auto& task :
         std::filesystem::directory_iterator{"/proc/" + std::to_string(pid) + "/task"}) {
        std::ifstream schedstat{task.path() / "schedstat"};
        long long ns = 0;
        schedstat >> ns;
        sum += ns;
    }
    return sum;
}

// The window of the next MapNotify on the root window; 0 after 20 s.
Window waitForMap(Display* display)
{
    const auto deadline = steady_clock::now() + seconds{20};
    const int connection = ConnectionNumber(display);
    while (steady_clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify)
                return event.xmap.window;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(connection, &readable);
        timeval wait{0, 100'000};
        select(connection + 1, &readable, nullptr, nullptr, &wait);
    }
    return 0;
}

struct Started {
    pid_t pid;
    Window window;
    double mapMs;
};

Started start(Display* display, const char* program, const char* argument = nullptr)
{
    const auto started = steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, argument, static_cast<char*>(nullptr));
        _exit(127);
    }
    const Window window = waitForMap(display);
    return {child, window, duration<double, std::milli>(steady_clock::now() - started).count()};
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

void click(Display* display, Window window, int x, int y)
{
    Window child;
    int rootX = 0, rootY = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
}

std::string nameOf(const char* program)
{
    return std::filesystem::path{program}.filename().string();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s METER BARE_WINDOW TEXT_WINDOW\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const char* programs[] = {argv[2], argv[3], argv[1]};
    for (int round = 0; round <= 10; ++round) { // the first to warm up
        for (const char* program : programs) {
            const Started started = start(display, program);
            std::this_thread::sleep_for(seconds{1});
            const long rss = residentKiB(std::to_string(started.pid));
            stop(started.pid);
            if (!started.window) {
                std::fprintf(stderr, "%s mapped no window\n", program);
                return 1;
            }
            if (round > 0)
                std::printf("startup %s %.1f %ld\n", nameOf(program).c_str(), started.mapMs, rss);
        }
    }
    for (int round = 0; round < 3; ++round) {
        for (const bool meter : {true, false}) {
            const Started started =
                start(display, meter ? argv[1] : argv[3], meter ? nullptr : "2");
            std::this_thread::sleep_for(milliseconds{500});
            if (meter)
                click(display, started.window, 64, 72);               // Start
            XTestFakeMotionEvent(display, -1, 630, 710, CurrentTime); // off the window
            XSync(display, False);
            std::this_thread::sleep_for(milliseconds{1500});
            const long long before = cpuNs(started.pid);
            std::this_thread::sleep_for(seconds{20});
            const long long after = cpuNs(started.pid);
            stop(started.pid);
            std::printf("cpu %s %.3f\n", meter ? "wattmeter" : "two_readouts",
                        double(after - before) / 20e9 * 100);
        }
        std::fflush(stdout);
    }
    XCloseDisplay(display);
    return 0;
}
