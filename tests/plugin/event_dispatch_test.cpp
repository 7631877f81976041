// The export layer's dispatch to the plug-in kinds other than this object
// plug-in: MQOnEvent's station, command and import rows and the file
// enumerations, driven with plug-in objects of those kinds. Each records the
// last operation it was asked for. Tervolin reaches none of these rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "plugin/export_layer.hpp"
#include "plugin/tervolin.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace tervolin;

struct Call {
  std::string name;
  int32_t a = 0;
  int32_t b = 0;
  const void* p = nullptr;
  MouseState mouse{};
};

class RecordingStation : public MQStationPlugin {
 public:
  Call last;
  int32_t answer = 42;
  void GetPlugInID(uint32_t* product, uint32_t* id) override {
    *product = 1;
    *id = 2;
  }
  const char* GetPlugInName() override { return "station"; }
  int32_t GetPlugInType() override { return kPluginStation; }
  const char* EnumString() override { return "Station"; }
  const char* EnumSubCommand(int32_t index) override {
    last = {"EnumSubCommand", index};
    return "sub";
  }
  const char16_t* GetSubCommandString(int32_t index) override {
    last = {"GetSubCommandString", index};
    return u"wide";
  }
  int32_t Initialize() override {
    last = {"Initialize"};
    return answer;
  }
  void Exit() override { last = {"Exit"}; }
  int32_t Activate(DocumentHandle, int32_t flag) override {
    last = {"Activate", flag};
    return answer;
  }
  int32_t IsActivated(DocumentHandle) override {
    last = {"IsActivated"};
    return answer;
  }
  int32_t OnSubCommand(DocumentHandle, int32_t index) override {
    last = {"OnSubCommand", index};
    return answer;
  }
  void OnMinimize(DocumentHandle, int32_t flag) override { last = {"OnMinimize", flag}; }
  int32_t OnReceiveUserMessage(DocumentHandle, uint32_t product, uint32_t id, const char* description,
                               void*) override {
    last = {"OnReceiveUserMessage", static_cast<int32_t>(product), static_cast<int32_t>(id), description};
    return answer;
  }
  void OnDraw(DocumentHandle, SceneHandle scene, int32_t width, int32_t height) override {
    last = {"OnDraw", width, height, scene};
  }
  void OnNewDocument(DocumentHandle, const char* file, NewDocumentParam& param) override {
    last = {"OnNewDocument", 0, 0, file};
    last.mouse.x = param.xmlElement != nullptr;
  }
  void OnSaveDocument(DocumentHandle, const char* file, SaveDocumentParam& param) override {
    last = {"OnSaveDocument", 0, 0, file};
    param.saveUniqueId = setSaveUid ? 1 : 0;
  }
  bool setSaveUid = false;
  int32_t OnUndo(DocumentHandle, int32_t state) override {
    last = {"OnUndo", state};
    return answer;
  }
  int32_t OnRedo(DocumentHandle, int32_t state) override {
    last = {"OnRedo", state};
    return answer;
  }
  void OnUpdateUndo(DocumentHandle, int32_t state, int32_t size) override {
    last = {"OnUpdateUndo", state, size};
  }
  void OnObjectModified(DocumentHandle) override { last = {"OnObjectModified"}; }
  void OnObjectSelected(DocumentHandle) override { last = {"OnObjectSelected"}; }
  void OnUpdateObjectList(DocumentHandle) override { last = {"OnUpdateObjectList"}; }
  void OnMaterialModified(DocumentHandle) override { last = {"OnMaterialModified"}; }
  void OnUpdateMaterialList(DocumentHandle) override { last = {"OnUpdateMaterialList"}; }
  void OnUpdateScene(DocumentHandle, SceneHandle scene) override { last = {"OnUpdateScene", 0, 0, scene}; }
  void OnChangeEditOption(DocumentHandle, int32_t trigger) override {
    last = {"OnChangeEditOption", trigger};
  }
};

