// Bindings of a widget event to a member function of a dialog class.
//
// A closure is registered with the host by its address ("pointer") and held
// by the widget it was registered on, through a shared reference made for its
// concrete class (there is no virtual destructor). Invoking it checks that the
// target's id is still registered, so a closure that outlives its target calls
// nothing.
#pragma once

#include <cstdint>
#include <typeinfo>

#include "protocol/host_types.hpp"
#include "widgets/event_records.hpp"
#include "widgets/widget_registry.hpp"

namespace tervolin {

class MQWidgetBase;

class MQWidgetEventClosureBase {
 public:
  // Runs the bound member function; `info` is the event's record or null.
  virtual int32_t Invoke(MQWidgetBase* sender, DocumentHandle document, void* info) = 0;
  // Same concrete class, same target, same method (the owner id is ignored).
  virtual bool IsSameAs(MQWidgetEventClosureBase* other) = 0;
  virtual void* GetTarget() = 0;

  // True for bindings whose handler reads a KeyEventInfo. The event procedure
  // hands them no other kind of record: a key handler given a mouse or paint
  // record would read and write past it.
  bool ReadsKeyRecord() const { return readsKeyRecord; }

 protected:
  explicit MQWidgetEventClosureBase(bool keyRecord = false) : readsKeyRecord(keyRecord) {}
  ~MQWidgetEventClosureBase() = default;
  MQWidgetEventClosureBase(const MQWidgetEventClosureBase&) = default;
  MQWidgetEventClosureBase& operator=(const MQWidgetEventClosureBase&) = default;

 private:
  bool readsKeyRecord;
};

// Binds int32 (T::*)(sender, document); the event record is not passed on.
template <class T>
class MQWidgetEventClosure final : public MQWidgetEventClosureBase {
 public:
  using Method = int32_t (T::*)(MQWidgetBase* sender, DocumentHandle document);

  MQWidgetEventClosure(T* closureTarget, Method closureMethod)
      : target(closureTarget), ownerId(closureTarget->id), method(closureMethod) {}
  ~MQWidgetEventClosure() = default;

  int32_t Invoke(MQWidgetBase* sender, DocumentHandle document, void* /*info*/) override {
    if (FindRegisteredWidget(ownerId) == nullptr) return 0;
    return (target->*method)(sender, document);
  }

  bool IsSameAs(MQWidgetEventClosureBase* other) override {
    if (other == nullptr || typeid(*other) != typeid(*this)) return false;
    const auto* same = static_cast<const MQWidgetEventClosure*>(other);
    return same->target == target && same->method == method;
  }

  void* GetTarget() override { return target; }

  T* target;
  int32_t ownerId;
  Method method;
};

// Binds int32 (T::*)(sender, document, KeyEventInfo&); the record is passed.
template <class T>
class MQWidgetKeyEventClosure final : public MQWidgetEventClosureBase {
 public:
  using Method = int32_t (T::*)(MQWidgetBase* sender, DocumentHandle document, KeyEventInfo& info);

  MQWidgetKeyEventClosure(T* closureTarget, Method closureMethod)
      : MQWidgetEventClosureBase(true),
        target(closureTarget),
        ownerId(closureTarget->id),
        method(closureMethod) {}
  ~MQWidgetKeyEventClosure() = default;

  int32_t Invoke(MQWidgetBase* sender, DocumentHandle document, void* info) override {
    if (FindRegisteredWidget(ownerId) == nullptr) return 0;
    // A key handler needs its record; an event without one (the host raising
    // another event name with this binding's pointer) calls nothing.
    if (info == nullptr) return 0;
    return (target->*method)(sender, document, *static_cast<KeyEventInfo*>(info));
  }

  bool IsSameAs(MQWidgetEventClosureBase* other) override {
    if (other == nullptr || typeid(*other) != typeid(*this)) return false;
    const auto* same = static_cast<const MQWidgetKeyEventClosure*>(other);
    return same->target == target && same->method == method;
  }

  void* GetTarget() override { return target; }

  T* target;
  int32_t ownerId;
  Method method;
};

}  // namespace tervolin
