// The settings tree's file and the control interface of mqhost/settings.hpp.
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "fileio/safe_file.hpp"
#include "host/src/settings/settings_tree.hpp"
#include "mqhost/settings.hpp"

namespace mqhost {

namespace {

using settings::Element;
using settings::TheTree;
using settings::Tree;

void SetError(std::string* error, const std::string& message) {
  if (error != nullptr) *error = message;
}

std::string Quoted(const std::string& path) { return "settings file \"" + path + "\""; }

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

// Settings files are small; anything larger is not one of ours.
constexpr size_t kSettingsFileLimit = 16u << 20;

bool ReadFile(const std::string& path, std::string& content, bool& missing, std::string* error) {
  std::string reason;
  const fileio::ReadResult read = fileio::ReadWholeFile(path, kSettingsFileLimit, &content, &reason);
  missing = read == fileio::ReadResult::kMissing;
  if (read == fileio::ReadResult::kFailed) SetError(error, Quoted(path) + " " + reason);
  return read != fileio::ReadResult::kFailed;
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

// --- Updating the file that was loaded ---------------------------------------
//
// A save over the file the tree came from changes only what changed in the
// tree: the declaration, comments, processing instructions, attributes, the
// layout and every element whose content is as it was loaded (other plug-ins'
// sections) stay byte for byte.

// The file the tree was loaded from, and its content then.
struct LoadedFile {
  std::string path;
  std::string content;
};
LoadedFile& Loaded() {
  static LoadedFile loaded;
  return loaded;
}

// How the tree reads a file, and how the original is kept for an update.
constexpr unsigned kTreeParse = pugi::parse_default | pugi::parse_ws_pcdata_single;
constexpr unsigned kKeepParse = pugi::parse_full | pugi::parse_ws_pcdata;

bool SameContent(const Element& a, const Element& b) {
  if (a.name != b.name || a.text != b.text || a.children.size() != b.children.size()) return false;
  for (size_t i = 0; i < a.children.size(); ++i) {
    if (!SameContent(*a.children[i], *b.children[i])) return false;
  }
  return true;
}

// The `occurrence`th child element named `name`: the same element in the
// tree as loaded and in the kept document, whose element structure is the
// same.
pugi::xml_node NthElement(pugi::xml_node parent, const std::string& name, size_t occurrence) {
  for (pugi::xml_node child = parent.child(name.c_str()); child; child = child.next_sibling(name.c_str())) {
    if (occurrence-- == 0) return child;
  }
  return {};
}
const Element* NthElement(const Element& parent, const std::string& name, size_t occurrence) {
  for (const auto& child : parent.children) {
    if (child->name == name && occurrence-- == 0) return child.get();
  }
  return nullptr;
}

bool Blank(const char* text) { return std::string(text).find_first_not_of(" \t\r\n") == std::string::npos; }

// Brings `kept` (the element as the file holds it, `was` as the tree read
// it) to `now`, touching only what differs.
void Update(pugi::xml_node kept, const Element& was, const Element& now) {
  if (SameContent(was, now)) return;
  if (was.text != now.text) {
    for (pugi::xml_node child = kept.first_child(); child;) {
      const pugi::xml_node next = child.next_sibling();
      const bool text = child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata;
      // Layout between elements stays; the text is replaced.
      const bool layout = text && !now.children.empty() && Blank(child.value());
      if (text && !layout) kept.remove_child(child);
      child = next;
    }
    if (now.text) kept.prepend_child(pugi::node_pcdata).set_value(now.text->c_str());
  }
  // Elements that are gone, then the ones that stay or are new, in order.
  std::map<std::string, size_t> wasCount;
  for (const auto& child : was.children) {
    const size_t occurrence = wasCount[child->name]++;
    size_t nowCount = 0;
    for (const auto& other : now.children) nowCount += other->name == child->name ? 1 : 0;
    if (occurrence < nowCount) continue;
    // The element goes with the layout before it.
    const pugi::xml_node gone = NthElement(kept, child->name, nowCount);
    const pugi::xml_node before = gone.previous_sibling();
    if (before.type() == pugi::node_pcdata && Blank(before.value())) kept.remove_child(before);
    kept.remove_child(gone);
  }
  std::map<std::string, size_t> seen;
  for (const auto& child : now.children) {
    const size_t occurrence = seen[child->name]++;
    const Element* before = NthElement(was, child->name, occurrence);
    if (before != nullptr) {
      Update(NthElement(kept, child->name, occurrence), *before, *child);
      continue;
    }
    // A new element goes after the last element, with the layout of the one
    // before it.
    pugi::xml_node last = kept.last_child();
    while (last && last.type() != pugi::node_element) last = last.previous_sibling();
    pugi::xml_node added =
        last ? kept.insert_child_after(child->name.c_str(), last) : kept.append_child(child->name.c_str());
    if (last && last.previous_sibling().type() == pugi::node_pcdata) {
      kept.insert_copy_before(last.previous_sibling(), added);
    }
    Build(*child, added);
  }
}

// The kept file brought to the tree; empty when it cannot be (the caller
// then writes the whole tree).
std::string Updated(const std::string& content, const Element& now) {
  pugi::xml_document kept;
  pugi::xml_document read;
  const pugi::xml_parse_result keptResult = kept.load_buffer(content.data(), content.size(), kKeepParse);
  if (!keptResult || !read.load_buffer(content.data(), content.size(), kTreeParse)) return {};
  auto was = settings::NewRoot();
  std::string reason;
  if (!Convert(read.document_element(), *was, &reason)) return {};
  // What lies around the root element (declaration, comments, their layout)
  // is copied as it is; pugixml keeps no layout outside the root.
  const pugi::xml_node root = kept.document_element();
  const ptrdiff_t name = root.offset_debug();
  const size_t closing = content.rfind("</" + std::string(root.name()));
  const size_t end = closing == std::string::npos ? closing : content.find('>', closing);
  if (keptResult.encoding != pugi::encoding_utf8 || name < 1 ||
      content[static_cast<size_t>(name) - 1] != '<' || end == std::string::npos) {
    return {};
  }
  Update(root, *was, now);
  std::ostringstream out;
  root.print(out, "", pugi::format_raw, pugi::encoding_utf8);
  std::string updated =
      content.substr(0, static_cast<size_t>(name) - 1) + out.str() + content.substr(end + 1);
  // The update must read back as the tree: anything odd around the root (a
  // closing tag inside a trailing comment) falls back to the whole tree.
  pugi::xml_document check;
  auto back = settings::NewRoot();
  if (!check.load_buffer(updated.data(), updated.size(), kTreeParse) ||
      !Convert(check.document_element(), *back, &reason) || !SameContent(*back, now)) {
    return {};
  }
  return updated;
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
  Loaded() = {};
  std::string content;
  bool missing = false;
  if (!ReadFile(path, content, missing, error)) return false;
  if (missing) return true;

  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(content.data(), content.size(), kTreeParse);
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
  Loaded() = {path, std::move(content)};
  return true;
}

bool SaveSettingsFile(const std::string& path, std::string* error) {
  std::string reason;
  std::string text = Loaded().path == path ? Updated(Loaded().content, TheTree().Root()) : std::string();
  if (text.empty()) text = Serialise(TheTree().Root());
  if (!fileio::ReplaceWholeFile(path, text, &reason)) {
    SetError(error, Quoted(path) + " was not saved: " + reason);
    return false;
  }
  Loaded() = {path, std::move(text)};
  return true;
}

void ResetSettings() {
  TheTree().Reset();
  Loaded() = {};
}

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
