#pragma once
// Runs the real `ondrex` binary as a script would: an argument vector (no shell, so paths with
// blanks or quotes pass as they are), both output streams, the exit status. A run that does not
// end within the time limit is killed and reported, so a hang fails the test instead of
// blocking it.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace ondrex::testsupport {

struct TRunResult {
    int status = -1; // the exit status; -1 when killed by a signal or the time limit
    std::string out;
    std::string err;
    long peakKiB = 0; // the most memory the run held at once (resident set)
};

struct TRunOptions {
    std::string directory = ONDREX_SOURCE_DIR; // so "samples/shop.asp" resolves
    std::vector<std::string> environment;      // "NAME=value" entries set on top of ours
    std::chrono::seconds limit{60};
    std::string outputFile{};    // standard output goes to this file instead (out stays empty)
    std::string endWhenErrHas{}; // once stderr holds this, the run is ended (a window left open)
};

inline TRunResult RunOndrex(const std::vector<std::string>& args, const TRunOptions& options = {}) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& set : options.environment)
            replaced |= entry.compare(0, set.find('=') + 1, set, 0, set.find('=') + 1) == 0;
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), options.environment.begin(), options.environment.end());
    std::vector<char*> argv{const_cast<char*>(ONDREX_BINARY)}, envp;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    TRunResult result;
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.outputFile.empty())
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, options.outputFile.c_str(),
                                         O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    for (int fd : {out[0], out[1], err[0], err[1]})
        posix_spawn_file_actions_addclose(&actions, fd);
    posix_spawn_file_actions_addchdir_np(&actions, options.directory.c_str());
    pid_t pid = -1;
    const int spawned =
        posix_spawn(&pid, ONDREX_BINARY, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot run " ONDREX_BINARY ": " << std::strerror(spawned);
        close(out[0]);
        close(err[0]);
        return result;
    }

    const auto deadline = std::chrono::steady_clock::now() + options.limit;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    bool timedOut = false;
    for (int open = 2; open > 0;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        if (poll(fds, 2, int(left.count())) < 0 && errno != EINTR) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[65536];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, std::size_t(n));
                if (!options.endWhenErrHas.empty() &&
                    result.err.find(options.endWhenErrHas) != std::string::npos)
                    kill(pid, SIGTERM);
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (const pollfd& fd : fds)
        if (fd.fd >= 0) close(fd.fd);
    if (timedOut) {
        kill(pid, SIGKILL);
        ADD_FAILURE() << "ondrex did not finish within " << options.limit.count() << " s";
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.peakKiB = usage.ru_maxrss;
    if (!timedOut && WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
}

} // namespace ondrex::testsupport
