#include "widgets/widget_base.hpp"

#include <cstring>

#include "protocol/host_types.hpp"
#include "protocol/widget_properties.hpp"
#include "widgets/event_proc.hpp"
#include "widgets/value_protocol.hpp"
#include "widgets/widget_registry.hpp"

namespace tervolin {

MQWidgetBase::MQWidgetBase(const char* keyword) {
  widget_wire::Send(0, mq::kWidgetCreate, {{"type", keyword}, {"id", &id}});
  if (id != 0) {
    owned = true;
    // A constructor that throws runs no destructor: the host's widget would
    // be left behind.
    try {
      Register();
    } catch (...) {
      widget_wire::Send(id, mq::kWidgetDelete, {});
      throw;
    }
  }
}

MQWidgetBase::~MQWidgetBase() {
  if (id != 0) {
    widgetRegistry.erase(id);
    if (owned) widget_wire::Send(id, mq::kWidgetDelete, {});
  }
  eventClosures.clear();
}

void MQWidgetBase::Register() {
  if (id != 0) widgetRegistry.emplace(id, this);
}

int32_t MQWidgetBase::AddChild(MQWidgetBase* child) {
  if (child == nullptr) return -1;
  const int32_t childId = child->id;
  int32_t result = -1;
  widget_wire::Send(id, mq::kWidgetAddChild, {{"child", &childId}, {"result", &result}});
  return result;
}

bool MQWidgetBase::GetEnabled() { return widget_wire::GetBool(id, mq::kPropEnabled, false); }

void MQWidgetBase::SetEnabled(bool enabled) { widget_wire::SetProperty(id, mq::kPropEnabled, &enabled); }

void MQWidgetBase::SetHorzLayout(const char* keyword) {
  widget_wire::SetProperty(id, mq::kPropHorzLayout, keyword);
}

void MQWidgetBase::SetFillBeforeRate(double rate) {
  widget_wire::SetProperty(id, mq::kPropFillBeforeRate, &rate);
}

void MQWidgetBase::SetFillAfterRate(double rate) {
  widget_wire::SetProperty(id, mq::kPropFillAfterRate, &rate);
}

void MQWidgetBase::SetInSpace(double space) { widget_wire::SetProperty(id, mq::kPropInSpace, &space); }

void MQWidgetBase::SetOutSpace(double space) { widget_wire::SetProperty(id, mq::kPropOutSpace, &space); }

void MQWidgetBase::AddEventClosure(const char* eventName,
                                   const std::shared_ptr<MQWidgetEventClosureBase>& closure) {
  // The procedure's address travels in an untyped slot.
  WidgetEventProcType procedure = &WidgetEventProc;
  void* procAddress = nullptr;
  static_assert(sizeof procedure == sizeof procAddress, "a function address fits a slot");
  std::memcpy(&procAddress, &procedure, sizeof procAddress);
  const bool prior = false;
  widget_wire::Send(
      id, mq::kWidgetAddEventHandler,
      {{"type", eventName}, {"proc", procAddress}, {"pointer", closure.get()}, {"prior", &prior}});
  eventClosures.push_back(closure);
}

}  // namespace tervolin
