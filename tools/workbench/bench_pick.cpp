// The menu pick, the dialog's run with the page as its user, and the history
// of picks that undo and redo walk.
#include <algorithm>
#include <cstring>
#include <set>

#include "mqhost/error_log.hpp"
#include "tools/runner/clipboard_access.hpp"
#include "tools/runner/dialog_controls.hpp"
#include "tools/runner/report.hpp"
#include "tools/runner/run_error.hpp"
#include "tools/runner/scene_input.hpp"
#include "tools/runner/settings_glue.hpp"
#include "tools/runner/user_script.hpp"
#include "tools/workbench/bench.hpp"
#include "tools/workbench/bench_detail.hpp"
#include "tools/workbench/clipboard_service.hpp"

namespace workbench {

using detail::IsDialogAction;
using detail::TreeJson;
using nlohmann::json;

void Bench::Restore(const std::vector<std::optional<mqhost::ObjectData>>& objects) {
  for (size_t index = 0; index < objects.size(); ++index) {
    const auto slot = static_cast<int32_t>(index);
    if (!objects[index] || !mqhost::HasObject(document_, slot)) continue;
    // A frame alone is not worth sending the geometry again.
    const bool geometry = !SameGeometry(mqhost::GetObject(document_, slot), *objects[index]);
    mqhost::SetObject(document_, slot, *objects[index]);
    if (geometry) Touch(slot);
    Refresh(slot);
  }
}

Reply Bench::UndoRedo(bool undo) {
  if (undo ? done_ == 0 : done_ == history_.size()) {
    return ErrorReply(409, undo ? "nothing to undo" : "nothing to redo");
  }
  if (undo) {
    --done_;
    Restore(history_[done_].before);
  } else {
    Restore(history_[done_].after);
    ++done_;
  }
  ghosts_.clear();
  ++version_;
  return State();
}

mqhost::UserAction Bench::NextAction(const mqhost::WidgetSnapshot& dialog,
                                     const mqhost::ModalOutcome& sofar) {
  dialogOpen_ = true;
  dialogTree_ = TreeJson(dialog);
  const bool lastIgnored = sofar.ignored.size() > ignored_.size();
  ignored_ = sofar.ignored;
  ++version_;
  if (waiting_) {
    json state = StateJson();
    state["ignored"] = lastIgnored ? json(ignored_.back()) : json(nullptr);
    waiting_->Answer(JsonReply(200, state));
    waiting_.reset();
  }
  while (!stopping_) {
    std::shared_ptr<Job> job = queue_.Take();
    if (!job) break;
    if (!IsDialogAction(job->op)) {
      Handle(job);
      continue;
    }
    try {
      runner::ScriptStep step;
      mqhost::UserAction action;
      const json& args = job->args;
      if (job->op == "click") {
        step.text = args.at("caption").get<std::string>();
        const std::optional<runner::ControlKind> kind = runner::ControlByCaption(step.text);
        step.kind = kind == runner::ControlKind::CheckBox ? runner::ScriptStep::Kind::Toggle
                                                          : runner::ScriptStep::Kind::Click;
        if (step.text == "Cancel") step.kind = runner::ScriptStep::Kind::Cancel;
        action = mqhost::Click(step.text);
      } else if (job->op == "key") {
        step.kind = runner::ScriptStep::Kind::Key;
        step.text = args.at("key").get<std::string>();
        if (!runner::ParseKey(step.text, &step.key, &step.ctrl)) {
          throw runner::RunError("\"key\": \"" + step.text +
                                 "\" is not a key (a letter, ctrl+LETTER or escape)");
        }
        action = mqhost::Key(step.key, step.ctrl);
      } else if (job->op == "pick_item") {
        step.kind = runner::ScriptStep::Kind::PickReference;
        step.text = args.at("text").get<std::string>();
        action = mqhost::PickItem(step.text);
      } else {
        step.kind = runner::ScriptStep::Kind::Close;
        action = mqhost::CloseWindow();
      }
      steps_.push_back(step);
      waiting_ = job;
      return action;
    } catch (const runner::RunError& error) {
      job->Answer(ErrorReply(400, error.what()));
    } catch (const json::exception& error) {
      job->Answer(ErrorReply(400, std::string("malformed arguments: ") + error.what()));
    }
  }
  // The workbench is stopping: the dialog's window is closed.
  stopping_ = true;
  steps_.push_back(runner::ScriptStep{});
  return mqhost::CloseWindow();
}

void Bench::Pick(const std::shared_ptr<Job>& job) {
  if (mqhost::CurrentObjectIndex(document_) < 0) {
    job->Answer(ErrorReply(409, "the scene has no current object: choose one first"));
    return;
  }
  runner::RunReport report;
  report.plugin = plugin_.identity();
  report.scenePath = sceneName_;
  for (int32_t index = 0; index < mqhost::ObjectSlotCount(document_); ++index) {
    report.objectCount += mqhost::HasObject(document_, index) ? 1 : 0;
  }
  report.currentObject = mqhost::GetObject(document_, mqhost::CurrentObjectIndex(document_)).name;
  report.settingsNote = "(kept for this session only; the workbench saves no settings)";

  const std::vector<std::optional<mqhost::ObjectData>> before = runner::ObjectsOf(document_);
  mqhost::ClearProtocolErrors();
  const runner::ClipboardWatch clipboard;
  steps_.clear();
  ignored_.clear();
  waiting_ = job;
  mqhost::ScriptUser({});
  mqhost::SetLiveUser([this](const mqhost::WidgetSnapshot& dialog, const mqhost::ModalOutcome& sofar) {
    return NextAction(dialog, sofar);
  });
  report.result = plugin_.ModifyObject(0, document_);
  mqhost::SetLiveUser({});
  dialogOpen_ = false;
  dialogTree_ = nullptr;

  report.pickMade = true;
  for (const runner::ScriptStep& step : steps_) report.actions.push_back(runner::DescribeStep(step));
  report.dialog = runner::FinishScript(steps_, &report.operation);
  report.changes = runner::CompareObjects(before, document_);
  report.clipboard = clipboard.Outcome(report.operation == 14);
  report.options = runner::ReadDialogOptions(report.plugin.product, report.plugin.id);
  if (report.options && report.options->reference) {
    report.referenceName = runner::ReferenceName(document_, *report.options->reference);
  }
  report.protocolErrors = mqhost::ProtocolErrors();
  report_ = {{"text", runner::FormatReport(report)}, {"json", json::parse(runner::FormatReportJson(report))}};

  ghosts_.clear();
  bool changed = false;
  for (const runner::ObjectChange& change : report.changes) {
    if (change.verticesMoved > 0 || change.selectionChanged) Touch(change.index);
    Refresh(change.index);
    changed = true;
    if (change.frameChanged) ghosts_.emplace_back(change.index, change.frameBefore);
  }
  if (changed) {
    history_.resize(done_);
    const std::optional<runner::OperationInfo> info =
        report.operation ? runner::OperationByCode(*report.operation) : std::nullopt;
    history_.push_back({info ? runner::WithoutMnemonic(info->caption) : std::string("pick"), before,
                        runner::ObjectsOf(document_)});
    done_ = history_.size();
  }
  ++version_;
  if (waiting_) {
    json state = StateJson();
    const bool lastIgnored = report.dialog.ignored.size() > ignored_.size();
    state["ignored"] = lastIgnored ? json(report.dialog.ignored.back()) : json(nullptr);
    waiting_->Answer(JsonReply(200, state));
    waiting_.reset();
  }
}

}  // namespace workbench
