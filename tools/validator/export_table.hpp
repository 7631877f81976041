// Reading a library file's export table without loading it: the dynamic
// symbol table of an ELF64 shared object, or the export directory of a PE32+
// DLL. The file is parsed as untrusted bytes: every offset and size is checked
// against the file before it is used.
#pragma once

#include <string>
#include <vector>

namespace validator {

// The names a library exports, in file order. False with `error` set when the
// bytes are neither a well-formed ELF64 little-endian shared object nor a
// well-formed PE image with an export directory.
bool ReadExportNames(const std::string& bytes, std::vector<std::string>* names, std::string* error);

// The bytes of a library file, read only when it is a regular file of a
// library's size (a folder, a device or a pipe is refused at once). False with
// `error` set ("PATH: is a folder, not a file").
bool ReadLibraryFile(const std::string& path, std::string* bytes, std::string* error);

// The same for a file on disk.
bool ReadExportNamesFromFile(const std::string& path, std::vector<std::string>* names, std::string* error);

}  // namespace validator
