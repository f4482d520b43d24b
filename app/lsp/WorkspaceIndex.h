#pragma once
// The site index of the workspace folders, built on a thread of its own (the walk and the
// scan use every core) so that the server answers other requests meanwhile, and kept
// current one file at a time. Changes that come during the build are applied after it,
// since the walk may have read the file before it changed.

#include "app/index/SiteIndex.h"
#include "app/lsp/ScriptOutline.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ondrex::lsp {

struct TWorkspaceIndexEvents {
    // From the build's thread: at its start, then every kProgressStep files.
    std::function<void(std::size_t files)> progress;
    // From the build's thread, once the index can be used.
    std::function<void(std::size_t files, std::size_t symbols)> built;
    // A path the walk could not read ("PATH: why"), or a fault that ended the build early
    // (what it had walked is kept).
    std::function<void(const std::string& problem)> problem;
};

class TWorkspaceIndex {
public:
    static constexpr std::size_t kProgressStep = 500;

    TWorkspaceIndex(std::vector<std::string> roots, TWorkspaceIndexEvents events);
    // Stops a build under way.
    ~TWorkspaceIndex();
    TWorkspaceIndex(const TWorkspaceIndex&) = delete;
    TWorkspaceIndex& operator=(const TWorkspaceIndex&) = delete;

    // Begins the build (once; later calls do nothing).
    void Start();
    // Waits for a build that has begun to finish.
    void WaitIfBuilding();

    // A file was created, changed or saved.
    void Changed(const std::string& path);
    // A file or a folder (with all under it) was deleted.
    void Removed(const std::string& path);

    // Runs `use` on the built index; starts the build if it has not begun and waits for it,
    // calling `poll` now and then and once after it (it may throw to stop).
    void Use(const std::function<void(const TSiteIndex&)>& use, const TPoll& poll);

    // Whether a path lies under one of the workspace folders.
    bool Covers(const std::string& path) const;

private:
    struct TChange {
        std::string path;
        bool removed;
    };
    void build();
    void record(TChange change);       // applied now, or after the build
    void apply(const TChange& change); // with mutex_ held

    std::vector<std::string> roots_;
    TWorkspaceIndexEvents events_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::unique_ptr<TSiteIndex> index_;
    std::vector<TChange> pending_;
    bool started_ = false;
    bool built_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace ondrex::lsp
