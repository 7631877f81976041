// The plug-in class chain and the other plug-in kinds the export layer serves.
//
// Generic part: Tervolin is an object plug-in and reaches only MQBasePlugin,
// MQMenuBasePlugin and MQObjectPlugin. The file (import, export), station and
// command kinds are here because the export contract dispatches to them; this
// plug-in does not reach them (their tests: tests/plugin/event_dispatch_test.cpp).
//
// The export layer is generic: it reaches a plug-in object through these
// classes, choosing by the kind the object reports or by a run-time type test.
// The slot numbers in the comments are the positions in each kind's virtual
// table that the host interface is written against; slots 0 to 4 are shared by
// every kind (0 is the destructor).
#pragma once

#include <cstdint>

#include "protocol/host_types.hpp"

namespace tervolin {

// Plug-in types as MQGetPlugInType reports them.
enum PluginType : int32_t {
  kPluginImport = 1,
  kPluginExport = 2,
  kPluginCreate = 3,
  kPluginObject = 4,
  kPluginSelect = 5,
  kPluginStation = 6,
  kPluginCommand = 7,
};

// The vtable slots are numbered in one column across the classes.
// clang-format off
class MQBasePlugin {
 public:
  virtual ~MQBasePlugin() = default;                                            // 0
  virtual void GetPlugInID(uint32_t* product, uint32_t* id) = 0;                // 1
  virtual const char* GetPlugInName() = 0;                                      // 2
  virtual int32_t GetPlugInType() = 0;                                          // 3
};

// Menu plug-ins (create, object, select): one or more menu strings and a
// command per string.
class MQMenuBasePlugin : public MQBasePlugin {
 public:
  virtual const char* EnumString(int32_t index) = 0;                           // 4
  virtual int32_t Execute(int32_t index, DocumentHandle document) = 0;          // 5
};

class MQObjectPlugin : public MQMenuBasePlugin {};

// File plug-ins (import, export).
class MQFilePlugin : public MQBasePlugin {
 public:
  virtual const char* EnumFileType(int32_t index) = 0;                         // 4
  virtual const char* EnumFileExt(int32_t index) = 0;                          // 5
  // ImportFile for an import plug-in, ExportFile for an export plug-in.
  virtual int32_t ProcessFile(int32_t index, void* first, void* second) = 0;   // 6
};

class MQImportPlugin : public MQFilePlugin {
 public:
  virtual int32_t SupportsBackground() = 0;                                    // 7
  // Set by event 301.
  int32_t backgroundFlag = 0;
  void* backgroundArgs = nullptr;
};

class MQExportPlugin : public MQFilePlugin {};

// What MQOnEvent passes to a command plug-in's mouse and key operations.
struct MouseState {
  int32_t x;
  int32_t y;
  int32_t wheel;
  int32_t leftButton;    // bit 0x01 of "button_state"
  int32_t middleButton;  // bit 0x10
  int32_t rightButton;   // bit 0x02
  int32_t shiftKey;      // bit 0x04
  int32_t ctrlKey;       // bit 0x08
  int32_t bit5Flag;      // bit 0x20
  float pressure;
};

struct NewDocumentParam {
  void* xmlElement;
};

struct SaveDocumentParam {
  void* xmlElement;
  int32_t saveUniqueId;  // set by the handler to ask for unique IDs to be saved
};

// Resident plug-ins that receive document events.
class MQStationPlugin : public MQBasePlugin {
 public:
  virtual const char* EnumString() = 0;                                              // 4
  virtual const char* EnumSubCommand(int32_t index) { (void)index; return nullptr; }  // 5
  virtual const char16_t* GetSubCommandString(int32_t index) { (void)index; return nullptr; }  // 6
  virtual int32_t Initialize() { return 0; }                                         // 7
  virtual void Exit() {}                                                             // 8
  virtual int32_t Activate(DocumentHandle, int32_t flag) { return flag; }            // 9
  virtual int32_t IsActivated(DocumentHandle) { return 0; }                          // 10
  virtual int32_t OnSubCommand(DocumentHandle, int32_t) { return 0; }                // 11
  virtual void OnMinimize(DocumentHandle, int32_t) {}                                // 12
  virtual int32_t OnReceiveUserMessage(DocumentHandle, uint32_t, uint32_t, const char*, void*) { return 0; }  // 13
  virtual void OnDraw(DocumentHandle, SceneHandle, int32_t, int32_t) {}              // 14
  virtual void OnNewDocument(DocumentHandle, const char*, NewDocumentParam&) {}      // 15
  virtual void OnEndDocument(DocumentHandle) {}                                      // 16
  virtual void OnSaveDocument(DocumentHandle, const char*, SaveDocumentParam&) {}    // 17
  virtual int32_t OnUndo(DocumentHandle, int32_t) { return 0; }                      // 18
  virtual int32_t OnRedo(DocumentHandle, int32_t) { return 0; }                      // 19
  virtual void OnUpdateUndo(DocumentHandle, int32_t, int32_t) {}                     // 20
  virtual void OnObjectModified(DocumentHandle) {}                                   // 21
  virtual void OnObjectSelected(DocumentHandle) {}                                   // 22
  virtual void OnUpdateObjectList(DocumentHandle) {}                                 // 23
  virtual void OnMaterialModified(DocumentHandle) {}                                 // 24
  virtual void OnUpdateMaterialList(DocumentHandle) {}                               // 25
  virtual void OnUpdateScene(DocumentHandle, SceneHandle) {}                         // 26
  virtual void OnChangeEditOption(DocumentHandle, int32_t) {}                        // 27
};

// Station plug-ins that take over the mouse and keyboard in the view.
class MQCommandPlugin : public MQStationPlugin {
 public:
  virtual void OnCommandReserved(DocumentHandle) {}                                          // 28
  virtual int32_t OnLeftButtonDown(DocumentHandle, SceneHandle, MouseState&) { return 0; }    // 29
  virtual int32_t OnLeftButtonMove(DocumentHandle, SceneHandle, MouseState&) { return 0; }    // 30
  virtual int32_t OnLeftButtonUp(DocumentHandle, SceneHandle, MouseState&) { return 0; }      // 31
  virtual int32_t OnMiddleButtonDown(DocumentHandle, SceneHandle, MouseState&) { return 0; }  // 32
  virtual int32_t OnMiddleButtonMove(DocumentHandle, SceneHandle, MouseState&) { return 0; }  // 33
  virtual int32_t OnMiddleButtonUp(DocumentHandle, SceneHandle, MouseState&) { return 0; }    // 34
  virtual int32_t OnRightButtonDown(DocumentHandle, SceneHandle, MouseState&) { return 0; }   // 35
  virtual int32_t OnRightButtonMove(DocumentHandle, SceneHandle, MouseState&) { return 0; }   // 36
  virtual int32_t OnRightButtonUp(DocumentHandle, SceneHandle, MouseState&) { return 0; }     // 37
  virtual int32_t OnMouseMove(DocumentHandle, SceneHandle, MouseState&) { return 0; }         // 38
  virtual int32_t OnMouseWheel(DocumentHandle, SceneHandle, MouseState&) { return 0; }        // 39
  virtual int32_t OnKeyDown(DocumentHandle, SceneHandle, int32_t, MouseState&) { return 0; }  // 40
  virtual int32_t OnKeyUp(DocumentHandle, SceneHandle, int32_t, MouseState&) { return 0; }    // 41
};
// clang-format on

}  // namespace tervolin
