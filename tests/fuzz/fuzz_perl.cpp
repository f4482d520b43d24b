// The Perl highlighter against the editor's calling contract.
#include "highlighters/XoqPerlSyn.h"
#include "tests/fuzz/HighlighterContract.h"

ONDREX_HIGHLIGHTER_FUZZER(ondrex::TXoqPerlSyn)
