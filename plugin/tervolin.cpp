#include "plugin/tervolin.hpp"

#include "dialog/run_dialog.hpp"
#include "geometry/cmq_object.hpp"
#include "operations/operations.hpp"

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

int32_t Tervolin::Execute(DocumentHandle document) {
  const DialogChoice choice = RunDialog(document, options, *this);
  options = choice.options;
  operation = choice.operation;
  // A cancelled dialog has saved its options already; the document is untouched.
  if (!choice.confirmed) return 0;

  cmq::CMQObject current = cmq::CMQObject::Current(document);
  if (!current.IsValid()) return 0;

  // A confirmed dialog without a known operation has nothing to do.
  if (operation < OpCenterOfVertices || operation > OpClear) return 1;
  return DispatchOperation(document, current, operation, options);
}

Tervolin& PluginInstance() {
  static Tervolin instance;
  return instance;
}

}  // namespace tervolin
