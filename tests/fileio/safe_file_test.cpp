// Replacing a user's file: what the replaced file keeps (owner, group, mode,
// attributes), what is refused (a file with other hard links, a link another
// user planted in a shared folder), and what another user can see meanwhile.
#include "fileio/safe_file.hpp"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

// An account that is not the one running (nobody, on Debian).
constexpr uid_t kOtherUser = 65534;
constexpr gid_t kOtherGroup = 65534;

class ReplaceWholeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("tervolin-fileio-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
         "-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  void Write(const std::string& name, const std::string& text) const { std::ofstream(Path(name)) << text; }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Replaces the file, expecting success.
  void Replace(const std::string& name, const std::string& text) const {
    std::string reason;
    EXPECT_TRUE(fileio::ReplaceWholeFile(Path(name), text, &reason)) << reason;
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static bool Root() { return ::geteuid() == 0; }

  fs::path folder_;
};

TEST_F(ReplaceWholeFile, KeepsOwnerGroupModeAttributesAndAcls) {
  Write("scene.json", "old");
  ::chmod(Path("scene.json").c_str(), 0640);
  const char value[] = "kept";
  if (::setxattr(Path("scene.json").c_str(), "user.tervolin", value, 4, 0) != 0) {
    GTEST_SKIP() << "no extended attributes here: " << std::strerror(errno);
  }
  // An access ACL granting one more user read access: version 2, then (tag,
  // permissions, id) entries for the owner, that user, the group, the mask
  // and others.
  const uint32_t header = 2;
  const struct {
    uint16_t tag, perm;
    uint32_t id;
  } entries[] = {{0x01, 6, 0xFFFFFFFF},
                 {0x02, 4, 4242},
                 {0x04, 4, 0xFFFFFFFF},
                 {0x10, 4, 0xFFFFFFFF},
                 {0x20, 0, 0xFFFFFFFF}};
  std::string acl(reinterpret_cast<const char*>(&header), 4);
  acl.append(reinterpret_cast<const char*>(entries), sizeof entries);
  const bool aclSet =
      ::setxattr(Path("scene.json").c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
  if (Root()) {
    ASSERT_EQ(::chown(Path("scene.json").c_str(), kOtherUser, kOtherGroup), 0);
  }

  Replace("scene.json", "new");
  EXPECT_EQ(Read("scene.json"), "new");
  struct stat status {};
  ASSERT_EQ(::stat(Path("scene.json").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  if (Root()) {
    EXPECT_EQ(status.st_uid, kOtherUser);
    EXPECT_EQ(status.st_gid, kOtherGroup);
  }
  char got[16] = {};
  EXPECT_EQ(::getxattr(Path("scene.json").c_str(), "user.tervolin", got, sizeof got), 4);
  EXPECT_STREQ(got, "kept");
  if (aclSet) {
    std::string kept(acl.size() + 16, '\0');
    const ssize_t size =
        ::getxattr(Path("scene.json").c_str(), "system.posix_acl_access", kept.data(), kept.size());
    ASSERT_GT(size, 0);
    kept.resize(static_cast<size_t>(size));
    EXPECT_EQ(kept, acl);
  }
  EXPECT_EQ(Files(), std::vector<std::string>{"scene.json"});
}

TEST_F(ReplaceWholeFile, RefusesAFileWithOtherHardLinksAndKeepsBoth) {
  Write("scene.json", "old");
  ASSERT_EQ(::link(Path("scene.json").c_str(), Path("other-name.json").c_str()), 0);
  std::string reason;
  EXPECT_FALSE(fileio::ReplaceWholeFile(Path("scene.json"), "new", &reason));
  EXPECT_NE(reason.find("it has 2 hard links"), std::string::npos) << reason;
  EXPECT_EQ(Read("scene.json"), "old");
  EXPECT_EQ(Read("other-name.json"), "old");
  EXPECT_EQ(Files(), (std::vector<std::string>{"other-name.json", "scene.json"}));
}

TEST_F(ReplaceWholeFile, NewFilesTakeTheUmaskAndLongNamesCanBeWritten) {
  const mode_t mask = ::umask(027);
  Replace("fresh.json", "new");
  ::umask(mask);
  struct stat status {};
  ASSERT_EQ(::stat(Path("fresh.json").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  // The longest name a file system allows, in ASCII and in two-byte
  // characters (the temporary's name must not grow past it, nor cut one).
  const std::string longest(255 - 5, 'n');
  Replace(longest + ".json", "long");
  EXPECT_EQ(Read(longest + ".json"), "long");
  std::string accented;
  while (accented.size() + 2 <= 250) accented += "\xC3\xA9";
  Replace(accented + ".xml", "accented");
  EXPECT_EQ(Read(accented + ".xml"), "accented");
}

TEST_F(ReplaceWholeFile, PrivateContentIsNeverReadableByOthersWhileItIsWritten) {
  Write("private.json", "old");
  ::chmod(Path("private.json").c_str(), 0600);
  // Every temporary seen in the folder while large saves run is closed to
  // group and others.
  std::atomic<bool> done{false};
  std::atomic<int> seen{0};
  std::atomic<int> open{0};
  std::thread watcher([&] {
    while (!done) {
      for (const std::string& name : Files()) {
        struct stat status {};
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".tmp") != 0) continue;
        if (::stat(Path(name).c_str(), &status) != 0) continue;
        ++seen;
        if ((status.st_mode & 077) != 0) ++open;
      }
    }
  });
  const std::string content(32u << 20, 'x');
  for (int save = 0; save < 20 && seen == 0; ++save) Replace("private.json", content);
  done = true;
  watcher.join();
  EXPECT_GT(seen, 0) << "no temporary was seen: the check proved nothing";
  EXPECT_EQ(open, 0);
  struct stat status {};
  ASSERT_EQ(::stat(Path("private.json").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);
}

TEST_F(ReplaceWholeFile, InASharedStickyFolderFollowsOnlyLinksOfItsOwnerOrTheUser) {
  if (!Root()) GTEST_SKIP() << "making a link owned by another user needs root";
  fs::create_directory(Path("shared"));
  ::chmod(Path("shared").c_str(), 01777);
  Write("victim", "keep me");
  Write("mine", "mine");
  ASSERT_EQ(::symlink(Path("victim").c_str(), Path("shared/result.json").c_str()), 0);
  ASSERT_EQ(::lchown(Path("shared/result.json").c_str(), kOtherUser, kOtherGroup), 0);
  ASSERT_EQ(::symlink(Path("mine").c_str(), Path("shared/own.json").c_str()), 0);

  std::string reason;
  EXPECT_FALSE(fileio::ReplaceWholeFile(Path("shared/result.json"), "overwritten", &reason));
  EXPECT_NE(reason.find("another user made in a shared folder"), std::string::npos) << reason;
  EXPECT_EQ(Read("victim"), "keep me");
  // A folder that is only sticky, or only writable by everyone, is not shared
  // that way: the link is followed.
  Replace("shared/own.json", "written");
  EXPECT_EQ(Read("mine"), "written");
  ::chmod(Path("shared").c_str(), 0777);
  Replace("shared/result.json", "followed");
  EXPECT_EQ(Read("victim"), "followed");
  EXPECT_TRUE(fs::is_symlink(Path("shared/result.json")));
}

}  // namespace
