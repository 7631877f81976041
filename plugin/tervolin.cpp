#include "plugin/tervolin.hpp"

namespace tervolin {

namespace {
constexpr const char* kNameBanner = "Tervolin ver.1.0b Copyright(C) 2026, the Tervolin team";
constexpr const char* kMenuString = "Tervolin";
}  // namespace

void Tervolin::GetPlugInID(uint32_t* product, uint32_t* id) {
  if (product != nullptr) *product = kProductId;
  if (id != nullptr) *id = kPluginId;
}

const char* Tervolin::GetPlugInName() { return kNameBanner; }

int32_t Tervolin::GetPlugInType() { return kPluginObject; }

const char* Tervolin::EnumString(int32_t index) { return index == 0 ? kMenuString : nullptr; }

int32_t Tervolin::Execute(int32_t index, DocumentHandle document) {
  if (index != 0) return 0;
  return Execute(document);
}

Tervolin& PluginInstance() {
  static Tervolin instance;
  return instance;
}

}  // namespace tervolin