class RecordingCommand : public MQCommandPlugin {
 public:
  Call last;
  void GetPlugInID(uint32_t*, uint32_t*) override {}
  const char* GetPlugInName() override { return "command"; }
  int32_t GetPlugInType() override { return kPluginCommand; }
  const char* EnumString() override { return "Command"; }
  int32_t Record(const char* name, MouseState& state, int32_t key = 0) {
    last = {name, key};
    last.mouse = state;
    return 7;
  }
  int32_t OnLeftButtonDown(DocumentHandle, SceneHandle, MouseState& s) override {
    return Record("LeftDown", s);
  }
  int32_t OnMiddleButtonUp(DocumentHandle, SceneHandle, MouseState& s) override {
    return Record("MiddleUp", s);
  }
  int32_t OnMouseWheel(DocumentHandle, SceneHandle, MouseState& s) override { return Record("Wheel", s); }
  int32_t OnKeyDown(DocumentHandle, SceneHandle, int32_t key, MouseState& s) override {
    return Record("KeyDown", s, key);
  }
  int32_t OnKeyUp(DocumentHandle, SceneHandle, int32_t key, MouseState& s) override {
    return Record("KeyUp", s, key);
  }
};

class RecordingImport : public MQImportPlugin {
 public:
  void GetPlugInID(uint32_t*, uint32_t*) override {}
  const char* GetPlugInName() override { return "import"; }
  int32_t GetPlugInType() override { return kPluginImport; }
  const char* EnumFileType(int32_t index) override { return index == 0 ? "Text (*.txt)" : nullptr; }
  const char* EnumFileExt(int32_t index) override { return index == 0 ? "txt" : nullptr; }
  int32_t ProcessFile(int32_t index, void*, void*) override { return 100 + index; }
  int32_t SupportsBackground() override { return 5; }
};

char* Name(const char* text) { return const_cast<char*>(text); }

TEST(EventDispatch, StationRowsCallTheirOperationAndReturnTheRowsResult) {
  RecordingStation station;
  EXPECT_EQ(OnEventFor(station, nullptr, 1, nullptr), 42);
  EXPECT_EQ(station.last.name, "Initialize");
  EXPECT_EQ(OnEventFor(station, nullptr, 2, nullptr), 1);
  EXPECT_EQ(station.last.name, "Exit");

  int32_t index = 3;
  const char* result = nullptr;
  void* enumList[] = {Name("index"), &index, Name("result"), static_cast<void*>(&result), nullptr};
  EXPECT_EQ(OnEventFor(station, nullptr, 3, enumList), 1);
  EXPECT_EQ(station.last.a, 3);
  EXPECT_STREQ(result, "sub");
  const char16_t* wide = nullptr;
  void* wideList[] = {Name("result"), static_cast<void*>(&wide), nullptr};
  EXPECT_EQ(OnEventFor(station, nullptr, 4, wideList), 1);
  EXPECT_EQ(station.last.a, 0);  // missing index reads 0
  EXPECT_EQ(std::u16string(wide), u"wide");

  int32_t flag = 1;
  EXPECT_EQ(OnEventFor(station, nullptr, 100, &flag), 42);
  EXPECT_EQ(station.last.a, 1);
  EXPECT_EQ(OnEventFor(station, nullptr, 102, &flag), 1);
  EXPECT_EQ(station.last.name, "OnMinimize");
  EXPECT_EQ(OnEventFor(station, nullptr, 101, nullptr), 42);
  EXPECT_EQ(OnEventFor(station, nullptr, 104, enumList), 42);
  EXPECT_EQ(station.last.name, "OnSubCommand");
}

