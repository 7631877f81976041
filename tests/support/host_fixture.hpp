// Shared by the tests that talk to the replacement host: binds the plug-in's
// host table from the host library (HostPath), starts each test with no
// protocol errors and fails it when one is left at its end (a test that
// provokes errors on purpose clears them), and builds the (name, pointer)
// lists of requests and events.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "binding/host_api.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/settings.hpp"
#include "mqhost/widgets.hpp"
#include "operations/operations.hpp"
#include "support/plugin_library.hpp"

namespace host_testing {

// True when some recorded protocol error contains `part`.
inline bool HasProtocolError(const std::string& part) {
  for (const std::string& error : mqhost::ProtocolErrors()) {
    if (error.find(part) != std::string::npos) return true;
  }
  return false;
}

inline void ExpectNoProtocolErrors() { EXPECT_EQ(mqhost::ProtocolErrors(), std::vector<std::string>{}); }

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tervolin::BindHostFromFile(testing_support::HostPath().c_str()));
    mqhost::ClearProtocolErrors();
  }
  void TearDown() override { ExpectNoProtocolErrors(); }

  static void ExpectNoProtocolErrors() { host_testing::ExpectNoProtocolErrors(); }
  static bool HasProtocolError(const std::string& part) { return host_testing::HasProtocolError(part); }
};

// A fresh document in the host, destroyed at the end of the test.
class DocumentTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    document = mqhost::CreateDocument();
  }
  void TearDown() override {
    HostTest::TearDown();
    if (document != nullptr) mqhost::DestroyDocument(document);
  }

  DocumentHandle document = nullptr;
  // What the operations read; each test sets what it needs.
  tervolin::Options options;
};

// A fresh widget store; the scripted user is reset at the end.
class WidgetHostTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    mqhost::ResetWidgets();
  }
  void TearDown() override {
    HostTest::TearDown();
    mqhost::ScriptUser({});
  }
};

// An empty settings tree that the plug-in can reach; temporary files named
// by ScratchPath are removed at the end.
class SettingsTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    mqhost::ResetSettings();
    mqhost::SetSettingsAvailable(true);
  }
  void TearDown() override {
    HostTest::TearDown();
    mqhost::SetSettingsAvailable(true);
    mqhost::ResetSettings();
    for (const std::filesystem::path& path : scratch_) {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  }

  std::filesystem::path ScratchPath(const std::string& name) {
    scratch_.push_back(std::filesystem::temp_directory_path() / ("tervolin_settings_" + name));
    std::filesystem::remove_all(scratch_.back());
    return scratch_.back();
  }
  static std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void WriteAll(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
  }

 private:
  std::vector<std::filesystem::path> scratch_;
};

// A null-terminated (name, pointer) list, as the host builds its event lists
// and the plug-in its widget requests.
class ArgList {
 public:
  ArgList& Add(const char* name, const void* value) {
    slots_.push_back(const_cast<char*>(name));
    slots_.push_back(const_cast<void*>(value));
    return *this;
  }
  void** data() {
    terminated_ = slots_;
    terminated_.push_back(nullptr);
    return terminated_.data();
  }

 private:
  std::vector<void*> slots_;
  std::vector<void*> terminated_;
};

}  // namespace host_testing
