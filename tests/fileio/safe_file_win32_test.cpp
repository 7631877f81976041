// Replacing a user's file on Windows: what the replaced file keeps (attributes,
// security descriptor, creation time, other streams), what is refused (a file
// with other hard links, a file another program holds), and that nothing is
// left beside it. Where this system cannot hold what is checked (Wine keeps no
// DACL as set and no alternate streams), the case says so and is skipped.
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fileio/safe_file.hpp"

namespace {

namespace fs = std::filesystem;

class ReplaceWholeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("tervolin-fileio-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
         "-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    for (const auto& entry : fs::directory_iterator(folder_))
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(folder_);
  }

  std::wstring Path(const std::string& name) const { return (folder_ / name).wstring(); }
  std::string Utf8(const std::string& name) const { return (folder_ / name).u8string(); }
  void Write(const std::string& name, const std::string& text) const {
    const HANDLE file = CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << name << ": " << GetLastError();
    DWORD wrote = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    CloseHandle(file);
    ASSERT_EQ(wrote, text.size());
  }
  std::string Read(const std::string& name) const {
    const HANDLE file =
        CreateFileW(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(cannot be opened)";
    char buffer[256];
    DWORD got = 0;
    ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    return std::string(buffer, got);
  }
  void Replace(const std::string& name, const std::string& text) const {
    std::string reason;
    EXPECT_TRUE(fileio::ReplaceWholeFile(Utf8(name), text, &reason)) << reason;
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().u8string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The file's DACL in SDDL, "" when it cannot be read.
  std::wstring Dacl(const std::string& name) const {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    if (GetNamedSecurityInfoW(Path(name).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
      return L"";
    LPWSTR text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
    std::wstring result = text != nullptr ? text : L"";
    LocalFree(text);
    LocalFree(descriptor);
    return result;
  }

  fs::path folder_;
};

TEST_F(ReplaceWholeFile, RefusesAFileWithOtherHardLinksAndKeepsBoth) {
  Write("scene.json", "old");
  ASSERT_TRUE(CreateHardLinkW(Path("other-name.json").c_str(), Path("scene.json").c_str(), nullptr));
  std::string reason;
  EXPECT_FALSE(fileio::ReplaceWholeFile(Utf8("scene.json"), "new", &reason));
  EXPECT_NE(reason.find("it has 2 hard links"), std::string::npos) << reason;
  EXPECT_EQ(Read("scene.json"), "old");
  EXPECT_EQ(Read("other-name.json"), "old");
  EXPECT_EQ(Files(), (std::vector<std::string>{"other-name.json", "scene.json"}));
}

TEST_F(ReplaceWholeFile, KeepsTheFilesAttributesAndMarksItForBackup) {
  const struct {
    const char* name;
    DWORD attributes;
  } cases[] = {
      {"hidden", FILE_ATTRIBUTE_HIDDEN},
      {"system", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE},
      {"plain", FILE_ATTRIBUTE_NORMAL},
  };
  for (const auto& row : cases) {
    Write(row.name, "old");
    ASSERT_TRUE(SetFileAttributesW(Path(row.name).c_str(), row.attributes)) << row.name;
    // As this file system holds them (Wine adds the archive bit to every file).
    const DWORD before = GetFileAttributesW(Path(row.name).c_str());
    Replace(row.name, "new");
    EXPECT_EQ(Read(row.name), "new") << row.name;
    const DWORD after = GetFileAttributesW(Path(row.name).c_str());
    EXPECT_EQ(after & ~DWORD{FILE_ATTRIBUTE_ARCHIVE}, before & ~DWORD{FILE_ATTRIBUTE_ARCHIVE}) << row.name;
    EXPECT_NE(after & FILE_ATTRIBUTE_ARCHIVE, 0u) << row.name;
  }
  EXPECT_EQ(Files(), (std::vector<std::string>{"hidden", "plain", "system"}));
}

TEST_F(ReplaceWholeFile, KeepsTheFilesSecurityDescriptor) {
  Write("private.json", "old");
  // Its owner alone, and not inherited from the folder.
  PSECURITY_DESCRIPTOR wanted = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;OW)(A;;FR;;;BA)",
                                                                   SDDL_REVISION_1, &wanted, nullptr));
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(wanted, &present, &dacl, &defaulted));
  std::wstring path = Path("private.json");
  const DWORD set = SetNamedSecurityInfoW(&path[0], SE_FILE_OBJECT,
                                          DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                          nullptr, nullptr, dacl, nullptr);
  LocalFree(wanted);
  ASSERT_EQ(set, static_cast<DWORD>(ERROR_SUCCESS));
  const std::wstring before = Dacl("private.json");
  if (before.rfind(L"D:P", 0) != 0)
    GTEST_SKIP() << "this system does not keep a DACL as set (Wine makes one up from the Unix mode): only "
                    "Windows can show that the DACL is kept";
  Replace("private.json", "new");
  EXPECT_EQ(Read("private.json"), "new");
  EXPECT_EQ(Dacl("private.json"), before);
}

