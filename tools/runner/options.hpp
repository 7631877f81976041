// The runner's command line: what to load, how the scripted user answers the
// dialog (in command-line order), what to select first, and where the results
// go.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace runner {

// One step of the scripted user, as given on the command line.
struct ScriptStep {
  enum class Kind { Click, Toggle, Key, PickReference, Move, Cancel, Close };
  Kind kind = Kind::Close;
  std::string text;  // Click, Toggle: caption; PickReference: object name; Key: as typed
  int32_t key = 0;   // Key: the key code (capital letters for letters)
  bool ctrl = false;
  int32_t x = 0;  // Move
  int32_t y = 0;
};

// "--select-vertices NAME:0,4,9" and the like: indices of one object.
struct IndexSelection {
  std::string object;
  std::vector<int32_t> indices;
};

struct LineSelection {
  std::string object;
  std::vector<std::pair<int32_t, int32_t>> lines;  // (face, edge)
};

struct RunOptions {
  std::string scenePath;   // empty: only the plug-in's identity is shown
  std::string pluginPath;  // empty: the plug-in built beside the runner
  std::string hostPath;    // empty: the linked host (hidden option)
  std::string currentObject;
  bool currentGiven = false;
  std::vector<IndexSelection> vertexSelections;
  std::vector<IndexSelection> faceSelections;
  std::vector<LineSelection> lineSelections;
  std::vector<std::string> selectedObjects;
  bool objectsGiven = false;
  std::vector<ScriptStep> script;
  std::string outPath;
  bool json = false;
  bool strict = false;                       // an action the dialog ignored fails the run
  bool time = false;                         // the report gives the menu pick's wall and processor time
  std::string settingsPath;                  // empty: start from the defaults, save nothing
  std::optional<std::string> clipboardText;  // put on the clipboard before the pick
  std::string svgPath;
  bool dialogListsOpen = false;  // the dialog picture shows the reference list open
  std::string sceneSvgPath;
  bool sceneFromCamera = false;  // --scene-view camera
};

// Parses argv. Throws RunError with the offending option and value for bad
// input. Returns false when the run should stop with `exitStatus` (help).
bool ParseCommandLine(int argc, char** argv, RunOptions* options, int* exitStatus);

// "ctrl+C", "Ctrl+v", "L", "escape": the key code and whether Ctrl is held.
// False for anything else.
bool ParseKey(const std::string& text, int32_t* key, bool* ctrl);

}  // namespace runner
