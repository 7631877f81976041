#include "support/plugin_library.hpp"

#include <cstdlib>
#include <string>

#include "mqhost/library_path.hpp"

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

std::string& ChosenHost() {
  static std::string path;
  return path;
}

}  // namespace

void UseHost(const std::string& path) { ChosenHost() = path; }

std::string PluginPath() { return Beside(TERVOLIN_PLUGIN_FILE_NAME); }

std::string HostPath() {
  if (!ChosenHost().empty()) return ChosenHost();
  const char* fromEnvironment = std::getenv("TERVOLIN_HOST_LIBRARY");
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
  return DefaultHostPath();
}

std::string DefaultHostPath() { return mqhost::LibraryPath(); }
std::string IncompleteHostPath() { return Beside(TERVOLIN_INCOMPLETE_HOST_FILE_NAME); }

}  // namespace testing_support
