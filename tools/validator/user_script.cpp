#include "user_script.hpp"

#include <cstring>

namespace validator {

namespace {

struct Operation {
  const char* caption;
  int code;
};

// The dialog's captions and codes as the validator knows them: its own copy,
// kept apart from the plug-in's table on purpose, so that a wrong caption or
// code there fails a pick here instead of agreeing with itself.
const Operation kOperationButtons[] = {{"Center of (&V)ertexes", 1},
                                       {"Center of the O(&b)ject", 2},
                                       {"(&L)ine", 3},
                                       {"(&N)ormal of a Face", 4},
                                       {"(&O)rigin to Vertex", 5},
                                       {"(&C)amera", 6},
                                       {"Copy", 7},
                                       {"&X", 8},
                                       {"&Y", 9},
                                       {"&Z", 10},
                                       {"X", 11},
                                       {"Y", 12},
                                       {"Z", 13},
                                       {"S", 14},
                                       {"R", 15},
                                       {"Clear", 16}};

const char* const kToggles[] = {"(&R)otate",    "(&S)cale",     "(&T)rans", "(&g)lobal",
                                "Trans(&f)orm", "set to Y(&A)", "set to X"};

// Letters with a meaning in the dialog, and a few without.
const char kKeys[] =
    "ABCFGLNORSTVXYZ"
    "DHKQ";

mqhost::UserAction RandomKey(Rng& rng) {
  const uint32_t kind = rng.Below(20);
  if (kind == 0) return mqhost::Key(0x1B);                                   // Escape: cancels
  if (kind == 1) return mqhost::Key(rng.Between(0, 0x7F), rng.Percent(30));  // anything
  return mqhost::Key(kKeys[rng.Below(sizeof kKeys - 1)], rng.Percent(25));
}

mqhost::UserAction RandomAction(Rng& rng, const ReferenceList& list) {
  switch (rng.Below(10)) {
    case 0:
    case 1:
    case 2: return mqhost::Click(kToggles[rng.Below(std::size(kToggles))]);
    case 3:
    case 4: return RandomKey(rng);
    case 5:
      if (list.items.empty()) break;
      if (rng.Percent(50))
        return mqhost::PickItemAt(static_cast<int32_t>(rng.Below(static_cast<uint32_t>(list.items.size()))));
      return mqhost::PickItem(list.items[rng.Below(static_cast<uint32_t>(list.items.size()))]);
    case 6: return mqhost::MoveDialog(rng.Between(-50, 2000), rng.Between(-50, 1200));
    default: break;
  }
  return mqhost::Click(kOperationButtons[rng.Below(std::size(kOperationButtons))].caption);
}

}  // namespace

std::vector<mqhost::UserAction> RandomScript(Rng& rng, const ReferenceList& list) {
  std::vector<mqhost::UserAction> actions;
  const int count = rng.Between(0, 7);
  for (int i = 0; i < count; ++i) actions.push_back(RandomAction(rng, list));
  // The ending: mostly an operation, sometimes a cancel.
  const uint32_t ending = rng.Below(20);
  if (ending == 0) {
    actions.push_back(mqhost::Click("Cancel"));
  } else if (ending == 1) {
    actions.push_back(mqhost::CloseWindow());
  } else if (ending < 6) {
    actions.push_back(RandomKey(rng));
  } else {
    actions.push_back(mqhost::Click(kOperationButtons[rng.Below(std::size(kOperationButtons))].caption));
  }
  actions.push_back(mqhost::CloseWindow());  // when nothing before closed the dialog
  return actions;
}

int OperationOfClosingAction(const mqhost::UserAction& action) {
  if (action.kind == mqhost::UserAction::Kind::Click) {
    for (const Operation& operation : kOperationButtons) {
      if (action.text == operation.caption) return operation.code;
    }
    return 0;
  }
  if (action.kind != mqhost::UserAction::Kind::Key) return 0;
  if (action.ctrl && action.key == 'C') return 14;
  if (action.ctrl && action.key == 'V') return 15;
  switch (action.key) {
    case 'B': return 2;
    case 'C': return 6;
    case 'L': return 3;
    case 'N': return 4;
    case 'O': return 5;
    case 'V': return 1;
    case 'X': return 8;
    case 'Y': return 9;
    case 'Z': return 10;
    default: return 0;
  }
}

}  // namespace validator
