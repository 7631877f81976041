// The export-table reader on the built plug-in and on hand-made PE images,
// whole, cut short and corrupted: it must answer the names or refuse, never
// read outside the bytes it was given.
#include "export_table.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

#include "plugin_exports.hpp"
#include "static_checks.hpp"
#include "version_resource.hpp"

namespace {

void Put32(std::string& image, size_t at, uint32_t value) { std::memcpy(&image[at], &value, 4); }
void Put16(std::string& image, size_t at, uint16_t value) { std::memcpy(&image[at], &value, 2); }

// A minimal PE32+ image: one section (.edata at RVA 0x1000, file offset
// 0x200) holding the export directory, its name table and the names.
std::string MakePe(const std::vector<std::string>& names) {
  std::string image(0x200, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  Put32(image, 0x3C, 0x40);
  std::memcpy(&image[0x40], "PE\0\0", 4);
  const size_t coff = 0x44;
  Put16(image, coff, 0x8664);
  Put16(image, coff + 2, 1);     // one section
  Put16(image, coff + 16, 240);  // optional header size
  const size_t optional = coff + 20;
  Put16(image, optional, 0x20B);
  Put32(image, optional + 108, 16);  // data directories
  const size_t section = optional + 240;
  std::memcpy(&image[section], ".edata", 6);

  std::string data(40, '\0');
  const uint32_t base = 0x1000;
  Put32(data, 24, static_cast<uint32_t>(names.size()));
  Put32(data, 32, base + 40);
  data.resize(40 + 4 * names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    Put32(data, 40 + 4 * i, base + static_cast<uint32_t>(data.size()));
    data += names[i];
    data += '\0';
  }
  Put32(image, optional + 112, base);
  Put32(image, optional + 116, static_cast<uint32_t>(data.size()));
  Put32(image, section + 8, static_cast<uint32_t>(data.size()));
  Put32(image, section + 12, base);
  Put32(image, section + 16, static_cast<uint32_t>(data.size()));
  Put32(image, section + 20, 0x200);
  return image + data;
}

std::string ReadFile(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

std::string BuiltPlugin() { return ReadFile(validator::ExecutableDir() + TERVOLIN_PLUGIN_FILE_NAME); }

// Either a refusal, or exactly the names of the whole file.
void ExpectRefusedOrWhole(const std::string& bytes, const std::vector<std::string>& whole) {
  std::vector<std::string> names;
  std::string error;
  if (validator::ReadExportNames(bytes, &names, &error)) {
    EXPECT_EQ(names, whole);
  } else {
    EXPECT_FALSE(error.empty());
  }
}

// Whole, the built plug-in exports exactly the fourteen names; cut short or
// corrupted, it is read safely.
TEST(ExportTable, BuiltPluginIsReadWholeCutShortOrCorrupted) {
  const std::string bytes = BuiltPlugin();
  ASSERT_FALSE(bytes.empty());
  std::vector<std::string> whole;
  std::string error;
  ASSERT_TRUE(validator::ReadExportNames(bytes, &whole, &error)) << error;
  std::vector<std::string> sorted = whole;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, validator::SortedPluginExportNames());
  for (size_t length = 0; length < bytes.size(); length += 1 + length / 8) {
    ExpectRefusedOrWhole(bytes.substr(0, length), whole);
  }
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string corrupted = bytes;
    for (int flip = 0; flip < 8; ++flip) {
      corrupted[random() % corrupted.size()] = static_cast<char>(random());
    }
    std::vector<std::string> names;
    validator::ReadExportNames(corrupted, &names, &error);  // must not read outside the bytes
  }
}

TEST(ExportTable, PeNamesAreReadInOrderAndACutShortImageIsRefusedOrWhole) {
  const std::vector<std::string> names = {"MQInit", "MQOnEvent", "Extra"};
  const std::string image = MakePe(names);
  std::vector<std::string> read;
  std::string error;
  ASSERT_TRUE(validator::ReadExportNames(image, &read, &error)) << error;
  EXPECT_EQ(read, names);
  for (size_t length = 0; length < image.size(); ++length) {
    ExpectRefusedOrWhole(image.substr(0, length), names);
  }
  EXPECT_FALSE(validator::ReadExportNames(image.substr(0, image.size() - 1), &read, &error))
      << "the last name's terminator is gone";
}

TEST(ExportTable, PeWithPointersOutsideTheImageIsRefused) {
  const struct {
    const char* what;
    size_t at;
    uint32_t value;
  } cases[] = {{"the one name's address", 0x200 + 40, 0x7FFFFFF0},
               {"a name count far beyond the section", 0x200 + 24, 0x40000000},
               {"the PE header offset", 0x3C, 0xFFFFFFF0},
               {"no export directory", 0x44 + 20 + 112, 0}};
  for (const auto& c : cases) {
    std::string image = MakePe({"MQInit"});
    Put32(image, c.at, c.value);
    std::vector<std::string> read;
    std::string error;
    EXPECT_FALSE(validator::ReadExportNames(image, &read, &error)) << c.what;
  }
}

TEST(ExportTable, FilesOfOtherKindsAreRefused) {
  std::vector<std::string> read;
  std::string error;
  EXPECT_FALSE(validator::ReadExportNames("", &read, &error));
  EXPECT_FALSE(validator::ReadExportNames("This is a text file.\n", &read, &error));
  EXPECT_FALSE(validator::ReadExportNames(std::string("\x7f"
                                                      "ELF\x01\x01",
                                                      6),
                                          &read, &error));
  EXPECT_FALSE(
      validator::ReadExportNamesFromFile(validator::ExecutableDir() + "no-such-file", &read, &error));
}

// The level-1 version resource check: the built Windows plug-in carries the
// build's version; a file without a resource (this test program has none), a
// missing file and, elsewhere than Windows, any file are refused.
TEST(VersionResource, BuiltPluginHasTheBuildsVersionOtherFilesNone) {
  const std::string plugin = validator::ExecutableDir() + TERVOLIN_PLUGIN_FILE_NAME;
  std::string summary;
  EXPECT_EQ(validator::ReadVersionResource(plugin, &summary), validator::HasVersionResources()) << summary;
  if (validator::HasVersionResources()) {
    EXPECT_NE(summary.find("product version \"" TERVOLIN_VERSION "\""), std::string::npos) << summary;
  }
  EXPECT_FALSE(validator::ReadVersionResource(validator::ExecutableDir() + "no-such-file", &summary));
  EXPECT_FALSE(summary.empty());
  const std::string self = validator::ExecutableDir() + "tervolin_validator_tests" +
                           (validator::HasVersionResources() ? ".exe" : "");
  EXPECT_FALSE(validator::ReadVersionResource(self, &summary)) << summary;
}

}  // namespace
