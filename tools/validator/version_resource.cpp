#include "version_resource.hpp"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#include <vector>
#endif

namespace validator {

#ifdef _WIN32

bool HasVersionResources() { return true; }

bool ReadVersionResource(const std::string& path, std::string* summary) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) {
    *summary = "no version resource (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) {
    *summary = "the version resource cannot be read (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || fixed == nullptr ||
      fixedSize < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != 0xFEEF04BDu) {
    *summary = "the version resource has no fixed file information";
    return false;
  }
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "file version %u.%u.%u.%u",
                static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned>(HIWORD(fixed->dwFileVersionLS)),
                static_cast<unsigned>(LOWORD(fixed->dwFileVersionLS)));
  *summary = numbers;
  // The product version text of the first translation, when there is one.
  struct Translation {
    WORD language;
    WORD codePage;
  }* translations = nullptr;
  UINT translationSize = 0;
  if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                     &translationSize) &&
      translationSize >= sizeof(Translation)) {
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\ProductVersion",
                  static_cast<unsigned>(translations[0].language),
                  static_cast<unsigned>(translations[0].codePage));
    char* text = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&text), &length) && text != nullptr &&
        length > 0) {
      *summary += ", product version \"" + std::string(text) + "\"";
    }
  }
  return true;
}

#else

bool HasVersionResources() { return false; }

bool ReadVersionResource(const std::string&, std::string* summary) {
  *summary = "this platform's libraries have no version resources";
  return false;
}

#endif

}  // namespace validator
