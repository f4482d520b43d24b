// ondrex lsp: the language server on standard input and output.

#include "app/CliCommands.h"
#include "app/lsp/LanguageServer.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace ondrex::cli {

namespace {

// Writes all of it; false when the other end is gone.
bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(std::size_t(n));
    }
    return true;
}

} // namespace

int runLsp(const TCliArgs& args, std::ostream& /*out*/, std::ostream& err) {
    return Guarded(err, [&]() -> int {
        TArgParser parser;
        parser.Flag("--stdio"); // what clients pass; standard input and output is the only way
        parser.Parse(args);
        if (!parser.Positionals().empty()) throw EUsage("lsp: no arguments expected");
        // A client that goes away makes writes fail instead of ending the process.
        std::signal(SIGPIPE, SIG_IGN);

        // Written by whichever thread sends (the server sends one message at a time).
        std::atomic<bool> clientGone = false;
        lsp::TLanguageServer server(
            [&](const std::string& body) {
                if (clientGone) return;
                std::string message = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
                message += body;
                clientGone = !writeAll(STDOUT_FILENO, message);
            },
            [](const std::string& line) { writeAll(STDERR_FILENO, line + "\n"); });

        std::thread reader([&server] {
            std::string buffer(std::size_t(1) << 16, '\0');
            for (;;) {
                const ssize_t n = ::read(STDIN_FILENO, buffer.data(), buffer.size());
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) break;
                server.Receive(std::string_view(buffer.data(), std::size_t(n)));
            }
            server.ReceiveEnd();
        });
        while (server.ProcessQueued() && !clientGone)
            server.WaitForInput();
        // The reader may still be blocked on an input the client keeps open after `exit`;
        // writes are unbuffered, so nothing is lost by ending the process here.
        std::_Exit(clientGone ? kExitBadInput : server.ExitStatus());
    });
}

} // namespace ondrex::cli
