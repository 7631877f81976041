#include "support/plugin_library.hpp"

#include <string>

#include "mqhost/protocol.hpp"

namespace testing_support {

std::string ExecutableDir() {
  std::string dir = loader::ExecutableDir();
  dir.pop_back();  // the trailing separator
  return dir;
}

namespace {
std::string Beside(const char* name) {
#ifdef _WIN32
  return ExecutableDir() + "\\" + name;
#else
  return ExecutableDir() + "/" + name;
#endif
}

}  // namespace

std::string PluginPath() { return Beside(TERVOLIN_PLUGIN_FILE_NAME); }
std::string HostPath() { return mqhost::LibraryPath(); }
std::string IncompleteHostPath() { return Beside(TERVOLIN_INCOMPLETE_HOST_FILE_NAME); }

}  // namespace testing_support
