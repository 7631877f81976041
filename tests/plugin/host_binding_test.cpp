#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "binding/host_api.hpp"
#include "mqhost/error_log.hpp"
#include "support/plugin_library.hpp"

namespace {

using tervolin::BindHostFunctions;
using tervolin::HostFunctionTable;
using tervolin::kHostFunctionCount;
using tervolin::kHostFunctionNames;

struct FakeHost {
  std::vector<std::string> asked;
  std::string missing;  // the one name this host lacks
  char marker = 0;
};

void* ResolveFake(void* context, const char* name) {
  auto* host = static_cast<FakeHost*>(context);
  host->asked.emplace_back(name);
  return host->missing == name ? nullptr : &host->marker;
}

TEST(HostBinding, NamesAreAskedInTheListedOrder) {
  FakeHost host;
  HostFunctionTable table;
  ASSERT_TRUE(BindHostFunctions(table, ResolveFake, &host));
  ASSERT_EQ(host.asked.size(), 183u);
  EXPECT_EQ(host.asked.front(), "MQ_GetWindowHandle");
  EXPECT_EQ(host.asked[12], "MQ_SendMessage");
  EXPECT_EQ(host.asked[13], "MQDoc_GetObjectCount");
  EXPECT_EQ(host.asked[181], "MQWidget_Value");
  EXPECT_EQ(host.asked.back(), "MQCanvas_Value");
  for (int i = 0; i < kHostFunctionCount; ++i)
    EXPECT_EQ(host.asked[static_cast<size_t>(i)], kHostFunctionNames[i]);
  EXPECT_NE(table.MQWidget_Value, nullptr);
}

// A failed bind leaves the table as it was: an earlier good bind is neither
// undone nor partly overwritten.
TEST(HostBinding, StopsAtTheFirstMissingNameAndLeavesTheTableAsItWas) {
  HostFunctionTable table;
  FakeHost good;
  ASSERT_TRUE(BindHostFunctions(table, ResolveFake, &good));
  FakeHost bad;
  bad.missing = "MQObj_GetVertex";
  EXPECT_FALSE(BindHostFunctions(table, ResolveFake, &bad));
  EXPECT_EQ(bad.asked.back(), "MQObj_GetVertex");
  EXPECT_LT(bad.asked.size(), 183u);
  EXPECT_EQ(reinterpret_cast<void*>(table.MQ_GetWindowHandle), &good.marker);
  EXPECT_EQ(reinterpret_cast<void*>(table.MQDoc_GetObject), &good.marker);
  EXPECT_EQ(reinterpret_cast<void*>(table.MQCanvas_Value), &good.marker);
}

TEST(HostBindingFromFile, NoFileAndUnloadableFilesFail) {
  EXPECT_FALSE(tervolin::BindHostFromFile(nullptr));

  const std::string notALibrary = testing_support::ExecutableDir() + "/not-a-library.dll";
  {
    std::ofstream out(notALibrary, std::ios::binary);
    out << "this is text, not a loadable module\n";
  }
  EXPECT_FALSE(tervolin::BindHostFromFile(notALibrary.c_str()));
  std::remove(notALibrary.c_str());
}

TEST(HostBindingFromFile, ReplacementHostExportsEveryName) {
  ASSERT_TRUE(tervolin::BindHostFromFile(testing_support::HostPath().c_str()));
  const HostFunctionTable& api = tervolin::HostApi();
  EXPECT_NE(api.MQ_GetWindowHandle, nullptr);
  EXPECT_NE(api.MQCanvas_Value, nullptr);
  // An inert function is answered with a protocol error, not a crash.
  mqhost::ClearProtocolErrors();
  api.MQ_RefreshView();
  const auto errors = mqhost::ProtocolErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("MQ_RefreshView"), std::string::npos);
  mqhost::ClearProtocolErrors();
}

}  // namespace
