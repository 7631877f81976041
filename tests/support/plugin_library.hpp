// Loading the built plug-in into a test process and reaching its fourteen
// exports, as the host modeller does.
#pragma once

#include <cstdint>
#include <string>

#include "platform/dynamic_library.hpp"
#include "plugin/host_types.hpp"

namespace testing_support {

struct PluginExports {
  uint32_t (*MQCheckVersion)(uint32_t) = nullptr;
  int32_t (*MQInit)(const char*) = nullptr;
  void (*MQGetPlugInID)(uint32_t*, uint32_t*) = nullptr;
  const char* (*MQGetPlugInName)() = nullptr;
  int32_t (*MQGetPlugInType)() = nullptr;
  const char* (*MQEnumString)(int32_t) = nullptr;
  const char* (*MQEnumFileType)(int32_t) = nullptr;
  const char* (*MQEnumFileExt)(int32_t) = nullptr;
  int32_t (*MQImportFile)(int32_t, void*, void*) = nullptr;
  int32_t (*MQExportFile)(int32_t, void*, void*) = nullptr;
  int32_t (*MQCreate)(int32_t, DocumentHandle) = nullptr;
  int32_t (*MQModifyObject)(int32_t, DocumentHandle) = nullptr;
  int32_t (*MQModifySelect)(int32_t, DocumentHandle) = nullptr;
  int32_t (*MQOnEvent)(DocumentHandle, int32_t, void*) = nullptr;
};

// Folder of the running test program; the plug-in and the hosts are built
// beside it.
std::string ExecutableDir();
std::string PluginPath();
std::string HostPath();
std::string IncompleteHostPath();

// The plug-in library, loaded for the lifetime of the object.
class PluginLibrary {
 public:
  explicit PluginLibrary(const std::string& path = PluginPath());
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool loaded() const { return library_ != nullptr; }
  // True when every one of the fourteen exports was found.
  bool complete() const { return complete_; }
  const PluginExports& api() const { return api_; }
  // Version check and MQInit against the replacement host, as the host does
  // at start-up. True when both succeed.
  bool Start();

 private:
  platform::LibraryHandle library_ = nullptr;
  PluginExports api_;
  bool complete_ = false;
};

}  // namespace testing_support
