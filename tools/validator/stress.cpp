#include "stress.hpp"

#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "compensation.hpp"
#include "document_view.hpp"
#include "module_probe.hpp"
#include "mqhost/call_count.hpp"
#include "mqhost/clipboard.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/library_path.hpp"
#include "mqhost/matrix_values.hpp"
#include "mqhost/settings.hpp"
#include "mqhost/widgets.hpp"
#include "picks.hpp"
#include "protocol/host_types.hpp"
#include "protocol/widget_events.hpp"
#include "rng.hpp"
#include "scene_gen.hpp"
#include "settings_faults.hpp"

#if __has_include("platform/clipboard_testing.hpp")
#include "platform/clipboard_testing.hpp"
#define VALIDATOR_HAS_CLIPBOARD_ACCESS 1
#endif

namespace validator {

namespace {

constexpr size_t kMiB = 1u << 20;

std::string RandomBytes(Rng& rng, size_t size, bool noZero) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; i += 8) {
    const uint64_t word = rng.Next();
    for (size_t k = 0; k < 8 && i + k < size; ++k) {
      char c = static_cast<char>(word >> (8 * k));
      if (noZero && c == 0) c = '7';
      bytes[i + k] = c;
    }
  }
  return bytes;
}

// A small scene: one object with a current frame and a few faces.
DocumentHandle SmallScene() {
  const DocumentHandle document = mqhost::CreateDocument();
  mqhost::ObjectData object;
  object.name = "probe";
  object.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {5, 5, 5}};
  object.faces = {{0, 1, 2, 3}};
  object.selectedVertices = {0, 2};
  object.frame = mqhost::IdentityMatrix();
  object.frame[12] = 1;
  mqhost::SetCurrentObjectIndex(document, mqhost::AddObject(document, object));
  return document;
}

std::string SettingsPath(const Options& options, const char* what) {
  return (std::filesystem::path(options.workDir) /
          ("tervolin-validate-" + std::string(what) + "-" + std::to_string(options.seed) + ".xml"))
      .string();
}

void LoadAndUnload(const Options& options, std::unique_ptr<LoadedPlugin>& plugin, Report& report, Rng& rng) {
  report.Begin("load and unload");
  plugin.reset();
  report.Check("the plug-in is unloaded when the host lets it go", !IsLibraryMapped(options.pluginPath));
  const std::string settings = SettingsPath(options, "reload");
  for (int cycle = 1; cycle <= 100; ++cycle) {
    report.Begin("load and unload, cycle " + std::to_string(cycle) + " of 100");
    {
      LoadedPlugin again(options.pluginPath);
      const bool started = again.Start(mqhost::LibraryPath());
      report.Tally("the plug-in starts again after an unload", started, "cycle " + std::to_string(cycle));
      if (!started) break;
      const char* entry = again.api().MQEnumString(0);
      report.Tally(
          "the identity answers after a reload",
          again.api().MQGetPlugInType() == 4 && entry != nullptr && std::strcmp(entry, "Tervolin") == 0,
          "cycle " + std::to_string(cycle));
      if (cycle % 10 == 0) {
        // A whole pick in this load: the plug-in object, its registry and its
        // settings come and go with the library.
        PickRunner runner(again.api(), report, settings);
        const DocumentHandle document = SmallScene();
        runner.Pick(document, {mqhost::Click("Trans(&f)orm"), mqhost::Click("&Y"), mqhost::CloseWindow()},
                    rng, "reload cycle " + std::to_string(cycle));
        mqhost::DestroyDocument(document);
      }
    }
    report.Tally("the plug-in is unloaded after each cycle", !IsLibraryMapped(options.pluginPath),
                 "cycle " + std::to_string(cycle));
  }
  std::error_code ignored;
  std::filesystem::remove(settings, ignored);
  plugin = std::make_unique<LoadedPlugin>(options.pluginPath);
  report.Check("the plug-in starts again after the cycles", plugin->Start(mqhost::LibraryPath()));
}

