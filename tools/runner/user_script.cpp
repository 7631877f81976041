#include "tools/runner/user_script.hpp"

#include "mqhost/widgets.hpp"
#include "tools/runner/dialog_controls.hpp"
#include "tools/runner/dialog_svg.hpp"

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

bool DisabledIn(const DialogNode& node, const std::string& caption) {
  if (node.caption == caption && !node.enabled) return true;
  for (const DialogNode& child : node.children) {
    if (DisabledIn(child, caption)) return true;
  }
  return false;
}

// Why a key the dialog was given did nothing, or nothing when it acted. The
// host cannot tell: the dialog takes every key, acting on some. A key that
// chooses an operation acts by closing the dialog with OK, so one after which
// the script went on, or the runner had to close the window, did nothing.
std::string IgnoredKey(const ScriptStep& step, int32_t index, const DialogOutcome& outcome) {
  const std::string control = KeyControl(step.key, step.ctrl);
  if (control.empty()) return "key " + step.text + ": no control answers this key";
  if (!OperationByKey(step.key, step.ctrl)) return {};
  const bool closedTheDialog =
      index == outcome.actionsTaken - 1 && !outcome.closedByRunner && outcome.modalResult == 1;
  if (closedTheDialog) return {};
  DialogNode dialog;
  const bool disabled = LastDialogTree(&dialog) && DisabledIn(dialog, control);
  return "key " + step.text + ": \"" + control + "\"" + (disabled ? " is disabled" : " did not act");
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
  outcome.actionsTaken = std::min(modal.actionsPlayed, outcome.actionsGiven);
  outcome.closedByRunner = modal.actionsPlayed > outcome.actionsGiven;
  outcome.ignored = modal.ignored;
  for (int32_t index = 0; index < outcome.actionsTaken; ++index) {
    if (steps[index].kind != ScriptStep::Kind::Key) continue;
    const std::string why = IgnoredKey(steps[index], index, outcome);
    if (!why.empty()) outcome.ignored.push_back(why);
  }
  operation->reset();
  if (modal.ran && modal.modalResult == 1 && !outcome.closedByRunner && outcome.actionsTaken > 0) {
    *operation = OperationOf(steps[outcome.actionsTaken - 1]);
  }
  return outcome;
}

}  // namespace runner
