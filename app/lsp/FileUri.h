#pragma once
// file: URIs and the paths they name. Only local files (file:///path or file://localhost/
// path); percent escapes are decoded, and encoded again on the way out for every byte that
// is not unreserved or a slash.

#include <optional>
#include <string>
#include <string_view>

namespace ondrex::lsp {

// The path of a file: URI; nothing for another scheme or host, or a path with a NUL.
std::optional<std::string> PathFromUri(std::string_view uri);
std::string UriFromPath(std::string_view path);

} // namespace ondrex::lsp
