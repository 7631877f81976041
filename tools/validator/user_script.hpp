// The random user of a menu pick: clicks buttons, check boxes and radio
// buttons of the operation dialog, presses keys with and without Ctrl, picks
// reference objects, moves, cancels and closes. Every script ends by closing
// the window, so that a run never waits for actions that are not there.
#pragma once

#include <string>
#include <vector>

#include "mqhost/widgets.hpp"
#include "rng.hpp"

namespace validator {

// What the dialog's reference list will hold: "-" and the names of the other
// live objects, in document order.
struct ReferenceList {
  std::vector<std::string> items;
};

std::vector<mqhost::UserAction> RandomScript(Rng& rng, const ReferenceList& list);

// The operation code a run chose, given the action that ended it with the
// modal result 1: the button's or key's code, 0 when the action chooses none.
int OperationOfClosingAction(const mqhost::UserAction& action);

}  // namespace validator
