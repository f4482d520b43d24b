#pragma once
// Shared by `ondrex tokens` and `ondrex cat`: choosing the highlighter for a file.

#include "app/CliSupport.h"
#include "highlighters/qvHighlighter.h"

#include <memory>
#include <string>

namespace ondrex::cli {

// "--lang NAME": a language id of THighlighterList, either spelling ("perl", "perlscript").
void AddLanguageOption(TArgParser& parser);

// The language named by --lang (a usage error when unknown); without it the one the main
// window picks for the file's extension; VBScript, the window's start-up highlighter, for
// any other extension.
std::unique_ptr<TqvCustomHighLighter> HighlighterFor(const TArgParser& parser,
                                                     const std::string& file);

} // namespace ondrex::cli
