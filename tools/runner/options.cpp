#include "tools/runner/options.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

#include "loader/nearest_name.hpp"
#include "tools/runner/dialog_controls.hpp"
#include "tools/runner/output_file.hpp"
#include "tools/runner/run_error.hpp"

namespace runner {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Whether two captions read the same without "&", parentheses and case.
bool SameLetters(const std::string& a, const std::string& b) {
  auto letters = [](const std::string& text) {
    std::string kept;
    for (const char c : text) {
      if (c != '&' && c != '(' && c != ')')
        kept += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return kept;
  };
  return letters(a) == letters(b);
}

[[noreturn]] void Bad(const std::string& option, const std::string& value, const std::string& reason) {
  throw RunError(option + " " + Quoted(value) + ": " + reason);
}

int32_t ParseIndex(const std::string& option, const std::string& value, const std::string& text) {
  if (text.empty() || text.size() > 9) Bad(option, value, Quoted(text) + " is not an index");
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) Bad(option, value, Quoted(text) + " is not an index");
  }
  return static_cast<int32_t>(std::stol(text));
}

int32_t ParseCoordinate(const std::string& option, const std::string& value, std::string text) {
  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.erase(0, 1);
  const int32_t magnitude = ParseIndex(option, value, text);
  return negative ? -magnitude : magnitude;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// "NAME:LIST": the object's name may itself hold ":", so the list starts after
// the last one.
std::pair<std::string, std::string> SplitObjectList(const std::string& option, const std::string& value) {
  const size_t colon = value.rfind(':');
  if (colon == std::string::npos || colon == 0) Bad(option, value, "expected OBJECT:LIST");
  return {value.substr(0, colon), value.substr(colon + 1)};
}

IndexSelection ParseIndexSelection(const std::string& option, const std::string& value) {
  auto [object, list] = SplitObjectList(option, value);
  IndexSelection selection{object, {}};
  if (list.empty()) return selection;  // "NAME:" selects nothing
  for (const std::string& item : Split(list, ','))
    selection.indices.push_back(ParseIndex(option, value, item));
  return selection;
}

LineSelection ParseLineSelection(const std::string& option, const std::string& value) {
  auto [object, list] = SplitObjectList(option, value);
  LineSelection selection{object, {}};
  if (list.empty()) return selection;
  for (const std::string& item : Split(list, ',')) {
    const std::vector<std::string> pair = Split(item, '/');
    if (pair.size() != 2) Bad(option, value, Quoted(item) + " is not FACE/EDGE");
    selection.lines.emplace_back(ParseIndex(option, value, pair[0]), ParseIndex(option, value, pair[1]));
  }
  return selection;
}

ScriptStep ParseStep(const std::string& option, const std::string& value) {
  ScriptStep step;
  step.text = value;
  if (option == "--click" || option == "--toggle") {
    const CaptionMatch match = FindControl(value);
    std::vector<std::string> captions;
    for (const ControlKind kind : {ControlKind::Button, ControlKind::RadioButton, ControlKind::CheckBox}) {
      for (const std::string& caption : CaptionsOf(kind)) captions.push_back(caption);
    }
    // Captions that read alike ("&X" rotates, "X" mirrors) are told apart by
    // their group and key.
    std::vector<std::string> notes;
    for (const std::string& caption : captions) {
      bool alike = false;
      for (const std::string& other : captions)
        alike = alike || (other != caption && SameLetters(other, caption));
      notes.push_back(alike ? ControlNote(caption) : std::string());
    }
    if (!match.ambiguous.empty()) {
      std::string names;
      for (const std::string& caption : match.ambiguous) {
        const std::string note = ControlNote(caption);
        names += (names.empty() ? "" : " or ") + Quoted(caption) + (note.empty() ? "" : " (" + note + ")");
      }
      Bad(option, value, "names more than one control: " + names + "; give the caption exactly");
    }
    if (match.caption.empty()) {
      Bad(option, value,
          "the dialog has no control with this caption" + loader::ChoicesHint(value, captions, notes));
    }
    step.text = match.caption;
    if (option == "--toggle") {
      step.kind = ScriptStep::Kind::Toggle;
      if (match.kind != ControlKind::CheckBox) {
        Bad(
            option, value, "this is no check box: use --click; the check boxes are" + [] {
              std::string known;
              for (const std::string& caption : CaptionsOf(ControlKind::CheckBox))
                known += " " + Quoted(caption);
              return known;
            }());
      }
    } else {
      step.kind = ScriptStep::Kind::Click;
      if (match.kind == ControlKind::CheckBox) Bad(option, value, "this is a check box: use --toggle");
    }
  } else if (option == "--key") {
    step.kind = ScriptStep::Kind::Key;
    if (!ParseKey(value, &step.key, &step.ctrl)) {
      const std::string nearest =
          loader::NearestName(Lower(value), {"escape", "enter", "ctrl+escape", "ctrl+enter"});
      Bad(option, value,
          "not a key (give a letter, a digit, escape or enter, optionally as ctrl+KEY)" +
              (nearest.empty() ? std::string() : "; did you mean \"" + nearest + "\"?"));
    }
  } else if (option == "--pick-reference") {
    step.kind = ScriptStep::Kind::PickReference;
  } else if (option == "--move") {
    step.kind = ScriptStep::Kind::Move;
    const std::vector<std::string> xy = Split(value, ',');
    if (xy.size() != 2) Bad(option, value, "expected X,Y");
    step.x = ParseCoordinate(option, value, xy[0]);
    step.y = ParseCoordinate(option, value, xy[1]);
  } else if (option == "--cancel") {
    step.kind = ScriptStep::Kind::Cancel;
    step.text = "Cancel";
  } else {
    step.kind = ScriptStep::Kind::Close;
    step.text.clear();
  }
  return step;
}

}  // namespace

