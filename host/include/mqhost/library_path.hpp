// Where this host library is, as the plug-in's MQInit expects to be told.
#pragma once

#include <string>

#include "mqhost/api.hpp"

namespace mqhost {

// The file of this host library: its path on Linux (MQInit opens it and
// binds the host functions from it), its module file name on Windows.
MQHOST_API std::string LibraryPath();

}  // namespace mqhost
