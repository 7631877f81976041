// Whether a library file is still loaded in this process, to tell that
// closing the plug-in really unloaded it.
#pragma once

#include <string>

namespace validator {

bool IsLibraryMapped(const std::string& path);

}  // namespace validator
