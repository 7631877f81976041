#include "static_checks.hpp"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "export_table.hpp"
#include "mqhost/call_count.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/library_path.hpp"
#include "version_resource.hpp"

namespace validator {

std::vector<std::string> SortedPluginExportNames() {
  std::vector<std::string> names(std::begin(tervolin::kPluginExportNames),
                                 std::end(tervolin::kPluginExportNames));
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

// The first dozen names, and how many more: a wrong library may export
// hundreds.
std::string Join(const std::vector<std::string>& names) {
  std::string text;
  const size_t shown = names.size() > 14 ? 12 : names.size();
  for (size_t i = 0; i < shown; ++i) text += (text.empty() ? "" : " ") + names[i];
  if (shown < names.size()) text += " ... and " + std::to_string(names.size() - shown) + " more";
  return text;
}

void CheckExportTable(const Options& options, Report& report) {
  report.Begin("export table");
  std::vector<std::string> names;
  std::string error;
  if (!ReadExportNamesFromFile(options.pluginPath, &names, &error)) {
    report.Check("export table", false, error);
    return;
  }
  std::sort(names.begin(), names.end());
  const std::vector<std::string> expected = SortedPluginExportNames();
  std::vector<std::string> extra;
  std::vector<std::string> missing;
  std::set_difference(names.begin(), names.end(), expected.begin(), expected.end(),
                      std::back_inserter(extra));
  std::set_difference(expected.begin(), expected.end(), names.begin(), names.end(),
                      std::back_inserter(missing));
  std::string detail = std::to_string(names.size()) + " names";
  if (!extra.empty()) detail += "; extra: " + Join(extra);
  if (!missing.empty()) detail += "; missing: " + Join(missing);
  report.Check("export table holds exactly the fourteen plug-in names", names == expected, detail);
}

// Plug-in catalogues refuse a Windows DLL that carries no version resource.
void CheckVersionResource(const Options& options, Report& report) {
  if (!HasVersionResources()) return;
  report.Begin("version resource");
  std::string summary;
  const bool found = ReadVersionResource(options.pluginPath, &summary);
  report.Check("the plug-in carries a version resource", found, summary);
}

void CheckVersion(const PluginExports& api, Report& report) {
  report.Begin("version negotiation");
  // The validator's own copy of the versions, kept apart from the wire
  // contract's on purpose: a check that read the plug-in's numbers could not
  // catch a wrong one.
  const struct {
    uint32_t host;
    uint32_t answer;
  } cases[] = {{0x4500, 0}, {0x4501, 0x451}, {0, 0}, {0x4502, 0x451}, {0xFFFFFFFFu, 0x451}, {0x44FF, 0}};
  for (const auto& c : cases) {
    const uint32_t answer = api.MQCheckVersion(c.host);
    report.Check("MQCheckVersion(" + Hex(c.host) + ") answers " + Hex(c.answer), answer == c.answer,
                 answer == c.answer ? "" : "answered " + Hex(answer));
  }
}

// MQInit against hosts that must be refused, then against the real one.
bool CheckInit(const Options& options, LoadedPlugin& plugin, Report& report) {
  report.Begin("MQInit");
  const PluginExports& api = plugin.api();
  namespace fs = std::filesystem;
  const fs::path dir(options.workDir);
  const std::string tag = std::to_string(options.seed);
  const std::string missing = (dir / ("tervolin-validate-missing-" + tag + ".so")).string();
  const std::string notLibrary = (dir / ("tervolin-validate-text-" + tag + ".so")).string();
  {
    std::ofstream text(notLibrary, std::ios::binary);
    text << "This is a text file, not a library.\n";
  }
  std::error_code ignored;
  fs::remove(missing, ignored);
  report.Check("MQInit refuses a missing file", api.MQInit(missing.c_str()) == 0);
  report.Check("MQInit refuses a file that is not a library", api.MQInit(notLibrary.c_str()) == 0);
  report.Check("MQInit refuses a host lacking one function",
               api.MQInit(options.incompleteHostPath.c_str()) == 0, options.incompleteHostPath);
  const bool started = api.MQInit(mqhost::LibraryPath().c_str()) != 0;
  report.Check("MQInit binds the replacement host", started, mqhost::LibraryPath());
  // A refused host later on must not undo the binding that succeeded.
  report.Check("MQInit refuses a host lacking one function after a good one",
               api.MQInit(options.incompleteHostPath.c_str()) == 0);
  fs::remove(notLibrary, ignored);
  return started;
}

void CheckIdentity(const PluginExports& api, Report& report) {
  report.Begin("identity");
  uint32_t product = 0;
  uint32_t id = 0;
  api.MQGetPlugInID(&product, &id);
  report.Check("MQGetPlugInID writes E3F7A830 and BD9A187A", product == 0xE3F7A830u && id == 0xBD9A187Au,
               Hex(product) + " " + Hex(id));
  const int32_t type = api.MQGetPlugInType();
  report.Check("MQGetPlugInType answers 4", type == 4, std::to_string(type));
  const char* name = api.MQGetPlugInName();
  const char* banner = "Tervolin ver.1.0b ";
  report.Check("MQGetPlugInName begins with the name banner",
               name != nullptr && std::strncmp(name, banner, std::strlen(banner)) == 0 &&
                   std::strlen(name) > std::strlen(banner),
               name == nullptr ? "null" : name);
  const char* entry = api.MQEnumString(0);
  report.Check("MQEnumString(0) answers \"Tervolin\"",
               entry != nullptr && std::strcmp(entry, "Tervolin") == 0, entry == nullptr ? "null" : entry);
  for (const int32_t index : {1, 2, -1, INT_MAX, INT_MIN}) {
    report.Check("MQEnumString(" + std::to_string(index) + ") answers null",
                 api.MQEnumString(index) == nullptr);
  }
  for (const int32_t index : {0, 1, -1}) {
    report.Check("MQEnumFileType(" + std::to_string(index) + ") and MQEnumFileExt answer null",
                 api.MQEnumFileType(index) == nullptr && api.MQEnumFileExt(index) == nullptr);
  }
}

// Exports that must answer 0 and send the host nothing.
void CheckSilentExports(const PluginExports& api, Report& report) {
  report.Begin("silent exports");
  const DocumentHandle document = mqhost::CreateDocument();
  mqhost::ObjectData object;
  object.name = "probe";
  object.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  object.faces = {{0, 1, 2}};
  mqhost::SetCurrentObjectIndex(document, mqhost::AddObject(document, object));

  auto silent = [&](const std::string& name, auto call) {
    const uint64_t before = mqhost::HostCallCount();
    const int32_t result = call();
    const uint64_t calls = mqhost::HostCallCount() - before;
    report.Check(name + " answers 0 and sends no request", result == 0 && calls == 0,
                 "answered " + std::to_string(result) + ", " + std::to_string(calls) + " host calls");
  };
  for (const int32_t index : {1, 2, -1, INT_MAX, INT_MIN}) {
    const std::string arg = "(" + std::to_string(index) + ", document)";
    silent("MQModifyObject" + arg, [&] { return api.MQModifyObject(index, document); });
    silent("MQCreate" + arg, [&] { return api.MQCreate(index, document); });
    silent("MQModifySelect" + arg, [&] { return api.MQModifySelect(index, document); });
  }
  // Event codes the host raises, with no list and with a list of stray names.
  int32_t value = 7;
  const char* text = "x";
  void* list[] = {const_cast<char*>("index"),
                  &value,
                  const_cast<char*>("name"),
                  const_cast<char*>(text),
                  const_cast<char*>("type"),
                  const_cast<char*>(text),
                  nullptr,
                  nullptr};
  for (const int32_t code : {0, 1, 2, 100, 101, 110, 200, 250, 300, 301, 1000, -1, INT_MAX}) {
    silent("MQOnEvent(" + std::to_string(code) + ", no list)",
           [&] { return api.MQOnEvent(document, code, nullptr); });
    silent("MQOnEvent(" + std::to_string(code) + ", list)",
           [&] { return api.MQOnEvent(document, code, list); });
  }
  silent("MQImportFile(0, null, null)", [&] { return api.MQImportFile(0, nullptr, nullptr); });
  silent("MQExportFile(0, null, null)", [&] { return api.MQExportFile(0, nullptr, nullptr); });
  mqhost::DestroyDocument(document);
}

}  // namespace

void RunStaticChecks(const Options& options, LoadedPlugin& plugin, Report& report) {
  CheckExportTable(options, report);
  CheckVersionResource(options, report);
  if (!report.Check("the plug-in loads with its fourteen exports", plugin.complete(),
                    plugin.complete() ? ""
                    : plugin.loaded() ? "lacks " + plugin.missing()
                                      : "cannot load " + options.pluginPath)) {
    return;
  }
  const PluginExports& api = plugin.api();
  CheckVersion(api, report);
  if (!CheckInit(options, plugin, report)) return;
  mqhost::ClearProtocolErrors();
  CheckIdentity(api, report);
  CheckSilentExports(api, report);
  const auto errors = mqhost::ProtocolErrors();
  report.Check("no protocol error after the static checks", errors.empty(),
               errors.empty() ? "" : errors.front());
}

}  // namespace validator
