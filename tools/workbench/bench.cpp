#include "tools/workbench/bench.hpp"

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
#include "tools/workbench/bench_detail.hpp"
#include "tools/workbench/clipboard_service.hpp"

namespace workbench {

using detail::IsDialogAction;

namespace {

using nlohmann::json;

json FrameJson(const mqhost::Matrix16& frame) {
  json out = json::array();
  for (float value : frame) out.push_back(value);
  return out;
}

// An index list from the request, each below `limit`. Throws RunError.
std::vector<int32_t> Indices(const json& args, const char* key, size_t limit, const char* what) {
  std::vector<int32_t> out;
  if (!args.contains(key)) return out;
  const json& list = args.at(key);
  if (!list.is_array()) throw runner::RunError(std::string(key) + ": not a list of " + what + " indices");
  for (const json& item : list) {
    if (!item.is_number_integer() || item.get<int64_t>() < 0 ||
        item.get<int64_t>() >= static_cast<int64_t>(limit)) {
      throw runner::RunError(std::string(key) + ": " + item.dump() + " is not a " + what +
                             " of the object (it has " + std::to_string(limit) + ")");
    }
    out.push_back(item.get<int32_t>());
  }
  return out;
}

template <class T>
void AddUnique(std::vector<T>& to, const std::vector<T>& more, bool replace) {
  if (replace) to.clear();
  std::set<T> seen(to.begin(), to.end());
  for (const T& item : more) {
    if (seen.insert(item).second) to.push_back(item);
  }
}

void Append(std::string& out, const void* data, size_t bytes) {
  out.append(static_cast<const char*>(data), bytes);
}

void AppendU32(std::string& out, uint32_t value) { Append(out, &value, sizeof value); }

// Calls that change the document or start a pick: refused while the dialog
// is open, as the host modeller's own commands are while a modal dialog runs.
bool ChangesDocument(const std::string& op) {
  return op == "open" || op == "select" || op == "current" || op == "select_objects" || op == "pick" ||
         op == "undo" || op == "redo";
}

}  // namespace

namespace detail {

json TreeJson(const mqhost::WidgetSnapshot& node) {
  json children = json::array();
  for (const mqhost::WidgetSnapshot& child : node.children) children.push_back(TreeJson(child));
  json out = {{"id", node.id},
              {"class", node.className},
              {"caption", node.caption},
              {"enabled", node.enabled},
              {"checked", node.checked},
              {"row", node.alignment == "horz"},
              {"fill", node.horzLayout == "fill"},
              {"children", std::move(children)}};
  if (node.className == "combobox") {
    out["items"] = node.items;
    out["current"] = node.currentIndex;
  }
  if (node.className == "button") out["modalResult"] = node.modalResult;
  return out;
}

bool IsDialogAction(const std::string& op) {
  return op == "click" || op == "key" || op == "pick_item" || op == "close";
}

}  // namespace detail

Bench::Bench(const BenchOptions& options, JobQueue& queue)
    : queue_(queue),
      plugin_(options.pluginPath.empty() ? runner::DefaultPluginPath() : options.pluginPath,
              options.hostPath) {
  document_ = mqhost::CreateDocument();
  mqhost::SetActiveDocument(document_);
  sceneName_ = "(empty)";
}

Bench::~Bench() {
  mqhost::SetLiveUser({});
  if (document_ != nullptr) mqhost::DestroyDocument(document_);
}

void Bench::OpenFile(const std::string& path) {
  DocumentHandle document = runner::LoadScene(path);
  std::string name = path;
  const size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  ReplaceDocument(document, name);
}

void Bench::ReplaceDocument(DocumentHandle document, const std::string& name) {
  if (document_ != nullptr) mqhost::DestroyDocument(document_);
  document_ = document;
  mqhost::SetActiveDocument(document_);
  sceneName_ = name;
  history_.clear();
  done_ = 0;
  report_ = nullptr;
  ghosts_.clear();
  for (int32_t index = 0; index < mqhost::ObjectSlotCount(document_); ++index) Touch(index);
  ++version_;
}

void Bench::Refresh(int32_t index) { summaries_.erase(index); }

bool Bench::SameGeometry(const mqhost::ObjectData& a, const mqhost::ObjectData& b) {
  const auto sameBytes = [](const auto& x, const auto& y) {
    return x.size() == y.size() &&
           (x.empty() || std::memcmp(x.data(), y.data(), x.size() * sizeof x[0]) == 0);
  };
  return sameBytes(a.vertices, b.vertices) && a.faces == b.faces &&
         a.selectedVertices == b.selectedVertices && a.selectedLines == b.selectedLines &&
         a.selectedFaces == b.selectedFaces;
}

void Bench::Touch(int32_t index) {
  if (index < 0) return;
  if (static_cast<size_t>(index) >= revisions_.size()) revisions_.resize(static_cast<size_t>(index) + 1, 0);
  // Revisions never repeat across documents: the page keys its meshes by them.
  revisions_[static_cast<size_t>(index)] = ++revisionCounter_;
  Refresh(index);
}

void Bench::Run() {
  while (std::shared_ptr<Job> job = queue_.Take()) Handle(job);
}

void Bench::Handle(const std::shared_ptr<Job>& job) {
  try {
    if (dialogOpen_ && ChangesDocument(job->op)) {
      job->Answer(ErrorReply(409, "the plug-in's dialog is open: close it first"));
      return;
    }
    if (!dialogOpen_ && IsDialogAction(job->op)) {
      job->Answer(ErrorReply(409, "no dialog is open: make the menu pick first"));
      return;
    }
    if (job->op == "state") return job->Answer(State());
    if (job->op == "mesh") return job->Answer(Mesh(job->args));
    if (job->op == "open") return job->Answer(Open(job->args));
    if (job->op == "save") return job->Answer(Save());
    if (job->op == "select") return job->Answer(Select(job->args));
    if (job->op == "current") return job->Answer(SetCurrent(job->args));
    if (job->op == "select_objects") return job->Answer(SelectObjects(job->args));
    if (job->op == "clipboard") return job->Answer(SetClipboard(job->args));
    if (job->op == "undo") return job->Answer(UndoRedo(true));
    if (job->op == "redo") return job->Answer(UndoRedo(false));
    if (job->op == "pick") return Pick(job);
    job->Answer(ErrorReply(404, "no API call \"" + job->op + "\""));
  } catch (const runner::RunError& error) {
    job->Answer(ErrorReply(422, error.what()));
  } catch (const json::exception& error) {
    job->Answer(ErrorReply(400, std::string("malformed arguments: ") + error.what()));
  } catch (const std::exception& error) {
    job->Answer(ErrorReply(500, error.what()));
  }
}

const json& Bench::Summary(int32_t index) const {
  auto found = summaries_.find(index);
  if (found != summaries_.end()) return found->second;
  const mqhost::ObjectData object = mqhost::GetObject(document_, index);
  const int64_t revision =
      static_cast<size_t>(index) < revisions_.size() ? revisions_[static_cast<size_t>(index)] : 0;
  json summary = {{"index", index},
                  {"name", object.name},
                  {"uniqueId", object.uniqueId},
                  {"selected", object.selected},
                  {"vertices", object.vertices.size()},
                  {"faces", object.faces.size()},
                  {"selectedVertices", object.selectedVertices.size()},
                  {"selectedLines", object.selectedLines.size()},
                  {"selectedFaces", object.selectedFaces.size()},
                  {"frame", FrameJson(object.frame)},
                  {"revision", revision}};
  return summaries_.emplace(index, std::move(summary)).first->second;
}

json Bench::StateJson() const {
  json objects = json::array();
  for (int32_t index = 0; index < mqhost::ObjectSlotCount(document_); ++index) {
    if (mqhost::HasObject(document_, index)) objects.push_back(Summary(index));
  }
  json ghosts = json::array();
  for (const auto& [index, frame] : ghosts_)
    ghosts.push_back({{"object", index}, {"frame", FrameJson(frame)}});
  std::string note;
  const std::optional<std::string> clipboard = ReadClipboard(&note);
  const runner::PluginIdentity& plugin = plugin_.identity();
  return {
      {"version", version_},
      {"scene", sceneName_},
      {"plugin", {{"name", plugin.name}, {"menu", plugin.menu}, {"path", plugin.path}}},
      {"objects", std::move(objects)},
      {"current", mqhost::CurrentObjectIndex(document_)},
      {"undo", done_},
      {"redo", history_.size() - done_},
      {"undoLabel", done_ > 0 ? history_[done_ - 1].label : ""},
      {"redoLabel", done_ < history_.size() ? history_[done_].label : ""},
      {"report", report_},
      {"ghosts", std::move(ghosts)},
      {"dialog", {{"open", dialogOpen_}, {"tree", dialogTree_}, {"ignored", ignored_}}},
      {"clipboard",
       {{"text", clipboard ? json(*clipboard) : json(nullptr)}, {"kind", ClipboardKind()}, {"note", note}}}};
}

Reply Bench::State() const { return JsonReply(200, StateJson()); }

int32_t Bench::RequireObject(const json& args) const {
  if (!args.contains("object") || !args.at("object").is_number_integer()) {
    throw runner::RunError("\"object\": give the object's index");
  }
  const int64_t index = args.at("object").get<int64_t>();
  if (index < 0 || index >= mqhost::ObjectSlotCount(document_) ||
      !mqhost::HasObject(document_, static_cast<int32_t>(index))) {
    throw runner::RunError("\"object\": the scene has no object " + std::to_string(index));
  }
  return static_cast<int32_t>(index);
}

// One object's geometry and selection as little-endian binary arrays, each
// four bytes an item: the counts (vertices, faces, face corners, selected
// vertices, selected lines, selected faces), the positions (x, y, z floats),
// each face's first corner (faces + 1 entries), the corners' vertex indices,
// the selected vertices, the selected lines (face, edge) and the selected
// faces.
Reply Bench::Mesh(const json& args) const {
  const int32_t index = RequireObject(args);
  const mqhost::ObjectData object = mqhost::GetObject(document_, index);
  size_t corners = 0;
  for (const std::vector<int32_t>& face : object.faces) corners += face.size();
  Reply reply;
  reply.contentType = "application/octet-stream";
  std::string& out = reply.body;
  out.reserve(4 * (6 + 3 * object.vertices.size() + object.faces.size() + 1 + corners +
                   object.selectedVertices.size() + 2 * object.selectedLines.size() +
                   object.selectedFaces.size()));
  for (size_t count : {object.vertices.size(), object.faces.size(), corners, object.selectedVertices.size(),
                       object.selectedLines.size(), object.selectedFaces.size()}) {
    AppendU32(out, static_cast<uint32_t>(count));
  }
  static_assert(sizeof(mqhost::Point3) == 12, "positions are sent as packed float triples");
  Append(out, object.vertices.data(), object.vertices.size() * sizeof(mqhost::Point3));
  uint32_t start = 0;
  for (const std::vector<int32_t>& face : object.faces) {
    AppendU32(out, start);
    start += static_cast<uint32_t>(face.size());
  }
  AppendU32(out, start);
  for (const std::vector<int32_t>& face : object.faces)
    Append(out, face.data(), face.size() * sizeof(int32_t));
  Append(out, object.selectedVertices.data(), object.selectedVertices.size() * sizeof(int32_t));
  for (const auto& [face, edge] : object.selectedLines) {
    AppendU32(out, static_cast<uint32_t>(face));
    AppendU32(out, static_cast<uint32_t>(edge));
  }
  Append(out, object.selectedFaces.data(), object.selectedFaces.size() * sizeof(int32_t));
  return reply;
}

Reply Bench::Open(const json& args) {
  const std::string name = args.at("name").get<std::string>();
  const std::string& text = args.at("text").get_ref<const std::string&>();
  if (name.empty() || name.find_first_of("/\\") != std::string::npos) {
    throw runner::RunError("\"name\": give the file's name alone, without a folder");
  }
  ReplaceDocument(runner::LoadSceneText(name, text), name);
  return State();
}

Reply Bench::Save() const {
  // The host's writer, then its reader on what it wrote: a value the scene
  // format cannot hold is refused, naming the field, instead of being saved
  // as a file that will not open.
  const std::string text = mqhost::SceneText(document_);
  std::string error;
  DocumentHandle check = mqhost::ParseScene(text, &error);
  if (check == nullptr) throw runner::RunError("the scene cannot be saved: " + error);
  mqhost::DestroyDocument(check);
  std::string name = sceneName_;
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  if (name.empty() || name[0] == '(') name = "scene";
  return JsonReply(200, {{"name", name + ".json"}, {"text", text}});
}

Reply Bench::Select(const json& args) {
  const int32_t index = RequireObject(args);
  mqhost::ObjectData object = mqhost::GetObject(document_, index);
  const bool replace = !args.value("add", false);
  const std::vector<int32_t> vertices = Indices(args, "vertices", object.vertices.size(), "vertex");
  const std::vector<int32_t> faces = Indices(args, "faces", object.faces.size(), "face");
  std::vector<std::pair<int32_t, int32_t>> lines;
  if (args.contains("lines")) {
    const json& list = args.at("lines");
    if (!list.is_array()) throw runner::RunError("lines: not a list of [face, edge] pairs");
    for (const json& pair : list) {
      if (!pair.is_array() || pair.size() != 2 || !pair[0].is_number_integer() ||
          !pair[1].is_number_integer()) {
        throw runner::RunError("lines: " + pair.dump() + " is not a [face, edge] pair");
      }
      const int64_t face = pair[0].get<int64_t>();
      const int64_t edge = pair[1].get<int64_t>();
      if (face < 0 || face >= static_cast<int64_t>(object.faces.size()) || edge < 0 ||
          edge >= static_cast<int64_t>(object.faces[static_cast<size_t>(face)].size())) {
        throw runner::RunError("lines: " + pair.dump() + " is not an edge of a face of the object");
      }
      lines.emplace_back(static_cast<int32_t>(face), static_cast<int32_t>(edge));
    }
  }
  AddUnique(object.selectedVertices, vertices, replace);
  AddUnique(object.selectedLines, lines, replace);
  AddUnique(object.selectedFaces, faces, replace);
  mqhost::SetObject(document_, index, object);
  Touch(index);
  ++version_;
  return State();
}

Reply Bench::SetCurrent(const json& args) {
  const int32_t index = args.at("object").get<int32_t>() == -1 ? -1 : RequireObject(args);
  mqhost::SetCurrentObjectIndex(document_, index);
  ++version_;
  return State();
}

Reply Bench::SelectObjects(const json& args) {
  const json& list = args.at("objects");
  if (!list.is_array()) throw runner::RunError("\"objects\": not a list of object indices");
  std::set<int32_t> chosen;
  for (const json& item : list) chosen.insert(RequireObject({{"object", item}}));
  for (int32_t index = 0; index < mqhost::ObjectSlotCount(document_); ++index) {
    if (!mqhost::HasObject(document_, index)) continue;
    mqhost::ObjectData object = mqhost::GetObject(document_, index);
    const bool selected = chosen.count(index) > 0;
    if (object.selected == selected) continue;
    object.selected = selected;
    mqhost::SetObject(document_, index, object);
    Refresh(index);
  }
  ++version_;
  return State();
}

Reply Bench::SetClipboard(const json& args) {
  const std::string text = args.at("text").get<std::string>();
  if (text.find('\0') != std::string::npos)
    throw runner::RunError("\"text\": clipboard text cannot hold NUL");
  std::string note;
  if (!WriteClipboard(text, &note)) throw runner::RunError("the clipboard was not written: " + note);
  ++version_;
  return State();
}

}  // namespace workbench
