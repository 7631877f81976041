// The settings tree's file and the control interface of mqhost/settings.hpp.
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
  std::string reason;
  if (!fileio::ReplaceWholeFile(path, Serialise(TheTree().Root()), &reason)) {
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
