// Driving one menu pick as the host modeller does: the plug-in loaded and
// started against the replacement host, a document built with the host's
// document interface, the user scripted through the host's widgets, and
// MQModifyObject(0, document). After every pick the harness checks that the
// dialog left no widget behind and deleted its controls before itself.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mqhost/document.hpp"
#include "mqhost/widgets.hpp"
#include "support/plugin_library.hpp"

namespace pick {

using mqhost::Matrix16;
using mqhost::Point3;

// The plug-in's section in the host's settings tree.
inline constexpr const char* kSection = "Plugin-E3F7A830-BD9A187A";

// A frame from its X, Y, Z axis rows and its origin.
Matrix16 MakeFrame(Point3 x, Point3 y, Point3 z, Point3 origin = {0, 0, 0});
// The identity axes with `origin`.
Matrix16 Translated(Point3 origin);

// An object whose every vertex is used by a face (the faces fan over the
// vertices in threes, the last one wrapping around), so that every vertex is
// live.
mqhost::ObjectData LiveObject(const std::string& name, const std::vector<Point3>& vertices);

::testing::AssertionResult FramesNear(const Matrix16& actual, const Matrix16& expected,
                                      float tolerance = 1e-5f);

// The first widget in `tree` (depth first) with this caption; null when none.
const mqhost::WidgetSnapshot* FindByCaption(const mqhost::WidgetSnapshot& tree, const std::string& caption);
// The first widget in `tree` of this class; null when none.
const mqhost::WidgetSnapshot* FindByClass(const mqhost::WidgetSnapshot& tree, const std::string& className);

class MenuPick : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Plays `actions` as the user of the dialog during one menu pick and
  // returns the plug-in's answer. Fails the test when the script was not
  // played to its end or a widget survived the pick.
  int32_t Pick(const std::vector<mqhost::UserAction>& actions);

  // What the host modeller does between two runs: the settings tree goes to
  // a file and comes back from it, and the plug-in is unloaded and loaded
  // again, so that only what the settings hold survives.
  void RestartHost();

  // Adds an object and returns its index.
  int32_t Add(const mqhost::ObjectData& object);
  int32_t UniqueIdAt(int32_t index) { return mqhost::GetObject(document, index).uniqueId; }
  Matrix16 FrameAt(int32_t index) { return mqhost::FrameOf(document, index); }

  DocumentHandle document = nullptr;
  std::unique_ptr<testing_support::PluginLibrary> plugin;
  std::string settingsFile;
};

}  // namespace pick
