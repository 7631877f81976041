#include "picks.hpp"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "clipboard_view.hpp"
#include "compensation.hpp"
#include "document_view.hpp"
#include "mqhost/clipboard.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/settings.hpp"
#include "scene_gen.hpp"
#include "settings_faults.hpp"
#include "user_script.hpp"

namespace validator {

struct PickFacts {
  DocumentCopy before;
  DocumentCopy after;
  int operation = 0;  // 0: none chosen, or not known
  bool transform = false;
  const mqhost::ObjectData* reference = nullptr;  // in `before`
  int32_t result = 0;
};

ReferenceList ListOf(const DocumentCopy& document) {
  ReferenceList list;
  list.items.push_back("-");
  for (size_t i = 0; i < document.slots.size(); ++i) {
    if (document.slots[i] && static_cast<int32_t>(i) != document.current)
      list.items.push_back(document.slots[i]->name);
  }
  return list;
}

namespace {

std::optional<uint32_t> StoredUnsigned(const char* key) {
  const std::optional<std::string> text = mqhost::SettingText(kSettingsSection, key);
  if (!text || text->empty()) return std::nullopt;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text->c_str(), &end, 10);
  if (end == nullptr || *end != '\0' || value > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<uint32_t>(value);
}

bool AnySingular(const DocumentCopy& document) {
  for (const auto& slot : document.slots) {
    if (slot && IsSingular(slot->frame)) return true;
  }
  return false;
}

// The centre of the bounding box of the object's live vertices (selected ones
// only when asked), with the plug-in's float arithmetic and starting values.
mqhost::Point3 BoxCentre(const mqhost::ObjectData& object, bool selectedOnly) {
  const std::vector<bool> live = LiveVertices(object);
  std::vector<bool> selected(object.vertices.size(), !selectedOnly);
  for (const int32_t v : object.selectedVertices) selected[static_cast<size_t>(v)] = true;
  float low[3] = {3.4028235e38f, 3.4028235e38f, 3.4028235e38f};
  float high[3] = {-3.4028235e38f, -3.4028235e38f, -3.4028235e38f};
  for (size_t v = 0; v < object.vertices.size(); ++v) {
    if (!live[v] || !selected[v]) continue;
    const float p[3] = {object.vertices[v].x, object.vertices[v].y, object.vertices[v].z};
    for (int c = 0; c < 3; ++c) {
      if (p[c] < low[c]) low[c] = p[c];
      if (p[c] > high[c]) high[c] = p[c];
    }
  }
  // Halfway without overflow: the halved sum where it is finite, else the
  // sum of the halves.
  float centre[3];
  for (int c = 0; c < 3; ++c) {
    const float sum = high[c] + low[c];
    centre[c] = std::isfinite(sum) ? sum * 0.5f : high[c] * 0.5f + low[c] * 0.5f;
  }
  return {centre[0], centre[1], centre[2]};
}

mqhost::Point3 Origin(const mqhost::Matrix16& frame) { return {frame[12], frame[13], frame[14]}; }

}  // namespace

PickRunner::PickRunner(const PluginExports& api, Report& report, std::string settingsPath)
    : api_(api), report_(report), settingsPath_(std::move(settingsPath)) {}

bool PickRunner::Tally(const std::string& name, bool ok, const std::string& detail) {
  return report_.Tally(prefix_ + name, ok, detail);
}

void PickRunner::Pick(DocumentHandle document, const std::vector<mqhost::UserAction>& script, Rng& rng,
                      const std::string& label, bool trace) {
  mqhost::ClearProtocolErrors();
  mqhost::ClearRequestLog();
  std::string error;
  mqhost::LoadSettingsFile(settingsPath_, &error);  // a damaged file leaves an empty tree

  PickFacts facts;
  facts.before = CopyDocument(document);
  // Whether a paste may write a singular frame because the clipboard holds
  // one: read from the clipboard where the host offers it (text the
  // validator cannot read as a frame may still be one to the plug-in);
  // elsewhere known from the last copy.
#ifdef MQHOST_OFFERS_CLIPBOARD
  const std::optional<std::string> clipboardBefore = mqhost::ClipboardText();
  const std::optional<mqhost::Matrix16> clipboardFrame =
      clipboardBefore ? ReadFrameText(*clipboardBefore) : std::nullopt;
  const bool clipboardMaySingular = clipboardBefore && (!clipboardFrame || IsSingular(*clipboardFrame));
#else
  const bool clipboardMaySingular = clipboardMaySingular_;
#endif
  if (trace) report_.Note(label + "\nscene before:\n" + mqhost::SceneText(document));
  mqhost::SetActiveDocument(document);
  mqhost::ScriptUser(script);
  const uint32_t entry = rng.Below(3);
  facts.result = entry == 0   ? api_.MQModifyObject(0, document)
                 : entry == 1 ? api_.MQCreate(0, document)
                              : api_.MQModifySelect(0, document);
  const mqhost::ModalOutcome outcome = mqhost::LastModalOutcome();
  mqhost::ScriptUser({});
  facts.after = CopyDocument(document);
  if (trace) {
    report_.Note("result " + std::to_string(facts.result) + ", modal result " +
                 std::to_string(outcome.modalResult) + "\nscene after:\n" + mqhost::SceneText(document));
  }
  const bool saved = mqhost::SaveSettingsFile(settingsPath_, &error);

  const auto errors = mqhost::ProtocolErrors();
  Tally("no protocol error after a pick", errors.empty(),
        errors.empty() ? ""
                       : label + ": " + errors.front() + " (" + std::to_string(errors.size()) + " in all)");
  const auto live = mqhost::LiveWidgetIds();
  Tally("every widget deleted after a pick", live.empty(),
        label + ": " + std::to_string(live.size()) + " widgets left");
  Tally("the dialog ran and closed", outcome.ran && !outcome.ranOutOfActions, label);

  if (outcome.ran && outcome.modalResult == 1 && outcome.actionsPlayed >= 1 &&
      static_cast<size_t>(outcome.actionsPlayed) <= script.size()) {
    facts.operation = OperationOfClosingAction(script[static_cast<size_t>(outcome.actionsPlayed - 1)]);
  }
  facts.transform = mqhost::SettingText(kSettingsSection, "transform").value_or("") == "1";
  const std::optional<uint32_t> target = StoredUnsigned("target");
  facts.reference = !target || *target == 0xFFFFFFFFu
                        ? facts.before.Current()
                        : facts.before.ByUniqueId(static_cast<int32_t>(*target));

  Tally("a true result only after the dialog closed with OK",
        facts.result == 0 || (outcome.ran && outcome.modalResult == 1),
        label + ": result " + std::to_string(facts.result) + ", modal result " +
            std::to_string(outcome.modalResult));
  // Without a current object every operation does nothing, a copy too.
  const bool copied =
      facts.operation == 14 && facts.before.Current() != nullptr && facts.reference != nullptr;
  if (facts.operation == 14) Tally("copy to the clipboard answers false", facts.result == 0, label);
#ifdef MQHOST_OFFERS_CLIPBOARD
  Tally("the clipboard is closed after a pick", !mqhost::ClipboardHeldOpen(), label);
  if (copied) {
    const std::string problem = CopiedFrameProblem(mqhost::ClipboardText(), facts.reference->frame);
    Tally("a copy puts the reference object's frame on the clipboard", problem.empty(),
          label + ": " + problem);
  }
#endif

  bool finite = true;
  bool invertible = true;
  std::string frameDetail;
  const bool singularWentIn = AnySingular(facts.before) || (facts.operation == 15 && clipboardMaySingular);
#ifndef MQHOST_OFFERS_CLIPBOARD
  if (copied) clipboardMaySingular_ = IsSingular(facts.reference->frame);
#endif
  for (size_t i = 0; i < facts.after.slots.size(); ++i) {
    const auto& after = facts.after.slots[i];
    if (!after) continue;
    if (!IsFinite(after->frame)) {
      finite = false;
      frameDetail = "object " + std::to_string(i);
    }
    const auto& before = facts.before.slots[i];
    if (before && !SameFrame(before->frame, after->frame) && IsSingular(after->frame) && !singularWentIn) {
      invertible = false;
      frameDetail = "object " + std::to_string(i) + " after operation " + std::to_string(facts.operation);
    }
  }
  Tally("no frame holds NaN or infinity", finite, label + ": " + frameDetail);
  Tally("no frame written by the plug-in is singular", invertible, label + ": " + frameDetail);

  if (facts.result == 0) {
    const std::string difference = Difference(facts.before, facts.after);
    Tally("a false result leaves the document unchanged", difference.empty(),
          label + " (operation " + std::to_string(facts.operation) + "): " + difference);
  } else {
    CheckMotion(facts, label);
  }

  std::string xmlError;
  const bool wellFormed = saved && IsWellFormedSettingsFile(settingsPath_, &xmlError);
  Tally("the settings file is well-formed XML after a pick", wellFormed,
        label + ": " + (saved ? xmlError : error));
  bool allKeys = true;
  for (const char* key : kSettingsKeys) {
    allKeys = allKeys && mqhost::SettingText(kSettingsSection, key).has_value();
  }
  Tally("the eight settings keys are saved after a pick", allKeys, label);
}

void PickRunner::CheckMotion(const PickFacts& facts, const std::string& label) {
  const Motion motion = facts.transform ? MotionOfOperation(facts.operation) : Motion::None;
  const mqhost::ObjectData* current = facts.before.Current();
  // The objects whose vertices the operation moves.
  std::vector<bool> moved(facts.before.slots.size(), false);
  for (size_t i = 0; i < facts.before.slots.size(); ++i) {
    const auto& object = facts.before.slots[i];
    if (!object || motion == Motion::None) continue;
    const int op = facts.operation;
    if (op == 15 || op == 16) {
      moved[i] = facts.reference != nullptr && object->uniqueId == facts.reference->uniqueId;
    } else if (op == 7) {
      moved[i] =
          object->selected && (facts.reference == nullptr || object->uniqueId != facts.reference->uniqueId);
    } else {
      moved[i] = current != nullptr && object->uniqueId == current->uniqueId;
    }
  }

  for (size_t i = 0; i < facts.before.slots.size(); ++i) {
    const auto& before = facts.before.slots[i];
    const auto& after = facts.after.slots[i];
    if (!before || !after || before->vertices.size() != after->vertices.size()) continue;
    const std::vector<bool> live = LiveVertices(*before);
    const std::string where = label + ": object " + std::to_string(i) + ", operation " +
                              std::to_string(facts.operation) + ", vertex ";
    // One result per object: the first vertex that is wrong, if any, under
    // the name of what it should have done.
    const char* stay = facts.transform ? "vertices the operation does not move stay"
                                       : "no vertex moves without Trans(&f)orm";
    const char* follow = motion == Motion::Origin ? "vertices follow the origin exactly"
                                                  : "vertices follow the frame (p L^-1 N') within tolerance";
    const char* kind = moved[i] ? follow : stay;
    std::string bad;
    auto describe = [&](size_t v, mqhost::Point3 p, mqhost::Point3 q) {
      return where + std::to_string(v) + ": " + FormatPoint(p) + " became " + FormatPoint(q);
    };
    const FrameChange change = PrepareFrameChange(before->frame, after->frame, motion == Motion::FrameMirror);
    for (size_t v = 0; v < before->vertices.size() && bad.empty(); ++v) {
      const mqhost::Point3 p = before->vertices[v];
      const mqhost::Point3 q = after->vertices[v];
      if (!moved[i] || !live[v]) {
        if (!SamePoint(p, q)) {
          kind = stay;
          bad = describe(v, p, q);
        }
      } else if (motion == Motion::Origin) {
        const mqhost::Point3 expected =
            ExpectedAfterOriginMove(p, Origin(before->frame), Origin(after->frame));
        if (!SamePoint(expected, q)) bad = describe(v, p, q) + ", expected " + FormatPoint(expected);
      } else {
        const Expected expected = ExpectedAfter(change, p);
        if (!Within(expected, q)) {
          const mqhost::Point3 want{static_cast<float>(expected.position[0]),
                                    static_cast<float>(expected.position[1]),
                                    static_cast<float>(expected.position[2])};
          bad = describe(v, p, q) + ", expected " + FormatPoint(want);
        }
      }
    }
    Tally(kind, bad.empty(), bad);
  }

  // The centre operations: the origin is the centre of the reference
  // object's (selected) live vertices, and the axes stay.
  if ((facts.operation == 1 || facts.operation == 2) && current != nullptr && facts.reference != nullptr) {
    const mqhost::ObjectData* after = facts.after.ByUniqueId(current->uniqueId);
    if (after != nullptr) {
      const mqhost::Point3 centre = BoxCentre(*facts.reference, facts.operation == 1);
      bool axesKept = true;
      for (int e = 0; e < 12; ++e) axesKept = axesKept && SameBits(after->frame[e], current->frame[e]);
      Tally("the centre operations put the origin at the bounding-box centre",
            SamePoint(Origin(after->frame), centre) && axesKept,
            label + ": origin " + FormatPoint(Origin(after->frame)) + ", expected " + FormatPoint(centre) +
                (axesKept ? "" : ", and the axes changed"));
    }
  }
}

void RunRandomPicks(const Options& options, const PluginExports& api, Report& report) {
  report.Note("level 5: " + std::to_string(options.picks) + " menu picks, seed " +
              std::to_string(options.seed) + " (replay with --seed " + std::to_string(options.seed) + ")");
  const std::string settingsPath = (std::filesystem::path(options.workDir) /
                                    ("tervolin-validate-settings-" + std::to_string(options.seed) + ".xml"))
                                       .string();
  std::error_code ignored;
  std::filesystem::remove(settingsPath, ignored);
  PickRunner runner(api, report, settingsPath);
  Rng rng(options.seed);
  SceneSpec spec;
  // Off by default for now: the replacement host calls such frames singular
  // and answers the identity for their inverse, so compensated vertices stay.
  spec.farOrigins = options.farOrigins;
  for (int pick = 1; pick <= options.picks; ++pick) {
    std::string notes;
    std::string damage;
    if (pick > 1 && rng.Percent(15)) damage = DamageSettingsFile(rng, settingsPath);
    const DocumentHandle document = GenerateScene(rng, spec, &notes);
    const DocumentCopy copy = CopyDocument(document);
    const std::vector<mqhost::UserAction> script = RandomScript(rng, ListOf(copy));
    std::string actions;
    for (const auto& action : script)
      actions += (actions.empty() ? "" : "; ") + mqhost::DescribeAction(action);
    std::string label = "pick " + std::to_string(pick) + " [" + notes;
    if (!damage.empty()) label += "; " + damage;
    label += "] {" + actions + "}";
    report.Begin("pick " + std::to_string(pick) + " of " + std::to_string(options.picks));
    runner.Pick(document, script, rng, label, pick == options.tracePick);
    mqhost::DestroyDocument(document);
  }
  report.PrintTallies();
  std::filesystem::remove(settingsPath, ignored);
}

}  // namespace validator
