#pragma once
// Random editing sessions for the undo tests and the command fuzzer: a text without trailing
// blanks (edits trim those by design) and long runs of commands drawn from a byte source —
// typing, line breaks, every delete, tabs (at several tab widths), block indent, copy, cut
// and paste of all three block kinds, selections in all three modes, undo and redo,
// read-only stretches. The caret may pass the end of a line (the editor's default) or not:
// the option is switched now and then.

#include "editor/TqvCustomEdit.h"
#include "editor/qvEditorCommands.h"
#include "platform/Clipboard.h"
#include "platform/CodePage.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace ondrex::test {

// Choices drawn from a seed or from a fuzzer's bytes (which then run out as zeros).
class TChoiceSource {
public:
    explicit TChoiceSource(std::uint32_t seed) : random_(seed), seeded_(true) {}
    TChoiceSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Exhausted() const { return !seeded_ && pos_ >= size_; }
    // 0 .. bound - 1
    int Next(int bound) {
        if (bound <= 1) return 0;
        std::uint32_t value;
        if (seeded_) {
            value = random_();
        } else {
            value = 0;
            for (int i = 0; i < 2 && pos_ < size_; ++i)
                value = value << 8 | data_[pos_++];
        }
        return int(value % std::uint32_t(bound));
    }

private:
    std::mt19937 random_;
    bool seeded_ = false;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};

// What a session's text and typing hold: only single-byte characters, or also multi-byte
// characters and tabs (whose byte widths differ from their display widths); and whether
// column blocks are selected, cut and pasted.
struct TSessionKind {
    bool MultiByte = true;
    bool Columns = false;
};

// Every mix in turn: multi-byte text, single-byte text with column blocks, and both.
inline TSessionKind SessionKindOf(unsigned number) {
    switch (number % 3) {
    case 0:
        return {true, false};
    case 1:
        return {false, true};
    default:
        return {true, true};
    }
}

inline const std::vector<std::string>& RandomWords(bool multiByte) {
    static const std::vector<std::string> ascii = {"ab", "x",   "If",  "(a)", "{",
                                                   "}",  "[1]", "q_z", "end", "Dim"};
    static const std::vector<std::string> words = {"ab",
                                                   "x",
                                                   "If",
                                                   "(a)",
                                                   "{",
                                                   "}",
                                                   "[1]",
                                                   "\xC3\xA9",
                                                   "\xE2\x82\xAC",
                                                   "\xE6\x97\xA5\xE6\x9C\xAC",
                                                   "\xF0\x9D\x84\x9E",
                                                   "a\tb",
                                                   "\t\xC3\xA9",
                                                   "q_z",
                                                   "end"};
    return multiByte ? words : ascii;
}

// Lines of words with leading blanks, single inner blanks and empty lines; never a trailing
// blank. Now and then one line runs past the caret's column limit (MaxColumn).
inline std::string RandomText(TChoiceSource& source, bool multiByte = true) {
    std::string text;
    const int lines = 1 + source.Next(12);
    const int longLine = source.Next(8) == 0 ? source.Next(lines) : -1;
    for (int l = 0; l < lines; ++l) {
        if (l > 0) text += "\r\n";
        if (l == longLine) {
            const auto& words = RandomWords(multiByte);
            for (std::size_t start = text.size(); text.size() - start < 1100;)
                text += words[std::size_t(source.Next(int(words.size())))] + " ";
            text += "end";
            continue;
        }
        if (source.Next(5) == 0) continue;
        const int indent = source.Next(3) * 2;
        text.append(std::size_t(indent), multiByte && indent == 4 ? '\t' : ' ');
        const int words = 1 + source.Next(5);
        for (int w = 0; w < words; ++w) {
            if (w > 0) text.append(std::size_t(1 + source.Next(2)), ' ');
            const auto& words = RandomWords(multiByte);
            text += words[std::size_t(source.Next(int(words.size())))];
        }
    }
    return text;
}

inline TPoint RandomPos(TqvCustomEdit& edit, TChoiceSource& source) {
    const int line = 1 + source.Next(edit.LineCount());
    const int length = int(edit.Lines().Get(line - 1).size());
    return {1 + source.Next(length + 4), line};
}

inline TSelectionMode RandomMode(TChoiceSource& source, TSessionKind kind) {
    const int mode = source.Next(3);
    return TSelectionMode(!kind.Columns && mode == smColumn ? smLine : mode);
}

inline void RandomSelection(TqvCustomEdit& edit, TChoiceSource& source, TSessionKind kind) {
    edit.SetSelectionMode(RandomMode(source, kind));
    const TPoint from = RandomPos(edit, source);
    const TPoint to = RandomPos(edit, source);
    edit.SetCaretPos(from);
    edit.SetSelectionStart(from);
    edit.SetSelectionEnd(to);
    edit.SetCaretPos(to);
}

