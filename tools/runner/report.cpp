#include "tools/runner/report.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "loader/visible_text.hpp"
#include "tools/runner/dialog_controls.hpp"

namespace runner {

namespace {

const char* const kRowNames[4] = {"X", "Y", "Z", "origin"};

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Hex8(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

// "0x451", as versions are written.
std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

std::string OperationText(int32_t code) {
  const std::optional<OperationInfo> operation = OperationByCode(code);
  if (!operation) return std::to_string(code);
  return std::to_string(code) + " \"" + operation->caption + "\" (" + operation->group + ")";
}

// `wide`: nine decimals, enough to tell apart any two floats below 1 that
// five decimals print alike.
std::string FrameRow(const mqhost::Matrix16& frame, int row, bool wide) {
  std::string text;
  // "+ 0.0" turns a negative zero into zero: "-0.00000" reads as a change.
  for (int column = 0; column < 3; ++column)
    text += Format(wide ? "%15.9f" : "%11.5f", frame[4 * row + column] + 0.0);
  if (std::fabs(frame[4 * row + 3] - (row == 3 ? 1.0f : 0.0f)) > 0)
    text += Format(wide ? "  w%+.9f" : "  w%+.5f", frame[4 * row + 3]);
  return text;
}

// The float as the shortest decimal that reads back as it, held in a double
// so that JSON prints those digits and not the double's expansion
// (0.8660254, not 0.8660253882408142). A negative zero is zero: "-0.0" reads
// as a change where there is none.
double ShortestDecimal(float value) {
  if (value == 0) return 0.0;
  if (!std::isfinite(value)) return value;
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text - 1, value);
  *result.ptr = '\0';
  return std::strtod(text, nullptr);
}

nlohmann::json FrameJson(const mqhost::Matrix16& frame) {
  nlohmann::json rows = nlohmann::json::object();
  for (int row = 0; row < 4; ++row) {
    nlohmann::json values = nlohmann::json::array();
    for (int column = 0; column < 4; ++column) values.push_back(ShortestDecimal(frame[4 * row + column]));
    rows[kRowNames[row]] = values;
  }
  return rows;
}

std::string OnOff(const std::optional<bool>& value) { return !value ? "?" : *value ? "on" : "off"; }

std::string OptionsText(const DialogOptions& options, const std::string& referenceName) {
  std::string text = "Trans(&f)orm " + OnOff(options.transform) + ", (&g)lobal " + OnOff(options.global) +
                     ", copy (&R)otate " + OnOff(options.copyRotation) + " (&S)cale " +
                     OnOff(options.copyScale) + " (&T)rans " + OnOff(options.copyTranslation);
  text += "; reference " + (referenceName.empty() ? std::string("the current object") : referenceName);
  if (options.x && options.y)
    text += "; dialog at " + std::to_string(*options.x) + "," + std::to_string(*options.y);
  return text;
}

nlohmann::json OptionsJson(const DialogOptions& options, const std::string& referenceName) {
  using nlohmann::json;
  auto flag = [](const std::optional<bool>& value) { return value ? json(*value) : json(nullptr); };
  return {{"transform", flag(options.transform)},
          {"global", flag(options.global)},
          {"copyRotation", flag(options.copyRotation)},
          {"copyScale", flag(options.copyScale)},
          {"copyTranslation", flag(options.copyTranslation)},
          {"reference", referenceName.empty() ? json(nullptr) : json(referenceName)},
          {"position", options.x && options.y ? json::array({*options.x, *options.y}) : json(nullptr)}};
}

const char* TypeName(int32_t type) {
  switch (type) {
    case 1: return "import plug-in";
    case 2: return "export plug-in";
    case 3: return "create plug-in";
    case 4: return "object plug-in";
    case 5: return "select plug-in";
    default: return "unknown kind";
  }
}

}  // namespace

std::vector<std::optional<mqhost::ObjectData>> ObjectsOf(DocumentHandle document) {
  std::vector<std::optional<mqhost::ObjectData>> objects;
  for (int32_t index = 0; index < mqhost::ObjectSlotCount(document); ++index) {
    if (mqhost::HasObject(document, index)) {
      objects.emplace_back(mqhost::GetObject(document, index));
    } else {
      objects.emplace_back();
    }
  }
  return objects;
}

std::vector<ObjectChange> CompareObjects(const std::vector<std::optional<mqhost::ObjectData>>& before,
                                         DocumentHandle document) {
  std::vector<ObjectChange> changes;
  const std::vector<std::optional<mqhost::ObjectData>> after = ObjectsOf(document);
  for (size_t index = 0; index < before.size() && index < after.size(); ++index) {
    if (!before[index] || !after[index]) continue;
    const mqhost::ObjectData& was = *before[index];
    const mqhost::ObjectData& now = *after[index];
    ObjectChange change;
    change.index = static_cast<int32_t>(index);
    change.name = now.name;
    change.frameBefore = was.frame;
    change.frameAfter = now.frame;
    change.frameChanged = was.frame != now.frame;
    change.selectionChanged = was.selected != now.selected || was.selectedVertices != now.selectedVertices ||
                              was.selectedFaces != now.selectedFaces ||
                              was.selectedLines != now.selectedLines;
    for (size_t v = 0; v < was.vertices.size() && v < now.vertices.size(); ++v) {
      const double dx = double(now.vertices[v].x) - was.vertices[v].x;
      const double dy = double(now.vertices[v].y) - was.vertices[v].y;
      const double dz = double(now.vertices[v].z) - was.vertices[v].z;
      const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
      if (dx != 0 || dy != 0 || dz != 0) {
        ++change.verticesMoved;
        change.farthestMove = std::max(change.farthestMove, distance);
      }
    }
    if (change.frameChanged || change.verticesMoved > 0 || change.selectionChanged ||
        was.vertices.size() != now.vertices.size() || was.faces != now.faces) {
      changes.push_back(change);
    }
  }
  return changes;
}

std::string FormatReport(const RunReport& report) {
  std::string out;
  auto line = [&out](const std::string& label, const std::string& text) {
    out += label;
    if (label.size() < 12) out += std::string(12 - label.size(), ' ');
    out += loader::Visible(text) + "\n";
  };
  line("plug-in", report.plugin.path);
  line("name", report.plugin.name);
  line("id", Hex8(report.plugin.product) + "-" + Hex8(report.plugin.id));
  line("type", std::to_string(report.plugin.type) + " (" + TypeName(report.plugin.type) + ")");
  std::string menu;
  for (const std::string& entry : report.plugin.menu) menu += (menu.empty() ? "\"" : ", \"") + entry + "\"";
  line("menu", menu.empty() ? "(none)" : menu);
  if (report.scenePath.empty()) return out;

  line("scene", report.scenePath + " (" + std::to_string(report.objectCount) + " object" +
                    (report.objectCount == 1 ? "" : "s") + ")");
  line("current", report.currentObject.empty() ? "(none)" : "\"" + report.currentObject + "\"");
  std::string actions;
  for (const std::string& action : report.actions) actions += (actions.empty() ? "" : "; ") + action;
  line("user", actions.empty() ? "(no actions)" : actions);
  if (report.dialog.ran) {
    std::string dialog = "closed with result " + std::to_string(report.dialog.modalResult);
    dialog += report.dialog.modalResult == 1 ? " (OK)" : " (cancel)";
    // An action the dialog ignored was taken from the script but not played.
    const auto ignored = static_cast<int32_t>(report.dialog.ignored.size());
    dialog += ", " + std::to_string(report.dialog.actionsTaken - ignored) + " of " +
              std::to_string(report.dialog.actionsGiven) + " actions played";
    if (ignored > 0) dialog += ", " + std::to_string(ignored) + " ignored";
    if (report.dialog.closedByRunner) dialog += "; the script left it open, the runner closed its window";
    line("dialog", dialog);
  } else {
    line("dialog", "not shown");
  }
  for (const std::string& ignored : report.dialog.ignored) line("  ignored", ignored);
  line("operation", report.operation ? OperationText(*report.operation) : "(none)");
  line("result", report.pickMade ? (report.result != 0 ? "true" : "false") : "(no pick)");
  if (report.pickTime) {
    const PickTime& time = *report.pickTime;
    line("time", Format("%.6f s wall", time.wallSeconds) +
                     Format(", %.6f s CPU", time.userSeconds + time.systemSeconds) +
                     Format(" (%.6f user", time.userSeconds) + Format(", %.6f system)", time.systemSeconds) +
                     " for the menu pick alone");
  }

  if (report.changes.empty()) line("changed", "nothing");
  for (const ObjectChange& change : report.changes) {
    line("changed", "\"" + change.name + "\" (object " + std::to_string(change.index) + ")");
    if (change.frameChanged) {
      // A change too small for five decimals is shown with nine.
      bool wide = true;
      for (int row = 0; row < 4; ++row) {
        wide = wide && FrameRow(change.frameBefore, row, false) == FrameRow(change.frameAfter, row, false);
      }
      out += wide ? "    frame       before (changed below the 5th decimal)           after\n"
                  : "    frame       before                                 after\n";
      for (int row = 0; row < 4; ++row) {
        std::string text = std::string("      ") + kRowNames[row];
        text += std::string(12 - text.size(), ' ');
        text += FrameRow(change.frameBefore, row, wide) + "    " + FrameRow(change.frameAfter, row, wide);
        out += text + "\n";
      }
    } else {
      out += "    frame       unchanged\n";
    }
    out += "    vertices    " + std::to_string(change.verticesMoved) + " moved";
    if (change.verticesMoved > 0) out += ", at most " + Format("%.6g", change.farthestMove);
    out += "\n";
    if (change.selectionChanged) out += "    selection   changed\n";
  }
  switch (report.clipboard.state) {
    case ClipboardOutcome::State::NotWritten: line("clipboard", "(not written)"); break;
    case ClipboardOutcome::State::Written: line("clipboard", "\"" + report.clipboard.text + "\""); break;
    case ClipboardOutcome::State::Unreadable: line("clipboard", report.clipboard.note); break;
  }
  if (report.options) line("options", OptionsText(*report.options, report.referenceName));
  line("settings", report.settingsPath.empty() ? report.settingsNote
                                               : report.settingsPath + " (" + report.settingsNote + ")");
  if (!report.outPath.empty()) line("written", report.outPath);
  if (!report.svgPath.empty()) line("dialog svg", report.svgPath);
  if (!report.sceneSvgPath.empty()) line("scene svg", report.sceneSvgPath);
  if (report.protocolErrors.empty()) {
    line("protocol", "no errors");
  } else {
    line("protocol", std::to_string(report.protocolErrors.size()) + " error(s):");
    for (const std::string& error : report.protocolErrors) out += "    " + error + "\n";
  }
  return out;
}

std::string FormatReportJson(const RunReport& report) {
  using nlohmann::json;
  json plugin = {{"path", report.plugin.path},
                 {"name", report.plugin.name},
                 {"product", Hex8(report.plugin.product)},
                 {"id", Hex8(report.plugin.id)},
                 {"type", report.plugin.type},
                 {"typeName", TypeName(report.plugin.type)},
                 {"interfaceVersion", report.plugin.interfaceVersion},
                 {"interfaceVersionHex", Hex(report.plugin.interfaceVersion)},
                 {"menu", report.plugin.menu}};
  json out = {
      {"formatVersion", kJsonFormatVersion}, {"plugin", plugin}, {"protocolErrors", report.protocolErrors}};
  std::vector<std::string> messages = report.failures;
  for (const std::string& error : report.protocolErrors) messages.push_back("protocol error: " + error);
  out["error"] = messages.empty()
                     ? json(nullptr)
                     : json{{"message", messages.front()}, {"messages", messages}, {"exitStatus", 1}};
  if (report.scenePath.empty()) return out.dump(2, ' ', false, json::error_handler_t::replace) + "\n";

  out["scene"] = {{"path", report.scenePath},
                  {"objects", report.objectCount},
                  {"current", report.currentObject.empty() ? json(nullptr) : json(report.currentObject)}};
  out["actions"] = report.actions;
  out["dialog"] = {
      {"shown", report.dialog.ran},
      {"modalResult", report.dialog.modalResult},
      {"actionsGiven", report.dialog.actionsGiven},
      {"actionsPlayed", report.dialog.actionsTaken - static_cast<int32_t>(report.dialog.ignored.size())},
      {"actionsIgnored", report.dialog.ignored.size()},
      {"closedByRunner", report.dialog.closedByRunner},
      {"ignored", report.dialog.ignored}};
  if (report.operation) {
    const std::optional<OperationInfo> info = OperationByCode(*report.operation);
    out["operation"] = {{"code", *report.operation}, {"caption", info ? json(info->caption) : json(nullptr)}};
  } else {
    out["operation"] = nullptr;
  }
  out["result"] = report.pickMade ? json(report.result != 0) : json(nullptr);
  if (report.pickTime) {
    const PickTime& time = *report.pickTime;
    out["time"] = {{"wallSeconds", time.wallSeconds},
                   {"cpuSeconds", time.userSeconds + time.systemSeconds},
                   {"userSeconds", time.userSeconds},
                   {"systemSeconds", time.systemSeconds}};
  }
  json changes = json::array();
  for (const ObjectChange& change : report.changes) {
    changes.push_back({{"index", change.index},
                       {"name", change.name},
                       {"frameChanged", change.frameChanged},
                       {"frameBefore", FrameJson(change.frameBefore)},
                       {"frameAfter", FrameJson(change.frameAfter)},
                       {"verticesMoved", change.verticesMoved},
                       {"farthestMove", ShortestDecimal(static_cast<float>(change.farthestMove))},
                       {"selectionChanged", change.selectionChanged}});
  }
  out["changed"] = changes;
  switch (report.clipboard.state) {
    case ClipboardOutcome::State::NotWritten: out["clipboard"] = {{"written", false}}; break;
    case ClipboardOutcome::State::Written:
      out["clipboard"] = {{"written", true}, {"text", report.clipboard.text}};
      break;
    case ClipboardOutcome::State::Unreadable:
      out["clipboard"] = {{"written", nullptr}, {"note", report.clipboard.note}};
      break;
  }
  out["options"] = report.options ? OptionsJson(*report.options, report.referenceName) : json(nullptr);
  out["settings"] = {{"path", report.settingsPath.empty() ? json(nullptr) : json(report.settingsPath)},
                     {"note", report.settingsNote}};
  out["out"] = report.outPath.empty() ? json(nullptr) : json(report.outPath);
  out["dialogSvg"] = report.svgPath.empty() ? json(nullptr) : json(report.svgPath);
  out["sceneSvg"] = report.sceneSvgPath.empty() ? json(nullptr) : json(report.sceneSvgPath);
  return out.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string FormatErrorJson(const std::string& message, int exitStatus) {
  const nlohmann::json out = {
      {"formatVersion", kJsonFormatVersion},
      {"error", {{"message", message}, {"messages", {message}}, {"exitStatus", exitStatus}}}};
  return out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string ReferenceName(DocumentHandle document, int64_t uniqueId) {
  if (uniqueId == -1 || uniqueId == 0xFFFFFFFFll) return {};
  for (int32_t index = 0; index < mqhost::ObjectSlotCount(document); ++index) {
    if (!mqhost::HasObject(document, index)) continue;
    const mqhost::ObjectData object = mqhost::GetObject(document, index);
    if (object.uniqueId == uniqueId) return "\"" + object.name + "\"";
  }
  return "object ID " + std::to_string(uniqueId) + " (not in this scene)";
}

}  // namespace runner
