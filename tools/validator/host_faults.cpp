#include "host_faults.hpp"

#include <cmath>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "clipboard_view.hpp"
#include "document_view.hpp"
#include "mqhost/clipboard.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/faults.hpp"
#include "mqhost/settings.hpp"
#include "mqhost/widgets.hpp"
#include "picks.hpp"
#include "rng.hpp"
#include "scene_gen.hpp"
#include "user_script.hpp"

namespace validator {

namespace {

std::string Check(const char* name) { return std::string(kHostFaultsStage) + ": " + name; }

bool FinitePoint(const mqhost::Point3& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Empty when the objects differ in nothing but their frame and vertex
// positions; otherwise what else changed.
std::string OtherThanFrameAndVertices(const mqhost::ObjectData& a, const mqhost::ObjectData& b) {
  if (a.name != b.name || a.uniqueId != b.uniqueId || a.selected != b.selected)
    return "name, unique ID or selection flag";
  if (a.vertices.size() != b.vertices.size()) return "vertex count";
  if (a.faces != b.faces || a.selectedVertices != b.selectedVertices || a.selectedLines != b.selectedLines ||
      a.selectedFaces != b.selectedFaces)
    return "faces or selections";
  return std::string();
}

// What a pick under faults may have done to the document: nothing after a
// false result; after a true one, the frames and vertex positions of the
// objects its operation writes (one object, or the selected ones for a copy
// to selected objects), all finite.
std::string DocumentRuleBroken(const DocumentCopy& before, const DocumentCopy& after, int32_t result,
                               int operation) {
  if (result == 0) return Difference(before, after);
  if (before.current != after.current) return "the current object changed";
  if (before.slots.size() != after.slots.size()) return "the number of object slots changed";
  int changed = 0;
  for (size_t i = 0; i < before.slots.size(); ++i) {
    const std::string where = "object " + std::to_string(i) + ": ";
    const auto& a = before.slots[i];
    const auto& b = after.slots[i];
    if (a.has_value() != b.has_value()) return where + "the slot was filled or emptied";
    if (!a) continue;
    std::string other = OtherThanFrameAndVertices(*a, *b);
    if (!other.empty()) return where + "its " + other.append(" changed");
    bool moved = false;
    for (size_t v = 0; v < a->vertices.size(); ++v) {
      if (!FinitePoint(b->vertices[v])) return where + "vertex " + std::to_string(v) + " is not finite";
      moved = moved || !SamePoint(a->vertices[v], b->vertices[v]);
    }
    for (const float e : b->frame) {
      if (!std::isfinite(e)) return where + "the frame is not finite";
    }
    // Vertices may move by rounding alone when the new frame is the old one.
    if (!moved && SameFrame(a->frame, b->frame)) continue;
    ++changed;
    if (operation == 7 && !a->selected) return where + "a copy to selected objects changed an unselected one";
  }
  if (operation != 7 && changed > 1) return std::to_string(changed) + " objects changed by one operation";
  if (operation == 14 && changed > 0) return "copying to the clipboard changed the document";
  return std::string();
}

}  // namespace

void RunHostFaults(const Options& options, const PluginExports& api, Report& report) {
  report.Note(std::string(kHostFaultsStage) + ": " + std::to_string(options.hostFaults) +
              " menu picks under host faults, each followed by a pick without, seed " +
              std::to_string(options.seed));
  const std::string settingsPath =
      (std::filesystem::path(options.workDir) /
       ("tervolin-validate-host-faults-" + std::to_string(options.seed) + ".xml"))
          .string();
  std::error_code ignored;
  std::filesystem::remove(settingsPath, ignored);
  PickRunner runner(api, report, settingsPath);
  runner.SetCheckPrefix(Check("next pick without faults: "));
  Rng rng(options.seed ^ 0xFA017FA017ull);
  SceneSpec spec;
  spec.farOrigins = options.farOrigins;
  std::vector<int> answeredByKind(mqhost::kHostFaultKinds, 0);
  int faultedPicks = 0;
  int faultedChanges = 0;  // picks that met a fault and still answered true
  for (int pick = 1; pick <= options.hostFaults; ++pick) {
    report.Begin(std::string(kHostFaultsStage) + ", pick " + std::to_string(pick) + " of " +
                 std::to_string(options.hostFaults));
    std::string notes;
    const DocumentHandle document = GenerateScene(rng, spec, &notes);
    const DocumentCopy before = CopyDocument(document);
    std::vector<mqhost::UserAction> script = RandomScript(rng, ListOf(before));
    // Half the picks answer every kind of failure, rarely, so that a pick
    // gets past the dialog's many widgets; half one kind only, up to always.
    static const int kRare[] = {1, 2, 5};
    static const int kOneKind[] = {2, 10, 50, 100};
    const bool allKinds = rng.Percent(50);
    const uint32_t kinds =
        allKinds ? mqhost::kAllHostFaults : 1u << rng.Below(static_cast<uint32_t>(mqhost::kHostFaultKinds));
    const int percent = allKinds ? kRare[rng.Below(static_cast<uint32_t>(std::size(kRare)))]
                                 : kOneKind[rng.Below(static_cast<uint32_t>(std::size(kOneKind)))];
    const uint64_t faultSeed = rng.Next();
    // Only the camera operation asks for the scene: a pick that answers no
    // scene ends with it, with or without Trans(&f)orm and for either axis.
    if (kinds == 1u << static_cast<int>(mqhost::HostFault::NullScene)) {
      script.clear();
      if (rng.Percent(50)) script.push_back(mqhost::Click("Trans(&f)orm"));
      if (rng.Percent(50)) script.push_back(mqhost::Click("set to X"));
      script.push_back(mqhost::Click("(&C)amera"));
      script.push_back(mqhost::CloseWindow());
    }
    // The clipboard's calls come only with a copy or a paste: a pick that
    // answers clipboard faults alone makes one, from a clipboard holding a
    // frame or whatever the last pick left there.
    const uint32_t clipboardKinds = 1u << static_cast<int>(mqhost::HostFault::ClipboardOpen) |
                                    1u << static_cast<int>(mqhost::HostFault::ClipboardData);
    if ((kinds & ~clipboardKinds) == 0) {
      script.clear();
      for (const char* toggle : {"Trans(&f)orm", "(&S)cale", "(&T)rans"}) {
        if (rng.Percent(30)) script.push_back(mqhost::Click(toggle));
      }
      script.push_back(mqhost::Key(rng.Percent(50) ? 'C' : 'V', true));
      script.push_back(mqhost::CloseWindow());
#ifdef MQHOST_OFFERS_CLIPBOARD
      if (!before.slots.empty()) {
        const auto& some = before.slots[rng.Below(static_cast<uint32_t>(before.slots.size()))];
        if (some && rng.Percent(70)) mqhost::SetClipboardText(FrameText(some->frame));
      }
#endif
    }
    std::string actions;
    for (const auto& action : script)
      actions += (actions.empty() ? "" : "; ") + mqhost::DescribeAction(action);

    mqhost::ClearProtocolErrors();
    mqhost::ResetWidgets();
    std::string error;
    mqhost::LoadSettingsFile(settingsPath, &error);
    mqhost::SetActiveDocument(document);
    mqhost::ScriptUser(script);
    mqhost::ScheduleHostFaults(faultSeed, percent, kinds);
    const uint32_t entry = rng.Below(3);
    const int32_t result = entry == 0   ? api.MQModifyObject(0, document)
                           : entry == 1 ? api.MQCreate(0, document)
                                        : api.MQModifySelect(0, document);
    const std::vector<std::string> answered = mqhost::AnsweredHostFaults();
    mqhost::StopHostFaults();
    const mqhost::ModalOutcome outcome = mqhost::LastModalOutcome();
    mqhost::ScriptUser({});
    const DocumentCopy after = CopyDocument(document);
    mqhost::SaveSettingsFile(settingsPath, &error);
    if (!answered.empty()) ++faultedPicks;
    if (!answered.empty() && result != 0) ++faultedChanges;
    for (const std::string& fault : answered) {
      for (int kind = 0; kind < mqhost::kHostFaultKinds; ++kind) {
        const std::string name = mqhost::HostFaultName(static_cast<mqhost::HostFault>(kind));
        if (fault.compare(0, name.size() + 1, name + ":") == 0) ++answeredByKind[static_cast<size_t>(kind)];
      }
    }

    std::string faults;
    for (size_t i = 0; i < answered.size() && i < 4; ++i) faults += (i == 0 ? "" : ", ") + answered[i];
    if (answered.size() > 4) faults += ", ... (" + std::to_string(answered.size()) + " in all)";
    std::string label = "host-fault pick " + std::to_string(pick);
    label += " [" + notes + "] {";
    label += actions;
    label += "} faults {" + faults;
    label += "} (" + std::to_string(percent) + "%)";
    // A scripted action whose control was never created (its creation was
    // refused) or whose list item is missing (its object was answered as
    // absent) is skipped: the script's doing, not the plug-in's.
    std::vector<std::string> errors;
    for (const std::string& each : mqhost::ProtocolErrors()) {
      if (each.rfind("scripted user:", 0) != 0) errors.push_back(each);
    }
    report.Tally(Check("no protocol error caused by the plug-in"), errors.empty(),
                 errors.empty() ? "" : label + ": " + errors.front());
    const auto live = mqhost::LiveWidgetIds();
    report.Tally(Check("every widget deleted, none twice"), live.empty(),
                 label + ": " + std::to_string(live.size()) + " widgets left");
#ifdef MQHOST_OFFERS_CLIPBOARD
    report.Tally(Check("the clipboard is closed after the pick"), !mqhost::ClipboardHeldOpen(), label);
#endif
    report.Tally(Check("a true result only after the dialog closed with OK"),
                 result == 0 || (outcome.ran && outcome.modalResult == 1), label);
    int operation = 0;
    if (outcome.ran && outcome.modalResult == 1 && outcome.actionsPlayed >= 1 &&
        static_cast<size_t>(outcome.actionsPlayed) <= script.size()) {
      operation = OperationOfClosingAction(script[static_cast<size_t>(outcome.actionsPlayed - 1)]);
    }
    std::string broken = DocumentRuleBroken(before, after, result, operation);
    std::string detail = label + ": result " + std::to_string(result);
    detail += ", operation " + std::to_string(operation);
    detail += ": " + broken;
    report.Tally(Check("the document changed only as the operation's all-or-nothing rule allows"),
                 broken.empty(), detail);
    mqhost::DestroyDocument(document);
    mqhost::ResetWidgets();

    // A pick without faults, on a scene of its own, with every check of
    // level 5: what the faults left in the plug-in must not show.
    std::string nextNotes;
    const DocumentHandle next = GenerateScene(rng, spec, &nextNotes);
    const std::vector<mqhost::UserAction> nextScript = RandomScript(rng, ListOf(CopyDocument(next)));
    std::string nextLabel = "pick after " + label;
    nextLabel += " [" + nextNotes + "]";
    runner.Pick(next, nextScript, rng, nextLabel);
    mqhost::DestroyDocument(next);
  }
  std::string counts;
  for (int kind = 0; kind < mqhost::kHostFaultKinds; ++kind) {
    counts += (kind == 0 ? "" : ", ") +
              std::string(mqhost::HostFaultName(static_cast<mqhost::HostFault>(kind))) + " " +
              std::to_string(answeredByKind[static_cast<size_t>(kind)]);
  }
  report.Note(std::string(kHostFaultsStage) + ": " + std::to_string(faultedPicks) + " of " +
              std::to_string(options.hostFaults) + " picks met a fault (" + std::to_string(faultedChanges) +
              " of them still changed the document); faults answered: " + counts);
  report.PrintTallies();
  std::filesystem::remove(settingsPath, ignored);
}

}  // namespace validator
