// The JavaScript highlighter against the editor's calling contract.
#include "highlighters/qvJScriptSyn.h"
#include "tests/fuzz/HighlighterContract.h"

ONDREX_HIGHLIGHTER_FUZZER(ondrex::TqvJScriptSyn)
