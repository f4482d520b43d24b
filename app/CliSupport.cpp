#include "app/CliSupport.h"

#include <cerrno>
#include <cstring>
#include <ostream>

namespace ondrex::cli {

int Guarded(std::ostream& err, const std::function<int(std::string& input)>& body) {
    std::string input;
    try {
        return body(input);
    } catch (const EUsage& e) {
        err << "ondrex: " << EscapeControls(e.what()) << " (try 'ondrex --help')\n";
        return kExitUsage;
    } catch (const EFileError& e) {
        err << "ondrex: " << EscapeControls(e.what()) << '\n';
        return kExitBadInput;
    } catch (const EBadInput& e) {
        err << "ondrex: " << EscapeControls(e.what()) << '\n';
        return kExitBadInput;
    } catch (const std::bad_alloc&) {
        if (input.empty())
            err << "ondrex: out of memory\n";
        else
            err << "ondrex: " << EFileError(input, EFileError::TCause::OutOfMemory).what() << '\n';
        return kExitBadInput;
    } catch (const std::exception& e) {
        err << "ondrex: " << EscapeControls(e.what()) << '\n';
        return kExitBadInput;
    }
}

int Guarded(std::ostream& err, const std::function<int()>& body) {
    return Guarded(err, [&](std::string&) { return body(); });
}

void TArgParser::Flag(std::string name) {
    kinds_[std::move(name)] = 0;
}

void TArgParser::Option(std::string name, bool valueOptional, std::string implicit) {
    implicit_[name] = std::move(implicit);
    kinds_[std::move(name)] = valueOptional ? 2 : 1;
}

void TArgParser::Parse(const TCliArgs& args) {
    bool optionsDone = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsDone || a.size() < 2 || a[0] != '-') {
            positionals_.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsDone = true;
            continue;
        }
        std::string name = a;
        std::string value;
        bool hasValue = false;
        if (auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
            hasValue = true;
        }
        auto kind = kinds_.find(name);
        if (kind == kinds_.end()) throw EUsage("unknown option '" + a + "'");
        switch (kind->second) {
        case 0:
            if (hasValue) throw EUsage("option '" + name + "' takes no value");
            break;
        case 1:
            if (!hasValue) {
                if (i + 1 >= args.size()) throw EUsage("option '" + name + "' needs a value");
                value = args[++i];
            }
            values_[name].push_back(value);
            break;
        case 2:
            values_[name].push_back(hasValue ? value : implicit_[name]);
            break;
        }
        ++seen_[name];
    }
}

std::string TArgParser::Value(const std::string& name, const std::string& fallback) const {
    auto v = values_.find(name);
    return v == values_.end() ? fallback : v->second.back();
}

std::vector<std::string> TArgParser::Values(const std::string& name) const {
    auto v = values_.find(name);
    return v == values_.end() ? std::vector<std::string>() : v->second;
}

void AddScanOptions(TArgParser& parser) {
    parser.Flag("--dim");
    parser.Flag("--if");
    parser.Flag("--no-calls");
    parser.Option("--format");
}

TScanOptions ScanOptionsFrom(const TArgParser& parser) {
    TScanOptions o;
    o.dim = parser.Has("--dim");
    o.ifs = parser.Has("--if");
    o.calls = !parser.Has("--no-calls");
    return o;
}

TFormat ParseFormat(const std::string& value) {
    if (value == "text") return TFormat::Text;
    if (value == "tsv") return TFormat::Tsv;
    if (value == "json") return TFormat::Json;
    throw EUsage("unknown format '" + value + "' (text, tsv or json)");
}

void Write(std::ostream& out, std::string_view text) {
    errno = 0;
    out.write(text.data(), std::streamsize(text.size()));
    out.flush();
    if (!out) throw EWriteFailed(errno);
}

EWriteFailed::EWriteFailed(int error)
    : std::runtime_error(error ? "cannot write the output: " + std::string(std::strerror(error))
                               : "cannot write the output") {}

} // namespace ondrex::cli
