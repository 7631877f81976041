// The files a run writes (the result scene, the dialog's picture, the
// settings): each is replaced whole or not at all, and no two of them may be
// the same file.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace runner {

// Throws RunError naming `what` (e.g. "--show-dialog out.svg") and the
// reason, with exit status 1; the target is then as it was.
void WriteFileAtomically(const std::string& path, const std::string& text, const std::string& what);

// Throws RunError (bad input) naming `option` when the folder `path` is to be
// written in does not exist or is no folder, so that the run stops before
// the pick rather than after it. A link is judged where it leads, when
// written.
void CheckOutputFolder(const std::string& option, const std::string& path);

// Throws RunError (bad input) when two of these (option, path) pairs name the
// same file, directly, through a link or by another spelling of the path.
void CheckOutputsDiffer(const std::vector<std::pair<std::string, std::string>>& outputs);

}  // namespace runner
