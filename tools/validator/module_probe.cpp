#include "module_probe.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#include <fstream>
#endif

namespace validator {

bool IsLibraryMapped(const std::string& path) {
#ifdef _WIN32
  return GetModuleHandleA(path.c_str()) != nullptr;
#else
  std::error_code error;
  const std::string canonical = std::filesystem::canonical(path, error).string();
  if (canonical.empty()) return false;
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.size() >= canonical.size() &&
        line.compare(line.size() - canonical.size(), canonical.size(), canonical) == 0) {
      return true;
    }
  }
  return false;
#endif
}

}  // namespace validator
