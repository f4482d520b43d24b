#include "platform/PrintSpooler.h"

#include "platform/FileDescriptor.h"
#include "platform/Printer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace ondrex {

namespace {

constexpr const char* kSpooler = "lp";

// The child's file set-up, released however the spawn ends.
struct TSpawnActions {
    TSpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~TSpawnActions() { posix_spawn_file_actions_destroy(&actions); }
    TSpawnActions(const TSpawnActions&) = delete;
    TSpawnActions& operator=(const TSpawnActions&) = delete;
    posix_spawn_file_actions_t actions;
};

} // namespace

bool PrintSpoolerAvailable() {
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "";
    while (!dirs.empty()) {
        const std::size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
        const std::filesystem::path candidate =
            std::filesystem::path(dir.empty() ? "." : std::string(dir)) / kSpooler;
        if (access(candidate.c_str(), X_OK) == 0) return true;
    }
    return false;
}

void QueuePdf(const std::string& printer, const std::string& title,
              const std::filesystem::path& pdf) {
    const std::string failed = "Printing \"" + title + "\" failed";
    int errors[2];
    if (pipe2(errors, O_CLOEXEC) != 0) throw EPrinterError(failed + ": " + std::strerror(errno));
    const TFileDescriptor said(errors[0]);
    TSpawnActions child;
    posix_spawn_file_actions_addopen(&child.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&child.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&child.actions, errors[1], STDERR_FILENO);

    std::vector<std::string> args = {kSpooler, "-d", printer, "-t", title, "--", pdf.string()};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, kSpooler, &child.actions, nullptr, argv.data(), environ);
    close(errors[1]);
    if (spawned != 0) throw EPrinterError(failed + ": " + kSpooler + ": " + std::strerror(spawned));

    std::string message;
    char buffer[512];
    for (ssize_t n; (n = read(said.fd, buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            message.append(buffer, static_cast<std::size_t>(n));
        else if (errno != EINTR)
            break;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    throw EPrinterError(failed + (message.empty() ? std::string() : ": " + message));
}

} // namespace ondrex
