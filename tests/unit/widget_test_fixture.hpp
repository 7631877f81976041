// Shared by the widget tests: binds the plug-in's host table to the
// replacement host, starts every test from a fresh widget store, and reads the
// host's request log back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mqhost/protocol.hpp"
#include "mqhost/widgets.hpp"
#include "plugin/host_api.hpp"
#include "support/plugin_library.hpp"

namespace widget_testing {

class WidgetHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(tervolin::BindHostFromFile(testing_support::HostPath().c_str()));
  }

  void SetUp() override {
    mqhost::ResetWidgets();
    mqhost::ClearProtocolErrors();
  }

  void TearDown() override { mqhost::ScriptUser({}); }

  static std::vector<mqhost::LoggedRequest> Log() { return mqhost::RequestLog(); }

  // The log as one line per request, for readable failure messages.
  static std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    for (const mqhost::LoggedRequest& request : mqhost::RequestLog())
      lines.push_back(mqhost::FormatRequest(request));
    return lines;
  }

  static void ExpectNoProtocolErrors() { EXPECT_EQ(mqhost::ProtocolErrors(), std::vector<std::string>{}); }

  // True when some recorded protocol error contains `part`.
  static bool HasProtocolError(const std::string& part) {
    for (const std::string& error : mqhost::ProtocolErrors()) {
      if (error.find(part) != std::string::npos) return true;
    }
    return false;
  }
};

}  // namespace widget_testing
