// The files a run writes (the result scene, the pictures, the settings):
// each is replaced whole or not at all, and no two of them, nor a picture or
// the settings and the scene read, may be the same file.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace runner {

// Throws RunError naming `what` (e.g. "--show-dialog out.svg") and the
// reason, with exit status 1; the target is then as it was.
void WriteFileAtomically(const std::string& path, const std::string& text, const std::string& what);

// Throws RunError (bad input) when two of these (option, path) pairs name the
// same file, or one other than --out names the scene being read: directly,
// through a link (a dangling one included), by a hard link or by another
// spelling of the path.
void CheckOutputsDiffer(const std::string& scenePath,
                        const std::vector<std::pair<std::string, std::string>>& outputs);

}  // namespace runner
