// The host functions of the settings tree: the settings request of
// MQ_SendMessage and the element operations of MQXmlElem_Value. A request the
// host does not understand, or one on a stale or foreign element, is a
// protocol error; it changes nothing, and a result slot it can identify is
// answered with null.
#include <string>

#include "host/src/calls/call_counter.hpp"
#include "host/src/calls/host_faults.hpp"
#include "host/src/calls/host_function_declarations.hpp"
#include "host/src/calls/write_log.hpp"
#include "host/src/settings/settings_tree.hpp"
#include "mqhost/api.hpp"
#include "mqhost/error_log.hpp"
#include "protocol/host_types.hpp"
#include "protocol/settings_records.hpp"

namespace {

using mqhost::RecordProtocolError;
using mqhost::settings::Element;
using mqhost::settings::TheTree;
using mqhost::settings::Tree;

std::string Describe(int code) { return "MQXmlElem_Value(" + std::to_string(code) + ")"; }

// The value slot of the list's "pluginsettings" pair, or null.
void** PluginSettingsSlot(void** arguments) {
  for (void** pair = arguments; pair[0] != nullptr; pair += 2) {
    if (std::string(static_cast<const char*>(pair[0])) == mqhost::settings::kPluginSettingsName)
      return &pair[1];
  }
  return nullptr;
}

}  // namespace

MQHOST_EXPORT_C int MQ_SendMessage(int message, void* record) {
  mqhost::call_counter::Count();
  if (message != mq::kMessageGetSettings) {
    RecordProtocolError("MQ_SendMessage: unknown message " + std::to_string(message));
    return 0;
  }
  auto* request = static_cast<tervolin::SettingsRequest*>(record);
  if (request == nullptr || request->arguments == nullptr) {
    RecordProtocolError("MQ_SendMessage(505): no request record or no argument list");
    return 0;
  }
  void** slot = PluginSettingsSlot(request->arguments);
  if (slot == nullptr) {
    RecordProtocolError("MQ_SendMessage(505): the argument list has no \"pluginsettings\" pair");
    return 0;
  }
  Tree& tree = TheTree();
  if (mqhost::host_faults::Answer(mqhost::HostFault::SendMessage, "MQ_SendMessage(505)")) return 0;
  if (!tree.available ||
      mqhost::host_faults::Answer(mqhost::HostFault::SettingsTree, "MQ_SendMessage(505)")) {
    *slot = nullptr;
    return 0;
  }
  Element* settings = Tree::FindChild(tree.Root(), mqhost::settings::kPluginSettingsName);
  if (settings == nullptr) settings = tree.AddChild(tree.Root(), mqhost::settings::kPluginSettingsName);
  *slot = tree.HandleOf(*settings);
  return 1;
}

namespace {

// AddChildElement (257) and FindChildElement (513).
void ChildRequest(Tree& tree, Element* element, int code, tervolin::XmlChildRecord& record) {
  if (record.result != nullptr) {
    RecordProtocolError(Describe(code) + ": the result slot was not null before the call");
  }
  record.result = nullptr;
  if (element == nullptr) {
    RecordProtocolError(Describe(code) + ": stale or foreign element handle");
    return;
  }
  if (record.name == nullptr) {
    RecordProtocolError(Describe(code) + ": no name");
    return;
  }
  const std::string name = record.name;
  if (mqhost::host_faults::Answer(mqhost::HostFault::SettingsElement, "MQXmlElem_Value(child)")) return;
  if (code == mq::kXmlFindChildElement) {
    Element* child = Tree::FindChild(*element, name);
    if (child != nullptr) record.result = tree.HandleOf(*child);
    return;
  }
  if (!mqhost::settings::IsXmlName(name)) {
    RecordProtocolError(Describe(code) + ": \"" + name + "\" is not an element name");
    return;
  }
  Element* child = tree.AddChild(*element, name);
  if (child == nullptr) {
    RecordProtocolError(Describe(code) + ": the tree would be nested deeper than " +
                        std::to_string(mqhost::settings::kMaxDepth) + " elements");
    return;
  }
  record.result = tree.HandleOf(*child);
  if (mqhost::write_log::recordingWrites)
    mqhost::write_log::Append("settings " + element->name + " add " + name);
}

void RemoveRequest(Tree& tree, Element* element, const tervolin::XmlRemoveRecord& record) {
  const int code = mq::kXmlRemoveChildElement;
  if (element == nullptr) {
    RecordProtocolError(Describe(code) + ": stale or foreign element handle");
    return;
  }
  const Element* child = tree.Resolve(record.child);
  if (child == nullptr) {
    RecordProtocolError(Describe(code) + ": stale or foreign child handle");
    return;
  }
  if (child->parent != element) {
    RecordProtocolError(Describe(code) + ": the element \"" + child->name + "\" is not a child of \"" +
                        element->name + "\"");
    return;
  }
  if (mqhost::write_log::recordingWrites) {
    mqhost::write_log::Append("settings " + element->name + " remove " + child->name);
  }
  tree.RemoveChild(*element, child);
}

void GetTextRequest(Element* element, const char** slot) {
  const int code = mq::kXmlGetElementText;
  if (*slot != nullptr)
    RecordProtocolError(Describe(code) + ": the result slot was not null before the call");
  *slot = nullptr;
  if (element == nullptr) {
    RecordProtocolError(Describe(code) + ": stale or foreign element handle");
    return;
  }
  if (mqhost::host_faults::Answer(mqhost::HostFault::SettingsElement, "MQXmlElem_Value(text)")) return;
  // Valid until the element's text changes or the element is removed.
  if (element->text) *slot = element->text->c_str();
}

void SetTextRequest(Element* element, const char* const* slot) {
  const int code = mq::kXmlSetElementText;
  if (element == nullptr) {
    RecordProtocolError(Describe(code) + ": stale or foreign element handle");
    return;
  }
  if (*slot == nullptr) {
    RecordProtocolError(Describe(code) + ": no text");
    return;
  }
  const std::string text = *slot;
  if (!mqhost::settings::IsUtf8(text)) {
    RecordProtocolError(Describe(code) + ": the text is not UTF-8");
    return;
  }
  if (mqhost::write_log::recordingWrites) {
    mqhost::write_log::Append("settings " + element->name + " text \"" + text + "\"");
  }
  Tree::SetText(*element, text);
}

}  // namespace

MQHOST_EXPORT_C void MQXmlElem_Value(XmlElemHandle handle, int code, void* record) {
  mqhost::call_counter::Count();
  switch (code) {
    case mq::kXmlAddChildElement:
    case mq::kXmlRemoveChildElement:
    case mq::kXmlFindChildElement:
    case mq::kXmlGetElementText:
    case mq::kXmlSetElementText: break;
    default: RecordProtocolError(Describe(code) + ": unknown code"); return;
  }
  if (record == nullptr) {
    RecordProtocolError(Describe(code) + ": no record");
    return;
  }
  Tree& tree = TheTree();
  Element* element = tree.Resolve(handle);
  switch (code) {
    case mq::kXmlAddChildElement:
    case mq::kXmlFindChildElement:
      ChildRequest(tree, element, code, *static_cast<tervolin::XmlChildRecord*>(record));
      break;
    case mq::kXmlRemoveChildElement:
      RemoveRequest(tree, element, *static_cast<const tervolin::XmlRemoveRecord*>(record));
      break;
    case mq::kXmlGetElementText: GetTextRequest(element, static_cast<const char**>(record)); break;
    default: SetTextRequest(element, static_cast<const char* const*>(record)); break;
  }
}
