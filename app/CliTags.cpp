// ondrex tags: a tags file of the Function/Sub blocks of a site, for Vim (and readtags) or,
// with -e, for Emacs. The file is written beside its final name and renamed into place, so
// an editor never reads half of one.

#include "app/CliCommands.h"
#include "app/CliSite.h"
#include "app/index/TagsFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrex::cli {

namespace {

namespace fs = std::filesystem;

// How the tags file names a file: Vim and Emacs read relative names from the tags file's
// folder, so a relative path is rewritten from there when the file is written elsewhere.
std::string nameFromTagsFolder(const std::string& path, const fs::path& folder) {
    if (folder.empty() || fs::path(path).is_absolute()) return path;
    std::error_code ec;
    const fs::path from = fs::absolute(folder, ec).lexically_normal();
    const fs::path to = fs::absolute(path, ec).lexically_normal();
    if (ec) return path;
    const fs::path relative = to.lexically_relative(from);
    return relative.empty() ? path : relative.string();
}

// Writes `text` to `target` through a temporary file in the same folder.
void writeReplacing(const std::string& target, const std::string& text) {
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw EBadInput(target + ": cannot write (" + std::strerror(errno) + ")");
    bool ok = true;
    for (std::size_t done = 0; ok && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += std::size_t(n);
    }
    const int error = errno;
    ok = ::fchmod(fd, 0644) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), target.c_str()) != 0) {
        const int why = ok ? errno : error;
        std::remove(temp.c_str());
        throw EBadInput(target + ": cannot write (" + std::strerror(why) + ")");
    }
}

} // namespace

int runTags(const TCliArgs& args, std::ostream& out, std::ostream& err) {
    return Guarded(err, [&] {
        TArgParser parser;
        AddSiteOptions(parser);
        parser.Flag("-e");
        parser.Option("-o");
        parser.Parse(args);
        const bool emacs = parser.Has("-e");
        const std::string target = parser.Value("-o", emacs ? "TAGS" : "tags");
        if (!Recursive(parser)) {
            if (parser.Positionals().empty()) throw EUsage("tags: missing FILE (or -R for a tree)");
            RequireFiles(parser.Positionals());
        }
        TSiteScanOptions options;
        options.scan.calls = false; // only Function and Sub rows matter
        options.rows = false;
        options.symbols = true;
        options.threads = JobsFrom(parser);
        TSiteWalk walk(parser.Positionals(), SiteFilterFrom(parser));
        const fs::path folder = target == "-" ? fs::path() : fs::path(target).parent_path();

        TVimTags vim;
        std::string etags;
        bool failed = false;
        ScanSite(walk, options, [&](TSiteFile& file) {
            if (ReportEntry(err, file.entry)) failed = true;
            if (file.entry.kind != TWalkEntry::TKind::File || file.symbols.empty()) return;
            const std::string name = nameFromTagsFolder(file.entry.path, folder);
            if (!NameableInTags(name)) {
                err << "ondrex: " << EscapedPath(file.entry.path)
                    << ": a tab or line break in the name cannot stand in a tags file, left out\n";
                failed = true;
                return;
            }
            if (emacs)
                AppendEtagsSection(etags, name, file.symbols);
            else
                vim.Add(name, file.symbols);
        });
        const std::string text = emacs ? std::move(etags) : vim.Text(ProgramVersion());
        if (target == "-")
            Write(out, text);
        else
            writeReplacing(target, text);
        return failed ? kExitBadInput : kExitOk;
    });
}

} // namespace ondrex::cli