TEST_F(ReplaceWholeFile, KeepsTheFilesCreationTime) {
  Write("scene.json", "old");
  FILETIME created{};
  created.dwHighDateTime = 0x01D00000;  // in 2014
  {
    const HANDLE file =
        CreateFileW(Path("scene.json").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, &created, nullptr, nullptr);
    CloseHandle(file);
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(Path("scene.json").c_str(), GetFileExInfoStandard, &data));
  if (data.ftCreationTime.dwHighDateTime != created.dwHighDateTime)
    GTEST_SKIP() << "this file system does not keep a creation time as set (Wine on Linux): only Windows can "
                    "show that it is kept";
  Replace("scene.json", "new");
  ASSERT_TRUE(GetFileAttributesExW(Path("scene.json").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.ftCreationTime.dwHighDateTime, created.dwHighDateTime);
  EXPECT_EQ(data.ftCreationTime.dwLowDateTime, created.dwLowDateTime);
}

TEST_F(ReplaceWholeFile, KeepsTheFilesOtherStreams) {
  Write("scene.json", "old");
  Write("scene.json:extra", "stream");
  WIN32_FIND_STREAM_DATA stream{};
  const HANDLE found = FindFirstStreamW(Path("scene.json").c_str(), FindStreamInfoStandard, &stream, 0);
  bool listed = false;
  if (found != INVALID_HANDLE_VALUE) {
    do listed = listed || std::wstring(stream.cStreamName) == L":extra:$DATA";
    while (FindNextStreamW(found, &stream));
    FindClose(found);
  }
  if (!listed)
    GTEST_SKIP()
        << "this file system holds no alternate streams (Wine writes \"scene.json:extra\" as a file of "
           "its own): only Windows can show that they are kept";
  Replace("scene.json", "new");
  EXPECT_EQ(Read("scene.json"), "new");
  EXPECT_EQ(Read("scene.json:extra"), "stream");
}

TEST_F(ReplaceWholeFile, MakesANewFileAndWritesThroughARelativeName) {
  Replace("fresh.json", "new");
  EXPECT_EQ(Read("fresh.json"), "new");
  // Wine's ReplaceFileW fails on a relative name; the current folder is put
  // back before anything is checked.
  const fs::path was = fs::current_path();
  fs::current_path(folder_);
  std::string reason;
  const bool replaced = fileio::ReplaceWholeFile("fresh.json", "again", &reason);
  fs::current_path(was);
  EXPECT_TRUE(replaced) << reason;
  EXPECT_EQ(Read("fresh.json"), "again");
  EXPECT_EQ(Files(), std::vector<std::string>{"fresh.json"});
}

TEST_F(ReplaceWholeFile, AFileHeldOpenByAnotherProgramIsReplacedOnlyWhenItMayBeDeleted) {
  const struct {
    const char* name;
    DWORD sharing;
    bool replaced;
  } cases[] = {
      {"read-write", FILE_SHARE_READ | FILE_SHARE_WRITE, false},
      {"exclusive", 0, false},
      {"deletable", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
  };
  for (const auto& row : cases) {
    Write(row.name, "old");
    const HANDLE held =
        CreateFileW(Path(row.name).c_str(), GENERIC_READ, row.sharing, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << row.name;
    std::string reason;
    const bool replaced = fileio::ReplaceWholeFile(Utf8(row.name), "new", &reason);
    CloseHandle(held);
    EXPECT_EQ(replaced, row.replaced) << row.name << ": " << reason;
    if (!row.replaced) {
      EXPECT_NE(reason.find("it cannot be replaced"), std::string::npos) << reason;
    }
    EXPECT_EQ(Read(row.name), row.replaced ? "new" : "old") << row.name;
  }
  // No temporary is left, ours or the system's.
  EXPECT_EQ(Files(), (std::vector<std::string>{"deletable", "exclusive", "read-write"}));
}

}  // namespace
