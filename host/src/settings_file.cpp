// The settings tree's file and the control interface of mqhost/settings.hpp.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "mqhost/settings.hpp"
#include "settings_tree.hpp"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace mqhost {

namespace {

using settings::Element;
using settings::TheTree;
using settings::Tree;

void SetError(std::string* error, const std::string& message) {
  if (error != nullptr) *error = message;
}

std::string Quoted(const std::string& path) { return "settings file \"" + path + "\""; }

// Paths are UTF-8 on every platform.
std::filesystem::path FilePath(const std::string& path) {
  return std::filesystem::u8path(path);  // NOLINT: u8path is what takes UTF-8 in C++17
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  return _wfopen(path.c_str(), wideMode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

// --- Reading ----------------------------------------------------------------

// Copies a pugixml element into ours. Text nodes directly inside an element
// form its text; comments and processing instructions are skipped.
bool Convert(const pugi::xml_node& from, Element& to, std::string* reason) {
  std::string text;
  for (const pugi::xml_node& node : from.children()) {
    switch (node.type()) {
      case pugi::node_pcdata:
      case pugi::node_cdata: text += node.value(); break;
      case pugi::node_element: {
        if (to.depth + 1 > settings::kMaxDepth) {
          *reason = "elements are nested deeper than " + std::to_string(settings::kMaxDepth);
          return false;
        }
        auto child = std::make_unique<Element>();
        child->name = node.name();
        child->parent = &to;
        child->depth = to.depth + 1;
        if (!Convert(node, *child, reason)) return false;
        to.children.push_back(std::move(child));
        break;
      }
      default: break;
    }
  }
  Tree::SetText(to, text);
  return true;
}

bool ReadFile(const std::string& path, std::string& content, bool& missing, std::string* error) {
  missing = false;
  errno = 0;
  std::FILE* file = OpenFile(FilePath(path), "rb");
  if (file == nullptr) {
    if (errno == ENOENT) {
      missing = true;
      return true;
    }
    SetError(error, Quoted(path) + " cannot be opened: " + std::strerror(errno));
    return false;
  }
  char buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    SetError(error, Quoted(path) + " cannot be read");
    return false;
  }
  return true;
}

// --- Writing ----------------------------------------------------------------

void Build(const Element& from, pugi::xml_node to) {
  if (from.text) to.append_child(pugi::node_pcdata).set_value(from.text->c_str());
  for (const auto& child : from.children) Build(*child, to.append_child(child->name.c_str()));
}

std::string Serialise(const Element& root) {
  pugi::xml_document document;
  Build(root, document.append_child(root.name.c_str()));
  std::ostringstream out;
  document.save(out, "\t", pugi::format_indent, pugi::encoding_utf8);
  return out.str();
}

// Writes the whole content and forces it to the disk.
bool WriteAll(const std::filesystem::path& path, const std::string& content, std::string& reason) {
  errno = 0;
  std::FILE* file = OpenFile(path, "wb");
  if (file == nullptr) {
    reason = std::string("cannot create the temporary file: ") + std::strerror(errno);
    return false;
  }
  bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  written = std::fflush(file) == 0 && written;
#ifdef _WIN32
  written = _commit(_fileno(file)) == 0 && written;
#else
  written = fsync(fileno(file)) == 0 && written;
#endif
  const int savedErrno = errno;
  written = std::fclose(file) == 0 && written;
  if (!written) reason = std::string("cannot write the temporary file: ") + std::strerror(savedErrno);
  return written;
}

bool ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& reason) {
#ifdef _WIN32
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
    return true;
  reason = "cannot replace the file (Windows error " + std::to_string(GetLastError()) + ")";
  return false;
#else
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  reason = std::string("cannot replace the file: ") + std::strerror(errno);
  return false;
#endif
}

// --- Lookups ----------------------------------------------------------------

Element* Section(const std::string& section) {
  Element* settingsElement = Tree::FindChild(TheTree().Root(), settings::kPluginSettingsName);
  return settingsElement == nullptr ? nullptr : Tree::FindChild(*settingsElement, section);
}

Element& ChildOrNew(Element& parent, const std::string& name) {
  Element* child = Tree::FindChild(parent, name);
  return child != nullptr ? *child : *TheTree().AddChild(parent, name);
}

}  // namespace

bool LoadSettingsFile(const std::string& path, std::string* error) {
  Tree& tree = TheTree();
  tree.Reset();
  std::string content;
  bool missing = false;
  if (!ReadFile(path, content, missing, error)) return false;
  if (missing) return true;

  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(
      content.data(), content.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
  if (!parsed) {
    SetError(error, Quoted(path) + " is not well-formed XML: " + parsed.description() + " at byte " +
                        std::to_string(parsed.offset));
    return false;
  }
  const pugi::xml_node rootNode = document.document_element();
  if (std::string(rootNode.name()) != settings::kRootName) {
    SetError(error, Quoted(path) + " is not a settings file: its root element is <" +
                        std::string(rootNode.name()) + ">, not <" + settings::kRootName + ">");
    return false;
  }
  std::unique_ptr<Element> root = settings::NewRoot();
  std::string reason;
  if (!Convert(rootNode, *root, &reason)) {
    SetError(error, Quoted(path) + " cannot be used: " + reason);
    return false;
  }
  tree.Replace(std::move(root));
  return true;
}

bool SaveSettingsFile(const std::string& path, std::string* error) {
  const std::string content = Serialise(TheTree().Root());
  const std::filesystem::path target = FilePath(path);
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  std::string reason;
  if (!WriteAll(temporary, content, reason) || !ReplaceFile(temporary, target, reason)) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    SetError(error, Quoted(path) + " was not saved: " + reason);
    return false;
  }
  return true;
}

void ResetSettings() { TheTree().Reset(); }

std::string SettingsXml() { return Serialise(TheTree().Root()); }

void SetSettingsAvailable(bool available) { TheTree().available = available; }

std::optional<std::string> SettingText(const std::string& section, const std::string& key) {
  const Element* sectionElement = Section(section);
  if (sectionElement == nullptr) return std::nullopt;
  const Element* keyElement = Tree::FindChild(*sectionElement, key);
  if (keyElement == nullptr) return std::nullopt;
  return keyElement->text;
}

std::vector<std::string> SettingKeys(const std::string& section) {
  std::vector<std::string> names;
  if (const Element* sectionElement = Section(section)) {
    for (const auto& child : sectionElement->children) names.push_back(child->name);
  }
  return names;
}

bool HasSettingsSection(const std::string& section) { return Section(section) != nullptr; }

void SetSettingText(const std::string& section, const std::string& key, const std::string& text) {
  Element& settingsElement = ChildOrNew(TheTree().Root(), settings::kPluginSettingsName);
  Element& sectionElement = ChildOrNew(settingsElement, section);
  Tree::SetText(ChildOrNew(sectionElement, key), text);
}

void RemoveSetting(const std::string& section, const std::string& key) {
  Element* sectionElement = Section(section);
  if (sectionElement == nullptr) return;
  while (const Element* keyElement = Tree::FindChild(*sectionElement, key)) {
    TheTree().RemoveChild(*sectionElement, keyElement);
  }
}

}  // namespace mqhost
