// The validator's export-table reader on arbitrary bytes, as it reads the
// files of untrusted plug-in binaries: it must answer with names or refuse
// with a reason, and never read outside the bytes it was given.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "export_table.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> names;
  std::string error;
  const bool read = validator::ReadExportNames(bytes, &names, &error);
  if (!read && error.empty()) std::abort();  // a refusal names its reason
  for (const std::string& name : names) {
    if (name.size() > size) std::abort();  // every name comes out of the bytes
  }
  return 0;
}
