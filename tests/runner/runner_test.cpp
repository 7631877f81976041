// tervolin-run as a user runs it: the reports and files of real picks, and a
// clear message with a non-zero status, no crash and no partial file, for
// every kind of bad input.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "tests/runner/runner_process.hpp"

namespace runner_test {
namespace {

using nlohmann::json;

std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

json ParseJson(const std::string& text) {
  json value = json::parse(text, nullptr, false);
  EXPECT_FALSE(value.is_discarded()) << text;
  return value;
}

// --- Loading: identity, scenes, OBJ, selections ------------------------------

class RunnerLoading : public ::testing::Test {
 protected:
  RunnerFolder folder{TestName()};
};

TEST_F(RunnerLoading, WithoutSceneReportsThePluginsIdentity) {
  const RunResult run = folder.Run({});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_NE(run.out.find("Tervolin ver.1.0b"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("E3F7A830-BD9A187A"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"Tervolin\""), std::string::npos) << run.out;
}

TEST_F(RunnerLoading, VersionAndHelpFollowCommandLineConventions) {
  const RunResult version = folder.Run({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, "tervolin-run " TERVOLIN_VERSION "\n");
  const RunResult help = folder.Run({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  for (const char* text :
       {"--settings FILE", "starts from its defaults", "--click CAPTION", "--strict", "--time"}) {
    EXPECT_NE(help.out.find(text), std::string::npos) << text << help.out;
  }
  EXPECT_EQ(help.out.find("TEXT"), std::string::npos) << help.out;
}

TEST_F(RunnerLoading, JsonReportCarriesIdentityAndScene) {
  const RunResult run = folder.Run({Scene("copy-targets.json"), "--json"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  const json report = ParseJson(run.out);
  EXPECT_EQ(report["formatVersion"], 2);
  EXPECT_TRUE(report["error"].is_null());
  EXPECT_EQ(report["plugin"]["typeName"], "object plug-in");
  EXPECT_EQ(report["plugin"]["product"], "E3F7A830");
  EXPECT_EQ(report["plugin"]["id"], "BD9A187A");
  EXPECT_EQ(report["plugin"]["type"], 4);
  EXPECT_EQ(report["plugin"]["menu"], json::array({"Tervolin"}));
  EXPECT_EQ(report["plugin"]["interfaceVersion"], 0x451);
  EXPECT_EQ(report["plugin"]["interfaceVersionHex"], "0x451");
  EXPECT_EQ(report["scene"]["objects"], 4);
  EXPECT_EQ(report["scene"]["current"], "Source");
  EXPECT_EQ(report["protocolErrors"], json::array());
}

TEST_F(RunnerLoading, ObjGroupsBecomeObjectsWithTheirOwnVertices) {
  folder.Write("two.obj",
               "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
               "v 5 0 0\nv 6 0 0\nv 5 1 0\n"
               "o Quad\nf 1 2 3 4\n"
               "g Tri\nf 5 6 7\nf 5 6\n");
  const RunResult run =
      folder.Run({folder.Path("two.obj"), "--current", "Tri", "--out", folder.Path("out.json")});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  // The loader's warnings are passed on: here, the face of two corners it drops.
  EXPECT_NE(run.err.find("two.obj: warning: Degenerated face found"), std::string::npos) << run.err;
  const json scene = ParseJson(folder.Read("out.json"));
  ASSERT_EQ(scene["objects"].size(), 2u);
  EXPECT_EQ(scene["objects"][0]["name"], "Quad");
  EXPECT_EQ(scene["objects"][0]["vertices"].size(), 4u);
  // Faces keep their first corner and turn the others round (OBJ's outward
  // winding is the document's inward one).
  EXPECT_EQ(scene["objects"][0]["faces"], json::array({json::array({0, 3, 2, 1})}));
  EXPECT_EQ(scene["objects"][1]["name"], "Tri");
  // The triangle's vertices are renumbered within its own object.
  EXPECT_EQ(scene["objects"][1]["faces"], json::array({json::array({0, 2, 1})}));
  EXPECT_EQ(scene["objects"][1]["vertices"][0], json::array({5.0, 0.0, 0.0}));
  EXPECT_EQ(scene["currentObject"], 1);
}

// A closed cube wound as OBJ files wind it, counter-clockwise seen from
// outside: "(&N)ormal of a Face" turns the axis it sets out of the solid on
// every face. "set to Y" turns the frame about X, so the two faces across X
// are set with "set to X" instead.
TEST_F(RunnerLoading, ObjFaceNormalsPointOutOfTheSolid) {
  folder.Write("cube.obj",
               "o Cube\n"
               "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\n"
               "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
               "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n");
  const struct {
    int axis;  // the frame row the pick sets: 0 X, 1 Y
    double outward[3];
  } faces[6] = {{1, {0, 0, -1}}, {1, {0, 0, 1}}, {1, {0, -1, 0}},
                {0, {1, 0, 0}},  {1, {0, 1, 0}}, {0, {-1, 0, 0}}};
  for (int face = 0; face < 6; ++face) {
    std::vector<std::string> arguments = {folder.Path("cube.obj"), "--select-faces",
                                          "Cube:" + std::to_string(face)};
    if (faces[face].axis == 0) arguments.insert(arguments.end(), {"--click", "set to X"});
    arguments.insert(arguments.end(), {"--click", "(&N)ormal of a Face", "--out", folder.Path("out.json")});
    const RunResult run = folder.Run(arguments);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const json frame = ParseJson(folder.Read("out.json"))["objects"][0]["frame"];
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(frame[4 * faces[face].axis + k].get<double>(), faces[face].outward[k], 1e-6)
          << "face " << face << ", element " << k;
    }
  }
}

TEST_F(RunnerLoading, CommandLineSelectionsReplaceTheScenesAndAddUp) {
  const RunResult run = folder.Run({Scene("copy-targets.json"), "--current", "Target B", "--select-vertices",
                                    "Source:0,2", "--select-vertices", "Source:1,0", "--select-faces",
                                    "Bystander:0", "--select-lines", "Target A:0/1,0/2", "--select-objects",
                                    "Source,Bystander", "--out", folder.Path("out.json")});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const json scene = ParseJson(folder.Read("out.json"));
  const json& objects = scene["objects"];
  EXPECT_EQ(scene["currentObject"], 2);
  EXPECT_EQ(objects[0]["selectedVertices"], json::array({0, 1, 2}));
  EXPECT_EQ(objects[3]["selectedFaces"], json::array({0}));
  EXPECT_EQ(objects[1]["selectedLines"], json::array({json::array({0, 1}), json::array({0, 2})}));
  EXPECT_EQ(objects[0]["selected"], true);
  EXPECT_EQ(objects[1]["selected"], false);  // selected in the scene, not named
  EXPECT_EQ(objects[2]["selected"], false);
  EXPECT_EQ(objects[3]["selected"], true);
}

TEST_F(RunnerLoading, ControlCharactersInNamesAreEscapedInReportsMessagesAndPictures) {
  folder.Write("input.json",
               R"({"currentObject": 0, "objects": [{"name": "A\u001b[31m\nprotocol    no errors\u009b",
                                 "vertices": [[0, 0, 0], [2, 0, 0], [0, 2, 0]], "faces": [[0, 1, 2]]}]})");
  const RunResult run = folder.Run({folder.Path("input.json"), "--click", "Center of the O(&b)ject"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  const std::string escaped = R"("A\u001b[31m\nprotocol    no errors\u009b")";
  EXPECT_NE(run.out.find("current     " + escaped + "\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("changed     " + escaped + " (object 0)\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
  EXPECT_EQ(run.out.find("\xC2\x9B"), std::string::npos);

  // The same on standard error (the name in a hint, an OBJ warning, a path)
  // and in the pictures, which must stay well-formed XML: a JSON name with
  // controls, an OBJ name that is not UTF-8, a material that would retitle
  // the terminal.
  folder.Write("input.obj",
               "o B\xff\x01\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl \x1b]0;title\x07\x1b[2J\nf 1 2 3\n");
  const RunResult hint = folder.Run({folder.Path("input.json"), "--current", "A"});
  EXPECT_EQ(hint.exitStatus, 2);
  EXPECT_NE(hint.err.find("A\\u001b[31m\\nprotocol"), std::string::npos) << hint.err;
  for (const std::string& scene : {std::string("input.json"), std::string("input.obj")}) {
    const RunResult drawn = folder.Run({folder.Path(scene), "--show-scene", folder.Path(scene + ".svg"),
                                        "--show-dialog", folder.Path("dialog\x1b.svg")});
    EXPECT_EQ(drawn.exitStatus, 0) << drawn.err;
    for (const std::string& text : {drawn.out, drawn.err, hint.err, folder.Read(scene + ".svg")}) {
      for (const char* raw : {"\x1b", "\x07", "\x01", "\xff", "\xC2\x9B"}) {
        EXPECT_EQ(text.find(raw), std::string::npos) << scene << ": " << text;
      }
    }
    pugi::xml_document picture;
    EXPECT_TRUE(picture.load_file(folder.Path(scene + ".svg").c_str())) << folder.Read(scene + ".svg");
  }
  EXPECT_NE(folder.Read("input.obj.svg").find("B\\xff\\u0001"), std::string::npos);
}

// --- Bad input: one clear message, status 2, nothing written -------------------

class RunnerBadInput : public ::testing::Test {
 protected:
  // Runs with --out and expects the failure: status 2, the message names
  // `subject` and says `reason`, and no file at all is left in the folder.
  void ExpectRefused(std::vector<std::string> arguments, const std::string& subject,
                     const std::string& reason) {
    arguments.push_back("--out");
    arguments.push_back(folder.Path("out.json"));
    const RunResult run = folder.Run(arguments);
    EXPECT_EQ(run.exitStatus, 2) << run.out << run.err;
    EXPECT_NE(run.err.find(subject), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << "one message: " << run.err;
    // Asked for JSON, the same failure comes as an error object.
    arguments.push_back("--json");
    const json error = ParseJson(folder.Run(arguments).out);
    EXPECT_EQ(error["error"]["exitStatus"], 2);
    EXPECT_EQ(error["error"]["message"],
              run.err.substr(std::string("tervolin-run: ").size(), run.err.size() - 15));
    std::vector<std::string> left = folder.Files();
    left.erase(std::remove(left.begin(), left.end(), "input.json"), left.end());
    left.erase(std::remove(left.begin(), left.end(), "input.obj"), left.end());
    left.erase(std::remove(left.begin(), left.end(), "not-a-library.so"), left.end());
    EXPECT_TRUE(left.empty()) << left.front();
  }

  RunnerFolder folder{TestName()};
};

TEST_F(RunnerBadInput, SceneFilesThatCannotBeUsed) {
  ExpectRefused({folder.Path("missing.json")}, "missing.json", "cannot open the file");
  folder.Write("input.json", "{\"objects\": [ {\"name\": \"Box\", ");
  ExpectRefused({folder.Path("input.json")}, "input.json", "not valid JSON");
  folder.Write("input.json",
               R"({"objects": [{"name": "Box", "vertices": [[0,0,0],[1,0,0]], "faces": [[0,1,2]]}]})");
  ExpectRefused({folder.Path("input.json")}, "objects[0].faces[0][2]", "vertex index 2 is out of range");
  folder.Write("input.json", R"({"objects": [{"name": "Box", "vertices": [[0,0]]}]})");
  ExpectRefused({folder.Path("input.json")}, "objects[0].vertices[0]", "must hold 3 numbers");
  folder.Write("input.json",
               R"({"objects": [{"name": "Box", "vertices": [], "faces": [], "name": "Other"}]})");
  ExpectRefused({folder.Path("input.json")}, "objects[0].name", "this key is given twice");
  // Files that are no scene at all: each is refused at once, without reading
  // a device to its end or waiting for a writer to a pipe.
  ExpectRefused({"/dev/zero"}, "/dev/zero", "is not a regular file");
  std::filesystem::remove(folder.Path("input.json"));
  std::filesystem::create_directory(folder.Path("input.json"));
  ExpectRefused({folder.Path("input.json")}, "input.json", "is a folder");
  std::filesystem::remove(folder.Path("input.json"));
  ASSERT_EQ(mkfifo(folder.Path("input.json").c_str(), 0600), 0);
  ExpectRefused({folder.Path("input.json")}, "input.json", "is not a regular file");
}

TEST_F(RunnerBadInput, ObjLinesTheHostCannotHoldNameTheirLine) {
  const struct {
    const char* lines;
    const char* error;
  } cases[] = {
      {"f 1 2 9\n", "input.obj:4: face names vertex 9, but the file has 3 vertices"},
      {"f 1 2 -7\n", "input.obj:4: face names vertex -7, but the file has 3 vertices before this line"},
      {"f 1 2 100000000000000000000\n", "input.obj:4: face names vertex 100000000000000000000, but the file"},
      {"f 1 2 0\n", "input.obj:4: face names vertex 0, but OBJ counts vertices from 1"},
      {"v 1e39 0 0\n", "input.obj:4: vertex coordinate \"1e39\" is not a number a float can hold"},
      {"v nan 7 7\n", "input.obj:4: vertex coordinate \"nan\" is not a number a float can hold"},
      {"v 1 2\n", "input.obj:4: a vertex needs three coordinates"},
  };
  // The checks read the lines the loader reads, whatever ends them.
  for (const char* ending : {"\n", "\r", "\r\n"}) {
    for (const auto& bad : cases) {
      std::string text = std::string("v 0 0 0\nv 1 0 0\nv 0 1 0\n") + bad.lines;
      for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        text.replace(at, 1, ending);
        at += std::strlen(ending) - 1;
      }
      folder.Write("input.obj", text);
      ExpectRefused({folder.Path("input.obj")}, folder.Path("input.obj"), bad.error);
    }
  }
}

TEST_F(RunnerBadInput, NamesAndCaptionsTheSceneOrDialogLacks) {
  const std::string box = Scene("tilted-box.json");
  ExpectRefused({box, "--click", "(&Q)uit"}, "--click \"(&Q)uit\"", "no control with this caption");
  ExpectRefused({box, "--click", "Lien"}, "--click \"Lien\"", "did you mean \"(&L)ine\"? The choices are");
  // One letter names two buttons: their rows and keys tell them apart.
  ExpectRefused({box, "--click", "x"}, "--click \"x\"",
                "names more than one control: \"&X\" (Rotate, key x) or \"X\" (Mirror)");
  ExpectRefused({box, "--click", "z"}, "--click \"z\"", "\"Z\" (Mirror); give the caption exactly");
  // Guesses go by whole words as well as by letters.
  ExpectRefused({box, "--click", "Center"}, "--click \"Center\"",
                "did you mean \"Center of (&V)ertexes\" or \"Center of the O(&b)ject\"? The choices are");
  ExpectRefused({box, "--click", "Object"}, "--click \"Object\"",
                "did you mean \"Center of the O(&b)ject\"?");
  ExpectRefused({box, "--click", "Vertexes"}, "--click \"Vertexes\"",
                "did you mean \"Center of (&V)ertexes\"?");
  ExpectRefused({box, "--click", "mirror"}, "--click \"mirror\"",
                "did you mean \"X\" (Mirror), \"Y\" (Mirror) or \"Z\" (Mirror)?");
  ExpectRefused({Scene("copy-targets.json"), "--current", "target"}, "--current \"target\"",
                "did you mean \"Target A\" or \"Target B\"?");
  ExpectRefused({box, "--click", "transform"}, "--click \"transform\"", "use --toggle");
  ExpectRefused({box, "--toggle", "(&L)ine"}, "--toggle \"(&L)ine\"", "no check box");
  ExpectRefused({box, "--key", "F13"}, "--key \"F13\"", "not a key");
  ExpectRefused({box, "--key", "esacpe"}, "--key \"esacpe\"", "did you mean \"escape\"?");
  ExpectRefused({box, "--key", "ctrl+"}, "--key \"ctrl+\"", "not a key");
  ExpectRefused({box, "--move", "10"}, "--move \"10\"", "expected X,Y");
  // A mistyped option: the nearest one, and where the others are listed.
  ExpectRefused({box, "--clik", "Line"}, "--clik is not an option; did you mean --click?",
                "tervolin-run --help lists the options");
  ExpectRefused({box, "--stirct"}, "--stirct", "did you mean --strict?");
  ExpectRefused({box, "--current", "box"}, "--current \"box\"",
                "no object of that name; did you mean \"Box\"?");
  ExpectRefused({box, "--select-vertices", "Sphere:1"}, "--select-vertices \"Sphere\"",
                "no object of that name");
  ExpectRefused({box, "--select-vertices", "Box:8"}, "--select-vertices \"Box\"",
                "vertex 8 does not exist: indices count from 0, and the object has vertices 0 to 7");
  ExpectRefused({box, "--select-lines", "Box:0/4"}, "--select-lines \"Box\"",
                "edge of face 0 4 does not exist: indices count from 0, and face 0 has edges 0 to 3");
  ExpectRefused({box, "--select-faces", "Box:x"}, "--select-faces \"Box:x\"", "\"x\" is not an index");
  ExpectRefused({box, "--select-objects", "Box,Sphere"}, "--select-objects \"Sphere\"",
                "no object of that name");
  ExpectRefused({Scene("copy-targets.json"), "--pick-reference", "Sphere"}, "--pick-reference \"Sphere\"",
                "no object of that name");
  ExpectRefused({Scene("copy-targets.json"), "--pick-reference", "Source"}, "--pick-reference \"Source\"",
                "this is the current object");
}

TEST_F(RunnerBadInput, PluginsTheHostCannotUse) {
  const std::string box = Scene("tilted-box.json");
  folder.Write("not-a-library.so", "just text\n");
  ExpectRefused({box, "--plugin", folder.Path("not-a-library.so")}, "not-a-library.so",
                "not a loadable library");
  ExpectRefused({box, "--plugin", folder.Path("absent.so")}, "absent.so",
                "missing, or not a loadable library");
  ExpectRefused({box, "--plugin", RUNNER_HOST_FILE}, RUNNER_HOST_FILE,
                "not a plug-in: it does not export MQCheckVersion");
  ExpectRefused({box, "--plugin", RUNNER_REFUSING_PLUGIN_FILE}, RUNNER_REFUSING_PLUGIN_FILE,
                "MQCheckVersion refused host version 0x4501");
  ExpectRefused({box, "--host", RUNNER_INCOMPLETE_HOST_FILE}, RUNNER_INCOMPLETE_HOST_FILE,
                "MQInit failed to bind the host functions");
}

TEST_F(RunnerBadInput, SettingsFileThatIsNotOne) {
  folder.Write("input.json", "<settings><pluginsettings>");
  ExpectRefused({Scene("tilted-box.json"), "--settings", folder.Path("input.json")},
                folder.Path("input.json"), "not well-formed XML");
  ExpectRefused({Scene("tilted-box.json"), "--settings", folder.Path("input.json")}, "input.json",
                "mend or delete the file");
  ExpectRefused({Scene("tilted-box.json"), "--settings", "/dev/zero"}, "/dev/zero", "is not a regular file");
}

TEST_F(RunnerBadInput, OutputsThatNameNoFileTheWrongKindOrTheSameFile) {
  const std::string box = Scene("tilted-box.json");
  const RunResult run = folder.Run({box, "--out", ""});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.err, "tervolin-run: --out \"\": names no file\n");
  ExpectRefused({box, "--show-dialog", ""}, "--show-dialog \"\"", "names no file");
  // Options that could not take effect: a picture under another format's
  // name, a view with no scene picture to draw.
  ExpectRefused({box, "--show-dialog", folder.Path("dialog.png")}, "dialog.png", "ending in .svg");
  ExpectRefused({box, "--show-scene", folder.Path("svg")}, "--show-scene", "ending in .svg");
  ExpectRefused({box, "--scene-view", "camera"}, "--scene-view \"camera\"", "only with --show-scene");
  ExpectRefused({box, "--show-dialog-open"}, "--show-dialog-open", "only with --show-dialog");
  ExpectRefused({"--time"}, "command line", "the pick needs a scene file");
  ExpectRefused({box, "--show-scene", folder.Path("none/scene.svg")}, "--show-scene",
                "the folder " + folder.Path("none") + " does not exist");
  // The runner adds --out FILE: here it is also the settings file, spelled
  // another way.
  ExpectRefused({box, "--settings", folder.Path("./out.json")}, "--out " + folder.Path("out.json"),
                "is the same file as --settings");
  const RunResult obj = folder.Run({box, "--out", folder.Path("input.obj")});
  EXPECT_EQ(obj.exitStatus, 2);
  EXPECT_NE(obj.err.find("input.obj\": the scene is written as JSON"), std::string::npos) << obj.err;

  // Every output against every other and against the scene read, after
  // links (a dangling one to the file it would make) and hard links.
  namespace fs = std::filesystem;
  fs::copy_file(box, folder.Path("input.json"));
  fs::create_hard_link(folder.Path("input.json"), folder.Path("hard.svg"));
  fs::create_symlink("target.svg", folder.Path("link.json"));
  folder.Write("input.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  fs::create_symlink("input.obj", folder.Path("obj.json"));
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } clashes[] = {
      {{"input.json", "--settings", "s.svg", "--show-scene", "s.svg"},
       "s.svg: is the same file as --settings"},
      {{"input.json", "--show-dialog", "hard.svg"}, "hard.svg: is the scene file being read"},
      {{"input.json", "--out", "link.json", "--show-dialog", "target.svg"},
       "target.svg: is the same file as --out"},
      {{"input.json", "--settings", "link.json", "--show-scene", "./target.svg"},
       "target.svg: is the same file as --settings"},
      // In place, but JSON through a link into the OBJ file read.
      {{"input.obj", "--out", "obj.json"}, "obj.json: is the OBJ file being read"},
      // A link named for the format, to a file that is not.
      {{"input.json", "--out", "link.json"}, "target.svg, a file not named .json"},
  };
  for (const auto& clash : clashes) {
    std::vector<std::string> arguments;
    for (const std::string& argument : clash.arguments) {
      arguments.push_back(argument.find('-') == 0 ? argument : folder.Path(argument));
    }
    const RunResult refused = folder.Run(arguments);
    EXPECT_EQ(refused.exitStatus, 2) << refused.out << refused.err;
    EXPECT_NE(refused.err.find(clash.message), std::string::npos) << refused.err;
  }
  const std::string scene = folder.Read("input.json");
  std::vector<std::string> left = folder.Files();
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"hard.svg", "input.json", "input.obj", "link.json", "obj.json"}));
  EXPECT_EQ(folder.Read("input.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  fs::remove(folder.Path("hard.svg"));
  // The scene written back over itself is an edit in place.
  const RunResult inPlace = folder.Run(
      {folder.Path("input.json"), "--click", "Center of the O(&b)ject", "--out", folder.Path("input.json")});
  EXPECT_EQ(inPlace.exitStatus, 0) << inPlace.err;
  EXPECT_NE(folder.Read("input.json"), scene);
}

}  // namespace
}  // namespace runner_test