// One random step. Commands go through ExecuteCommand like keys do. `trace` gets a line
// naming what was done, for failure messages.
inline void RandomStep(TqvCustomEdit& edit, TChoiceSource& source, TSessionKind kind,
                       std::string* trace = nullptr) {
    const auto note = [&](const std::string& what) {
        if (trace)
            *trace += what + " caret " + std::to_string(edit.CaretColumn()) + "," +
                      std::to_string(edit.CaretLine()) + " sel " +
                      std::to_string(edit.SelectionStart().X) + "," +
                      std::to_string(edit.SelectionStart().Y) + "-" +
                      std::to_string(edit.SelectionEnd().X) + "," +
                      std::to_string(edit.SelectionEnd().Y) + " mode " +
                      std::to_string(int(edit.SelectionMode())) + "\n";
    };
    const auto run = [&](TqvEditorCommand command, const std::string& character = {},
                         void* data = nullptr) {
        note(CommandToText(command) + " '" + character + "'");
        edit.ExecuteCommand(command, character, data);
    };
    static const TqvEditorCommand deletes[] = {ecDeleteLastChar, ecDeleteChar, ecDeleteWord,
                                               ecDeleteLastWord, ecDeleteBOL,  ecDeleteEOL,
                                               ecDeleteLine};
    static const TqvEditorCommand moves[] = {
        ecLeft,        ecRight,      ecUp,        ecDown,        ecWordLeft, ecWordRight,
        ecLineStart,   ecLineEnd,    ecSelLeft,   ecSelRight,    ecSelUp,    ecSelDown,
        ecSelWordLeft, ecSelLineEnd, ecSelectAll, ecMatchBracket};
    static const std::string multiByte[] = {
        "a", " ", "(", ")", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9D\x84\x9E", "\t"};
    static const std::string ascii[] = {"a", " ", "(", ")", "b", "{", "}", "Z"};
    const std::string* typed = kind.MultiByte ? multiByte : ascii;
    switch (source.Next(21)) {
    case 0:
    case 1:
        edit.SetCaretPos(RandomPos(edit, source));
        edit.SetSelectionStart(edit.CaretPos());
        break;
    case 2:
        RandomSelection(edit, source, kind);
        break;
    case 3:
    case 4:
    case 5:
        run(ecChar, typed[source.Next(8)]);
        break;
    case 6:
        run(source.Next(2) ? ecInsertMode : ecOverwriteMode);
        break;
    case 7:
        edit.SetOptions(edit.Options() ^ qveoAutoIndent);
        run(source.Next(3) ? ecLineBreak : ecInsertLine);
        break;
    case 8:
    case 9:
        run(deletes[source.Next(7)]);
        break;
    case 10:
        edit.SetOptions(edit.Options() ^ qveoSmartTabs);
        if (source.Next(4) == 0) edit.SetTabWidth(source.Next(5) * 2);
        run(ecTab);
        break;
    case 11:
        if (!edit.HasSelection()) RandomSelection(edit, source, kind);
        run(source.Next(2) ? ecBlockIndent : ecBlockUnindent);
        break;
    case 12:
        RandomSelection(edit, source, kind);
        run(source.Next(3) ? ecCopy : ecCut);
        break;
    case 13:
        if (source.Next(3) == 0) Clipboard().SetAsText(RandomText(source, kind.MultiByte));
        if (source.Next(2)) edit.SetCaretPos(RandomPos(edit, source));
        edit.SetSelectionStart(edit.CaretPos());
        run(ecPaste);
        break;
    case 14: {
        std::string ime = typed[source.Next(8)] + typed[source.Next(8)];
        run(ecImeStr, ime, &ime);
        break;
    }
    case 15:
    case 16:
        run(moves[source.Next(16)]);
        break;
    case 17:
        run(source.Next(3) ? ecUndo : ecRedo);
        break;
    case 18: {
        // A read-only stretch changes nothing.
        edit.SetReadOnly(true);
        const std::string before = edit.Text();
        run(deletes[source.Next(7)]);
        run(ecChar, "r");
        run(ecPaste);
        edit.SetReadOnly(false);
        if (edit.Text() != before) throw std::logic_error("read-only editor changed its text");
        break;
    }
    case 19:
        edit.SetOptions(edit.Options() ^ qveoScrollPastEol);
        break;
    default:
        edit.SetSelectionMode(RandomMode(source, kind));
        break;
    }
}

// Every line still holds whole characters.
inline bool LinesAreWholeCharacters(const TqvCustomEdit& edit) {
    for (int i = 0; i < edit.LineCount(); ++i)
        if (!IsValidUtf8(edit.Lines().Get(i))) return false;
    return true;
}

} // namespace ondrex::test
