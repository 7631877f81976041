// One run of the operation dialog: the options in, the modal run, the chosen
// operation and the options out.
#pragma once

#include <cstdint>

#include "options/options.hpp"
#include "protocol/host_types.hpp"

namespace tervolin {

struct DialogChoice {
  bool confirmed = false;  // closed with the OK result
  int32_t operation = -1;  // the code of the operation chosen; -1 for none
  Options options;         // as the dialog left them, also when cancelled
};

// Runs the dialog over the host's main window. Once its widgets exist the
// store loads the options (over `start`); before they are deleted it saves
// them as the dialog left them, whatever closed it.
DialogChoice RunDialog(DocumentHandle document, const Options& start, OptionsStore& store);

}  // namespace tervolin
