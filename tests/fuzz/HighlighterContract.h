#pragma once
// The editor's calling contract, checked on arbitrary input. A language's fuzz target is:
//
//   #include "highlighters/zkVBSSyn.h"
//   #include "tests/fuzz/HighlighterContract.h"
//   ONDREX_HIGHLIGHTER_FUZZER(ondrex::TzkVbsSyn)
//
// The first input byte is the range state the first line starts in; the rest is split into
// lines at LF (so lines may hold CR and NUL). Per line it checks: tokens contiguous and in
// order from offset 0, non-empty, each TokenText the bytes at its offset, covering the line
// exactly up to its first NUL and never past it, each in an attribute of the highlighter's
// list (or none); at the end TokenText empty, no attribute, and further NextToken calls keep
// giving the end-of-line token at the same place; the same line scanned again from the same
// state gives the same tokens and end state; the export path hands the sink the end of the
// line exactly once, last. The styled sinks write the same text for a line alone as for the
// line inside a run of lines that they may read past it (as `cat` hands them): the run is
// a heap block of its exact size, so a read beyond it is a sanitizer error.

#include "highlighters/AnsiExport.h"
#include "highlighters/HtmlExport.h"
#include "highlighters/qvExport.h"
#include "highlighters/qvHighlighter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex::fuzz {

[[noreturn]] inline void Fail(const char* what, const std::string& line) {
    std::fprintf(stderr, "highlighter contract broken: %s (line of %zu bytes)\n", what,
                 line.size());
    std::abort();
}

inline void Check(bool condition, const char* what, const std::string& line) {
    if (!condition) Fail(what, line);
}

struct TToken {
    int kind;
    int start;
    std::string text;
    bool operator==(const TToken&) const = default;
};

struct TScan {
    std::vector<TToken> tokens;
    TqvRangeState end;
};

inline bool IsListed(const TqvCustomHighLighter& h, const TqvHighLightAttributes* attribute) {
    for (int i = 0; i < h.AttributeCount(); ++i)
        if (h.AttributeAt(i) == attribute) return true;
    return false;
}

inline TScan ScanChecked(TqvCustomHighLighter& h, const std::string& line, TqvRangeState state,
                         int index) {
    const int limit = static_cast<int>(std::strlen(line.c_str())); // up to the first NUL
    TScan scan;
    h.SetRangeState(state);
    h.StartLine(line.c_str(), index);
    int position = 0;
    while (!h.AtLineEnd()) {
        Check(h.TokenStart() == position, "token does not start where the last one ended", line);
        const std::string text = h.TokenText();
        Check(!text.empty(), "empty token before the end of the line", line);
        Check(position + static_cast<int>(text.size()) <= limit, "token runs past the NUL", line);
        Check(line.compare(position, text.size(), text) == 0, "token text is not the line's", line);
        Check(!h.TokenAttribute() || IsListed(h, h.TokenAttribute()),
              "token attribute is not in the attribute list", line);
        scan.tokens.push_back({h.TokenKind(), position, text});
        position += static_cast<int>(text.size());
        h.NextToken();
    }
    Check(position == limit, "tokens stop before the end of the line", line);
    for (int again = 0; again < 3; ++again) {
        Check(h.TokenStart() == limit, "end-of-line token is not at the end", line);
        Check(h.TokenText().empty(), "end-of-line token has text", line);
        Check(h.TokenAttribute() == nullptr, "end-of-line token has an attribute", line);
        h.NextToken();
        Check(h.AtLineEnd(), "NextToken after the end left the end", line);
    }
    scan.end = h.RangeState();
    return scan;
}

class TCountingSink : public TqvExport {
public:
    void WriteToken(std::string_view text, const TqvHighLightAttributes* attribute, bool,
                    bool) override {
        if (!attribute && text.empty())
            ++lineEnds;
        else if (lineEnds)
            afterEnd = true;
    }
    int lineEnds = 0;
    bool afterEnd = false;
};

// The text's lines written by `alone` one by one and by `inRun` from one run of NUL-ended
// lines, each from the state the line before left.
inline void CheckRunExport(TqvCustomHighLighter& h, std::string_view text, TqvRangeState state,
                           TStyledExport& alone, TStyledExport& inRun) {
    const std::size_t size = text.size() + 1;
    const std::unique_ptr<char[]> run(new char[size]);
    std::memcpy(run.get(), text.data(), text.size());
    run[text.size()] = '\0';
    std::vector<TExportToken> tokens;
    for (std::size_t begin = 0; begin < size;) {
        const char* newline =
            static_cast<const char*>(std::memchr(run.get() + begin, '\n', text.size() - begin));
        const std::size_t end = newline ? std::size_t(newline - run.get()) : text.size();
        run[end] = '\0';
        const std::string_view line(run.get() + begin, end - begin);
        h.SetRangeState(state);
        alone.ExportLine(h, std::string(line));
        h.SetRangeState(state);
        tokens.clear();
        h.ExportTokens(line.data(), tokens);
        inRun.WriteLine(line, tokens, size - begin);
        state = h.RangeState();
        begin = end + 1;
    }
    alone.Flush();
    inRun.Flush();
}

inline void CheckStyledExports(TqvCustomHighLighter& h, std::string_view text,
                               TqvRangeState state) {
    std::string alone, inRun;
    TAnsiExport ansiAlone(alone, TCodePage::Utf8), ansiInRun(inRun, TCodePage::Utf8);
    CheckRunExport(h, text, state, ansiAlone, ansiInRun);
    Check(alone == inRun, "terminal text of a line differs inside a run", std::string(text));
    THtmlExport htmlAlone(TCodePage::Windows1252, h), htmlInRun(TCodePage::Windows1252, h);
    CheckRunExport(h, text, state, htmlAlone, htmlInRun);
    Check(htmlAlone.PageBody() == htmlInRun.PageBody(), "HTML of a line differs inside a run",
          std::string(text));
}

inline int CheckHighlighterContract(TqvCustomHighLighter& h, const std::uint8_t* data,
                                    std::size_t size) {
    if (size == 0) return 0;
    TqvRangeState state = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t begin = 0;
    for (int index = 0; begin <= text.size(); ++index) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) end = text.size();
        const std::string line(text.substr(begin, end - begin));

        const TScan first = ScanChecked(h, line, state, index);
        const TScan second = ScanChecked(h, line, state, index);
        Check(first.tokens == second.tokens, "same line and state gave other tokens", line);
        Check(first.end == second.end, "same line and state gave another end state", line);

        TCountingSink sink;
        h.SetExportSink(&sink);
        h.SetRangeState(state);
        h.StartExportLine(line.c_str());
        int steps = 0;
        while (!h.AtLineEnd()) {
            Check(++steps <= static_cast<int>(line.size()) + 1, "export never ends", line);
            h.ExportNextToken();
        }
        h.SetExportSink(nullptr);
        Check(sink.lineEnds == 1 && !sink.afterEnd, "export ends the line other than once, last",
              line);
        Check(h.RangeState() == first.end, "export path gave another end state", line);

        state = first.end;
        begin = end + 1;
    }
    CheckStyledExports(h, text, data[0]);
    return 0;
}

} // namespace ondrex::fuzz

#define ONDREX_HIGHLIGHTER_FUZZER(Class)                                                           \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {            \
        static Class highlighter;                                                                  \
        return ondrex::fuzz::CheckHighlighterContract(highlighter, data, size);                    \
    }
