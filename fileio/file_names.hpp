// The parts of reading and replacing files that do not depend on the
// platform: following a symbolic link to the file it names, and the names of
// temporary files.
#pragma once

#include <filesystem>
#include <string>

namespace fileio::detail {

// UTF-8 text to a path, and back.
std::filesystem::path PathOf(const std::string& utf8);

// The file that `path` finally names, after every symbolic link in a chain;
// `path` itself when it is no link (or when links cannot be read here). False
// with `reason` set for a chain that is too long, or for a link that another
// user planted in a shared sticky folder (the kernel's own rule for such links).
bool FollowLinks(const std::filesystem::path& path, std::filesystem::path* target, std::string* reason);

// 20 hexadecimal digits, different on each call.
std::string RandomSuffix();

// A fresh name for a temporary file beside `target`, different on each call:
// ".NAME.RANDOM.tmp", with at most the first 24 bytes of the target's name, so
// that it stays well within the longest name a file system allows.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target);

// "is larger than 16 MiB", for the messages of both platforms.
std::string TooLarge(size_t limit);

// Why a file with `links` names is not replaced ("it has 2 hard links, ..."),
// for the messages of both platforms.
std::string HasOtherLinks(unsigned long long links);

}  // namespace fileio::detail
