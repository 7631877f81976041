// MQOnEvent: events by code to the virtual operations of station, command and
// import plug-ins.
//
// Generic part: it serves those kinds only. An object plug-in such as
// Tervolin answers every event with 0 and reaches none of the rows below
// (their tests: tests/plugin/event_dispatch_test.cpp).
#include <cstring>

#include "plugin/export_layer.hpp"
#include "protocol/arg_list.hpp"
#include "protocol/widget_events.hpp"

namespace tervolin {

namespace {

using ArgList = void* const*;

int32_t IntArg(ArgList list, const char* name, int32_t fallback = 0) {
  return LookupArgInt(list, name, fallback);
}

// The int32 flag some events pass instead of a list. A missing flag reads 0.
int32_t FlagArg(void* arguments) {
  if (arguments == nullptr) return 0;
  int32_t flag;
  std::memcpy(&flag, arguments, sizeof flag);
  return flag;
}

void StorePointer(ArgList list, const char* name, const void* value) {
  void* target = LookupArgPointer(list, name);
  if (target != nullptr) std::memcpy(target, &value, sizeof value);
}

void StoreInt(ArgList list, const char* name, int32_t value) {
  void* target = LookupArgPointer(list, name);
  if (target != nullptr) std::memcpy(target, &value, sizeof value);
}

MouseState ButtonFlags(int32_t buttonState) {
  MouseState state{};
  mq::SetButtonFlags(buttonState, state);
  return state;
}

MouseState MouseArgs(ArgList list) {
  MouseState state = ButtonFlags(IntArg(list, mq::kEventButtonState));
  state.x = IntArg(list, "mouse_pos_x");
  state.y = IntArg(list, "mouse_pos_y");
  state.wheel = IntArg(list, "mouse_wheel");
  const void* pressure = LookupArgPointer(list, "pressure");
  state.pressure = 0.0f;
  if (pressure != nullptr) std::memcpy(&state.pressure, pressure, sizeof state.pressure);
  return state;
}

int32_t TriggerValue(ArgList list) {
  const auto* trigger = static_cast<const char*>(LookupArgPointer(list, "trigger"));
  if (trigger == nullptr) return 0;
  if (std::strcmp(trigger, "screen") == 0) return 1;
  if (std::strcmp(trigger, "world") == 0) return 2;
  if (std::strcmp(trigger, "local") == 0) return 3;
  return 0;
}

int32_t MouseEvent(MQCommandPlugin& command, DocumentHandle document, int32_t code, ArgList list) {
  auto* scene = static_cast<SceneHandle>(LookupArgPointer(list, "scene"));
  MouseState state = MouseArgs(list);
  switch (code) {
    case 120: return command.OnLeftButtonDown(document, scene, state);
    case 121: return command.OnLeftButtonMove(document, scene, state);
    case 122: return command.OnLeftButtonUp(document, scene, state);
    case 123: return command.OnMiddleButtonDown(document, scene, state);
    case 124: return command.OnMiddleButtonMove(document, scene, state);
    case 125: return command.OnMiddleButtonUp(document, scene, state);
    case 126: return command.OnRightButtonDown(document, scene, state);
    case 127: return command.OnRightButtonMove(document, scene, state);
    case 128: return command.OnRightButtonUp(document, scene, state);
    case 129: return command.OnMouseMove(document, scene, state);
    default: return command.OnMouseWheel(document, scene, state);
  }
}

int32_t KeyEvent(MQCommandPlugin& command, DocumentHandle document, int32_t code, ArgList list) {
  auto* scene = static_cast<SceneHandle>(LookupArgPointer(list, "scene"));
  const int32_t key = IntArg(list, "key");
  // Key events carry the button flags only; position, wheel and pressure are 0.
  MouseState state = ButtonFlags(IntArg(list, mq::kEventButtonState));
  return code == 140 ? command.OnKeyDown(document, scene, key, state)
                     : command.OnKeyUp(document, scene, key, state);
}

// Carries out one row of the station table. Returns false when the code is
// not a station event, so the caller goes on to the import events.
bool StationEvent(MQStationPlugin& station, DocumentHandle document, int32_t code, void* arguments,
                  int32_t& result) {
  auto list = static_cast<ArgList>(arguments);
  result = 1;
  switch (code) {
    case 1: result = station.Initialize(); return true;
    case 2: station.Exit(); return true;
    case 3: StorePointer(list, "result", station.EnumSubCommand(IntArg(list, "index"))); return true;
    case 4: StorePointer(list, "result", station.GetSubCommandString(IntArg(list, "index"))); return true;
    case 100: result = station.Activate(document, FlagArg(arguments)); return true;
    case 101: result = station.IsActivated(document); return true;
    case 102: station.OnMinimize(document, FlagArg(arguments)); return true;
    case 103: {
      const auto product = static_cast<uint32_t>(IntArg(list, "src_product"));
      const auto id = static_cast<uint32_t>(IntArg(list, "src_id"));
      const auto* description = static_cast<const char*>(LookupArgPointer(list, "description"));
      void* message = LookupArgPointer(list, "message");
      StoreInt(list, "result", station.OnReceiveUserMessage(document, product, id, description, message));
      return true;
    }
    case 104: result = station.OnSubCommand(document, IntArg(list, "index")); return true;
    case 110: {
      const int32_t height = IntArg(list, "height", 1);
      const int32_t width = IntArg(list, "width", 1);
      station.OnDraw(document, static_cast<SceneHandle>(LookupArgPointer(list, "scene")), width, height);
      return true;
    }
    case 200: {
      NewDocumentParam param{LookupArgPointer(list, "xml_elem")};
      station.OnNewDocument(document, static_cast<const char*>(LookupArgPointer(list, "filename")), param);
      return true;
    }
    case 201: station.OnEndDocument(document); return true;
    case 202: {
      SaveDocumentParam param{LookupArgPointer(list, "xml_elem"), 0};
      station.OnSaveDocument(document, static_cast<const char*>(LookupArgPointer(list, "filename")), param);
      if (param.saveUniqueId != 0) StoreInt(list, "save_uid", 1);
      return true;
    }
    case 210: result = station.OnUndo(document, IntArg(list, "state")); return true;
    case 211: result = station.OnRedo(document, IntArg(list, "state")); return true;
    case 212: station.OnUpdateUndo(document, IntArg(list, "state"), IntArg(list, "size")); return true;
    case 220: station.OnUpdateObjectList(document); return true;
    case 221: station.OnObjectModified(document); return true;
    case 222: station.OnObjectSelected(document); return true;
    case 230: station.OnUpdateMaterialList(document); return true;
    case 231: station.OnMaterialModified(document); return true;
    case 240:
      station.OnUpdateScene(document, static_cast<SceneHandle>(LookupArgPointer(list, "scene")));
      return true;
    case 250: station.OnChangeEditOption(document, TriggerValue(list)); return true;
    default: break;
  }
  if ((code >= 120 && code <= 130) || code == 140 || code == 141) {
    auto* command = dynamic_cast<MQCommandPlugin*>(&station);
    if (command == nullptr) {
      result = 0;
    } else if (code <= 130) {
      result = MouseEvent(*command, document, code, list);
    } else {
      result = KeyEvent(*command, document, code, list);
    }
    return true;
  }
  return false;
}

}  // namespace

int32_t OnEventFor(MQBasePlugin& plugin, DocumentHandle document, int32_t code, void* arguments) {
  if (auto* station = dynamic_cast<MQStationPlugin*>(&plugin)) {
    int32_t result = 0;
    if (StationEvent(*station, document, code, arguments, result)) return result;
  }
  auto* import = dynamic_cast<MQImportPlugin*>(&plugin);
  if (import == nullptr) return 0;
  auto list = static_cast<ArgList>(arguments);
  switch (code) {
    case 300: return import->SupportsBackground();
    case 301:
      import->backgroundFlag = IntArg(list, "background");
      import->backgroundArgs = LookupArgPointer(list, "args");
      return 1;
    default: return 0;
  }
}

}  // namespace tervolin
