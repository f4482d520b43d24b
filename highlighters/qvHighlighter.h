#pragma once
// What every syntax highlighter offers the editor: a line-at-a-time tokenizer with a small
// range state carried from the end of one line to the start of the next, the display
// attributes of its token classes, and the notification of attribute changes.
//
// Calling contract (the editor's side):
//  - per line: SetRangeState(state stored for the line), StartLine(text, index); the first
//    token is then current. While !AtLineEnd(): read TokenStart/TokenText/TokenAttribute/
//    TokenKind, then NextToken(). Tokens are contiguous, in order, and cover the line up to
//    its first NUL; the end-of-line token has empty text. ScanToLineEnd() when only the end
//    state matters.
//  - after the line, RangeState() is the state at the start of the next line; equal states
//    give equal values, and nothing else is carried between lines.
//  - StartLine keeps no copy: the text (NUL-terminated) must stay alive and unchanged until
//    the next StartLine or until no more tokens are asked for.
//
// Languages derive from TqvTableHighLighter (TqvTableHighLighter.h), which holds the scanner
// state and the 256-entry character procedure table; keyword tables are TKeywordTable.

#include "highlighters/TqvHighLightAttributes.h"
#include "platform/BetterRegistry.h"
#include "platform/Component.h"
#include "platform/Event.h"
#include "platform/MethodChain.h"
#include "platform/Object.h"

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ondrex {

class TqvExport;

// Pointer-sized; each language widens its 8-bit range enumeration.
using TqvRangeState = std::uintptr_t;
// Token kinds are 8-bit, numbered by each language; compare them only within one language.
using TqvTokenKind = std::uint8_t;
using TSynCharSet = std::bitset<256>;

// Capabilities: the base offers per-attribute settings, every language adds export.
enum : unsigned { hcUserSettings = 2, hcExportable = 4 };
using THighlighterCapabilities = unsigned;

// Roles for DefaultAttribute.
enum : int { SYN_ATTR_WHITESPACE = 0, SYN_ATTR_COMMENT = 1, SYN_ATTR_KEYWORD = 2 };

// A token of a line as an export shows it: where it starts, and the attribute it is shown in.
struct TExportToken {
    int start;
    const TqvHighLightAttributes* attribute;
};

// (Sender, TokenKind, TokenText, LineNo)
using TTokenEvent = TEvent<TObject*, int, const std::string&, int>;

class TqvCustomHighLighter : public TComponent {
public:
    TqvCustomHighLighter();
    ~TqvCustomHighLighter() override;
    TqvCustomHighLighter(const TqvCustomHighLighter&) = delete;
    TqvCustomHighLighter& operator=(const TqvCustomHighLighter&) = delete;

    // Component name (the owner's field name, such as "vbscript").
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // Characters that make up a word for word selection and word-wise caret moves.
    virtual TSynCharSet WordChars() const;
    virtual int AttributeCount() const;
    // Sorted by Name, case-insensitively; nullptr outside 0..AttributeCount()-1.
    virtual TqvHighLightAttributes* AttributeAt(int index) const;
    // Role SYN_ATTR_WHITESPACE, SYN_ATTR_COMMENT or SYN_ATTR_KEYWORD; nullptr for others.
    virtual TqvHighLightAttributes* DefaultAttribute(int role) const = 0;
    // Open-dialog filter: "description|*.a;*.b".
    virtual std::string DefaultFilter() const { return defaultFilter_; }
    virtual void SetDefaultFilter(const std::string& value);
    virtual THighlighterCapabilities Capabilities() const { return hcUserSettings; }
    virtual std::string LanguageName() const = 0;

    // NextToken, then the token to the export sink when one is set.
    virtual void ExportNextToken() = 0;
    virtual bool AtLineEnd() const = 0;
    virtual TqvRangeState RangeState() const = 0;
    virtual std::string TokenText() const = 0;
    // nullptr for the end-of-line token.
    virtual TqvHighLightAttributes* TokenAttribute() const = 0;
    virtual int TokenKind() const = 0;
    // 0-based byte offset of the current token in the line.
    virtual int TokenStart() const = 0;
    virtual void NextToken() = 0;
    // `line` is NUL-terminated and is not copied.
    virtual void StartLine(const char* line, int lineIndex) = 0;
    virtual void StartExportLine(const char* line) = 0;
    // A whole line for export in one call, from the range state left by the line before,
    // appended to `tokens`: every token (those the language keeps from its export sink too,
    // with their own attribute; neighbours of one attribute may come as one), then one with
    // no attribute where the line's tokens end (its first NUL). The export sink is not called.
    // By default from StartExportLine and ExportNextToken; the languages find them directly.
    virtual void ExportTokens(const char* line, std::vector<TExportToken>& tokens);
    // The low 8 bits become the range.
    virtual void SetRangeState(TqvRangeState value) = 0;
    virtual void ResetRangeState() = 0;

    // One subkey per attribute below rootKey\key. Loading never creates keys. Both answer
    // false at the first attribute that fails; the ones before it keep what was done.
    virtual bool LoadAttributesFromRegistry(HKEY rootKey, const std::string& key);
    virtual bool SaveAttributesToRegistry(HKEY rootKey, const std::string& key);

    void ScanToLineEnd() { DoScanToLineEnd(); }

    // Takes ownership and answers the listed attribute. One whose name (compared
    // case-insensitively) is already listed is dropped, and the answer is nullptr.
    TqvHighLightAttributes* AddAttribute(std::unique_ptr<TqvHighLightAttributes> attribute);
    // Creates, styles and lists a new attribute; the languages build theirs this way.
    TqvHighLightAttributes* MakeAttribute(const char* name, TFontStyles style = 0);

    void HookAttributeChange(const TNotifyEvent& receiver);
    // The hook leaves with the listener's bindings.
    void HookAttributeChange(const TNotifyEvent& receiver, TEventBindings& owner) {
        attributeChangeChain_.Add(receiver, owner);
    }
    void UnhookAttributeChange(const TNotifyEvent& receiver);
    // Calls every hooked receiver with this highlighter as sender.
    void AttributeChanged(TObject* sender);
    // Makes every attribute's OnChange call AttributeChanged.
    void BindAttributeChanges();

    TqvExport* ExportSink() const { return exportSink_; }
    void SetExportSink(TqvExport* sink) { exportSink_ = sink; }

    TTokenEvent OnToken;

    std::string ClassName() const override { return "TqvCustomHighLighter"; }

protected:
    // NextToken until AtLineEnd; a scanner may do the same with fewer virtual calls.
    virtual void DoScanToLineEnd();

private:
    std::string name_;
    std::vector<std::unique_ptr<TqvHighLightAttributes>> attributes_;
    TqvNotifyEventChain attributeChangeChain_{this};
    TqvExport* exportSink_ = nullptr;
    std::string defaultFilter_;
};

} // namespace ondrex
