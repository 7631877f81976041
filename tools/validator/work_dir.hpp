// The validator's scratch folder (--work-dir): made when missing, and
// refused with a clear message when it cannot be made or written in, before
// any check runs (a check would otherwise fail for the folder's sake and
// blame the plug-in).
#pragma once

#include <string>

namespace validator {

// False with `error` set ("--work-dir DIR: ...") when the folder is unusable.
bool PrepareWorkDir(const std::string& path, std::string* error);

}  // namespace validator
