// The PHP highlighter against the editor's calling contract.
#include "highlighters/jxPHPSyn.h"
#include "tests/fuzz/HighlighterContract.h"

ONDREX_HIGHLIGHTER_FUZZER(ondrex::TjxPHPSyn)
