#include "app/CliSite.h"

#include "highlighters/THighlighterList.h"
#include "platform/CodePage.h"

#include <charconv>
#include <ostream>
#include <sys/stat.h>

namespace ondrex::cli {

void AddSiteOptions(TArgParser& parser) {
    parser.Flag("-R");
    parser.Flag("--recursive");
    parser.Option("--lang");
    parser.Option("--include");
    parser.Option("--exclude");
    parser.Option("--jobs");
}

bool Recursive(const TArgParser& parser) {
    return parser.Has("-R") || parser.Has("--recursive");
}

TSiteFilter SiteFilterFrom(const TArgParser& parser) {
    TSiteFilter filter;
    for (const std::string& l : parser.Values("--lang")) {
        const THighlighterClass* language = THighlighterList::Instance().FindByLanguage(l);
        if (!language) throw EUsage("unknown language '" + l + "'");
        filter.languages.push_back(language->Language); // "perlscript" stands for "perl"
    }
    filter.includes = parser.Values("--include");
    filter.excludes = parser.Values("--exclude");
    return filter;
}

unsigned JobsFrom(const TArgParser& parser) {
    if (!parser.Has("--jobs")) return 0;
    const std::string v = parser.Value("--jobs");
    unsigned jobs = 0;
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), jobs);
    if (ec != std::errc() || end != v.data() + v.size() || jobs < 1 || jobs > 1024)
        throw EUsage("--jobs takes a number from 1 to 1024");
    return jobs;
}

bool AsksRecursive(const TCliArgs& args) {
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "-R" || a == "--recursive") return true;
    }
    return false;
}

void RequireFiles(const std::vector<std::string>& paths) {
    for (const std::string& p : paths) {
        struct stat st {};
        if (::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            throw EFileError(p, EFileError::TCause::IsDirectory, "use -R for a folder");
    }
}

std::string EscapedPath(std::string_view path) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(path.size());
    std::size_t i = 0;
    while (i < path.size()) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c >= 0x80) {
            // A whole valid UTF-8 sequence goes out as it is; any other byte is escaped.
            std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
            if (n && i + n <= path.size() && IsValidUtf8(path.substr(i, n))) {
                out.append(path.substr(i, n));
                i += n;
                continue;
            }
        }
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c == 0x7F || c >= 0x80)
            out += {'\\', 'x', hex[c >> 4], hex[c & 15]};
        else
            out += char(c);
        ++i;
    }
    return out;
}

bool ReportEntry(std::ostream& err, const TWalkEntry& entry) {
    if (entry.kind == TWalkEntry::TKind::File) return false;
    err << "ondrex: " << EscapedPath(entry.path) << ": " << entry.message << '\n';
    return entry.kind == TWalkEntry::TKind::Error;
}

} // namespace ondrex::cli
