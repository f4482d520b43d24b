#pragma once
// How `scan` prints one file's results, shared by `scan FILE` and `scan -R`.

#include "app/ScriptScanner.h"
#include "platform/CodePage.h"

#include <string>
#include <string_view>

namespace ondrex::cli {

// {"functions":n,"subs":n,"statements":n}
void AppendCountersJson(std::string& out, const TScanCounters& counters);
// {"type":...,"image":...,"name":...,"line":...,"text":...}
void AppendJsonRow(std::string& out, const TScanRow& row, TCodePage codePage);
// {"file":..., "rows":[...], "counters":{...}} without a line break after it; `oneLine` puts
// it on one line (JSON Lines), else each row starts a line. `fileCodePage` decodes the name.
void AppendScanJson(std::string& out, std::string_view file, TCodePage fileCodePage,
                    const TScanResults& results, TCodePage codePage, bool oneLine);
// "Function     12  Foo()" and its line break.
void AppendTextRow(std::string& out, const TScanRow& row, TCodePage codePage);
// type, state image, line, name, normalised text; tabs never occur in the last two.
void AppendTsvRow(std::string& out, const TScanRow& row, TCodePage codePage);

} // namespace ondrex::cli