TEST(EventDispatch, StationRowsReadTheirNamedArgumentsAndDefaults) {
  RecordingStation station;
  void* noArgs[] = {nullptr};
  EXPECT_EQ(OnEventFor(station, nullptr, 110, noArgs), 1);
  EXPECT_EQ(station.last.name, "OnDraw");
  EXPECT_EQ(station.last.a, 1);  // width defaults to 1
  EXPECT_EQ(station.last.b, 1);  // height defaults to 1

  uint32_t product = 0xE3F7A830u;
  int32_t id = 9;
  int32_t answer = 0;
  void* message[] = {Name("src_product"), &product,       Name("src_id"), &id,    Name("description"),
                     Name("hello"),       Name("result"), &answer,        nullptr};
  station.answer = 77;
  EXPECT_EQ(OnEventFor(station, nullptr, 103, message), 1);
  EXPECT_EQ(static_cast<uint32_t>(station.last.a), 0xE3F7A830u);
  EXPECT_EQ(station.last.b, 9);
  EXPECT_STREQ(static_cast<const char*>(station.last.p), "hello");
  EXPECT_EQ(answer, 77);

  int32_t state = 4;
  int32_t size = 1024;
  void* undo[] = {Name("state"), &state, Name("size"), &size, nullptr};
  EXPECT_EQ(OnEventFor(station, nullptr, 210, undo), 77);
  EXPECT_EQ(station.last.name, "OnUndo");
  EXPECT_EQ(OnEventFor(station, nullptr, 211, undo), 77);
  EXPECT_EQ(station.last.name, "OnRedo");
  EXPECT_EQ(OnEventFor(station, nullptr, 212, undo), 1);
  EXPECT_EQ(station.last.a, 4);
  EXPECT_EQ(station.last.b, 1024);

  const struct {
    int32_t code;
    const char* name;
  } notices[] = {{201, "OnEndDocument"},    {220, "OnUpdateObjectList"},   {221, "OnObjectModified"},
                 {222, "OnObjectSelected"}, {230, "OnUpdateMaterialList"}, {231, "OnMaterialModified"},
                 {240, "OnUpdateScene"}};
  for (const auto& notice : notices) {
    station.last = {};
    EXPECT_EQ(OnEventFor(station, nullptr, notice.code, noArgs), 1);
    if (notice.code != 201) {
      EXPECT_EQ(station.last.name, notice.name);
    }
  }
}

TEST(EventDispatch, SaveDocumentReportsTheHandlersUniqueIdRequest) {
  RecordingStation station;
  int32_t saveUid = 0;
  int element = 0;
  void* list[] = {Name("xml_elem"), &element, Name("filename"), Name("saved-scene.tvl"),
                  Name("save_uid"), &saveUid, nullptr};
  EXPECT_EQ(OnEventFor(station, nullptr, 202, list), 1);
  EXPECT_EQ(saveUid, 0);
  station.setSaveUid = true;
  EXPECT_EQ(OnEventFor(station, nullptr, 202, list), 1);
  EXPECT_EQ(saveUid, 1);
  EXPECT_STREQ(static_cast<const char*>(station.last.p), "saved-scene.tvl");
  EXPECT_EQ(OnEventFor(station, nullptr, 200, list), 1);
  EXPECT_EQ(station.last.mouse.x, 1);  // the element reached the handler
}

TEST(EventDispatch, EditOptionTriggerTextsMapToValues) {
  RecordingStation station;
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {{"screen", 1}, {"world", 2}, {"local", 3}, {"World", 0}, {"worldx", 0}};
  for (const auto& c : cases) {
    void* list[] = {Name("trigger"), Name(c.text), nullptr};
    EXPECT_EQ(OnEventFor(station, nullptr, 250, list), 1);
    EXPECT_EQ(station.last.a, c.value) << c.text;
  }
  void* none[] = {nullptr};
  EXPECT_EQ(OnEventFor(station, nullptr, 250, none), 1);
  EXPECT_EQ(station.last.a, 0);
}

