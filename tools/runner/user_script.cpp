#include "tools/runner/user_script.hpp"

#include "mqhost/widgets.hpp"
#include "tools/runner/dialog_controls.hpp"

namespace runner {

std::string DescribeStep(const ScriptStep& step) {
  switch (step.kind) {
    case ScriptStep::Kind::Click: return "click \"" + step.text + "\"";
    case ScriptStep::Kind::Toggle: return "toggle \"" + step.text + "\"";
    case ScriptStep::Kind::Key: return "key " + step.text;
    case ScriptStep::Kind::PickReference: return "pick reference \"" + step.text + "\"";
    case ScriptStep::Kind::Move: return "move to " + std::to_string(step.x) + "," + std::to_string(step.y);
    case ScriptStep::Kind::Cancel: return "click \"Cancel\"";
    case ScriptStep::Kind::Close: return "close the window";
  }
  return {};
}

namespace {

std::optional<int32_t> OperationOf(const ScriptStep& step) {
  if (step.kind == ScriptStep::Kind::Click) {
    if (const std::optional<OperationInfo> operation = OperationByCaption(step.text)) return operation->code;
  }
  if (step.kind == ScriptStep::Kind::Key) return OperationByKey(step.key, step.ctrl);
  return std::nullopt;
}

}  // namespace

void QueueScript(const std::vector<ScriptStep>& steps) {
  std::vector<mqhost::UserAction> actions;
  for (const ScriptStep& step : steps) {
    switch (step.kind) {
      case ScriptStep::Kind::Click:
      case ScriptStep::Kind::Toggle:
      case ScriptStep::Kind::Cancel: actions.push_back(mqhost::Click(step.text)); break;
      case ScriptStep::Kind::Key: actions.push_back(mqhost::Key(step.key, step.ctrl)); break;
      case ScriptStep::Kind::PickReference: actions.push_back(mqhost::PickItem(step.text)); break;
      case ScriptStep::Kind::Move: actions.push_back(mqhost::MoveDialog(step.x, step.y)); break;
      case ScriptStep::Kind::Close: actions.push_back(mqhost::CloseWindow()); break;
    }
  }
  actions.push_back(mqhost::CloseWindow());
  mqhost::ScriptUser(std::move(actions));
}

DialogOutcome FinishScript(const std::vector<ScriptStep>& steps, std::optional<int32_t>* operation) {
  const mqhost::ModalOutcome modal = mqhost::LastModalOutcome();
  mqhost::ScriptUser({});  // whatever the run left unplayed
  DialogOutcome outcome;
  outcome.ran = modal.ran;
  outcome.modalResult = modal.modalResult;
  outcome.actionsGiven = static_cast<int32_t>(steps.size());
  outcome.actionsPlayed = std::min(modal.actionsPlayed, outcome.actionsGiven);
  outcome.closedByRunner = modal.actionsPlayed > outcome.actionsGiven;
  outcome.ignored = modal.ignored;
  operation->reset();
  if (modal.ran && modal.modalResult == 1 && !outcome.closedByRunner && outcome.actionsPlayed > 0) {
    *operation = OperationOf(steps[outcome.actionsPlayed - 1]);
  }
  return outcome;
}

}  // namespace runner
