#include "mqhost/library_path.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace mqhost {

std::string LibraryPath() {
#ifdef _WIN32
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&LibraryPath), &module);
  char buffer[MAX_PATH * 4] = {};
  const DWORD length = GetModuleFileNameA(module, buffer, sizeof buffer);
  return std::string(buffer, length);
#else
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&LibraryPath), &info) == 0 || info.dli_fname == nullptr) return {};
  return info.dli_fname;
#endif
}

}  // namespace mqhost
