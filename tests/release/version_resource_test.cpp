// The version resource of every Windows binary we ship, read the way
// Explorer's Details tab and installers read it: GetFileVersionInfoSizeW,
// GetFileVersionInfoW and VerQueryValueW. Expected values come from the
// build's version (TERVOLIN_VERSION_TEXT, TERVOLIN_FILE_VERSION); the binaries
// are the ones built beside this program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Binary {
  const wchar_t* fileName;
  const char* internalName;
  unsigned fileType;
};

const Binary kBinaries[] = {
    {L"Tervolin.dll", "Tervolin", VFT_DLL},
    {L"mqhost.dll", "mqhost", VFT_DLL},
    {L"tervolin-run.exe", "tervolin-run", VFT_APP},
    {L"tervolin-validate.exe", "tervolin-validate", VFT_APP},
};

std::wstring BesideThisProgram(const wchar_t* fileName) {
  std::vector<wchar_t> path(32768);
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring folder(path.data(), length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + fileName;
}

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text != 0; ++text) out += *text < 128 ? static_cast<char>(*text) : '?';
  return out;
}

class VersionResource : public testing::TestWithParam<Binary> {};

TEST_P(VersionResource, HoldsTheBuildsVersionAndNames) {
  const Binary& binary = GetParam();
  const std::wstring path = BesideThisProgram(binary.fileName);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  ASSERT_GT(size, 0u) << Narrow(binary.fileName) << " has no version resource (error " << GetLastError()
                      << ")";
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  ASSERT_GE(fixedSize, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  char numeric[64];
  std::snprintf(numeric, sizeof numeric, "%u.%u.%u.%u", static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned>(HIWORD(fixed->dwFileVersionLS)),
                static_cast<unsigned>(LOWORD(fixed->dwFileVersionLS)));
  EXPECT_EQ(std::string(numeric), TERVOLIN_FILE_VERSION);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
  EXPECT_EQ(fixed->dwFileType, binary.fileType);
  std::printf("%s: fixed file and product version %s, type %s\n", Narrow(binary.fileName).c_str(), numeric,
              fixed->dwFileType == VFT_DLL ? "DLL" : "application");

  // The language-neutral, Unicode translation, and the strings under it.
  struct Translation {
    WORD language;
    WORD codePage;
  }* translations = nullptr;
  UINT translationSize = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translations), &translationSize));
  ASSERT_EQ(translationSize, sizeof(Translation));
  EXPECT_EQ(translations[0].language, 0);
  EXPECT_EQ(translations[0].codePage, 1200);

  const std::string fileName = Narrow(binary.fileName);
  const struct {
    const wchar_t* name;
    std::string expected;
  } fields[] = {
      {L"CompanyName", "the Tervolin team"},
      {L"FileDescription", ""},  // any text, but there must be one
      {L"FileVersion", TERVOLIN_FILE_VERSION},
      {L"InternalName", binary.internalName},
      {L"LegalCopyright", "Copyright(C) 2026, the Tervolin team"},
      {L"OriginalFilename", fileName},
      {L"ProductName", "Tervolin"},
      {L"ProductVersion", TERVOLIN_VERSION_TEXT},
  };
  for (const auto& field : fields) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\000004b0\\") + field.name;
    wchar_t* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
        << Narrow(field.name) << " is missing";
    const std::string text = Narrow(value);
    if (field.expected.empty()) {
      EXPECT_FALSE(text.empty()) << Narrow(field.name);
    } else {
      EXPECT_EQ(text, field.expected) << Narrow(field.name);
    }
    std::printf("  %-16s %s\n", Narrow(field.name).c_str(), text.c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(ShippedBinaries, VersionResource, testing::ValuesIn(kBinaries),
                         [](const testing::TestParamInfo<Binary>& param) {
                           std::string name;
                           for (const wchar_t* c = param.param.fileName; *c != 0; ++c) {
                             name += (*c < 128 && std::isalnum(static_cast<int>(*c))) ? static_cast<char>(*c)
                                                                                      : '_';
                           }
                           return name;
                         });

}  // namespace
