// Shell completion made from the command table: the commands, each one's options as its
// synopsis lines name them, and the values an option takes where the synopsis lists them
// ("--format text|tsv|json", "--color=auto|always|never") or names a file.

#include "app/CliCommands.h"
#include "highlighters/THighlighterList.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace ondrex::cli {

namespace {

struct TOption {
    std::set<std::string> values; // words it takes
    bool takesValue = false;      // a word follows (--jobs N, -o FILE)
    bool joined = false;          // written --color=WHEN
    bool file = false;            // the value names a file
};

struct TCommandOptions {
    std::string name;
    std::map<std::string, TOption> options;
};

bool isOptionStart(const std::string& line, std::size_t i) {
    return line[i] == '-' && (i == 0 || line[i - 1] == '[' || line[i - 1] == ' ') &&
           i + 1 < line.size() && line[i + 1] != ' ' && line[i + 1] != ']';
}

// The options of one command from the lines of its usage that are synopses (the
// description lines start with four blanks).
TCommandOptions optionsOf(const TCliCommand& command) {
    TCommandOptions c{std::string(command.name), {}};
    const std::string usage = UsageOf(command);
    for (std::size_t from = 0; from < usage.size();) {
        std::size_t eol = std::min(usage.find('\n', from), usage.size());
        const std::string line = usage.substr(from, eol - from);
        from = eol + 1;
        if (line.starts_with("    ")) continue;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (!isOptionStart(line, i)) continue;
            std::size_t e = i + 1;
            while (e < line.size() &&
                   (std::isalnum(static_cast<unsigned char>(line[e])) || line[e] == '-'))
                ++e;
            const std::string name = line.substr(i, e - i);
            TOption& o = c.options[name];
            const bool bracketed = i > 0 && line[i - 1] == '[';
            const bool joined = e < line.size() && line[e] == '=';
            if (!joined && !(e + 1 < line.size() && line[e] == ' ' && line[e + 1] != '[' &&
                             line[e + 1] != '-'))
                continue;
            std::size_t ve = e + 1;
            while (ve < line.size() && line[ve] != ' ' && line[ve] != ']')
                ++ve;
            const std::string word = line.substr(e + 1, ve - e - 1);
            const bool placeholder = std::all_of(word.begin(), word.end(), [](char ch) {
                return std::isupper(static_cast<unsigned char>(ch)) || ch == '.';
            });
            if (placeholder && !bracketed && !joined) continue; // a positional after a flag
            o.takesValue = true;
            o.joined = joined;
            if (placeholder) {
                o.file = word == "FILE";
            } else {
                for (std::size_t p = 0; p <= word.size();) {
                    const std::size_t bar = std::min(word.find('|', p), word.size());
                    if (bar > p) o.values.insert(word.substr(p, bar - p));
                    p = bar + 1;
                }
            }
            if (name == "--lang")
                for (int k = 0; k < THighlighterList::Instance().Count(); ++k)
                    o.values.insert(THighlighterList::Instance()[k].Language);
            i = ve;
        }
    }
    return c;
}

std::string words(const std::set<std::string>& set) {
    std::string out;
    for (const std::string& w : set)
        out += (out.empty() ? "" : " ") + w;
    return out;
}

std::string bashScript(const std::vector<TCommandOptions>& commands) {
    std::string names;
    std::map<std::string, TOption> all;
    for (const TCommandOptions& c : commands) {
        names += c.name + ' ';
        for (const auto& [name, option] : c.options) {
            TOption& merged = all[name];
            merged.values.insert(option.values.begin(), option.values.end());
            merged.takesValue |= option.takesValue;
            merged.joined |= option.joined;
            merged.file |= option.file;
        }
    }
    std::string s = "# bash completion for ondrex, made by `ondrex --completion bash` from its "
                    "command table\n_ondrex() {\n"
                    "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
                    "    if ((COMP_CWORD == 1)); then\n"
                    "        COMPREPLY=($(compgen -W '" +
                    names +
                    "--help --version' -- \"$cur\") $(compgen -f -- \"$cur\"))\n"
                    "        return\n    fi\n";
    // An option written with '=' reaches bash as three words: the option, '=', the value.
    s += "    if [[ $prev == = ]]; then prev=${COMP_WORDS[COMP_CWORD-2]}; fi\n"
         "    if [[ $cur == = ]]; then prev=${COMP_WORDS[COMP_CWORD-1]}; cur=; fi\n"
         "    case $prev in\n";
    for (const auto& [name, o] : all) {
        if (!o.takesValue) continue;
        s += "        " + name + ") ";
        if (!o.values.empty())
            s += "COMPREPLY=($(compgen -W '" + words(o.values) + "' -- \"$cur\"))";
        else if (o.file)
            s += "COMPREPLY=($(compgen -f -- \"$cur\"))";
        else
            s += "COMPREPLY=()";
        s += "; return;;\n";
    }
    s += "    esac\n    local options=\n    case ${COMP_WORDS[1]} in\n";
    for (const TCommandOptions& c : commands) {
        std::set<std::string> names;
        for (const auto& [name, o] : c.options)
            names.insert(name);
        s += "        " + c.name + ") options='" + words(names) + " --help';;\n";
    }
    s += "    esac\n"
         "    if [[ $cur == -* ]]; then\n"
         "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "    else\n"
         "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
         "    fi\n"
         "}\n"
         "complete -o filenames -F _ondrex ondrex\n";
    return s;
}

std::string zshScript(const std::vector<TCommandOptions>& commands) {
    std::string names;
    for (const TCommandOptions& c : commands)
        names += c.name + ' ';
    std::string s = "#compdef ondrex\n# made by `ondrex --completion zsh` from its command table\n"
                    "_ondrex() {\n"
                    "  if (( CURRENT == 2 )); then\n"
                    "    _alternative 'commands:command:(" +
                    names +
                    "--help --version)' 'files:file:_files'\n"
                    "    return\n  fi\n  case $words[2] in\n";
    for (const TCommandOptions& c : commands) {
        s += "    " + c.name + ") _arguments -S";
        for (const auto& [name, o] : c.options) {
            s += " '*" + name + (o.joined ? "=-" : "");
            if (o.takesValue)
                s += ":value:" + (o.values.empty() ? std::string(o.file ? "_files" : " ")
                                                   : "(" + words(o.values) + ")");
            s += "'";
        }
        s += " '*:file:_files';;\n";
    }
    s += "  esac\n}\n_ondrex \"$@\"\n";
    return s;
}

} // namespace

std::string CompletionScript(std::string_view shell) {
    std::vector<TCommandOptions> commands;
    for (const TCliCommand& c : Commands())
        commands.push_back(optionsOf(c));
    if (shell == "bash") return bashScript(commands);
    if (shell == "zsh") return zshScript(commands);
    throw EUsage("no completion for the shell '" + std::string(shell) + "' (bash or zsh)");
}

} // namespace ondrex::cli
