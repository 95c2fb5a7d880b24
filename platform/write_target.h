// Files the console and the library write for the practice (the bitmap and
// its exposure record) under a name the settings file gives. That file is
// shared by the operators of one computer, so its names are input written by
// someone else: a write must never land where another user steered it, nor
// destroy a file that is not of the kind being written.
//
// The rules, checked before the write and once more right before the rename:
// - no symbolic link on the way that another user owns (links of the running
//   user, and the system's, owned by root, are followed);
// - in a sticky folder (such as /tmp), no file of another user is replaced,
//   as the kernel's protection of such folders would refuse;
// - an existing file must be of the kind written (a bitmap, a record): a
//   regular file whose bytes the caller's test accepts.
// The new file is written to a hidden temporary file beside the target and
// renamed over it, so a reader sees the old file or the whole new one.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

enum class TargetFault {
    None,
    ForeignLink,        // a symbolic link of another user on the way
    ForeignSharedFile,  // another user's file in a sticky folder
    OtherKind,          // something else than the kind written is there
};

// Accepts the first bytes of an existing file as one of the kind written.
using KindTest = bool (*)(std::string_view head);

struct WriteTarget {
    TargetFault fault = TargetFault::None;
    std::string folder;  // the folder the file goes into, links resolved
    std::string name;    // its name there
    bool booExists = false;
    std::string path() const { return folder == "/" ? "/" + name : folder + "/" + name; }
};

// Checks the name (a relative name is taken from the current folder). The
// existing file's first lHeadBytes bytes go to isKind. A missing folder is no
// fault here: the write itself then fails.
WriteTarget checkWriteTarget(const std::string& sPath, KindTest isKind, size_t lHeadBytes);

// Writes the file: fill writes the whole new contents into the temporary
// file's descriptor. booSync: flush the file and the rename to the disk.
// False, with the old file untouched and no temporary file left, when the
// target fails the rules (then *pFault says why) or any step fails.
bool booWriteTarget(const std::string& sPath, KindTest isKind, size_t lHeadBytes,
                    const std::function<bool(int fd)>& fill, bool booSync, TargetFault* pFault = nullptr);

// Removes an existing file of the kind under the same rules. True when
// nothing is left under the name (also when nothing was there).
bool booRemoveTarget(const std::string& sPath, KindTest isKind, size_t lHeadBytes);

// A Windows bitmap starts with "BM".
bool booBitmapHead(std::string_view head);

}  // namespace platform
