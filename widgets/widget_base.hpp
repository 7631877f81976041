// MQWidgetBase: the common base of every widget wrapper. It holds the host id
// it wraps, whether it created (and so must delete) the host widget, and the
// event closures registered on it. Properties every widget has are here too.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "protocol/host_types.hpp"
#include "protocol/widget_events.hpp"
#include "widgets/closures.hpp"

namespace tervolin {

class MQWidgetBase {
 public:
  virtual ~MQWidgetBase();
  MQWidgetBase(const MQWidgetBase&) = delete;
  MQWidgetBase& operator=(const MQWidgetBase&) = delete;

  // Places `child` in this widget (add child). -1 without a host call for a
  // null child; otherwise the host's "result" (-1 when it writes none).
  int32_t AddChild(MQWidgetBase* child);

  bool GetEnabled();
  void SetEnabled(bool enabled);
  void SetHorzLayout(const char* keyword);
  void SetFillBeforeRate(double rate);
  void SetFillAfterRate(double rate);
  void SetInSpace(double space);
  void SetOutSpace(double space);

  // Registers `closure` with the host for `eventName` and keeps it. The host's
  // answer is not examined: the closure is kept in every case.
  void AddEventClosure(const char* eventName, const std::shared_ptr<MQWidgetEventClosureBase>& closure);

  // Binds this widget's "execute" to `method` of `target`.
  template <class T>
  void AddExecuteHandler(T* target, typename MQWidgetEventClosure<T>::Method method) {
    AddEventClosure(mq::kEventExecute, std::shared_ptr<MQWidgetEventClosureBase>(
                                           std::make_shared<MQWidgetEventClosure<T>>(target, method)));
  }

  // Binds this widget's "keydown" to `method` of `target`.
  template <class T>
  void AddKeyDownHandler(T* target, typename MQWidgetKeyEventClosure<T>::Method method) {
    AddEventClosure(mq::kEventKeyDown, std::shared_ptr<MQWidgetEventClosureBase>(
                                           std::make_shared<MQWidgetKeyEventClosure<T>>(target, method)));
  }

  // The host widget id; 0 = none.
  int32_t id = 0;
  // True when this wrapper created the host widget and deletes it when destroyed.
  bool owned = false;
  // Closures registered on this widget, in registration order.
  std::vector<std::shared_ptr<MQWidgetEventClosureBase>> eventClosures;

 protected:
  // A wrapper of no widget (id 0), for wrapping an existing host widget.
  MQWidgetBase() = default;
  // Creates a host widget of class `keyword`. A refused creation leaves an
  // unowned, unregistered wrapper with id 0.
  explicit MQWidgetBase(const char* keyword);

  // Adds this wrapper under its id, unless the id is 0 or already present.
  void Register();
};

}  // namespace tervolin
