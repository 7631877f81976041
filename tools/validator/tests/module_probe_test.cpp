// The unload probe sees the plug-in while it is loaded and not after: the
// level-10 reload check rests on it.
#include "module_probe.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "plugin_exports.hpp"

namespace {

TEST(ModuleProbe, SeesThePluginOnlyWhileItIsLoaded) {
  const std::string path = validator::ExecutableDir() + TERVOLIN_PLUGIN_FILE_NAME;
  EXPECT_FALSE(validator::IsLibraryMapped(path));
  auto plugin = std::make_unique<validator::LoadedPlugin>(path);
  ASSERT_TRUE(plugin->complete());
  EXPECT_TRUE(validator::IsLibraryMapped(path));
  plugin.reset();
  EXPECT_FALSE(validator::IsLibraryMapped(path));
  EXPECT_FALSE(validator::IsLibraryMapped(validator::ExecutableDir() + "no-such-library"));
}

}  // namespace
