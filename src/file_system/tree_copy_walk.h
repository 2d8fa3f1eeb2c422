#pragma once

#include <utility>
#include <vector>

#include "file_system/status.h"
#include "progress_tally.h"
#include "work_pool.h"

namespace vestro {

// The walk of a tree copy, the same on every platform: folders are entered depth first, one open
// folder per level with the subfolders it still has to copy, so memory grows with the tree's
// depth and width, never with its size. Entering a folder hands its files to the pool.
template <typename ItemPath, typename Name, typename Identity>
struct TreeCopyWalk {
    struct Subfolder {
        Name name;
        bool linked = false;
    };

    struct OpenFolder {
        ItemPath source;
        ItemPath destination;
        Identity identity;
        std::vector<Subfolder> subfolders;  // still to copy, the next one last
    };

    const ItemPath& destinationRoot;
    Identity destinationIdentity;
    bool overwrite = false;
    WorkPool& pool;
    ProgressTally& tally;
    std::vector<OpenFolder> open;

    // Whether the folder is one the walk is inside: a link leading there would never end.
    bool IsOpen(const Identity& identity) const {
        for (const OpenFolder& folder : open) {
            if (folder.identity == identity) {
                return true;
            }
        }
        return false;
    }

    // After the root was entered (rootEntered), enters every subfolder in turn until all are
    // copied or a failure, the walk's or a worker's, stops the copy; then waits for the files
    // handed out. The first failure, or success.
    template <typename EnterSubfolder>
    Status CopySubfolders(Status rootEntered, EnterSubfolder enterSubfolder) {
        Status status = std::move(rootEntered);
        while (!status.Failed() && !open.empty() && !pool.Stopped()) {
            OpenFolder& folder = open.back();
            if (folder.subfolders.empty()) {
                open.pop_back();
                continue;
            }
            const Subfolder subfolder = std::move(folder.subfolders.back());
            folder.subfolders.pop_back();
            status = enterSubfolder(subfolder);
        }
        if (status.Failed()) {
            pool.Fail(std::move(status));
        }
        return pool.Finish();
    }
};

}  // namespace vestro
