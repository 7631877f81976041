// The replacement host's scene-file loader on arbitrary text: it must refuse
// with a message or give a document that saves and loads back to the same
// scene text, and never record a protocol error while doing so.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  mqhost::ClearProtocolErrors();
  const DocumentHandle document = mqhost::ParseScene(text, &error);
  if (document == nullptr) {
    if (error.empty()) std::abort();  // a refusal names its reason
    return 0;
  }
  const std::string saved = mqhost::SceneText(document);
  std::string again;
  const DocumentHandle reloaded = mqhost::ParseScene(saved, &again);
  if (reloaded == nullptr) std::abort();  // what the host writes, it reads back
  if (mqhost::SceneText(reloaded) != saved) std::abort();
  mqhost::DestroyDocument(reloaded);
  mqhost::DestroyDocument(document);
  return 0;
}
