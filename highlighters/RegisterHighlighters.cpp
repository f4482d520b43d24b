// The built-in languages, in the order the main window owns them.
#include "highlighters/THighlighterList.h"
#include "highlighters/zkVBSSyn.h"

namespace ondrex {

void RegisterBuiltinHighlighters(THighlighterList& list) {
    list.Add({"TzkVbsSyn",
              "vbscript",
              {".VBS", ".INC", ".HTM", ".HTML", ".ASP"},
              &CreateHighlighter<TzkVbsSyn>});
}

} // namespace ondrex
