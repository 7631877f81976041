#include "settings_faults.hpp"

#include <fstream>
#include <iterator>
#include <pugixml.hpp>

#include "mqhost/settings.hpp"

namespace validator {

namespace {

// Texts a hand-edited key may hold; none has a control character, so the
// file stays XML that the host can read back.
const char* const kTexts[] = {"",
                              "abc",
                              "12abc",
                              "-7",
                              " 1",
                              "+3",
                              "0",
                              "1",
                              "99999999999999",
                              "4294967296",
                              "-2147483649",
                              "4294967295",
                              "\xff\xfe",
                              "\xc3\x28",
                              "1e3",
                              "\xe2\x82\xac"};

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string DamageSettingsFile(Rng& rng, const std::string& path) {
  std::string bytes = ReadWholeFile(path);
  switch (rng.Below(6)) {
    case 0:
      if (!bytes.empty()) bytes.resize(rng.Below(static_cast<uint32_t>(bytes.size())));
      WriteWholeFile(path, bytes);
      return "settings file cut short";
    case 1:
      for (int i = 0; i < 4 && !bytes.empty(); ++i) {
        bytes[rng.Below(static_cast<uint32_t>(bytes.size()))] = static_cast<char>(rng.Next());
      }
      WriteWholeFile(path, bytes);
      return "settings file bytes overwritten";
    case 2:
      WriteWholeFile(path, rng.Percent(50) ? std::string() : "not a settings file\n");
      return "settings file replaced";
    default: {
      // Edit the tree as a hand edit would, through the host's own reader and
      // writer, so the file stays readable.
      std::string error;
      mqhost::LoadSettingsFile(path, &error);
      std::string what = "settings keys edited:";
      const int edits = rng.Between(1, 4);
      for (int i = 0; i < edits; ++i) {
        const char* key = kSettingsKeys[rng.Below(std::size(kSettingsKeys))];
        if (rng.Percent(25)) {
          mqhost::RemoveSetting(kSettingsSection, key);
          what += std::string(" -") + key;
        } else {
          mqhost::SetSettingText(kSettingsSection, key, kTexts[rng.Below(std::size(kTexts))]);
          what += std::string(" ") + key;
        }
      }
      mqhost::SaveSettingsFile(path, &error);
      return what;
    }
  }
}

bool IsWellFormedSettingsFile(const std::string& path, std::string* error) {
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_file(path.c_str());
  if (!result) {
    *error = std::string(result.description()) + " at offset " + std::to_string(result.offset);
    return false;
  }
  if (!document.document_element()) {
    *error = "no root element";
    return false;
  }
  return true;
}

}  // namespace validator
