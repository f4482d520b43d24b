// The built-in languages, in the order the main window owns them.
#include "highlighters/THighlighterList.h"
#include "highlighters/XoqPerlSyn.h"
#include "highlighters/jxPHPSyn.h"
#include "highlighters/qvJScriptSyn.h"
#include "highlighters/zkVBSSyn.h"

namespace ondrex {

void RegisterBuiltinHighlighters(THighlighterList& list) {
    list.Add({"TzkVbsSyn",
              "vbscript",
              {".VBS", ".INC", ".HTM", ".HTML", ".ASP"},
              &CreateHighlighter<TzkVbsSyn>});
    list.Add({"TqvJScriptSyn", "javascript", {".JS"}, &CreateHighlighter<TqvJScriptSyn>});
    list.Add({"TXoqPerlSyn", "perl", {".PL", ".PM", ".CGI"}, &CreateHighlighter<TXoqPerlSyn>});
    list.Add({"TjxPHPSyn", "php", {".PHP", ".PHP3", ".PHP4"}, &CreateHighlighter<TjxPHPSyn>});
}

} // namespace ondrex
