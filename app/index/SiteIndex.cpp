#include "app/index/SiteIndex.h"

namespace ondrex {

TSiteIndex::TSiteIndex(TSiteFilter filter, TSiteScanOptions options)
    : filter_(std::move(filter)), options_(options) {
    options_.symbols = true;
    options_.countOnly = false;
}

void TSiteIndex::Build(const std::vector<std::string>& roots,
                       const std::function<void(const TSiteFile&)>& progress) {
    roots_ = roots;
    files_.clear();
    TSiteWalk walk(roots_, filter_);
    ScanSite(walk, options_, [&](TSiteFile& file) {
        if (progress) progress(file);
        if (file.entry.kind == TWalkEntry::TKind::File) {
            std::string path = file.entry.path;
            files_.insert_or_assign(std::move(path), std::move(file));
        }
    });
}

bool TSiteIndex::Rescan(const std::string& path) {
    const TSiteWalk walk(roots_, filter_);
    bool taken = false;
    for (const std::string& root : roots_.empty() ? std::vector<std::string>{""} : roots_)
        if (walk.Takes(root, path)) taken = true;
    if (!taken) {
        files_.erase(path);
        return false;
    }
    TSiteFile file;
    TSiteWalk one({path}, filter_);
    one.Next(file.entry);
    ScanSiteFile(file, options_);
    if (file.entry.kind != TWalkEntry::TKind::File) {
        files_.erase(path);
        return false;
    }
    files_.insert_or_assign(path, std::move(file));
    return true;
}

void TSiteIndex::Remove(const std::string& path) {
    files_.erase(path);
}

const TSiteFile* TSiteIndex::Find(const std::string& path) const {
    auto it = files_.find(path);
    return it == files_.end() ? nullptr : &it->second;
}

} // namespace ondrex
