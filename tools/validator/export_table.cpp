#include "export_table.hpp"

#include <cstdint>
#include <cstring>

#include "fileio/safe_file.hpp"

namespace validator {

namespace {

// Bounds-checked little-endian reads from the file's bytes.
class Bytes {
 public:
  explicit Bytes(const std::string& bytes) : bytes_(bytes) {}

  bool Has(uint64_t offset, uint64_t size) const {
    return offset <= bytes_.size() && size <= bytes_.size() - offset;
  }

  template <class T>
  bool Read(uint64_t offset, T* value) const {
    if (!Has(offset, sizeof(T))) return false;
    std::memcpy(value, bytes_.data() + offset, sizeof(T));  // x86-64 and the files are little-endian
    return true;
  }

  // A zero-terminated name starting at `offset`; the terminator must lie
  // inside the file and before `limit`.
  bool ReadName(uint64_t offset, uint64_t limit, std::string* name) const {
    if (limit > bytes_.size()) limit = bytes_.size();
    if (offset >= limit) return false;
    const char* begin = bytes_.data() + offset;
    const void* end = std::memchr(begin, '\0', static_cast<size_t>(limit - offset));
    if (end == nullptr) return false;
    name->assign(begin, static_cast<const char*>(end));
    return true;
  }

 private:
  const std::string& bytes_;
};

bool Fail(std::string* error, const std::string& message) {
  *error = message;
  return false;
}

// ELF64: the section of type SHT_DYNSYM and the string table it links to.
// Exported = defined, global or weak binding, default or protected visibility.
bool ReadElf(const Bytes& file, std::vector<std::string>* names, std::string* error) {
  uint8_t fileClass = 0;
  uint8_t encoding = 0;
  file.Read(4, &fileClass);
  file.Read(5, &encoding);
  if (fileClass != 2 || encoding != 1) return Fail(error, "ELF file is not 64-bit little-endian");
  uint16_t type = 0;
  uint64_t sectionOffset = 0;
  uint16_t sectionEntrySize = 0;
  uint16_t sectionCount = 0;
  if (!file.Read(16, &type) || !file.Read(40, &sectionOffset) || !file.Read(58, &sectionEntrySize) ||
      !file.Read(60, &sectionCount)) {
    return Fail(error, "ELF header is truncated");
  }
  if (type != 3) return Fail(error, "ELF file is not a shared object");
  if (sectionEntrySize < 64) return Fail(error, "ELF section header size is too small");
  if (!file.Has(sectionOffset, uint64_t{sectionEntrySize} * sectionCount)) {
    return Fail(error, "ELF section headers lie outside the file");
  }
  struct Section {
    uint32_t type = 0;
    uint64_t offset = 0;
    uint64_t size = 0;
    uint32_t link = 0;
    uint64_t entrySize = 0;
  };
  auto readSection = [&](uint32_t index, Section* section) {
    const uint64_t at = sectionOffset + uint64_t{index} * sectionEntrySize;
    return file.Read(at + 4, &section->type) && file.Read(at + 24, &section->offset) &&
           file.Read(at + 32, &section->size) && file.Read(at + 40, &section->link) &&
           file.Read(at + 56, &section->entrySize);
  };
  for (uint32_t i = 0; i < sectionCount; ++i) {
    Section symbols;
    if (!readSection(i, &symbols)) return Fail(error, "ELF section header is truncated");
    if (symbols.type != 11) continue;  // SHT_DYNSYM
    if (symbols.entrySize < 24) return Fail(error, "ELF dynamic symbol size is too small");
    if (!file.Has(symbols.offset, symbols.size))
      return Fail(error, "ELF dynamic symbols lie outside the file");
    Section strings;
    if (symbols.link >= sectionCount || !readSection(symbols.link, &strings) || strings.type != 3) {
      return Fail(error, "ELF dynamic symbols link to no string table");
    }
    if (!file.Has(strings.offset, strings.size)) return Fail(error, "ELF string table lies outside the file");
    names->clear();
    const uint64_t count = symbols.size / symbols.entrySize;
    for (uint64_t s = 0; s < count; ++s) {
      const uint64_t at = symbols.offset + s * symbols.entrySize;
      uint32_t nameOffset = 0;
      uint8_t info = 0;
      uint8_t other = 0;
      uint16_t sectionIndex = 0;
      file.Read(at, &nameOffset);
      file.Read(at + 4, &info);
      file.Read(at + 5, &other);
      file.Read(at + 6, &sectionIndex);
      const int binding = info >> 4;
      const int visibility = other & 3;
      if (sectionIndex == 0 || (binding != 1 && binding != 2) || (visibility != 0 && visibility != 3))
        continue;
      std::string name;
      if (!file.ReadName(strings.offset + nameOffset, strings.offset + strings.size, &name)) {
        return Fail(error, "ELF symbol name lies outside its string table");
      }
      if (!name.empty()) names->push_back(name);
    }
    return true;
  }
  return Fail(error, "ELF file has no dynamic symbol table");
}

// PE: the export directory (data directory 0) of a PE32 or PE32+ image.
bool ReadPe(const Bytes& file, std::vector<std::string>* names, std::string* error) {
  uint32_t peOffset = 0;
  uint32_t signature = 0;
  if (!file.Read(0x3C, &peOffset) || !file.Read(peOffset, &signature) || signature != 0x00004550) {
    return Fail(error, "no PE signature");
  }
  const uint64_t coff = uint64_t{peOffset} + 4;
  uint16_t sectionCount = 0;
  uint16_t optionalSize = 0;
  uint16_t magic = 0;
  if (!file.Read(coff + 2, &sectionCount) || !file.Read(coff + 16, &optionalSize) ||
      !file.Read(coff + 20, &magic)) {
    return Fail(error, "PE header is truncated");
  }
  const uint64_t optional = coff + 20;
  uint64_t directoryAt = 0;
  if (magic == 0x20B) {
    directoryAt = optional + 112;
  } else if (magic == 0x10B) {
    directoryAt = optional + 96;
  } else {
    return Fail(error, "PE optional header has an unknown magic");
  }
  uint32_t directoryCount = 0;
  uint32_t exportRva = 0;
  uint32_t exportSize = 0;
  if (directoryAt + 8 > optional + optionalSize || !file.Read(directoryAt - 4, &directoryCount) ||
      directoryCount < 1 || !file.Read(directoryAt, &exportRva) || !file.Read(directoryAt + 4, &exportSize)) {
    return Fail(error, "PE image has no data directories");
  }
  if (exportRva == 0) return Fail(error, "PE image has no export directory");
  const uint64_t sections = optional + optionalSize;
  if (!file.Has(sections, uint64_t{sectionCount} * 40)) return Fail(error, "PE section table is truncated");
  // Maps an image address to a file offset through the section table; also
  // gives the end of that section's raw data, the limit for names.
  auto toOffset = [&](uint32_t rva, uint64_t* offset, uint64_t* limit) {
    for (uint32_t i = 0; i < sectionCount; ++i) {
      const uint64_t at = sections + uint64_t{i} * 40;
      uint32_t virtualSize = 0;
      uint32_t virtualAddress = 0;
      uint32_t rawSize = 0;
      uint32_t rawOffset = 0;
      file.Read(at + 8, &virtualSize);
      file.Read(at + 12, &virtualAddress);
      file.Read(at + 16, &rawSize);
      file.Read(at + 20, &rawOffset);
      const uint32_t extent = rawSize < virtualSize || virtualSize == 0 ? rawSize : virtualSize;
      if (rva >= virtualAddress && rva - virtualAddress < extent) {
        *offset = uint64_t{rawOffset} + (rva - virtualAddress);
        *limit = uint64_t{rawOffset} + extent;
        return true;
      }
    }
    return false;
  };
  uint64_t directory = 0;
  uint64_t limit = 0;
  if (!toOffset(exportRva, &directory, &limit)) return Fail(error, "PE export directory lies in no section");
  uint32_t nameCount = 0;
  uint32_t namesRva = 0;
  if (!file.Read(directory + 24, &nameCount) || !file.Read(directory + 32, &namesRva)) {
    return Fail(error, "PE export directory is truncated");
  }
  names->clear();
  if (nameCount == 0) return true;
  uint64_t nameTable = 0;
  uint64_t nameTableLimit = 0;
  if (!toOffset(namesRva, &nameTable, &nameTableLimit) ||
      nameTable + uint64_t{nameCount} * 4 > nameTableLimit || !file.Has(nameTable, uint64_t{nameCount} * 4)) {
    return Fail(error, "PE export name table lies outside its section");
  }
  for (uint32_t i = 0; i < nameCount; ++i) {
    uint32_t nameRva = 0;
    file.Read(nameTable + uint64_t{i} * 4, &nameRva);
    uint64_t nameAt = 0;
    uint64_t nameLimit = 0;
    std::string name;
    if (!toOffset(nameRva, &nameAt, &nameLimit) || !file.ReadName(nameAt, nameLimit, &name)) {
      return Fail(error, "PE export name lies outside its section");
    }
    names->push_back(name);
  }
  return true;
}

}  // namespace

bool ReadExportNames(const std::string& bytes, std::vector<std::string>* names, std::string* error) {
  const Bytes file(bytes);
  if (bytes.size() >= 4 && std::memcmp(bytes.data(),
                                       "\x7f"
                                       "ELF",
                                       4) == 0)
    return ReadElf(file, names, error);
  if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') return ReadPe(file, names, error);
  return Fail(error, "neither an ELF nor a PE file");
}

bool ReadLibraryFile(const std::string& path, std::string* bytes, std::string* error) {
  // Far larger than any plug-in; a device or a runaway file stops here.
  constexpr size_t kLibraryFileLimit = 256u << 20;
  std::string reason;
  switch (fileio::ReadWholeFile(path, kLibraryFileLimit, bytes, &reason)) {
    case fileio::ReadResult::kRead: return true;
    case fileio::ReadResult::kMissing: return Fail(error, path + ": there is no such file");
    case fileio::ReadResult::kFailed: break;
  }
  return Fail(error, path + ": " + reason);
}

bool ReadExportNamesFromFile(const std::string& path, std::vector<std::string>* names, std::string* error) {
  std::string bytes;
  return ReadLibraryFile(path, &bytes, error) && ReadExportNames(bytes, names, error);
}

}  // namespace validator
