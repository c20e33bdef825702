// Times a program from exec to its first top-level window mapped on the X
// display, then reads its resident memory once it has settled.
//   startup_probe <settle-ms> <program> [args...]
// Prints: "<ms to map> <VmRSS kB>". With PROBE_WINDOW_NAME set, only a
// window of that name counts (Wine maps windows of its own first).
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_probe <settle-ms> <program> [args...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const char* wanted = std::getenv("PROBE_WINDOW_NAME");
    const auto named = [&](Window w) {
        if (!wanted)
            return true;
        char* name = nullptr;
        const bool match = XFetchName(display, w, &name) && name && std::string(name) == wanted;
        if (name)
            XFree(name);
        return match;
    };
    double mapMs = -1;
    while (mapMs < 0) {
        XEvent event;
        XNextEvent(display, &event);
        Window w = 0;
        if (event.type == MapNotify) {
            w = event.xmap.window;
            XSelectInput(display, w, PropertyChangeMask); // its name may come later
        } else if (event.type == PropertyNotify) {
            w = event.xproperty.window;
        }
        if (w && named(w))
            mapMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[1])));
    const long rss = residentKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    std::printf("%.1f %ld\n", mapMs, rss);
    XCloseDisplay(display);
    return 0;
}
