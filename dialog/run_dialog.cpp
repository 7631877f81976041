// Stand-in for the operation dialog's run until the dialog itself is built;
// the dialog replaces this file. Without a dialog nothing is ever confirmed.
#include "plugin/tervolin.hpp"

namespace tervolin {

bool Tervolin::RunDialog(DocumentHandle document) {
  (void)document;
  return false;
}

}  // namespace tervolin
