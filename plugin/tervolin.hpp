// The plug-in object: the one `Tervolin` a library load has. It answers the
// host's identity and menu questions, keeps the options between picks, stores
// them in the host's settings tree (plugin/settings.cpp), and wires one menu
// pick together: the dialog (dialog/), then the chosen operation
// (operations/).
#pragma once

#include <cstdint>

#include "options/options.hpp"
#include "plugin/plugin_kinds.hpp"

namespace tervolin {

class MQSetting;

inline constexpr uint32_t kProductId = 0xE3F7A830u;
inline constexpr uint32_t kPluginId = 0xBD9A187Au;

class Tervolin final : public MQObjectPlugin, public OptionsStore {
 public:
  Tervolin() = default;
  ~Tervolin() override = default;

  // Identity and menu.
  void GetPlugInID(uint32_t* product, uint32_t* id) override;
  const char* GetPlugInName() override;
  int32_t GetPlugInType() override;
  const char* EnumString(int32_t index) override;
  // Index 0 is the one menu entry; any other index does nothing.
  int32_t Execute(int32_t index, DocumentHandle document) override;

  // One menu pick: dialog, check of the current object, the chosen operation.
  int32_t Execute(DocumentHandle document);

  // Settings in the host's tree. The caller deletes what OpenSettings returns.
  MQSetting* OpenSettings();
  // The persisted options to and from the plug-in's section; the others are
  // left as they are.
  void LoadSettings(Options& values) override;
  void SaveSettings(const Options& values) override;

  // State kept between picks; see plugin/settings.cpp for what persists.
  Options options;
  // The code the last dialog chose; -1 for none.
  int32_t operation = -1;
};

// The one plug-in object, built on first use (thread-safe) and destroyed when
// the library is unloaded.
Tervolin& PluginInstance();

}  // namespace tervolin
