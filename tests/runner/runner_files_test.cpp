// The files a run keeps for the user: the settings file and the written scene
// are replaced whole, through a link to the file it names, never through a
// link planted beside it, never over a read-only file, and with no temporary
// file left behind whatever fails.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <future>

#include "tests/runner/runner_process.hpp"

namespace runner_test {
namespace {

namespace fs = std::filesystem;

std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

class RunnerFiles : public ::testing::Test {
 protected:
  // The folder holds exactly these names (no temporary file, nothing else).
  void ExpectFiles(std::vector<std::string> expected) {
    std::vector<std::string> files = folder.Files();
    std::sort(files.begin(), files.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(files, expected);
  }

  RunnerFolder folder{TestName()};
};

TEST_F(RunnerFiles, SettingsSavesGoThroughLinksToTheirFileAndNeverOverAnother) {
  const std::string box = Scene("tilted-box.json");
  // The settings file is a link: the file it names is updated, the link stays.
  fs::create_directory(folder.Path("real"));
  folder.Write("real/settings.xml", "<settings/>");
  fs::create_symlink("real/settings.xml", folder.Path("linked.xml"));
  // Links planted where a predictable temporary file would go.
  folder.Write("victim", "keep me");
  for (const char* planted : {"linked.xml.tmp", "real/settings.xml.tmp", "linked.xml.saving"}) {
    fs::create_symlink(folder.Path("victim"), folder.Path(planted));
  }
  const RunResult run =
      folder.Run({box, "--settings", folder.Path("linked.xml"), "--toggle", "Trans(&f)orm"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(fs::is_symlink(folder.Path("linked.xml")));
  EXPECT_NE(folder.Read("real/settings.xml").find("<pluginsettings>"), std::string::npos);
  EXPECT_EQ(folder.Read("victim"), "keep me");
  ExpectFiles({"linked.xml", "linked.xml.saving", "linked.xml.tmp", "real", "victim"});

  // Runs saving one settings file at once each replace it whole: every later
  // run can read it.
  std::vector<std::future<int>> runs;
  for (int i = 0; i < 6; ++i) {
    runs.push_back(std::async(std::launch::async, [&, i] {
      RunnerFolder own(TestName() + std::to_string(i));  // each run's report in a folder of its own
      return own.Run({box, "--settings", folder.Path("shared.xml"), "--key", "ctrl+C"}).exitStatus;
    }));
  }
  for (std::future<int>& status : runs) EXPECT_EQ(status.get(), 0);
  EXPECT_EQ(folder.Run({box, "--settings", folder.Path("shared.xml")}).exitStatus, 0);
  ExpectFiles({"linked.xml", "linked.xml.saving", "linked.xml.tmp", "real", "shared.xml", "victim"});
}

TEST_F(RunnerFiles, ReadOnlyTargetsAreRefusedAndKept) {
  folder.Write("settings.xml", "<settings/>");
  folder.Write("out.json", "old scene");
  for (const char* file : {"settings.xml", "out.json"})
    fs::permissions(folder.Path(file), fs::perms::owner_read);
  const RunResult run = folder.Run({Scene("tilted-box.json"), "--settings", folder.Path("settings.xml"),
                                    "--out", folder.Path("out.json")});
  EXPECT_EQ(run.exitStatus, 1) << run.err;
  EXPECT_NE(
      run.err.find("settings file \"" + folder.Path("settings.xml") + "\" was not saved: it is read-only"),
      std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("--out " + folder.Path("out.json") + ": it is read-only"), std::string::npos)
      << run.err;
  EXPECT_EQ(folder.Read("settings.xml"), "<settings/>");
  EXPECT_EQ(folder.Read("out.json"), "old scene");
  ExpectFiles({"out.json", "settings.xml"});
}

TEST_F(RunnerFiles, OutputThatCannotBeWrittenLeavesNothingBehind) {
  const RunResult run =
      folder.Run({Scene("tilted-box.json"), "--out", folder.Path("no-such-folder/out.json")});
  EXPECT_EQ(run.exitStatus, 1) << run.err;
  EXPECT_NE(run.err.find("--out " + folder.Path("no-such-folder/out.json") +
                         ": a temporary file cannot be created beside it"),
            std::string::npos)
      << run.err;
  // A folder in the way, and the dialog's picture to a device (through a
  // link with a picture's name).
  fs::create_directory(folder.Path("taken.json"));
  fs::create_symlink("/dev/null", folder.Path("device.svg"));
  const RunResult blocked = folder.Run({Scene("tilted-box.json"), "--out", folder.Path("taken.json"),
                                        "--show-dialog", folder.Path("device.svg")});
  EXPECT_EQ(blocked.exitStatus, 1) << blocked.err;
  EXPECT_NE(blocked.err.find("taken.json: it is a folder"), std::string::npos) << blocked.err;
  EXPECT_NE(blocked.err.find("--show-dialog " + folder.Path("device.svg") +
                             ": not written: it is not a regular file"),
            std::string::npos)
      << blocked.err;
  // A pick that leaves a value no scene file can hold: named, and not written.
  const RunResult runaway = folder.Run(
      {Scene("tilted-box.json"), "--plugin", RUNNER_RUNAWAY_PLUGIN_FILE, "--out", folder.Path("out.json")});
  EXPECT_EQ(runaway.exitStatus, 1) << runaway.err;
  EXPECT_NE(runaway.err.find("objects[0].frame[13]: not a finite number"), std::string::npos) << runaway.err;
  EXPECT_EQ(runaway.out.find("\nwritten "), std::string::npos) << runaway.out;
  ExpectFiles({"device.svg", "taken.json"});
}

}  // namespace
}  // namespace runner_test
