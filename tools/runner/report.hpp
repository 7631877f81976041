// What one run learned, and the two ways of telling it: a readable report and
// JSON for scripts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mqhost/document.hpp"
#include "tools/runner/pick_timer.hpp"
#include "tools/runner/plugin_session.hpp"
#include "tools/runner/settings_glue.hpp"

namespace runner {

struct ObjectChange {
  int32_t index = 0;
  std::string name;
  mqhost::Matrix16 frameBefore{};
  mqhost::Matrix16 frameAfter{};
  bool frameChanged = false;
  bool selectionChanged = false;
  int32_t verticesMoved = 0;
  double farthestMove = 0;  // the longest distance a vertex moved
};

struct DialogOutcome {
  bool ran = false;
  int32_t modalResult = 0;
  int32_t actionsGiven = 0;
  int32_t actionsTaken = 0;          // taken from the script, whether the dialog acted on them or not
  bool closedByRunner = false;       // the script left the dialog open; the runner closed it
  std::vector<std::string> ignored;  // actions the dialog did not act on, and why
};

struct ClipboardOutcome {
  enum class State { NotWritten, Written, Unreadable };
  State state = State::NotWritten;
  std::string text;
  std::string note;  // why it could not be read
};

struct RunReport {
  PluginIdentity plugin;
  std::string scenePath;
  int32_t objectCount = 0;
  std::string currentObject;  // empty: none
  std::vector<std::string> actions;
  DialogOutcome dialog;
  std::optional<int32_t> operation;
  bool pickMade = false;
  int32_t result = 0;
  std::optional<PickTime> pickTime;  // with --time
  std::vector<ObjectChange> changes;
  ClipboardOutcome clipboard;
  std::optional<DialogOptions> options;  // as the dialog left them; nothing when it kept none
  std::string referenceName;             // the reference object's name; empty: the current object
  std::string settingsPath;              // empty: none kept
  std::string settingsNote;              // "created", "loaded and saved", or why not
  std::string outPath;
  std::string svgPath;
  std::string sceneSvgPath;
  std::vector<std::string> protocolErrors;
  std::vector<std::string> failures;  // what makes the run end with status 1
};

// The version of the JSON report's layout (docs/runner-json.md); raised when
// a field changes meaning or goes away, not when one is added.
constexpr int kJsonFormatVersion = 2;

// Every object of `document` that differs from its state in `before`
// (indexed by object slot).
std::vector<ObjectChange> CompareObjects(const std::vector<std::optional<mqhost::ObjectData>>& before,
                                         DocumentHandle document);
std::vector<std::optional<mqhost::ObjectData>> ObjectsOf(DocumentHandle document);

// The reference object the options name, by its unique ID, quoted: empty for
// the current object.
std::string ReferenceName(DocumentHandle document, int64_t uniqueId);

std::string FormatReport(const RunReport& report);
std::string FormatReportJson(const RunReport& report);
// The JSON a run that could not make its report prints instead.
std::string FormatErrorJson(const std::string& message, int exitStatus);

}  // namespace runner
