#include "host/src/settings/settings_tree.hpp"

#include <algorithm>
#include <utility>

namespace mqhost::settings {

namespace {
// Tokens are odd and far from the addresses the heap hands out, so a
// document or object handle given in place of an element is never taken for
// one.
constexpr uintptr_t kTokenBase = 0x5E7700000000ull;

uintptr_t TokenValue(uintptr_t token) { return kTokenBase + (token << 4) + 1; }
}  // namespace

std::unique_ptr<Element> NewRoot() {
  auto root = std::make_unique<Element>();
  root->name = kRootName;
  return root;
}

Tree::Tree() : root_(NewRoot()) {}

XmlElemHandle Tree::HandleOf(Element& element) {
  if (element.handle == 0) {
    element.handle = TokenValue(nextToken_++);
    live_[element.handle] = &element;
  }
  // A token, never dereferenced: the handle is only looked up again.
  return reinterpret_cast<XmlElemHandle>(element.handle);  // NOLINT(performance-no-int-to-ptr)
}

Element* Tree::Resolve(XmlElemHandle handle) const {
  const auto found = live_.find(reinterpret_cast<uintptr_t>(handle));
  return found == live_.end() ? nullptr : found->second;
}

Element* Tree::AddChild(Element& parent, const std::string& name) {
  if (parent.depth + 1 > kMaxDepth) return nullptr;
  auto child = std::make_unique<Element>();
  child->name = name;
  child->parent = &parent;
  child->depth = parent.depth + 1;
  parent.children.push_back(std::move(child));
  return parent.children.back().get();
}

Element* Tree::FindChild(const Element& parent, const std::string& name) {
  for (const auto& child : parent.children) {
    if (child->name == name) return child.get();
  }
  return nullptr;
}

void Tree::Forget(const Element& element) {
  if (element.handle != 0) live_.erase(element.handle);
  for (const auto& child : element.children) Forget(*child);
}

void Tree::RemoveChild(Element& parent, const Element* child) {
  const auto found =
      std::find_if(parent.children.begin(), parent.children.end(),
                   [child](const std::unique_ptr<Element>& each) { return each.get() == child; });
  if (found == parent.children.end()) return;
  Forget(**found);
  parent.children.erase(found);
}

void Tree::Replace(std::unique_ptr<Element> root) {
  live_.clear();
  root_ = std::move(root);
}

void Tree::Reset() { Replace(NewRoot()); }

void Tree::SetText(Element& element, const std::string& text) {
  if (text.empty()) {
    element.text.reset();
  } else {
    element.text = text;
  }
}

Tree& TheTree() {
  static Tree tree;
  return tree;
}

namespace {
// The length of the well-formed UTF-8 sequence at `i`, or 0.
size_t SequenceLength(const std::string& text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if (next < low || next > high) return 0;
    low = 0x80;
    high = 0xBF;
  }
  return length;
}

bool IsNameStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }
}  // namespace

bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const size_t length = SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

bool IsXmlName(const std::string& name) {
  if (name.empty() || !IsUtf8(name)) return false;
  if (!IsNameStart(static_cast<unsigned char>(name.front()))) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return IsNameChar(static_cast<unsigned char>(c)); });
}

}  // namespace mqhost::settings
