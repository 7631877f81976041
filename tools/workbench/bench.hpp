// The workbench's host side: the plug-in loaded into the replacement host, the
// open document, the picks made on it and their undo and redo. Everything here
// runs on the host's thread, the one thread that calls the plug-in: Run()
// takes the server's jobs from the queue, and while a dialog runs modally the
// host's live user takes them from the same queue.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mqhost/document.hpp"
#include "mqhost/widgets.hpp"
#include "tools/runner/options.hpp"
#include "tools/runner/plugin_session.hpp"
#include "tools/workbench/job_queue.hpp"

namespace workbench {

struct BenchOptions {
  std::string pluginPath;
  std::string hostPath;
};

class Bench {
 public:
  // Loads the plug-in (throws runner::RunError naming what failed).
  Bench(const BenchOptions& options, JobQueue& queue);
  ~Bench();
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  // Opens a scene file given on the command line (throws RunError).
  void OpenFile(const std::string& path);
  // Answers jobs until the queue stops.
  void Run();

 private:
  struct PickStep {
    std::string label;
    std::vector<std::optional<mqhost::ObjectData>> before;
    std::vector<std::optional<mqhost::ObjectData>> after;
  };

  void Handle(const std::shared_ptr<Job>& job);
  Reply State() const;
  nlohmann::json StateJson() const;
  // One object's name, counts, selection counts, frame and revision, kept
  // until the object changes.
  const nlohmann::json& Summary(int32_t index) const;
  Reply Mesh(const nlohmann::json& args) const;
  Reply Open(const nlohmann::json& args);
  Reply Save() const;
  Reply Select(const nlohmann::json& args);
  Reply SetCurrent(const nlohmann::json& args);
  Reply SelectObjects(const nlohmann::json& args);
  Reply SetClipboard(const nlohmann::json& args);
  Reply UndoRedo(bool undo);
  void Pick(const std::shared_ptr<Job>& job);
  // The live user: answers jobs while the dialog is open until one is an
  // action for the dialog.
  mqhost::UserAction NextAction(const mqhost::WidgetSnapshot& dialog, const mqhost::ModalOutcome& sofar);
  void ReplaceDocument(DocumentHandle document, const std::string& name);
  void Restore(const std::vector<std::optional<mqhost::ObjectData>>& objects);
  // The object's geometry or selection changed: the page fetches it again.
  void Touch(int32_t index);
  // Only its frame, name or selection flag changed: the page's next state
  // shows it.
  void Refresh(int32_t index);
  static bool SameGeometry(const mqhost::ObjectData& a, const mqhost::ObjectData& b);
  int32_t RequireObject(const nlohmann::json& args) const;

  JobQueue& queue_;
  runner::PluginSession plugin_;
  DocumentHandle document_ = nullptr;
  std::string sceneName_;
  int64_t version_ = 0;             // raised by every change the page should see
  std::vector<int64_t> revisions_;  // per object slot: raised when its geometry or selection changes
  int64_t revisionCounter_ = 0;
  mutable std::map<int32_t, nlohmann::json> summaries_;
  std::vector<PickStep> history_;  // picks made, oldest first
  size_t done_ = 0;                // how many of them are in effect (the rest can be redone)
  nlohmann::json report_;          // the last pick's report, or null
  std::vector<std::pair<int32_t, mqhost::Matrix16>> ghosts_;  // frames before the last pick
  // The dialog while it runs.
  bool dialogOpen_ = false;
  nlohmann::json dialogTree_;
  std::vector<std::string> ignored_;
  std::vector<runner::ScriptStep> steps_;  // the page's actions in this run
  std::shared_ptr<Job> waiting_;           // answered when the dialog has taken its action
  bool stopping_ = false;
};

}  // namespace workbench