// One list for both kinds: mouse events read the position, wheel, pressure and
// button flags; key events only the key and the flags. Only a command plug-in
// receives them.
TEST(EventDispatch, MouseAndKeyEventsReadTheirOwnFields) {
  RecordingCommand command;
  int32_t key = 0x41, buttons = 0x11, x = 10, y = 20, wheel = -120;
  float pressure = 0.5f;
  host_testing::ArgList args;
  args.Add("key", &key).Add("button_state", &buttons).Add("mouse_pos_x", &x).Add("mouse_pos_y", &y);
  args.Add("mouse_wheel", &wheel).Add("pressure", &pressure);
  void** list = args.data();
  // A station gets none of them.
  RecordingStation station;
  for (int32_t code : {120, 125, 130, 140, 141})
    EXPECT_EQ(OnEventFor(station, nullptr, code, list), 0) << code;
  EXPECT_EQ(OnEventFor(command, nullptr, 120, list), 7);
  EXPECT_EQ(command.last.name, "LeftDown");
  const MouseState& s = command.last.mouse;
  EXPECT_EQ(std::make_tuple(s.x, s.y, s.wheel, s.pressure), std::make_tuple(10, 20, -120, 0.5f));
  EXPECT_EQ(s.leftButton, 1);
  EXPECT_EQ(s.middleButton, 1);
  EXPECT_EQ(s.rightButton + s.shiftKey + s.ctrlKey + s.bit5Flag, 0);

  buttons = 0x2E;  // right, shift, ctrl, bit 5
  EXPECT_EQ(OnEventFor(command, nullptr, 125, list), 7);
  EXPECT_EQ(command.last.name, "MiddleUp");
  EXPECT_EQ(s.leftButton + s.middleButton, 0);
  EXPECT_EQ(s.rightButton + s.shiftKey + s.ctrlKey + s.bit5Flag, 4);
  EXPECT_EQ(OnEventFor(command, nullptr, 130, list), 7);
  EXPECT_EQ(command.last.name, "Wheel");

  buttons = 0x08;
  EXPECT_EQ(OnEventFor(command, nullptr, 140, list), 7);
  EXPECT_EQ(command.last.name, "KeyDown");
  EXPECT_EQ(command.last.a, 0x41);
  EXPECT_EQ(std::make_tuple(s.x, s.y, s.wheel, s.pressure), std::make_tuple(0, 0, 0, 0.0f));
  EXPECT_EQ(s.ctrlKey, 1);
  EXPECT_EQ(OnEventFor(command, nullptr, 141, list), 7);
  EXPECT_EQ(command.last.name, "KeyUp");
}

TEST(EventDispatch, ImportRowsAskForBackgroundSupportAndStoreTheBackgroundArguments) {
  RecordingImport import;
  EXPECT_EQ(OnEventFor(import, nullptr, 300, nullptr), 5);
  int32_t background = 1;
  int args = 0;
  void* list[] = {Name("background"), &background, Name("args"), &args, nullptr};
  EXPECT_EQ(OnEventFor(import, nullptr, 301, list), 1);
  EXPECT_EQ(import.backgroundFlag, 1);
  EXPECT_EQ(import.backgroundArgs, &args);
  EXPECT_EQ(OnEventFor(import, nullptr, 1, list), 0);
  EXPECT_EQ(OnEventFor(import, nullptr, 302, list), 0);
}

TEST(ExportLayer, EnumerationsFollowThePluginKindAndTheVersionCompareIsUnsigned) {
  RecordingStation station;
  RecordingImport import;
  EXPECT_STREQ(EnumStringFor(station, 0), "Station");
  EXPECT_EQ(EnumStringFor(station, 1), nullptr);
  EXPECT_EQ(EnumStringFor(import, 0), nullptr);
  EXPECT_STREQ(EnumFileTypeFor(import, 0), "Text (*.txt)");
  EXPECT_STREQ(EnumFileExtFor(import, 0), "txt");
  EXPECT_EQ(EnumFileExtFor(station, 0), nullptr);
  EXPECT_EQ(ProcessFileFor(import, 2, nullptr, nullptr), 102);
  EXPECT_EQ(MenuCommandFor(station, 0, nullptr), 0);
  EXPECT_EQ(CheckHostVersion(0xFFFFFFFFu), 0x451u);
  EXPECT_EQ(CheckHostVersion(0), 0u);
}

}  // namespace
