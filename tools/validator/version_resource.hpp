// The version resource of a Windows plug-in, read through Windows' own API as
// plug-in catalogues and installers read it. Catalogues refuse a DLL without
// one.
#pragma once

#include <string>

namespace validator {

// On Windows: true when the file at `path` has a version resource with a
// fixed file information block; `summary` then names its file version and
// its product version text. False with `summary` saying what is missing.
// Elsewhere there are no version resources: false, with `summary` saying so.
bool ReadVersionResource(const std::string& path, std::string* summary);

// Whether this build reads version resources (a Windows build).
bool HasVersionResources();

}  // namespace validator
