#include "app/window/DisplayProbe.h"

#include <QGuiApplication>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace ondrex::window {

namespace {

constexpr auto kProbeLimit = std::chrono::seconds(10);

[[noreturn]] void probeInChild(int argc, char** argv) {
    // Qt's own explanation of a failure runs to many lines; the caller says it in one.
    if (const int null = open("/dev/null", O_WRONLY); null >= 0) {
        dup2(null, STDERR_FILENO);
        dup2(null, STDOUT_FILENO);
    }
    QGuiApplication probe(argc, argv);
    _exit(0); // no teardown: the parent starts its own application
}

} // namespace

bool CanOpenDisplay(int argc, char** argv) {
    const pid_t child = fork();
    if (child < 0) return true; // cannot probe: let Qt try in earnest
    if (child == 0) probeInChild(argc, argv);
    const auto deadline = std::chrono::steady_clock::now() + kProbeLimit;
    for (auto pause = std::chrono::milliseconds(1);;
         pause = std::min(pause * 2, std::chrono::milliseconds(50))) {
        int status = 0;
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(pause);
    }
}

std::string InvisibleWindowNotice(const std::string& platformName) {
    if (platformName != "offscreen" && platformName != "minimal") return {};
    return "ondrex: the window opens on the '" + platformName +
           "' platform, where it is invisible (Ctrl+C ends it)\n";
}

} // namespace ondrex::window
