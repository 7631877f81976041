// tervolin-run: makes the plug-in's menu pick on a scene, as the host modeller
// would. It loads the plug-in into the replacement host, reads the scene,
// plays a scripted user against the dialog, and reports what changed.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "loader/visible_text.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/library_path.hpp"
#include "tools/runner/clipboard_access.hpp"
#include "tools/runner/dialog_controls.hpp"
#include "tools/runner/dialog_svg.hpp"
#include "tools/runner/options.hpp"
#include "tools/runner/output_file.hpp"
#include "tools/runner/plugin_session.hpp"
#include "tools/runner/report.hpp"
#include "tools/runner/run_error.hpp"
#include "tools/runner/scene_input.hpp"
#include "tools/runner/scene_svg.hpp"
#include "tools/runner/settings_glue.hpp"
#include "tools/runner/user_script.hpp"

namespace runner {

namespace {

// Owns the scene's document for the length of the run.
class SceneDocument {
 public:
  explicit SceneDocument(DocumentHandle document) : document_(document) {}
  ~SceneDocument() {
    if (document_ != nullptr) mqhost::DestroyDocument(document_);
  }
  SceneDocument(const SceneDocument&) = delete;
  SceneDocument& operator=(const SceneDocument&) = delete;
  DocumentHandle get() const { return document_; }

