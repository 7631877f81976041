// The plug-in can be unloaded after it has done a menu pick: nothing it left
// behind (a thread-local with a destructor, say) keeps the library mapped, or
// runs code of the unloaded library when the host's thread ends.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "mqhost/document.hpp"
#include "mqhost/widgets.hpp"
#include "support/plugin_library.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

bool Mapped(const std::string& path) {
#ifdef _WIN32
  return GetModuleHandleA(path.c_str()) != nullptr;
#else
  std::ifstream maps("/proc/self/maps");
  std::string line;
  const std::string name = path.substr(path.find_last_of('/'));
  while (std::getline(maps, line)) {
    if (line.size() >= name.size() && line.compare(line.size() - name.size(), name.size(), name) == 0)
      return true;
  }
  return false;
#endif
}

TEST(PluginUnload, UnloadsAfterAPickThatMovedVertices) {
  const std::string path = testing_support::PluginPath();
  {
    testing_support::PluginLibrary plugin(path);
    ASSERT_TRUE(plugin.Start());
    const DocumentHandle document = mqhost::CreateDocument();
    mqhost::ObjectData object;
    object.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    object.faces = {{0, 1, 2}};
    mqhost::SetCurrentObjectIndex(document, mqhost::AddObject(document, object));
    mqhost::ScriptUser({mqhost::Click("Center of the O(&b)ject"), mqhost::CloseWindow()});
    EXPECT_NE(plugin.api().MQModifyObject(0, document), 0);
    mqhost::ScriptUser({});
    mqhost::DestroyDocument(document);
  }
  EXPECT_FALSE(Mapped(path)) << "the library is still loaded after its last handle was closed";
}

}  // namespace
