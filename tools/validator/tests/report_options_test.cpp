// The validator's verdict and its command line: the exit status is 0 only
// when checks ran and all passed, a stuck check ends the run as a failure,
// and bad arguments are refused.
#include <gtest/gtest.h>

#include <chrono>
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
}

}  // namespace
