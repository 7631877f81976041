// The fixture of the tests that drive the replacement host's widgets with raw
// requests through the host functions bound by path: request helpers, a
// sample dialog, and the events the host raises to a handler.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "binding/host_api.hpp"
#include "mqhost/widgets.hpp"
#include "protocol/arg_list.hpp"
#include "protocol/host_types.hpp"
#include "support/host_fixture.hpp"

namespace host_testing {

class HostWidgetsTest : public WidgetHostTest {
 protected:
  using Args = ArgList;

  // The host reported `text` as a protocol error; the list is cleared for the next check.
  static void ExpectReported(const std::string& text) {
    EXPECT_TRUE(HasProtocolError(text)) << text;
    mqhost::ClearProtocolErrors();
  }

  // One event as the host raised it.
  struct RaisedEvent {
    std::string type;
    int32_t target = 0;
    int32_t sender = 0;
    bool hasFinished = false;
    int32_t key = -1;
    int32_t buttonState = -1;
    int32_t autoRepeat = -1;
    void* pointer = nullptr;
    DocumentHandle document = nullptr;
  };

  inline static std::vector<RaisedEvent> raised;
  inline static std::function<void(const RaisedEvent&, void** list)> onEvent;

  static int RecordEvent(DocumentHandle document, void** list, void* pointer) {
    RaisedEvent event;
    event.document = document;
    const auto* type = static_cast<const char*>(tervolin::LookupArgPointer(list, "type"));
    event.type = type != nullptr ? type : "";
    event.target = tervolin::LookupArgInt(list, "target_id", 0);
    event.sender = tervolin::LookupArgInt(list, "sender_id", 0);
    event.hasFinished = tervolin::LookupArgPointer(list, "finished") != nullptr;
    event.key = tervolin::LookupArgInt(list, "key", -1);
    event.buttonState = tervolin::LookupArgInt(list, "button_state", -1);
    event.autoRepeat = tervolin::LookupArgInt(list, "auto_repeat", -1);
    event.pointer = pointer;
    raised.push_back(event);
    if (onEvent) onEvent(event, list);
    return 0;
  }

  static int Send(int32_t id, int32_t code, Args& args) {
    return tervolin::HostApi().MQWidget_Value(id, code, args.data());
  }

  void SetUp() override {
    WidgetHostTest::SetUp();
    raised.clear();
    onEvent = nullptr;
  }

  void TearDown() override {
    onEvent = nullptr;
    WidgetHostTest::TearDown();
  }

  static int32_t Create(const char* keyword) {
    int32_t id = 0;
    Args args;
    args.Add("type", keyword).Add("id", &id);
    Send(0, mq::kWidgetCreate, args);
    return id;
  }

  static void Place(int32_t parent, int32_t child) {
    int32_t result = -1;
    Args args;
    args.Add("child", &child).Add("result", &result);
    Send(parent, mq::kWidgetAddChild, args);
  }

  static void Delete(int32_t id) {
    Args none;
    Send(id, mq::kWidgetDelete, none);
  }

  static void SetText(int32_t id, const char16_t* text) {
    Args args;
    args.Add("text", text);
    Send(id, mq::kWidgetSetValues, args);
  }

  // Sets one value of the wire type T (bool or int32_t).
  template <typename T>
  static void Set(int32_t id, const char* name, T value) {
    Args args;
    args.Add(name, &value);
    Send(id, mq::kWidgetSetValues, args);
  }

  static bool GetBool(int32_t id, const char* name) {
    unsigned char value = 0x5A;
    Args args;
    args.Add(name, &value);
    Send(id, mq::kWidgetGetValues, args);
    EXPECT_LE(value, 1) << name << " is written as one bool byte";
    return value == 1;
  }

  static int32_t GetInt(int32_t id, const char* name) {
    int32_t value = -12345;
    Args args;
    args.Add(name, &value);
    Send(id, mq::kWidgetGetValues, args);
    return value;
  }

  static void AddHandler(int32_t id, const char* event, void* pointer) {
    WidgetEventProcType proc = &RecordEvent;
    void* procAddress = nullptr;
    std::memcpy(&procAddress, &proc, sizeof procAddress);
    const bool prior = false;
    Args args;
    args.Add("type", event).Add("proc", procAddress).Add("pointer", pointer).Add("prior", &prior);
    Send(id, mq::kWidgetAddEventHandler, args);
  }

  static int32_t RunModal(int32_t dialog) {
    int32_t result = 0;
    Args args;
    args.Add("type", "modal").Add("result", &result);
    Send(dialog, mq::kWidgetWindowCommand, args);
    return result;
  }

  static void CloseOk(int32_t dialog) {
    Args args;
    args.Add("type", "close").Add("code", "ok");
    Send(dialog, mq::kWidgetWindowCommand, args);
  }

  static void AddItem(int32_t combo, const char16_t* text, int64_t tag) {
    int32_t result = -1;
    Args args;
    args.Add("additem", nullptr).Add("text", text).Add("result", &result).Add("tag", &tag);
    Send(combo, mq::kWidgetCallMethod, args);
  }

  // A dialog with a button "OK" (modal result 1), a check box "(&R)otate",
  // a radio button "set to X" and a combo box, each bound to "execute".
  struct Sample {
    int32_t dialog, ok, check, radio, combo;
  };
  Sample MakeSample() {
    Sample s{};
    s.dialog = Create("dialog");
    s.ok = Create("button");
    SetText(s.ok, u"OK");
    Set(s.ok, "modalresult", 1);
    s.check = Create("checkbox");
    SetText(s.check, u"(&R)otate");
    s.radio = Create("radiobutton");
    SetText(s.radio, u"set to X");
    s.combo = Create("combobox");
    AddItem(s.combo, u"-", -1);
    AddItem(s.combo, u"Cube", 0x80000000LL);
    for (int32_t id : {s.ok, s.check, s.radio, s.combo}) {
      Place(s.dialog, id);
      AddHandler(id, "execute", &markers_[0]);
    }
    AddHandler(s.dialog, "keydown", &markers_[1]);
    return s;
  }

  static void DeleteSample(const Sample& s) {
    for (int32_t id : {s.ok, s.check, s.radio, s.combo, s.dialog}) Delete(id);
  }

  char markers_[2] = {};
};

}  // namespace host_testing
