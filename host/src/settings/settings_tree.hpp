// Internal: the settings tree's elements and the registry of their handles.
// Handles are tokens, never addresses: a stale or foreign handle is recognised
// without touching memory, and a token is never reused.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "protocol/host_types.hpp"

namespace mqhost::settings {

inline constexpr const char* kRootName = "settings";
inline constexpr const char* kPluginSettingsName = "pluginsettings";
// Deeper trees are refused, both from a file and from requests, so that no
// walk over the tree can exhaust the stack.
inline constexpr int kMaxDepth = 64;

struct Element {
  std::string name;
  std::optional<std::string> text;  // never an empty string
  std::vector<std::unique_ptr<Element>> children;
  Element* parent = nullptr;
  int depth = 0;         // the root is 0
  uintptr_t handle = 0;  // 0 until one was handed out
};

class Tree {
 public:
  Tree();

  Element& Root() { return *root_; }
  // Hands out (once) the element's handle.
  XmlElemHandle HandleOf(Element& element);
  // The live element of a handle; null for a stale or foreign one.
  Element* Resolve(XmlElemHandle handle) const;
  // Appends a child; null when it would be too deep.
  Element* AddChild(Element& parent, const std::string& name);
  // The first child of that name, or null.
  static Element* FindChild(const Element& parent, const std::string& name);
  // Removes the child and its subtree; their handles go stale.
  void RemoveChild(Element& parent, const Element* child);
  // Replaces the whole tree (root included); every handle goes stale.
  void Replace(std::unique_ptr<Element> root);
  void Reset();

  static void SetText(Element& element, const std::string& text);

  bool available = true;

 private:
  void Forget(const Element& element);

  std::unique_ptr<Element> root_;
  std::unordered_map<uintptr_t, Element*> live_;
  uintptr_t nextToken_ = 1;
};

Tree& TheTree();
std::unique_ptr<Element> NewRoot();

// True when `name` can be written as an XML element name.
bool IsXmlName(const std::string& name);
// True when `text` is well-formed UTF-8.
bool IsUtf8(const std::string& text);

}  // namespace mqhost::settings
