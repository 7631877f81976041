// Writing a result file whole or not at all: the text goes to a temporary file
// beside the target, which then replaces the target in one rename.
#pragma once

#include <string>

namespace runner {

// Throws RunError naming `what` (e.g. "--out out.json") and the reason; the
// target is then as it was.
void WriteFileAtomically(const std::string& path, const std::string& text, const std::string& what);

}  // namespace runner