bool ParseKey(const std::string& text, int32_t* key, bool* ctrl) {
  std::string name = text;
  *ctrl = false;
  const std::string lower = Lower(text);
  if (lower.rfind("ctrl+", 0) == 0) {
    *ctrl = true;
    name = text.substr(5);
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    *key = std::toupper(static_cast<unsigned char>(name[0]));
    return true;
  }
  const std::string lowerName = Lower(name);
  if (lowerName == "escape" || lowerName == "esc") {
    *key = 27;
    return true;
  }
  if (lowerName == "enter" || lowerName == "return") {
    *key = 13;
    return true;
  }
  return false;
}

bool ParseCommandLine(int argc, char** argv, RunOptions* options, int* exitStatus) {
  CLI::App app{
      "Loads the Tervolin plug-in into the replacement host, makes its menu pick on a scene with a scripted "
      "user answering the dialog, and reports what changed.",
      "tervolin-run"};
  // Paths such as /work/scene.json are files, not "/w"-style options, also on
  // Windows (Wine passes Unix paths through).
  app.allow_windows_style_options(false);
  app.set_version_flag("--version", std::string(TERVOLIN_VERSION), "print the version and exit");
  app.add_option("scene", options->scenePath, "scene file: JSON in the host's scene format, or Wavefront OBJ")
      ->option_text("FILE");
  app.add_option("--plugin", options->pluginPath, "plug-in library to load (default: the one built beside)")
      ->option_text("FILE");
  app.add_option("--host", options->hostPath)->group("");  // MQInit's argument instead of the linked host

  std::vector<std::string> vertexSelections;
  std::vector<std::string> faceSelections;
  std::vector<std::string> lineSelections;
  std::string selectedObjects;
  app.add_option("--current", options->currentObject, "make the object of this name the current one")
      ->option_text("NAME");
  app.add_option("--select-vertices", vertexSelections,
                 "select these vertices of an object, e.g. Box:0,4,9 (repeated for one object: they add up)")
      ->allow_extra_args(false)
      ->take_all()
      ->option_text("NAME:LIST");
  app.add_option("--select-faces", faceSelections,
                 "select these faces of an object, e.g. Box:1,2 (repeated: they add up)")
      ->allow_extra_args(false)
      ->take_all()
      ->option_text("NAME:LIST");
  app.add_option("--select-lines", lineSelections,
                 "select these edges of faces, e.g. Ring:0/1,3/2 (repeated: they add up)")
      ->allow_extra_args(false)
      ->take_all()
      ->option_text("NAME:F/E,..");
  app.add_option("--select-objects", selectedObjects, "the selected objects (only these), e.g. A,B")
      ->option_text("NAME,..");

  // The scripted user: every action keeps its place on the command line.
  // Captions may be given without their "&" and parentheses ("Line" for
  // "(&L)ine") when that names one control.
  std::map<std::string, std::pair<std::string, std::string>> help = {
      {"--click",
       {"CAPTION", "click the button or radio button with this caption, e.g. \"(&L)ine\" or Line"}},
      {"--toggle", {"CAPTION", "click the check box with this caption, e.g. \"Trans(&f)orm\" or Transform"}},
      {"--key", {"KEY", "press a key: a letter, a digit, escape or enter, or ctrl+KEY"}},
      {"--pick-reference",
       {"NAME", "pick this object in the \"Reference object\" list (\"-\": the current one)"}},
      {"--move", {"X,Y", "move the dialog"}},
  };
  std::vector<CLI::Option*> actionOptions;
  actionOptions.reserve(help.size() + 2);
  std::vector<std::vector<std::string>> actionValues(help.size());
  size_t slot = 0;
  for (const auto& [name, text] : help) {
    actionOptions.push_back(app.add_option(name, actionValues[slot++], text.second)
                                ->allow_extra_args(false)
                                ->take_all()
                                ->option_text(text.first)
                                ->group("Scripted user"));
  }
  actionOptions.push_back(app.add_flag("--cancel", "click \"Cancel\"")->group("Scripted user"));
  actionOptions.push_back(app.add_flag("--close", "close the dialog's window")->group("Scripted user"));

  app.add_flag(
         "--strict", options->strict,
         "fail (exit status 1) when the dialog ignores an action: a click on a disabled button, a key that "
         "no control answers or whose button is disabled")
      ->group("Scripted user");

  app.add_option(
         "--clipboard", options->clipboardText,
         "put this text on the clipboard before the pick, for Ctrl+V to paste: sixteen numbers as a "
         "copy gives them (rows X, Y, Z, then the origin); the dialog's (&R)otate, (&S)cale and (&T)rans "
         "say which parts are taken")
      ->option_text("NUMBERS")
      ->group("Scripted user");
  app.add_flag("--time", options->time,
               "give the menu pick's wall and processor time in the report (the plug-in's export call "
               "alone: no loading, reading or writing)");
  app.add_option("--out", options->outPath, "write the resulting scene to this JSON file")
      ->option_text("FILE.json");
  app.add_flag("--json", options->json, "print the report as JSON (docs/runner-json.md)");
  app.add_option("--settings", options->settingsPath,
                 "load the dialog's options from this file and save them back to it (created when "
                 "missing); without it the dialog starts from its defaults and nothing is saved")
      ->option_text("FILE");
  app.add_option("--show-dialog", options->svgPath,
                 "draw the plug-in's dialog into this SVG file, as it was when it closed")
      ->option_text("FILE.svg");
  app.add_flag("--show-dialog-open", options->dialogListsOpen,
               "draw the dialog with its reference list open, its items listed");
  app.add_option("--show-scene", options->sceneSvgPath,
                 "draw the current object into this SVG file: its frame before (dashed) and after the pick, "
                 "the selection the operation read, where vertices moved, and the reference object")
      ->option_text("FILE.svg");
  std::string sceneView = "fixed";
  app.add_option("--scene-view", sceneView,
                 "the --show-scene view: fixed (a three-quarter view, the default) or camera (the scene's)")
      ->option_text("fixed|camera")
      ->check(CLI::IsMember({"fixed", "camera"}));

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help_request) {
    *exitStatus = app.exit(help_request);
    return false;
  } catch (const CLI::CallForVersion&) {
    std::printf("tervolin-run %s\n", TERVOLIN_VERSION);
    *exitStatus = kExitOk;
    return false;
  } catch (const CLI::ParseError& error) {
    std::string nearest;
    const std::string unknown = loader::FirstUnknownOption(loader::OptionNamesOf(app), argc, argv, &nearest);
    if (!unknown.empty()) {
      throw RunError("command line: " + unknown + " is not an option" +
                     (nearest.empty() ? std::string() : "; did you mean " + nearest + "?") +
                     " (tervolin-run --help lists the options)");
    }
    throw RunError(std::string("command line: ") + error.what() + " (tervolin-run --help lists the options)");
  }

  for (const char* name : {"--out", "--settings", "--show-dialog"}) {
    if (app.count(name) > 0 && app[name]->as<std::string>().empty()) Bad(name, "", "names no file");
  }
  // Options that cannot take effect are refused rather than ignored: a
  // picture is always SVG, a scene is always written as JSON (never one
  // format under another's name, an OBJ file's normals and UVs with it), and
  // the view belongs to the scene's picture.
  const struct {
    const char* name;
    const char* ending;
    const char* why;
  } formats[] = {
      {"--show-dialog", ".svg", "the picture is written as SVG: give a file name ending in .svg"},
      {"--show-scene", ".svg", "the picture is written as SVG: give a file name ending in .svg"},
      {"--out", ".json", "the scene is written as JSON: give a file name ending in .json"},
  };
  for (const auto& format : formats) {
    if (app.count(format.name) == 0) continue;
    const std::string path = app[format.name]->as<std::string>();
    const size_t length = std::strlen(format.ending);
    std::string ending = path.size() >= length ? path.substr(path.size() - length) : "";
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!path.empty() && ending != format.ending) Bad(format.name, path, format.why);
  }
  // The settings file's folder is made when missing, as the host makes its
  // own; the results go only into folders that exist.
  for (const char* name : {"--out", "--show-dialog", "--show-scene"}) {
    if (app.count(name) > 0) CheckOutputFolder(name, app[name]->as<std::string>());
  }
  if (options->dialogListsOpen && app.count("--show-dialog") == 0) {
    throw RunError("--show-dialog-open: takes effect only with --show-dialog FILE.svg");
  }
  if (app.count("--scene-view") > 0 && app.count("--show-scene") == 0) {
    Bad("--scene-view", sceneView, "takes effect only with --show-scene FILE.svg");
  }
  options->sceneFromCamera = sceneView == "camera";
  options->currentGiven = app.count("--current") > 0;
  options->objectsGiven = app.count("--select-objects") > 0;
  for (const std::string& value : vertexSelections) {
    options->vertexSelections.push_back(ParseIndexSelection("--select-vertices", value));
  }
  for (const std::string& value : faceSelections) {
    options->faceSelections.push_back(ParseIndexSelection("--select-faces", value));
  }
  for (const std::string& value : lineSelections) {
    options->lineSelections.push_back(ParseLineSelection("--select-lines", value));
  }
  if (options->objectsGiven && !selectedObjects.empty())
    options->selectedObjects = Split(selectedObjects, ',');

  // CLI11 records every occurrence of an option in the order it was parsed;
  // each occurrence of a one-value option took the next of its results.
  std::map<const CLI::Option*, size_t> taken;
  for (const CLI::Option* option : app.parse_order()) {
    bool isAction = false;
    for (const CLI::Option* action : actionOptions) isAction = isAction || action == option;
    if (!isAction) continue;
    const std::string name = "--" + option->get_single_name();
    const size_t index = taken[option]++;
    const std::vector<std::string>& results = option->results();
    const std::string value =
        name == "--cancel" || name == "--close" || index >= results.size() ? "" : results[index];
    options->script.push_back(ParseStep(name, value));
  }
  return true;
}

}  // namespace runner
