#pragma once
// Test helpers shared by the language tests: a line scanned the way the editor scans it, a
// sequence of lines with the range carried from one to the next, and an export sink that
// records what it is handed.

#include "highlighters/qvExport.h"
#include "highlighters/qvHighlighter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace ondrex::test {

struct Token {
    int Kind;
    int Start;
    std::string Text;
};

// Kinds and texts only, for readable expectations.
using Pieces = std::vector<std::pair<int, std::string>>;

struct ScannedLine {
    std::vector<Token> Tokens;
    TqvRangeState EndState;

    Pieces AsPieces() const {
        Pieces pieces;
        for (const Token& t : Tokens)
            pieces.emplace_back(t.Kind, t.Text);
        return pieces;
    }

    // Each token starts where the one before it ended.
    void ExpectContiguous() const {
        int next = 0;
        for (const Token& t : Tokens) {
            EXPECT_EQ(t.Start, next) << t.Text;
            next += static_cast<int>(t.Text.size());
        }
    }
};

// `line` may hold NUL bytes; the highlighter sees it through c_str().
inline ScannedLine ScanLine(TqvCustomHighLighter& hl, const std::string& line,
                            TqvRangeState state) {
    ScannedLine scanned;
    hl.SetRangeState(state);
    hl.StartLine(line.c_str(), 0);
    // Every token but the last holds a byte: a scanner that stops moving fails, not hangs.
    for (std::size_t count = 0; !hl.AtLineEnd(); ++count) {
        if (count > line.size()) {
            ADD_FAILURE() << "no end of line after " << count << " tokens";
            break;
        }
        scanned.Tokens.push_back({hl.TokenKind(), hl.TokenStart(), hl.TokenText()});
        hl.NextToken();
    }
    scanned.EndState = hl.RangeState();
    return scanned;
}

// From the initial range.
inline Pieces Split(TqvCustomHighLighter& hl, const std::string& line) {
    hl.ResetRangeState();
    return ScanLine(hl, line, hl.RangeState()).AsPieces();
}

// Lines scanned in order, each starting from the state the previous one ended in.
inline std::vector<ScannedLine> ScanLines(TqvCustomHighLighter& hl,
                                          const std::vector<std::string>& lines) {
    hl.ResetRangeState();
    std::vector<ScannedLine> scanned;
    TqvRangeState state = hl.RangeState();
    for (const std::string& line : lines) {
        scanned.push_back(ScanLine(hl, line, state));
        state = scanned.back().EndState;
    }
    return scanned;
}

// The single kind of a text that scans as one token, or -1.
inline int KindOfWhole(TqvCustomHighLighter& hl, const std::string& text) {
    Pieces pieces = Split(hl, text);
    return pieces.size() == 1 && pieces[0].second == text ? pieces[0].first : -1;
}

inline std::vector<std::string> Words(const char* text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

struct ExportedToken {
    std::string Text;
    const TqvHighLightAttributes* Attribute;
    bool Whitespace;
    bool Second;
};

class RecordingSink : public TqvExport {
public:
    void WriteToken(std::string_view text, const TqvHighLightAttributes* attribute, bool whitespace,
                    bool second) override {
        Tokens.push_back({std::string(text), attribute, whitespace, second});
    }
    std::vector<ExportedToken> Tokens;
};

// Every token of the line through ExportNextToken, the end-of-line token included.
inline std::vector<ExportedToken> ExportLine(TqvCustomHighLighter& hl, const std::string& line) {
    RecordingSink sink;
    hl.SetExportSink(&sink);
    hl.ResetRangeState();
    hl.StartExportLine(line.c_str());
    for (std::size_t count = 0; !hl.AtLineEnd(); ++count) {
        if (count > line.size()) {
            ADD_FAILURE() << "no end of line after " << count << " tokens";
            break;
        }
        hl.ExportNextToken();
    }
    hl.SetExportSink(nullptr);
    return sink.Tokens;
}

} // namespace ondrex::test
