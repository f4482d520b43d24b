// The built-in languages, in the order the main window owns them.
#include "highlighters/THighlighterList.h"
#include "highlighters/XoqPerlSyn.h"
#include "highlighters/jxPHPSyn.h"
#include "highlighters/qvJScriptSyn.h"
#include "highlighters/qvLocalStr.h"
#include "highlighters/zkVBSSyn.h"
#include "platform/SystemColors.h"

namespace ondrex {

namespace {

// What the window gives every language: italic comments, bold keywords.
template <class THighlighter> THighlighter& windowBasics(TqvCustomHighLighter& highlighter) {
    auto& h = static_cast<THighlighter&>(highlighter);
    h.CommentAttri->SetStyle(fsItalic);
    h.KeyAttri->SetStyle(fsBold);
    return h;
}

template <class THighlighter> void plainWindowStyles(TqvCustomHighLighter& highlighter) {
    windowBasics<THighlighter>(highlighter);
}

void vbscriptWindowStyles(TqvCustomHighLighter& highlighter) {
    auto& h = windowBasics<TzkVbsSyn>(highlighter);
    h.IdentifierAttri->SetForeground(clBlack);
    h.KeyAttri->SetForeground(clRed);
}

void perlWindowStyles(TqvCustomHighLighter& highlighter) {
    auto& h = windowBasics<TXoqPerlSyn>(highlighter);
    h.PragmaAttri->SetStyle(fsBold);
    h.SpaceAttri->SetBackground(clWindow);
    h.VariableAttri->SetStyle(fsBold);
}

} // namespace

void RegisterBuiltinHighlighters(THighlighterList& list) {
    list.Add({.ClassName = "TzkVbsSyn",
              .Language = "vbscript",
              .WindowName = "vbscript",
              .Title = SYNS_LangVBSScript,
              .Extensions = {".ASP", ".INC", ".VBS", ".HTM", ".HTML"},
              .OpenDialogExtensions = 3,
              .OpenDialogPosition = 0,
              .Filter = SYNS_FilterVBScript,
              .MimeTypes = {"application/x-asp", "text/x-asp", "text/vbscript", "text/x-vbscript",
                            "text/html"},
              .Create = &CreateHighlighter<TzkVbsSyn>,
              .ApplyWindowStyles = &vbscriptWindowStyles});
    list.Add({.ClassName = "TqvJScriptSyn",
              .Language = "javascript",
              .WindowName = "javascript",
              .Title = SYNS_LangJScript,
              .Extensions = {".JS"},
              .OpenDialogExtensions = 1,
              .OpenDialogPosition = 1,
              .Filter = SYNS_FilterJScript,
              .MimeTypes = {"application/javascript", "text/javascript"},
              .Create = &CreateHighlighter<TqvJScriptSyn>,
              .ApplyWindowStyles = &plainWindowStyles<TqvJScriptSyn>});
    list.Add({.ClassName = "TXoqPerlSyn",
              .Language = "perl",
              .WindowName = "perlscript",
              .Title = SYNS_LangPerl,
              .Extensions = {".PL", ".CGI", ".PM"},
              .OpenDialogExtensions = 3,
              .OpenDialogPosition = 3,
              .Filter = SYNS_FilterPerl,
              .MimeTypes = {"application/x-perl", "text/x-perl", "application/x-cgi"},
              .Create = &CreateHighlighter<TXoqPerlSyn>,
              .ApplyWindowStyles = &perlWindowStyles});
    list.Add({.ClassName = "TjxPHPSyn",
              .Language = "php",
              .WindowName = "phpscript",
              .Title = SYNS_LangPHP,
              .Extensions = {".PHP", ".PHP3", ".PHP4"},
              .OpenDialogExtensions = 3,
              .OpenDialogPosition = 2,
              .Filter = SYNS_FilterPHP,
              .MimeTypes = {"application/x-php", "text/x-php"},
              .Create = &CreateHighlighter<TjxPHPSyn>,
              .ApplyWindowStyles = &plainWindowStyles<TjxPHPSyn>});
}

} // namespace ondrex
