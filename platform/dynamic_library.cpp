#include "platform/dynamic_library.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace platform {

#ifdef _WIN32

LibraryHandle OpenLibrary(const char* file) { return reinterpret_cast<LibraryHandle>(LoadLibraryA(file)); }

void* FindSymbol(LibraryHandle library, const char* name) {
  if (library == nullptr) return nullptr;
  FARPROC symbol = GetProcAddress(reinterpret_cast<HMODULE>(library), name);
  return reinterpret_cast<void*>(symbol);
}

void CloseLibrary(LibraryHandle library) {
  if (library != nullptr) FreeLibrary(reinterpret_cast<HMODULE>(library));
}

#else

LibraryHandle OpenLibrary(const char* file) {
  // RTLD_LOCAL keeps the library's names out of the global scope, as a
  // Windows module's exports are reached only through its handle.
  return static_cast<LibraryHandle>(dlopen(file, RTLD_NOW | RTLD_LOCAL));
}

void* FindSymbol(LibraryHandle library, const char* name) {
  if (library == nullptr) return nullptr;
  return dlsym(static_cast<void*>(library), name);
}

void CloseLibrary(LibraryHandle library) {
  if (library != nullptr) dlclose(static_cast<void*>(library));
}

#endif

}  // namespace platform