// Calls the recorded event procedure with lists a confused or hostile host
// might send; each must answer 0, write nothing and call the host nothing.
void MalformedEvents(const PluginExports& api, Report& report, const std::string& settings, Rng& rng) {
  report.Begin("malformed events");
  PickRunner runner(api, report, settings);
  const DocumentHandle document = SmallScene();
  runner.Pick(document, {mqhost::Click("(&R)otate"), mqhost::Key('A'), mqhost::CloseWindow()}, rng,
              "pick that records the handlers");
  mqhost::DestroyDocument(document);

  struct Recorded {
    WidgetEventProcType proc = nullptr;
    void* pointer = nullptr;
    int32_t id = 0;
    std::string type;
  };
  std::error_code ignored;
  std::filesystem::remove(settings, ignored);
  std::vector<Recorded> handlers;
  for (const mqhost::LoggedRequest& request : mqhost::RequestLog()) {
    if (request.code != mq::kWidgetAddEventHandler) continue;
    Recorded handler;
    handler.id = request.id;
    for (const mqhost::LoggedValue& value : request.values) {
      if (value.name == "proc") {
        handler.proc = reinterpret_cast<WidgetEventProcType>(const_cast<void*>(value.address));
      }
      if (value.name == "pointer") handler.pointer = const_cast<void*>(value.address);
      if (value.name == "type") handler.type = value.text;
    }
    if (handler.proc != nullptr) handlers.push_back(handler);
  }
  report.Check("the host recorded the dialog's event handlers", !handlers.empty(),
               std::to_string(handlers.size()) + " handlers");
  if (handlers.empty()) return;

  mqhost::ClearProtocolErrors();
  int calls = 0;
  bool allQuiet = true;
  std::string detail;
  for (const Recorded& handler : handlers) {
    int32_t target = handler.id;
    int32_t sender = handler.id;
    int32_t key = 'C';
    int32_t ctrl = mq::kButtonCtrl;
    int32_t unknownIds[] = {0, -1, INT_MAX, INT_MIN, handler.id + 100000};
    unsigned char finished = 0;
    int32_t local = 0;
    auto call = [&](std::vector<void*> list, void* pointer, const char* what) {
      if (!list.empty()) {
        list.push_back(nullptr);
        list.push_back(nullptr);
      }
      const uint64_t before = mqhost::HostCallCount();
      finished = 0;
      const int result = handler.proc(nullptr, list.empty() ? nullptr : list.data(), pointer);
      ++calls;
      const bool quiet = result == 0 && finished == 0 && mqhost::HostCallCount() == before;
      if (!quiet && allQuiet) {
        detail = std::string(what) + " on " + handler.type + " #" + std::to_string(handler.id) +
                 " answered " + std::to_string(result);
      }
      allQuiet = allQuiet && quiet;
    };
    const char* type = handler.type.c_str();
    void* t = const_cast<char*>(type);
    // The closure outlived its dialog: every list names a widget that is gone.
    call({const_cast<char*>(mq::kEventType), t, const_cast<char*>(mq::kEventTargetId), &target,
          const_cast<char*>(mq::kEventSenderId), &sender, const_cast<char*>(mq::kEventFinished), &finished},
         handler.pointer, "a stale closure");
    call({const_cast<char*>(mq::kEventTargetId), &target, const_cast<char*>(mq::kEventFinished), &finished},
         handler.pointer, "no \"type\"");
    call({const_cast<char*>(mq::kEventType), nullptr, const_cast<char*>(mq::kEventTargetId), &target},
         handler.pointer, "a null \"type\"");
    for (int32_t& unknown : unknownIds) {
      call({const_cast<char*>(mq::kEventType), t, const_cast<char*>(mq::kEventTargetId), &unknown,
            const_cast<char*>(mq::kEventSenderId), &unknown},
           handler.pointer, "an unknown target id");
    }
    call({const_cast<char*>(mq::kEventType), const_cast<char*>(mq::kEventKeyDown),
          const_cast<char*>(mq::kEventTargetId), &target, const_cast<char*>(mq::kEventKey), &key,
          const_cast<char*>(mq::kEventButtonState), &ctrl},
         handler.pointer, "keydown without \"finished\"");
    for (const char* name : {mq::kEventTimer, mq::kEventListDrawItem, mq::kEventTreeListDrawItem,
                             mq::kEventDragOver, mq::kEventDropFiles, mq::kEventPaint}) {
      call({const_cast<char*>(mq::kEventType), const_cast<char*>(name), const_cast<char*>(mq::kEventTargetId),
            &target},
           handler.pointer, name);
    }
    call({}, handler.pointer, "a null list");
    call({const_cast<char*>(mq::kEventType), t, const_cast<char*>(mq::kEventTargetId), &target}, nullptr,
         "a null closure");
    call({const_cast<char*>(mq::kEventType), t, const_cast<char*>(mq::kEventTargetId), &target}, &local,
         "a foreign closure");
  }
  const auto errors = mqhost::ProtocolErrors();
  report.Check("malformed event calls answer 0, write nothing and call the host nothing", allQuiet,
               std::to_string(calls) + " calls" + (detail.empty() ? "" : "; " + detail));
  report.Check("no protocol error after the malformed event calls", errors.empty(),
               errors.empty() ? "" : errors.front());
}

