// Whole picks through tervolin-run: the dialog answered by the scripted user
// in command-line order, the operation it chose, the frames and vertices that
// changed, the options kept in the settings file, and the dialog's picture.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "tests/runner/runner_process.hpp"

// The picks need the plug-in's dialog; a tree without it builds no dialog.
#if __has_include("dialog/tervolin_dialog.hpp")

namespace runner_test {
namespace {

using nlohmann::json;

std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

class RunnerPick : public ::testing::Test {
 protected:
  json RunJson(std::vector<std::string> arguments, int expectedStatus = 0) {
    arguments.push_back("--json");
    const RunResult run = folder.Run(arguments);
    EXPECT_EQ(run.exitStatus, expectedStatus) << run.err;
    json report = json::parse(run.out, nullptr, false);
    EXPECT_FALSE(report.is_discarded()) << run.out;
    EXPECT_EQ(report["protocolErrors"], json::array());
    return report;
  }

  RunnerFolder folder{TestName()};
};

TEST_F(RunnerPick, CenterOfTheObjectMovesTheOriginAndWritesTheScene) {
  const json report = RunJson(
      {Scene("tilted-box.json"), "--click", "Center of the O(&b)ject", "--out", folder.Path("out.json")});
  EXPECT_EQ(report["operation"]["code"], 2);
  EXPECT_EQ(report["operation"]["caption"], "Center of the O(&b)ject");
  EXPECT_EQ(report["result"], true);
  EXPECT_EQ(report["dialog"]["modalResult"], 1);
  ASSERT_EQ(report["changed"].size(), 1u);
  const json& box = report["changed"][0];
  EXPECT_EQ(box["name"], "Box");
  // The box spans (1, 0, -1) to (3, 2, 1); the tilted axes stay as they were.
  EXPECT_EQ(box["frameAfter"]["origin"], json::array({2.0, 1.0, 0.0, 1.0}));
  EXPECT_EQ(box["frameAfter"]["X"], box["frameBefore"]["X"]);
  // Numbers are the floats' shortest text, as in the scene file.
  EXPECT_EQ(box["frameAfter"]["X"].dump(), "[0.866025,0.5,0.0,0.0]");
  EXPECT_EQ(box["verticesMoved"], 0);

  const json scene = json::parse(folder.Read("out.json"));
  const json& frame = scene["objects"][0]["frame"];
  EXPECT_EQ(frame[12], 2.0);
  EXPECT_EQ(frame[13], 1.0);
  EXPECT_EQ(frame[14], 0.0);
}

// Mirroring X turns the tilted X row's zeros negative: JSON prints them as
// zeros, which read as no change. The pick's time is given only when asked.
TEST_F(RunnerPick, JsonPrintsNoNegativeZeroAndTheTimeWhenAsked) {
  const RunResult run = folder.Run({Scene("tilted-box.json"), "--click", "X", "--json"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out.find("-0.0"), std::string::npos) << run.out;
  const json mirrored = json::parse(run.out);
  EXPECT_EQ(mirrored["changed"][0]["frameAfter"]["X"].dump(), "[-0.866025,0.5,0.0,0.0]");
  EXPECT_FALSE(mirrored.contains("time"));

  const json timed = RunJson({Scene("tilted-box.json"), "--click", "X", "--time"});
  ASSERT_TRUE(timed.contains("time")) << timed;
  EXPECT_GE(timed["time"]["wallSeconds"].get<double>(), 0.0);
  EXPECT_LT(timed["time"]["wallSeconds"].get<double>(), 60.0);
  EXPECT_GE(timed["time"]["userSeconds"].get<double>(), 0.0);
  EXPECT_GE(timed["time"]["systemSeconds"].get<double>(), 0.0);
  EXPECT_DOUBLE_EQ(timed["time"]["cpuSeconds"].get<double>(),
                   timed["time"]["userSeconds"].get<double>() + timed["time"]["systemSeconds"].get<double>());
  const RunResult text = folder.Run({Scene("tilted-box.json"), "--click", "X", "--time"});
  EXPECT_NE(text.out.find(" system) for the menu pick alone\n"), std::string::npos) << text.out;
}

TEST_F(RunnerPick, ReadableReportLabelsTheFrameRows) {
  const RunResult run = folder.Run({Scene("tilted-box.json"), "--click", "Center of the O(&b)ject"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_NE(run.out.find("operation   2 \"Center of the O(&b)ject\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("result      true"), std::string::npos) << run.out;
  for (const char* row : {"\n      X  ", "\n      Y  ", "\n      Z  ", "\n      origin  "}) {
    EXPECT_NE(run.out.find(row), std::string::npos) << row << run.out;
  }
  EXPECT_NE(run.out.find("2.00000    1.00000    0.00000\n"), std::string::npos) << run.out;

  // Aligning the ring to its edge a second time changes the frame by float
  // rounding only: the rows are printed with enough digits to show it.
  ASSERT_EQ(
      folder.Run({Scene("edge-loop.json"), "--click", "Line", "--out", folder.Path("ring.json")}).exitStatus,
      0);
  const RunResult again = folder.Run({folder.Path("ring.json"), "--click", "Line"});
  EXPECT_NE(again.out.find("before (changed below the 5th decimal)"), std::string::npos) << again.out;
  EXPECT_NE(again.out.find("0.707106769   -0.707106769"), std::string::npos) << again.out;
}

TEST_F(RunnerPick, ActionsArePlayedInCommandLineOrder) {
  // Transform on, then the line: the vertices follow the frame.
  const json before = RunJson({Scene("edge-loop.json"), "--toggle", "Trans(&f)orm", "--click", "(&L)ine"});
  EXPECT_EQ(before["operation"]["code"], 3);
  EXPECT_EQ(before["dialog"]["actionsPlayed"], 2);
  ASSERT_EQ(before["changed"].size(), 1u);
  EXPECT_GT(before["changed"][0]["verticesMoved"], 0);

  // The line first: the dialog closes, the toggle is never played, and the
  // runner says so with a failing status and an error object. (The first
  // run's Transform is not kept: without --settings each run starts afresh.)
  const json after = RunJson({Scene("edge-loop.json"), "--click", "line", "--toggle", "Transform"}, 1);
  EXPECT_EQ(after["actions"], json::array({"click \"(&L)ine\"", "toggle \"Trans(&f)orm\""}));
  EXPECT_NE(after["error"]["message"].get<std::string>().find("1 action(s) were not played"),
            std::string::npos);
  EXPECT_EQ(after["error"]["exitStatus"], 1);
  EXPECT_EQ(after["options"]["transform"], false);
  EXPECT_EQ(after["operation"]["code"], 3);
  EXPECT_EQ(after["dialog"]["actionsPlayed"], 1);
  ASSERT_EQ(after["changed"].size(), 1u);
  EXPECT_EQ(after["changed"][0]["verticesMoved"], 0);
}

TEST_F(RunnerPick, KeysChooseOperationsAndDisabledOnesLeaveTheDialogOpen) {
  const json copy = RunJson({Scene("tilted-box.json"), "--key", "ctrl+C"});
  EXPECT_EQ(copy["operation"]["code"], 14);
  EXPECT_EQ(copy["result"], false);
  EXPECT_EQ(copy["changed"], json::array());
  EXPECT_EQ(copy["clipboard"]["written"], true);
  EXPECT_EQ(copy["clipboard"]["text"], "0.866025,0.5,0,0,-0.5,0.866025,0,0,0,0,1,0,0.5,0.25,0,1");
  // --clipboard puts what Ctrl+V pastes: with (&T)rans on beside (&R)otate,
  // the origin comes from it too, the scale stays. An empty text pastes
  // nothing.
  const json paste = RunJson({Scene("tilted-box.json"), "--clipboard", "1,0,0,0,0,1,0,0,0,0,1,0,9,8,7,1",
                              "--toggle", "(&T)rans", "--key", "ctrl+V"});
  EXPECT_EQ(paste["operation"]["code"], 15);
  EXPECT_EQ(paste["result"], true);
  ASSERT_EQ(paste["changed"].size(), 1u);
  EXPECT_EQ(paste["changed"][0]["frameAfter"]["origin"], json::parse("[9.0, 8.0, 7.0, 1.0]"));
  EXPECT_EQ(paste["clipboard"]["written"], false);
  const json nothing = RunJson({Scene("tilted-box.json"), "--clipboard", "", "--key", "ctrl+V"});
  EXPECT_EQ(nothing["result"], false);
  EXPECT_EQ(nothing["changed"], json::array());

  // The wedge has a face selected but no line: L does nothing, the runner
  // closes the window after the script, and nothing changes.
  const json line = RunJson({Scene("wedge.json"), "--key", "l"});
  EXPECT_TRUE(line["operation"].is_null());
  EXPECT_EQ(line["dialog"]["closedByRunner"], true);
  EXPECT_EQ(line["dialog"]["modalResult"], 2);
  EXPECT_EQ(line["result"], false);
  EXPECT_EQ(line["changed"], json::array());
  EXPECT_TRUE(line["error"].is_null());
  // The key is reported as ignored, not as played.
  EXPECT_EQ(line["dialog"]["actionsPlayed"], 0);
  EXPECT_EQ(line["dialog"]["actionsIgnored"], 1);
  EXPECT_EQ(line["dialog"]["ignored"], json::array({"key l: \"(&L)ine\" is disabled"}));
  // Played before a key that acts, the ignored one is still told apart.
  const json then = RunJson({Scene("wedge.json"), "--key", "l", "--key", "f", "--key", "b"});
  EXPECT_EQ(then["operation"]["code"], 2);
  EXPECT_EQ(then["dialog"]["actionsPlayed"], 2);
  EXPECT_EQ(then["dialog"]["ignored"], json::array({"key l: \"(&L)ine\" is disabled"}));

  // --strict fails the run for every kind of ignored action: a click on a
  // disabled button, a key whose button is disabled, a key no control answers.
  const struct {
    std::vector<std::string> actions;
    const char* why;
  } ignored[] = {
      {{"--click", "(&L)ine"}, "\"(&L)ine\""},
      {{"--key", "l"}, "key l: \"(&L)ine\" is disabled"},
      {{"--key", "q"}, "key q: no control answers this key"},
      {{"--key", "ctrl+Q", "--key", "b"}, "key ctrl+Q: no control answers this key"},
  };
  for (const auto& action : ignored) {
    std::vector<std::string> arguments = {Scene("wedge.json"), "--strict"};
    arguments.insert(arguments.end(), action.actions.begin(), action.actions.end());
    const json strict = RunJson(arguments, 1);
    const std::string message = strict["error"]["message"].get<std::string>();
    EXPECT_NE(message.find("--strict: the dialog ignored 1 action"), std::string::npos) << message;
    EXPECT_NE(message.find(action.why), std::string::npos) << message;
    EXPECT_EQ(strict["dialog"]["actionsIgnored"], 1) << action.why;
  }
  // The text report says "ignored", never "played", of such an action.
  const RunResult text = folder.Run({Scene("wedge.json"), "--key", "q"});
  EXPECT_EQ(text.exitStatus, 0) << text.err;
  EXPECT_NE(text.out.find("0 of 1 actions played, 1 ignored"), std::string::npos) << text.out;
}

TEST_F(RunnerPick, OptionsPersistOnlyInAGivenSettingsFile) {
  // Without --settings the run reports the options it ended with, and keeps
  // them nowhere: the next run starts from the defaults.
  const json alone = RunJson({Scene("tilted-box.json"), "--toggle", "Trans(&f)orm", "--cancel"});
  EXPECT_EQ(alone["options"]["transform"], true);
  EXPECT_TRUE(alone["settings"]["path"].is_null());
  EXPECT_EQ(RunJson({Scene("tilted-box.json"), "--click",
                     "Center of the O(&b)ject"})["changed"][0]["verticesMoved"],
            0);
  EXPECT_TRUE(folder.Files().empty()) << folder.Files().front();

  const std::string settings = folder.Path("kept/settings.xml");
  const json cancelled =
      RunJson({Scene("copy-targets.json"), "--settings", settings, "--toggle", "Trans(&f)orm",
               "--pick-reference", "Target A", "--move", "40,60", "--cancel"});
  EXPECT_EQ(cancelled["result"], false);
  EXPECT_EQ(cancelled["settings"]["note"], "created");
  EXPECT_EQ(cancelled["options"]["reference"], "\"Target A\"");
  EXPECT_EQ(cancelled["options"]["position"], json::array({40, 60}));
  const std::string saved = folder.Read("kept/settings.xml");
  EXPECT_NE(saved.find("<transform>1</transform>"), std::string::npos) << saved;

  // What another program keeps in the file stays as it was.
  std::string edited = saved;
  const std::string others = "<pluginsettings count=\"2\">\n<!-- mine -->\n<Other a=\"1\">x<b/>y</Other>";
  ASSERT_NE(edited.find("<pluginsettings>"), std::string::npos) << edited;
  edited.replace(edited.find("<pluginsettings>"), std::string("<pluginsettings>").size(), others);
  folder.Write("kept/settings.xml", edited + "<!-- end -->\n");

  // The next run with the file starts with Transform on: the vertices move
  // with the origin.
  const json moved =
      RunJson({Scene("tilted-box.json"), "--settings", settings, "--click", "Center of the O(&b)ject"});
  EXPECT_EQ(moved["settings"]["note"], "loaded and saved");
  ASSERT_EQ(moved["changed"].size(), 1u);
  EXPECT_EQ(moved["changed"][0]["verticesMoved"], 8);
  const std::string resaved = folder.Read("kept/settings.xml");
  EXPECT_NE(resaved.find(others), std::string::npos) << resaved;
  EXPECT_EQ(resaved.substr(resaved.size() - 13), "<!-- end -->\n") << resaved;
}

TEST_F(RunnerPick, SettingsThatCannotBeSavedFailTheRunButKeepTheReport) {
  const RunResult run =
      folder.Run({Scene("tilted-box.json"), "--settings", "/proc/self/tervolin-settings.xml", "--click",
                  "Center of the O(&b)ject"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.err.find("/proc/self/tervolin-settings.xml"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("not saved"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("result      true"), std::string::npos) << run.out;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(RunnerPick, DialogPictureHoldsTheCaptionsAndStates) {
  const json closed = RunJson({Scene("copy-targets.json"), "--toggle", "Transform", "--show-dialog",
                               folder.Path("closed.svg"), "--close"});
  EXPECT_EQ(closed["dialogSvg"], folder.Path("closed.svg"));
  // The reference list is drawn closed, showing its current entry; the layout
  // frames are not drawn.
  const std::string closedSvg = folder.Read("closed.svg");
  EXPECT_NE(closedSvg.find(">-<"), std::string::npos);
  EXPECT_EQ(closedSvg.find(">Bystander<"), std::string::npos);
  EXPECT_EQ(closedSvg.find("stroke-dasharray"), std::string::npos);
  EXPECT_EQ(closedSvg.find("class='marked'"), std::string::npos) << "no button chose the close";
  // Drawn as it closed: "Trans(&f)orm", toggled by the script, is checked
  // beside "(&R)otate", which starts checked.
  EXPECT_EQ(Count(closedSvg, "l3 3 l6 -7"), 2u);

  RunJson({Scene("copy-targets.json"), "--show-dialog", folder.Path("dialog.svg"), "--show-dialog-open",
           "--close"});
  const std::string svg = folder.Read("dialog.svg");
  ASSERT_EQ(svg.rfind("<svg ", 0), 0u) << svg.substr(0, 80);
  for (const char* text :
       {">Reference object<", ">set origin<", ">set axis<", ">copy to selected objects<", ">Copy<",
        ">Rotate<", ">Mirror<", ">clipboard<", ">Clear<", ">Cancel<", ">Target A<", ">Bystander<",
        "Center of the O(<tspan text-decoration=\"underline\">b</tspan>)ject",
        "Trans(<tspan text-decoration=\"underline\">f</tspan>)orm"}) {
    EXPECT_NE(svg.find(text), std::string::npos) << text;
  }
  // Nothing is selected in Source: its four selection buttons are greyed.
  EXPECT_NE(svg.find("fill='#999' text-anchor='middle'>Center of ("), std::string::npos);
  // "(&R)otate" starts checked: one check mark.
  EXPECT_NE(svg.find("l3 3 l6 -7"), std::string::npos);
}

// The end points of every SVG line of this class.
std::vector<std::array<double, 4>> Lines(const std::string& svg, const std::string& cls) {
  std::vector<std::array<double, 4>> lines;
  const std::string start = "<line class='" + cls + "' ";
  for (size_t at = svg.find(start); at != std::string::npos; at = svg.find(start, at + 1)) {
    std::array<double, 4> line{};
    const char* const names[4] = {"x1='", "y1='", "x2='", "y2='"};
    for (size_t i = 0; i < 4; ++i) {
      const size_t value = svg.find(names[i], at);
      line[i] = value == std::string::npos ? std::nan("") : std::strtod(svg.c_str() + value + 4, nullptr);
    }
    lines.push_back(line);
  }
  return lines;
}

// How far from parallel two drawn lines are: the sine of their angle.
double Skew(const std::array<double, 4>& a, const std::array<double, 4>& b) {
  const double ax = a[2] - a[0], ay = a[3] - a[1], bx = b[2] - b[0], by = b[3] - b[1];
  return std::fabs(ax * by - ay * bx) / (std::hypot(ax, ay) * std::hypot(bx, by));
}

TEST_F(RunnerPick, ScenePictureShowsTheAxisFollowingTheSelectedEdge) {
  const json report = RunJson({Scene("edge-loop.json"), "--click", "Line", "--show-scene",
                               folder.Path("ring.svg"), "--show-dialog", folder.Path("ring-dialog.svg")});
  EXPECT_EQ(report["sceneSvg"], folder.Path("ring.svg"));
  const std::string svg = folder.Read("ring.svg");
  // Titled with the operation; the clicked button is marked in the dialog.
  EXPECT_NE(svg.find("class='title'"), std::string::npos);
  EXPECT_NE(svg.find(">(L)ine (set axis)</text>"), std::string::npos);
  const std::string dialog = folder.Read("ring-dialog.svg");
  ASSERT_EQ(Count(dialog, "class='marked'"), 1u);
  EXPECT_LT(dialog.find("(<tspan text-decoration=\"underline\">L</tspan>)ine"),
            dialog.find("class='marked'"));
  // Every axis lies on a halo, and the new ones are drawn over the selection.
  EXPECT_EQ(Count(svg, "<line class='halo'"), 6u);
  EXPECT_LT(svg.find("class='selected line'"), svg.find("class='axis after Y'"));
  const auto edge = Lines(svg, "selected line");
  const auto yAfter = Lines(svg, "axis after Y");
  const auto yBefore = Lines(svg, "axis before Y");
  ASSERT_EQ(edge.size(), 1u) << svg;
  ASSERT_EQ(yAfter.size(), 1u);
  ASSERT_EQ(yBefore.size(), 1u);
  EXPECT_LT(Skew(yAfter[0], edge[0]), 0.01) << "Y now follows the edge";
  EXPECT_GT(Skew(yBefore[0], edge[0]), 0.3);
  // Both frames start at the unmoved origin; the axes are dashed before.
  EXPECT_EQ(yAfter[0][0], yBefore[0][0]);
  EXPECT_EQ(yAfter[0][1], yBefore[0][1]);
  EXPECT_NE(svg.find("class='axis before X' x1"), std::string::npos);
  EXPECT_EQ(svg.find("class='old place'"), std::string::npos) << "no vertex moved";
  // The ring's scene names no camera: its camera view is the three-quarter
  // one, not the default camera's look straight down Z. Given that camera by
  // name, the ring is seen down Z, the old X axis flat on the page.
  RunJson({Scene("edge-loop.json"), "--click", "Line", "--show-scene", folder.Path("camera.svg"),
           "--scene-view", "camera"});
  EXPECT_EQ(Lines(folder.Read("camera.svg"), "axis before X"), Lines(svg, "axis before X"));
  std::ifstream ringFile(Scene("edge-loop.json"));
  std::string ring((std::istreambuf_iterator<char>(ringFile)), std::istreambuf_iterator<char>());
  ring.insert(ring.find('{') + 1, "\"cameraAngle\": [0, 0, 0],");
  folder.Write("ring-down-z.json", ring);
  RunJson({folder.Path("ring-down-z.json"), "--click", "Line", "--show-scene", folder.Path("down-z.svg"),
           "--scene-view", "camera"});
  const auto xCamera = Lines(folder.Read("down-z.svg"), "axis before X");
  const auto xFixed = Lines(svg, "axis before X");
  ASSERT_EQ(xCamera.size(), 1u);
  EXPECT_EQ(xCamera[0][1], xCamera[0][3]);
  EXPECT_NE(xFixed[0][1], xFixed[0][3]);

  // With Transform the four moved vertices leave their old places behind.
  RunJson(
      {Scene("wedge.json"), "--toggle", "Transform", "--key", "n", "--show-scene", folder.Path("wedge.svg")});
  const std::string wedge = folder.Read("wedge.svg");
  EXPECT_EQ(Count(wedge, "<circle class='old place'"), 4u);
  EXPECT_NE(wedge.find("class='selected face'"), std::string::npos);
  EXPECT_NE(wedge.find(">(N)ormal of a Face (set axis), with Trans(f)orm</text>"), std::string::npos);

  // A copy to selected objects draws the two targets it changed, with their
  // axes before and after, and names the objects; the bystander stays out.
  RunJson({Scene("copy-targets.json"), "--click", "Copy", "--show-scene", folder.Path("copy.svg")});
  const std::string copy = folder.Read("copy.svg");
  EXPECT_EQ(Lines(copy, "axis other after Y").size(), 2u);
  EXPECT_EQ(Lines(copy, "axis other before Y").size(), 2u);
  EXPECT_EQ(Lines(copy, "other edge").size(), 6u);
  for (const char* name : {">Target A<", ">Target B<", ">Source<"})
    EXPECT_NE(copy.find(name), std::string::npos);
  EXPECT_EQ(copy.find("Bystander"), std::string::npos);
}

}  // namespace
}  // namespace runner_test

#endif
