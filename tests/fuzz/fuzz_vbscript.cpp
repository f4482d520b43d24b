// The VBScript highlighter against the editor's calling contract.
#include "highlighters/zkVBSSyn.h"
#include "tests/fuzz/HighlighterContract.h"

ONDREX_HIGHLIGHTER_FUZZER(ondrex::TzkVbsSyn)