 private:
  DocumentHandle document_;
};

void CheckScript(const RunOptions& options, DocumentHandle document) {
  const int32_t current = mqhost::CurrentObjectIndex(document);
  for (const ScriptStep& step : options.script) {
    if (step.kind != ScriptStep::Kind::PickReference || step.text == "-") continue;
    const int32_t index = FindObject(document, step.text);
    if (index < 0) {
      throw RunError("--pick-reference \"" + step.text + "\": the scene has no object of that name" +
                     ObjectNamesHint(document, step.text));
    }
    if (index == current) {
      throw RunError("--pick-reference \"" + step.text +
                     "\": this is the current object, which the list shows as \"-\"");
    }
  }
}

std::string CurrentName(DocumentHandle document) {
  const int32_t current = mqhost::CurrentObjectIndex(document);
  if (current < 0 || !mqhost::HasObject(document, current)) return {};
  return mqhost::GetObject(document, current).name;
}

// A path inside the working folder is shown relative to it, as a user would
// type it; any other stays as it is.
std::string Shown(const std::string& path) {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::current_path(error);
  if (error) return path;
  const std::filesystem::path relative = std::filesystem::path(path).lexically_relative(base);
  if (relative.empty() || *relative.begin() == "..") return path;
  return relative.generic_string();
}

// Whether the radio button with this caption was checked when the dialog
// closed.
bool RadioChecked(const DialogNode& node, const std::string& caption) {
  if (node.caption == caption && node.checked) return true;
  for (const DialogNode& child : node.children) {
    if (RadioChecked(child, caption)) return true;
  }
  return false;
}

// The picture's title: the operation that ran, in the dialog's words, and
// the options it read that change what it does.
std::string PictureTitle(const RunReport& report) {
  if (!report.operation) return "Cancel: nothing changed";
  const int32_t code = *report.operation;
  const std::optional<OperationInfo> info = OperationByCode(code);
  std::string title =
      info ? WithoutMnemonic(info->caption) + " (" + info->group + ")" : "operation " + std::to_string(code);
  std::vector<std::string> with;
  DialogNode dialog;
  if (code >= 3 && code <= 6 && LastDialogTree(&dialog) && RadioChecked(dialog, "set to X")) {
    with.push_back("set to X");
  }
  if (code >= 11 && code <= 13 && report.options && report.options->global.value_or(false)) {
    with.push_back("(g)lobal");
  }
  if (report.options && report.options->transform.value_or(false)) with.push_back("Trans(f)orm");
  for (size_t i = 0; i < with.size(); ++i) title += (i == 0 ? ", with " : " and ") + with[i];
  if (!report.result) title += ": nothing changed";
  return title;
}

// The current object before and after the pick, the reference object the
// options name when it is another one, and every other object that changed.
ScenePicture PictureOf(const std::vector<std::optional<mqhost::ObjectData>>& before, DocumentHandle document,
                       const RunReport& report) {
  const std::optional<DialogOptions>& options = report.options;
  const int32_t current = mqhost::CurrentObjectIndex(document);
  if (current < 0 || static_cast<size_t>(current) >= before.size() || !before[current] ||
      !mqhost::HasObject(document, current)) {
    throw RunError("--show-scene: the scene has no current object to draw", kExitFault);
  }
  ScenePicture picture;
  picture.before = *before[current];
  picture.after = mqhost::GetObject(document, current);
  picture.title = PictureTitle(report);
  // Centre of vertices, line, face normal and origin to vertex read the
  // selection; the others do not.
  const int32_t code = report.operation.value_or(0);
  picture.selectionRead = code == 1 || (code >= 3 && code <= 5);
  if (options && options->reference && *options->reference != picture.after.uniqueId) {
    for (int32_t index = 0; index < mqhost::ObjectSlotCount(document); ++index) {
      if (!mqhost::HasObject(document, index)) continue;
      mqhost::ObjectData object = mqhost::GetObject(document, index);
      if (object.uniqueId == *options->reference) picture.reference = std::move(object);
    }
  }
  for (const ObjectChange& change : report.changes) {
    if (change.index == current || change.index < 0 || static_cast<size_t>(change.index) >= before.size() ||
        !before[change.index] || !mqhost::HasObject(document, change.index)) {
      continue;
    }
    picture.others.emplace_back(*before[change.index], mqhost::GetObject(document, change.index));
  }
  return picture;
}

int32_t ObjectCount(DocumentHandle document) {
  int32_t count = 0;
  for (int32_t index = 0; index < mqhost::ObjectSlotCount(document); ++index) {
    count += mqhost::HasObject(document, index) ? 1 : 0;
  }
  return count;
}

int Run(const RunOptions& options) {
  if (options.scenePath.empty() &&
      (!options.script.empty() || !options.outPath.empty() || !options.svgPath.empty() ||
       !options.sceneSvgPath.empty() || !options.settingsPath.empty() || options.strict || options.time ||
       options.clipboardText)) {
    throw RunError("command line: the pick needs a scene file");
  }
  RunReport report;
  const PluginSession plugin(options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath,
                             options.hostPath.empty() ? mqhost::LibraryPath() : options.hostPath);
  report.plugin = plugin.identity();
  report.plugin.path = Shown(report.plugin.path);
  std::vector<std::string>& failures = report.failures;

  if (!options.scenePath.empty()) {
    const SceneDocument scene(LoadScene(options.scenePath));
    DocumentHandle document = scene.get();
    mqhost::SetActiveDocument(document);
    ApplyChoices(document, options);
    CheckScript(options, document);
    report.scenePath = options.scenePath;
    report.objectCount = ObjectCount(document);
    report.currentObject = CurrentName(document);
    for (const ScriptStep& step : options.script) report.actions.push_back(DescribeStep(step));

    CheckOutputsDiffer(options.scenePath, {{"--settings", options.settingsPath},
                                           {"--out", options.outPath},
                                           {"--show-dialog", options.svgPath},
                                           {"--show-scene", options.sceneSvgPath}});
    // Without --settings every run starts from the dialog's defaults, so that
    // one run cannot change the next.
    report.settingsPath = options.settingsPath;
    bool settingsExisted = false;
    if (report.settingsPath.empty()) {
      report.settingsNote = "(none: the dialog started from its defaults; --settings FILE keeps its options)";
    } else {
      std::error_code error;
      settingsExisted = std::filesystem::exists(report.settingsPath, error);
      LoadSettings(report.settingsPath);
    }

    const std::vector<std::optional<mqhost::ObjectData>> before = ObjectsOf(document);
    if (options.clipboardText) {
      std::string why;
      if (!WriteClipboardText(*options.clipboardText, &why)) {
        throw RunError("--clipboard: the clipboard could not be written: " + why, kExitFault);
      }
    }
    const ClipboardWatch clipboard;
    QueueScript(options.script);
    const PickTimer timer;
    report.result = plugin.ModifyObject(0, document);
    if (options.time) report.pickTime = timer.Elapsed();
    report.pickMade = true;
    report.dialog = FinishScript(options.script, &report.operation);
    report.changes = CompareObjects(before, document);
    report.clipboard = clipboard.Outcome(report.operation == 14);
    report.options = ReadDialogOptions(report.plugin.product, report.plugin.id);
    if (report.options && report.options->reference) {
      report.referenceName = ReferenceName(document, *report.options->reference);
    }

    if (report.dialog.actionsTaken < report.dialog.actionsGiven) {
      const int32_t unplayed = report.dialog.actionsGiven - report.dialog.actionsTaken;
      const std::string why =
          !report.dialog.ran || report.dialog.actionsTaken == 0
              ? "the plug-in showed no dialog"
              : "the dialog had closed after " + report.actions[report.dialog.actionsTaken - 1];
      failures.push_back(std::to_string(unplayed) + " action(s) were not played: " + why);
    }
    if (options.strict && !report.dialog.ignored.empty()) {
      failures.push_back("--strict: the dialog ignored " + std::to_string(report.dialog.ignored.size()) +
                         " action(s): " + report.dialog.ignored.front());
    }
    if (!report.settingsPath.empty()) {
      try {
        SaveSettings(report.settingsPath);
        report.settingsNote = settingsExisted ? "loaded and saved" : "created";
      } catch (const RunError& error) {
        report.settingsNote = "not saved";
        failures.push_back(error.what());
      }
    }
    if (!options.svgPath.empty()) {
      DialogNode dialog;
      try {
        if (!LastDialogTree(&dialog)) {
          throw RunError("--show-dialog " + options.svgPath + ": no dialog to draw (the pick showed none)",
                         kExitFault);
        }
        const std::optional<OperationInfo> clicked =
            report.operation ? OperationByCode(*report.operation) : std::nullopt;
        WriteFileAtomically(options.svgPath,
                            DialogSvg(dialog, options.dialogListsOpen, clicked ? clicked->caption : ""),
                            "--show-dialog " + options.svgPath);
        report.svgPath = options.svgPath;
      } catch (const RunError& error) {
        failures.push_back(error.what());
      }
    }
    if (!options.sceneSvgPath.empty()) {
      try {
        ScenePicture picture = PictureOf(before, document, report);
        // A scene without a camera of its own is drawn in the three-quarter
        // view, which shows all three axes.
        if (options.sceneFromCamera && SceneNamesCamera(options.scenePath)) {
          picture.cameraAngle = mqhost::CameraAngle(document);
        }
        WriteFileAtomically(options.sceneSvgPath, SceneSvg(picture), "--show-scene " + options.sceneSvgPath);
        report.sceneSvgPath = options.sceneSvgPath;
      } catch (const RunError& error) {
        failures.push_back(error.what());
      }
    }
    if (!options.outPath.empty()) {
      // The host's writer refuses a value the file could not hold, naming it.
      std::string error;
      if (mqhost::SaveSceneFile(document, options.outPath, &error)) {
        report.outPath = options.outPath;
      } else {
        failures.push_back("--out " + error);
      }
    }
  }

  report.protocolErrors = mqhost::ProtocolErrors();
  const std::string text = options.json ? FormatReportJson(report) : FormatReport(report);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
  // Names and paths in the messages come from the user's files: shown with
  // escapes, as in the report, so that none can steer the terminal.
  for (const std::string& failure : failures) {
    std::fprintf(stderr, "tervolin-run: %s\n", loader::Visible(failure).c_str());
  }
  for (const std::string& error : report.protocolErrors) {
    std::fprintf(stderr, "tervolin-run: protocol error: %s\n", loader::Visible(error).c_str());
  }
  return failures.empty() && report.protocolErrors.empty() ? kExitOk : kExitFault;
}

}  // namespace

}  // namespace runner

int main(int argc, char** argv) {
  // A script that asked for JSON gets JSON on standard output either way.
  bool json = false;
  for (int i = 1; i < argc; ++i) json = json || std::strcmp(argv[i], "--json") == 0;
  auto fail = [json](const std::string& message, int status) {
    if (json) {
      const std::string text = runner::FormatErrorJson(message, status);
      std::fwrite(text.data(), 1, text.size(), stdout);
    }
    std::fprintf(stderr, "tervolin-run: %s\n", loader::Visible(message).c_str());
    return status;
  };
  try {
    runner::RunOptions options;
    int exitStatus = runner::kExitOk;
    if (!runner::ParseCommandLine(argc, argv, &options, &exitStatus)) return exitStatus;
    return runner::Run(options);
  } catch (const runner::RunError& error) {
    return fail(error.what(), error.exitStatus());
  } catch (const std::exception& error) {
    return fail(error.what(), runner::kExitFault);
  }
}
