#pragma once
// Every running copy of the game keeps what it unpacks, its checkpoints and its temporary
// files in a folder of its own inside the private temporary folder that all copies of one
// user share, so that two copies never read or delete each other's files. The folder
// ("copy-" and six letters or digits) holds a lock file that the copy keeps locked while
// it runs: a folder whose lock can be taken belongs to a copy that has ended, killed or
// switched off before it could remove the folder itself.
//
// Who writes what: a copy writes only in its own folder; a start removes only folders
// whose lock it holds. A copy makes its folder and then takes the lock, and a start that
// comes in between may take the new folder for an ended one; the copy then finds its lock
// file taken or gone and makes another, and the start removes the first.
#include <string>

namespace platform {

// This copy's folder inside `base` (a private folder, a Linux path ending in '/'), ending
// in '/'. Made at the first call, and anew when `base` is another one than before (the
// old folder is removed then) or the folder was removed meanwhile. A forked child goes on
// in its parent's folder and never removes it. Empty when no folder can be made.
std::string CopyFolder(const std::string& base);

// Removes from `base` every copy folder whose lock can be taken, with everything in it;
// a link is removed itself, never followed, and nothing but copy folders is touched.
// Returns how many went.
int ClearEndedCopies(const std::string& base);

// Removes this copy's folder with everything in it, now; a forked child leaves its
// parent's folder alone. The next CopyFolder makes a new one. It also runs when the
// process ends normally.
void RemoveCopyFolder();

// For tests: CopyFolder calls `hook` (when set) at each step of making a folder, where
// another copy's start may come in between (CopyFolderStep). The hook may clear ended
// copies, but not call CopyFolder.
enum class CopyFolderStep : int { Made, LockFileMade, Locked };
using CopyFolderHook = void (*)(CopyFolderStep step, const std::string& folder);
void SetCopyFolderHook(CopyFolderHook hook);

}  // namespace platform
