#include "plugin/tervolin.hpp"

namespace tervolin {

// The menu pick does nothing yet: the dialog and the operations are still
// being built, and until they are, a pick answers "not done".
int32_t Tervolin::Execute(DocumentHandle document) {
  (void)document;
  return 0;
}

}  // namespace tervolin
