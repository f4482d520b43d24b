#include "app/index/TagsFile.h"

#include "platform/CodePage.h"

#include <algorithm>

namespace ondrex {

namespace {

unsigned char folded(char c) {
    return static_cast<unsigned char>(AsciiUpper(c));
}

std::string foldedName(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        c = char(folded(c));
    return key;
}

void appendPattern(std::string& out, const TSiteSymbol& s) {
    std::string_view line = s.lineText;
    bool whole = !s.lineCut;
    if (std::size_t nul = line.find('\0'); nul != std::string_view::npos) {
        line = line.substr(0, nul);
        whole = false;
    }
    out += "/^";
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' || c == '/' || (c == '$' && whole && i + 1 == line.size())) out += '\\';
        out += c;
    }
    out += whole ? "$/" : "/";
}

} // namespace

void TVimTags::Add(std::string_view file, const std::vector<TSiteSymbol>& symbols) {
    for (const TSiteSymbol& s : symbols) {
        TTag tag{foldedName(s.name), {}, s.name.size(), files_, s.line};
        std::string& t = tag.text;
        t.reserve(s.name.size() + file.size() + s.lineText.size() + 40);
        t += s.name;
        t += '\t';
        t += file;
        t += '\t';
        appendPattern(t, s);
        t += s.isSub ? ";\"\ts\tline:" : ";\"\tf\tline:";
        t += std::to_string(s.line);
        t += "\tend:";
        t += std::to_string(s.endLine);
        tags_.push_back(std::move(tag));
    }
    ++files_;
}

std::string TVimTags::Text(std::string_view version) {
    std::sort(tags_.begin(), tags_.end(), [](const TTag& a, const TTag& b) {
        if (int d = a.key.compare(b.key)) return d < 0;
        const std::string_view na(a.text.data(), a.nameLength), nb(b.text.data(), b.nameLength);
        if (na != nb) return na < nb;
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    std::string out;
    out += "!_TAG_FILE_FORMAT\t2\t/extended format; --format=1 will not append ;\" to lines/\n"
           "!_TAG_FILE_SORTED\t2\t/0=unsorted, 1=sorted, 2=foldcase/\n"
           "!_TAG_PROGRAM_NAME\tondrex\t//\n"
           "!_TAG_PROGRAM_VERSION\t";
    out += version;
    out += "\t//\n";
    for (const TTag& t : tags_) {
        out += t.text;
        out += '\n';
    }
    return out;
}

void AppendEtagsSection(std::string& out, std::string_view file,
                        const std::vector<TSiteSymbol>& symbols) {
    std::string body;
    for (const TSiteSymbol& s : symbols) {
        std::string_view text = s.lineText;
        text = text.substr(0, std::min(text.size(), s.nameColumn + s.name.size()));
        text = text.substr(0, std::min(text.find('\x7f'), text.find('\0')));
        body += text;
        body += '\x7f';
        body += s.name;
        body += '\x01';
        body += std::to_string(s.line);
        body += ',';
        body += std::to_string(s.lineOffset);
        body += '\n';
    }
    out += "\f\n";
    out += file;
    out += ',';
    out += std::to_string(body.size());
    out += '\n';
    out += body;
}

bool NameableInTags(std::string_view file) {
    return file.find_first_of("\t\n\r") == std::string_view::npos;
}

} // namespace ondrex
