// Loading a library and finding its exports by name: LoadLibraryA,
// GetProcAddress and FreeLibrary on Windows; dlopen, dlsym and dlclose
// elsewhere.
#pragma once

namespace platform {

struct LibraryOpaque;
using LibraryHandle = LibraryOpaque*;

// Null when the file is missing or is not a loadable library.
LibraryHandle OpenLibrary(const char* file);
// Null when the library does not export `name`.
void* FindSymbol(LibraryHandle library, const char* name);
void CloseLibrary(LibraryHandle library);

}  // namespace platform