void RandomFiles(const Options& options, const PluginExports& api, Report& report, Rng& rng) {
  const std::string settings = SettingsPath(options, "random");
  PickRunner runner(api, report, settings);
  for (int round = 1; round <= 3; ++round) {
    report.Begin("random settings file " + std::to_string(round));
    WriteWholeFile(settings, RandomBytes(rng, kMiB, false));
    std::string error;
    const bool read = mqhost::LoadSettingsFile(settings, &error);
    report.Check("a 1 MiB random settings file is refused with a reason (" + std::to_string(round) + ")",
                 !read && !error.empty(), error);
    const DocumentHandle document = GenerateScene(rng, SceneSpec(), &error);
    runner.Pick(document, {mqhost::Click("Trans(&f)orm"), mqhost::Key('Z'), mqhost::CloseWindow()}, rng,
                "pick after a random settings file");
    mqhost::DestroyDocument(document);
  }

#if defined(MQHOST_OFFERS_CLIPBOARD) || (defined(_WIN32) && defined(VALIDATOR_HAS_CLIPBOARD_ACCESS))
  for (int round = 1; round <= 3; ++round) {
    report.Begin("random clipboard text " + std::to_string(round));
    const std::string text = RandomBytes(rng, kMiB, true);
#ifdef MQHOST_OFFERS_CLIPBOARD
    const bool put = mqhost::SetClipboardText(text);
#else
    const bool put = platform::testing::PutClipboardText(text);
#endif
    report.Check("1 MiB of random clipboard text is put (" + std::to_string(round) + ")", put);
    const DocumentHandle document = SmallScene();
    runner.Pick(document, {mqhost::Click("Trans(&f)orm"), mqhost::Key('V', true), mqhost::CloseWindow()}, rng,
                "paste of random clipboard text");
    mqhost::DestroyDocument(document);
  }
  // What a later pick pastes must not be left from here.
#ifdef MQHOST_OFFERS_CLIPBOARD
  mqhost::SetClipboardText(std::nullopt);
#else
  platform::testing::ClearClipboard();
#endif
#endif

  for (int round = 1; round <= 3; ++round) {
    report.Begin("random scene file " + std::to_string(round));
    mqhost::ClearProtocolErrors();
    std::string error;
    const DocumentHandle document = mqhost::ParseScene(RandomBytes(rng, kMiB, false), &error);
    report.Check("a 1 MiB random scene file is refused with a reason (" + std::to_string(round) + ")",
                 document == nullptr && !error.empty() && mqhost::ProtocolErrors().empty(),
                 error.substr(0, 120));
    if (document != nullptr) mqhost::DestroyDocument(document);
  }
  std::error_code ignored;
  std::filesystem::remove(settings, ignored);
}

