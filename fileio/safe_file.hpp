// Reading and replacing the files that the replacement host and the tools
// keep for a user (scenes, settings, written results). Readers refuse what is
// not a regular file and put a limit on its size, so a folder, a device or a
// pipe gives a clear message instead of a hang or an endless read. Writers
// replace a file whole or not at all: the content goes to a temporary file
// with a unique name, created exclusively beside the target (never through a
// link planted at its name), flushed to the disk and then renamed over the
// target. A target that is a symbolic link is written through to the file it
// names; a read-only target, and one with other hard links (they would keep
// the old content), are refused. The replaced file keeps what the platform
// keeps of a file besides its content (owner, mode, attributes, ACLs; on
// Windows its security descriptor, creation time and other streams). Paths
// are UTF-8 on every platform.
#pragma once

#include <cstddef>
#include <string>

namespace fileio {

enum class ReadResult {
  kRead,     // `content` holds the whole file
  kMissing,  // there is no file at the path
  kFailed,   // `reason` says why, e.g. "is a folder"
};

// Reads the whole file at `path` if it is a regular file of at most `limit`
// bytes. `reason` is a phrase without the path, to follow it.
ReadResult ReadWholeFile(const std::string& path, size_t limit, std::string* content, std::string* reason);

// Replaces the file at `path` (or the file its symbolic link names) with
// `content`. On failure the target is as it was, no temporary is left behind,
// and `reason` is a sentence about the file without its path, e.g. "it is
// read-only".
bool ReplaceWholeFile(const std::string& path, const std::string& content, std::string* reason);

// Makes a folder of its own inside `parent` (which must exist), named
// PREFIX-RANDOM, created exclusively (a name already taken, by anything, is
// passed over) and open to its owner alone, and sets `made` to its path. Files
// with fixed names inside it are out of reach of other users and of other runs.
// False with `reason` set when none can be made.
bool MakePrivateFolder(const std::string& parent, const std::string& prefix, std::string* made,
                       std::string* reason);

}  // namespace fileio
