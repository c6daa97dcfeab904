#include "sdl/support/VirtualDisplay.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern "C" void __lsan_disable() __attribute__((weak));
extern "C" void __lsan_enable() __attribute__((weak));

namespace zarn_test {

DriverAllocations::DriverAllocations() {
    if (&__lsan_disable != nullptr) __lsan_disable();
}

DriverAllocations::~DriverAllocations() {
    if (&__lsan_enable != nullptr) __lsan_enable();
}

namespace {

pid_t g_server = -1;  // the Xvfb this process started

void stopServer() {
    if (g_server <= 0) return;
    kill(g_server, SIGTERM);
    int status = 0;
    waitpid(g_server, &status, 0);
    g_server = -1;
}

std::string launch() {
    if (access("/usr/bin/Xvfb", X_OK) != 0) return "Xvfb is not installed";
    int fds[2];
    if (pipe(fds) != 0) return "cannot make a pipe for Xvfb";
    const pid_t pid = fork();
    if (pid < 0) return "cannot start Xvfb";
    if (pid == 0) {
        close(fds[0]);
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        const std::string fd = std::to_string(fds[1]);
        execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten",
              "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    g_server = pid;
    std::atexit(stopServer);
    // Xvfb writes its display number once it accepts clients.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (number.find('\n') == std::string::npos) {
        if (poll(&p, 1, 15000) <= 0) break;
        char buffer[16];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        number.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == '\r')) number.pop_back();
    if (number.empty()) {
        stopServer();
        return "Xvfb did not start";
    }
    const std::string display = ":" + number;
    setenv("DISPLAY", display.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    return {};
}

}  // namespace

std::string startVirtualDisplay() {
    // The software GL driver that draws on Xvfb works on the calling thread
    // alone: its rasteriser threads hand work over in ways ThreadSanitizer
    // cannot see, and the window tests need no speed.
    setenv("LP_NUM_THREADS", "0", 1);
    // SDL loads and unloads the X11 and GL libraries with the window; kept
    // loaded, what they hold until exit stays traceable to them.
    for (const char* lib :
         {"libX11.so.6", "libX11-xcb.so.1", "libxcb.so.1", "libGL.so.1", "libGLX.so.0", "libGLX_mesa.so.0",
          "libGLdispatch.so.0", "libXext.so.6", "libXrandr.so.2", "libXi.so.6", "libXcursor.so.1"})
        dlopen(lib, RTLD_NOW | RTLD_NODELETE);
    static const std::string result = launch();
    return result;
}

}  // namespace zarn_test

// SDL keeps a few bytes of its X11 and GL driver state until the process ends
// (freed by no call of its API); the leak checker of sanitised builds is told
// to ignore them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libSDL2\n";
}

#if defined(__SANITIZE_ADDRESS__)
// The system's GL driver, loaded and unloaded by SDL, keeps a few small
// allocations for the life of the process; once it is unloaded, the leak
// checker can neither name nor suppress them. The window tests therefore run
// without the leak check (the engine's own leaks are checked by engine_tests).
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}
#endif
