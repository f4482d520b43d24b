#pragma once
// A site index kept in memory: every script file under the roots with its scan and its
// named blocks, built on all cores and kept current one file at a time (the language
// server's workspace symbols). Not thread-safe: one caller at a time.

#include "app/index/SiteScan.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ondrex {

class TSiteIndex {
public:
    // The options' symbols are always collected; rows only when asked.
    TSiteIndex(TSiteFilter filter, TSiteScanOptions options);

    // Forgets what it held and walks the roots (an empty list: the current folder).
    // `progress` sees every entry the walk gives, files not read and skipped ones included.
    void Build(const std::vector<std::string>& roots,
               const std::function<void(const TSiteFile&)>& progress = {});

    // Re-reads one file (changed or created), spelt as the walk spells it (root + '/' + path
    // under it). True when it is indexed afterwards; a file that is gone, cannot be read or
    // is not one the walk of its root would take is dropped and gives false.
    bool Rescan(const std::string& path);
    void Remove(const std::string& path);

    const TSiteFile* Find(const std::string& path) const;
    const std::map<std::string, TSiteFile>& Files() const { return files_; }

private:
    TSiteFilter filter_;
    TSiteScanOptions options_;
    std::vector<std::string> roots_;
    std::map<std::string, TSiteFile> files_;
};

} // namespace ondrex
