#include "app/lsp/WorkspaceIndex.h"

#include <chrono>

namespace ondrex::lsp {

namespace {

// Thrown from the walk's callback to end a build the server no longer needs.
struct TBuildStopped {};

TSiteScanOptions indexOptions() {
    TSiteScanOptions options;
    options.scan = TScanOptions{false, false, false}; // only Function/Sub make symbols
    options.rows = false;
    options.symbols = true;
    return options;
}

} // namespace

TWorkspaceIndex::TWorkspaceIndex(std::vector<std::string> roots, TWorkspaceIndexEvents events)
    : roots_(std::move(roots)), events_(std::move(events)),
      index_(std::make_unique<TSiteIndex>(TSiteFilter{}, indexOptions())) {}

TWorkspaceIndex::~TWorkspaceIndex() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    if (thread_.joinable()) thread_.join();
}

void TWorkspaceIndex::Start() {
    std::lock_guard lock(mutex_);
    if (started_) return;
    started_ = true;
    thread_ = std::thread(&TWorkspaceIndex::build, this);
}

void TWorkspaceIndex::build() {
    auto fresh = std::make_unique<TSiteIndex>(TSiteFilter{}, indexOptions());
    std::size_t files = 0;
    if (events_.progress) events_.progress(0);
    try {
        fresh->Build(roots_, [&](const TSiteFile& file) {
            if (file.entry.kind == TWalkEntry::TKind::Error && events_.problem)
                events_.problem(file.entry.path + ": " + file.entry.message);
            if (file.entry.kind != TWalkEntry::TKind::File) return;
            if (++files % kProgressStep == 0) {
                {
                    std::lock_guard lock(mutex_);
                    if (stopping_) throw TBuildStopped();
                }
                if (events_.progress) events_.progress(files);
            }
        });
    } catch (const TBuildStopped&) {
        return;
    } catch (const std::exception& e) {
        // What was walked before the fault stays usable.
        if (events_.problem) events_.problem(e.what());
    }
    const std::size_t count = fresh->Files().size();
    std::size_t symbols = 0;
    for (const auto& [path, file] : fresh->Files())
        symbols += file.symbols.size();
    {
        std::lock_guard lock(mutex_);
        index_ = std::move(fresh);
    }
    if (events_.built) events_.built(count, symbols);
    std::lock_guard lock(mutex_);
    for (const TChange& change : pending_)
        apply(change);
    pending_.clear();
    built_ = true;
    ready_.notify_all();
}

void TWorkspaceIndex::WaitIfBuilding() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return !started_ || built_; });
}

void TWorkspaceIndex::apply(const TChange& change) {
    if (!change.removed) {
        index_->Rescan(change.path);
        return;
    }
    index_->Remove(change.path);
    // A folder: everything under it.
    const std::string prefix = change.path + '/';
    std::vector<std::string> under;
    for (auto it = index_->Files().lower_bound(prefix);
         it != index_->Files().end() && it->first.starts_with(prefix); ++it)
        under.push_back(it->first);
    for (const std::string& path : under)
        index_->Remove(path);
}

void TWorkspaceIndex::record(TChange change) {
    std::lock_guard lock(mutex_);
    if (built_)
        apply(change);
    else
        pending_.push_back(std::move(change));
}

void TWorkspaceIndex::Changed(const std::string& path) {
    record({path, false});
}

void TWorkspaceIndex::Removed(const std::string& path) {
    record({path, true});
}

void TWorkspaceIndex::Use(const std::function<void(const TSiteIndex&)>& use, const TPoll& poll) {
    Start();
    std::unique_lock lock(mutex_);
    while (!built_) {
        ready_.wait_for(lock, std::chrono::milliseconds(20));
        if (built_ || !poll) continue;
        lock.unlock();
        poll();
        lock.lock();
    }
    // Once more after the wait: a request cancelled while it waited is not answered.
    if (poll) {
        lock.unlock();
        poll();
        lock.lock();
    }
    use(*index_);
}

bool TWorkspaceIndex::Covers(const std::string& path) const {
    for (const std::string& root : roots_)
        if (path.starts_with(root) &&
            (path.size() == root.size() || path[root.size()] == '/' || root.back() == '/'))
            return true;
    return false;
}

} // namespace ondrex::lsp
