// The validator's verdict and its command line: the exit status is 0 only
// when checks ran and all passed, a stuck check ends the run as a failure,
// the JUnit file counts checks and assertions, and bad arguments are refused.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <pugixml.hpp>
#include <thread>

#include "options.hpp"
#include "report.hpp"

namespace {

TEST(Report, ExitStatusIsZeroOnlyWhenChecksRanAndAllPassed) {
  {
    validator::Report report;
    EXPECT_EQ(report.Finish(), 1) << "a run without checks proves nothing";
  }
  {
    validator::Report report;
    report.Check("one", true);
    report.Check("two", true);
    EXPECT_EQ(report.Finish(), 0);
    EXPECT_EQ(report.passed(), 2);
  }
  {
    validator::Report report;
    report.Check("one", true);
    EXPECT_FALSE(report.Check("two", false, "why"));
    EXPECT_EQ(report.Finish(), 1);
    EXPECT_EQ(report.failed(), 1);
  }
}

// A check made per pick is one check of many assertions, in the counts and in
// the JUnit file a CI reads.
TEST(Report, TalliesAreOneCheckOfManyAssertionsInTheJUnitFile) {
  const std::string path = ::testing::TempDir() + "validator-junit.xml";
  validator::Report report;
  report.Configure(false, false, path);
  report.Check("loads <&> starts", true);
  for (int pick = 1; pick <= 30; ++pick) report.Tally("frames stay finite", pick != 7, "pick 7: NaN");
  report.PrintTallies();
  EXPECT_EQ(report.Finish(), 1);
  ASSERT_EQ(report.checks().size(), 2u);
  EXPECT_EQ(report.passed(), 30);
  EXPECT_EQ(report.failed(), 1);

  pugi::xml_document junit;
  ASSERT_TRUE(junit.load_file(path.c_str()));
  const pugi::xml_node suite = junit.child("testsuites").child("testsuite");
  EXPECT_EQ(suite.attribute("tests").as_int(), 2);
  EXPECT_EQ(suite.attribute("failures").as_int(), 1);
  const pugi::xml_node first = suite.find_child_by_attribute("testcase", "name", "loads <&> starts");
  ASSERT_TRUE(first);
  EXPECT_FALSE(first.child("failure"));
  const pugi::xml_node tally = suite.find_child_by_attribute("testcase", "name", "frames stay finite");
  EXPECT_EQ(tally.attribute("assertions").as_int(), 30);
  EXPECT_STREQ(tally.child("failure").attribute("message").value(), "1 of 30 assertions failed");
  EXPECT_STREQ(tally.child("failure").text().get(), "pick 7: NaN\n");
  std::remove(path.c_str());
}

TEST(ReportDeathTest, StuckCheckFailsAsAHang) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        validator::Report report(1);
        report.Check("before", true);
        report.Begin("a stuck pick");
        std::this_thread::sleep_for(std::chrono::seconds(10));
      },
      testing::ExitedWithCode(1), "");
}

bool Parse(std::vector<const char*> args, validator::Options* options, std::string* error) {
  args.insert(args.begin(), "tervolin-validate");
  bool help = false;
  return validator::ParseOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()), options,
                                 error, &help);
}

TEST(Options, DefaultsAndGivenValues) {
  validator::Options options;
  std::string error;
  ASSERT_TRUE(Parse({}, &options, &error)) << error;
  EXPECT_EQ(options.level, 1);
  EXPECT_EQ(options.picks, 1000);
  const uint64_t defaultSeed = options.seed;
  ASSERT_TRUE(Parse({}, &options, &error));
  EXPECT_EQ(options.seed, defaultSeed) << "the default seed is fixed";
  ASSERT_TRUE(Parse({"--level", "10", "--picks", "25", "--seed", "18446744073709551615", "--plugin", "x.so"},
                    &options, &error))
      << error;
  EXPECT_EQ(options.level, 10);
  EXPECT_EQ(options.picks, 25);
  EXPECT_EQ(options.seed, UINT64_MAX);
  EXPECT_EQ(options.pluginPath, "x.so");
}

TEST(Options, BadArgumentsAreRefused) {
  validator::Options options;
  std::string error;
  EXPECT_FALSE(Parse({"--level", "3"}, &options, &error));
  EXPECT_FALSE(Parse({"--picks", "-1"}, &options, &error));
  EXPECT_FALSE(Parse({"--picks", "12x"}, &options, &error));
  EXPECT_FALSE(Parse({"--seed", "18446744073709551616"}, &options, &error)) << "one past the largest seed";
  EXPECT_FALSE(Parse({"--seed"}, &options, &error));
  EXPECT_FALSE(Parse({"--frobnicate", "1"}, &options, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(Parse({"--version2"}, &options, &error));
  EXPECT_EQ(error.find("needs a value"), std::string::npos) << error;

  // Each refusal names what was wrong: a mistyped option gets the nearest
  // one, an option the level never reads is named as doing nothing, and a
  // JUnit file is refused before any check when its folder is missing.
  const struct {
    std::vector<const char*> args;
    const char* message;
  } refused[] = {
      {{"--piks", "5"}, "--piks is not an option; did you mean --picks?"},
      {{"--levle=5"}, "--levle is not an option; did you mean --level?"},
      {{"--level", "1", "--picks", "25"}, "--picks does nothing at level 1"},
      {{"--near-origins"}, "--near-origins does nothing at level 1"},
      {{"--level", "5", "--picks", "10", "--trace-pick", "11"},
       "--trace-pick 11 does nothing: the run makes 10"},
      {{"--level", "5", "--trace-pick", "0"}, "--trace-pick 0 does nothing"},
      {{"--junit", "no-such-folder/results.xml"}, "the folder no-such-folder does not exist"},
  };
  for (const auto& bad : refused) {
    validator::Options fresh;
    error.clear();
    EXPECT_FALSE(Parse(bad.args, &fresh, &error)) << bad.message;
    EXPECT_NE(error.find(bad.message), std::string::npos) << error;
  }
  validator::Options level5;
  EXPECT_TRUE(Parse({"--level", "5", "--picks", "10", "--trace-pick", "10", "--seed", "3"}, &level5, &error))
      << error;
  validator::Options seeded;
  EXPECT_TRUE(Parse({"--level", "1", "--seed", "7"}, &seeded, &error)) << error;
  validator::Options junit;
  EXPECT_TRUE(Parse({"--junit", "results.xml"}, &junit, &error)) << error;
}

TEST(Options, HelpExplainsTheLevelsAndVersionNamesTheProject) {
  validator::Options options;
  std::string text;
  bool help = false;
  std::vector<const char*> args = {"tervolin-validate", "--help"};
  ASSERT_TRUE(validator::ParseOptions(2, const_cast<char**>(args.data()), &options, &text, &help));
  EXPECT_TRUE(help);
  for (const char* part : {"  10  loading and unloading", "--junit FILE", "--quiet", "--near-origins"}) {
    EXPECT_NE(text.find(part), std::string::npos) << part << text;
  }
  args[1] = "--version";
  ASSERT_TRUE(validator::ParseOptions(2, const_cast<char**>(args.data()), &options, &text, &help));
  EXPECT_EQ(text, "tervolin-validate " TERVOLIN_VERSION "\n");
}

}  // namespace