void SettingsRoundTrip(const Options& options, const PluginExports& api, Report& report, Rng& rng) {
  report.Begin("settings round trip");
  const std::string first = SettingsPath(options, "trip-1");
  const std::string second = SettingsPath(options, "trip-2");
  std::string error;
  // Through the plug-in: two picks that change nothing save the same file.
  PickRunner runner(api, report, first);
  for (int i = 0; i < 2; ++i) {
    const DocumentHandle document = SmallScene();
    runner.Pick(document, {mqhost::CloseWindow()}, rng, "round-trip pick " + std::to_string(i + 1));
    mqhost::DestroyDocument(document);
    if (i == 0) std::filesystem::copy_file(first, second, std::filesystem::copy_options::overwrite_existing);
  }
  report.Check("a cancelled pick saves the settings it loaded, byte for byte",
               ReadWholeFile(first) == ReadWholeFile(second) && mqhost::HasSettingsSection(kSettingsSection));
  // Through the host alone: save, load, save.
  const bool saved = mqhost::LoadSettingsFile(first, &error) && mqhost::SaveSettingsFile(second, &error) &&
                     mqhost::LoadSettingsFile(second, &error) && mqhost::SaveSettingsFile(first, &error);
  report.Check("settings save, load and save give byte-identical files",
               saved && ReadWholeFile(first) == ReadWholeFile(second), error);
  std::error_code ignored;
  std::filesystem::remove(first, ignored);
  std::filesystem::remove(second, ignored);
}

void MillionVertices(const Options& options, const PluginExports& api, Report& report, Rng& rng) {
  report.Begin("a pick on a million vertices");
  const std::string settings = SettingsPath(options, "million");
  mqhost::ResetSettings();
  mqhost::SetSettingText(kSettingsSection, "transform", "1");
  mqhost::SetSettingText(kSettingsSection, "target", "4294967295");
  std::string error;
  mqhost::SaveSettingsFile(settings, &error);

  mqhost::ObjectData object;
  object.name = "million";
  const int count = 1000000;
  object.vertices.reserve(count);
  for (int v = 0; v < count; ++v) {
    object.vertices.push_back({static_cast<float>(rng.Real(-100, 100)),
                               static_cast<float>(rng.Real(-100, 100)),
                               static_cast<float>(rng.Real(-100, 100))});
  }
  for (int f = 0; f + 3 < count; f += 4) object.faces.push_back({f, f + 1, f + 2, f + 3});
  object.selectedVertices = {0, 7, 99999};
  object.frame = mqhost::ComposeMatrix({1, 2, 1}, {30, 10, -45}, {3, 4, 5});
  PickRunner runner(api, report, settings);
  for (const char* caption : {"&X", "Center of the O(&b)ject", "Z"}) {
    const DocumentHandle document = mqhost::CreateDocument();
    mqhost::SetCurrentObjectIndex(document, mqhost::AddObject(document, object));
    const auto start = std::chrono::steady_clock::now();
    runner.Pick(document, {mqhost::Click(caption), mqhost::CloseWindow()}, rng,
                std::string("million-vertex pick ") + caption);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    report.Note("million-vertex pick \"" + std::string(caption) + "\": " + std::to_string(seconds) + " s");
    object =
        mqhost::GetObject(document, mqhost::CurrentObjectIndex(document));  // the next pick starts from here
    mqhost::DestroyDocument(document);
  }
  std::error_code ignored;
  std::filesystem::remove(settings, ignored);
}

}  // namespace

void RunStress(const Options& options, std::unique_ptr<LoadedPlugin>& plugin, Report& report) {
  report.Note("level 10: stress runs, seed " + std::to_string(options.seed));
  Rng rng(options.seed ^ 0x5EED5EED5EEDull);
  LoadAndUnload(options, plugin, report, rng);
  if (!plugin->complete()) return;
  const PluginExports& api = plugin->api();
  MalformedEvents(api, report, SettingsPath(options, "events"), rng);
  RandomFiles(options, api, report, rng);
  SettingsRoundTrip(options, api, report, rng);
  MillionVertices(options, api, report, rng);
  report.PrintTallies();
}

}  // namespace validator
