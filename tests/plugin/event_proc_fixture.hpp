// The fixture of the widget event procedure's tests: a dialog with a button in
// the replacement host, bindings that record what reached them, and event
// lists built by hand as the host would raise them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "support/host_fixture.hpp"
#include "widgets/widgets.hpp"

namespace event_proc_testing {

using namespace tervolin;

// A binding that records what reached it and runs an optional body.
class RecordingClosure final : public MQWidgetEventClosureBase {
 public:
  int32_t Invoke(MQWidgetBase* sender, DocumentHandle document, void* info) override {
    ++calls;
    lastSender = sender;
    lastDocument = document;
    lastInfo = info;
    return body ? body(info) : 7;
  }
  bool IsSameAs(MQWidgetEventClosureBase* other) override { return other == this; }
  void* GetTarget() override { return nullptr; }

  std::function<int32_t(void*)> body;
  int calls = 0;
  MQWidgetBase* lastSender = nullptr;
  DocumentHandle lastDocument = nullptr;
  void* lastInfo = nullptr;
};

using EventList = host_testing::ArgList;

inline DocumentHandle FakeDocument() {
  static char marker;
  return reinterpret_cast<DocumentHandle>(&marker);
}

class WidgetEventProcTest : public host_testing::WidgetHostTest {
 protected:
  void SetUp() override {
    WidgetHostTest::SetUp();
    main_.reset(new MQWindow(MQWindow::WrapMainWindow()));
    dialog_ = std::make_unique<MQDialog>(*main_);
    button_ = dialog_->CreateButton(dialog_.get(), u"Go");
  }

  void TearDown() override {
    dialog_.reset();
    main_.reset();
    WidgetHostTest::TearDown();
  }

  std::shared_ptr<RecordingClosure> Bind(MQWidgetBase* widget, const char* event) {
    auto closure = std::make_shared<RecordingClosure>();
    widget->AddEventClosure(event, closure);
    return closure;
  }

  // A list with the routing names for an event on `target` from `sender`.
  EventList Routed(const char* type, int32_t target, int32_t sender) {
    targetId_ = target;
    senderId_ = sender;
    EventList list;
    list.Add("type", type).Add("target_id", &targetId_).Add("sender_id", &senderId_);
    return list;
  }

  std::unique_ptr<MQWindow> main_;
  std::unique_ptr<MQDialog> dialog_;
  MQButton* button_ = nullptr;
  int32_t targetId_ = 0;
  int32_t senderId_ = 0;
};

}  // namespace event_proc_testing
