#include "options.hpp"

#include <cstdlib>
#include <filesystem>

#include "plugin_exports.hpp"

namespace validator {

namespace {
bool ParseNumber(const std::string& text, uint64_t limit, uint64_t* value) {
  if (text.empty() || text.size() > 20) return false;
  uint64_t result = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (result > (limit - digit) / 10) return false;
    result = result * 10 + digit;
  }
  *value = result;
  return true;
}
}  // namespace

const char* UsageText() {
  return "usage: tervolin-validate [--plugin PATH] [--level 1|5|10] [--picks N] [--seed S]\n"
         "                         [--near-origins] [--trace-pick K] [--hang-seconds N] [--work-dir DIR]\n";
}

bool ParseOptions(int argc, char** argv, Options* options, std::string* error, bool* help) {
  *help = false;
  const std::string dir = ExecutableDir();
  options->pluginPath = dir + TERVOLIN_PLUGIN_FILE_NAME;
  options->incompleteHostPath = dir + TERVOLIN_INCOMPLETE_HOST_FILE_NAME;
  std::error_code ignored;
  options->workDir = std::filesystem::temp_directory_path(ignored).string();
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--help" || flag == "-h") {
      *help = true;
      return true;
    }
    if (flag == "--far-origins" || flag == "--near-origins") {
      options->farOrigins = flag == "--far-origins";
      continue;
    }
    if (i + 1 >= argc) {
      *error = flag + " needs a value";
      return false;
    }
    const std::string value = argv[++i];
    uint64_t number = 0;
    if (flag == "--plugin") {
      options->pluginPath = value;
    } else if (flag == "--work-dir") {
      options->workDir = value;
    } else if (flag == "--level") {
      if (value != "1" && value != "5" && value != "10") {
        *error = "--level must be 1, 5 or 10";
        return false;
      }
      options->level = std::atoi(value.c_str());
    } else if (flag == "--picks") {
      if (!ParseNumber(value, 100000000, &number)) {
        *error = "--picks must be a whole number up to 100000000";
        return false;
      }
      options->picks = static_cast<int>(number);
    } else if (flag == "--seed") {
      if (!ParseNumber(value, UINT64_MAX, &number)) {
        *error = "--seed must be a whole number";
        return false;
      }
      options->seed = number;
    } else if (flag == "--trace-pick") {
      if (!ParseNumber(value, 100000000, &number)) {
        *error = "--trace-pick must be a pick number";
        return false;
      }
      options->tracePick = static_cast<int>(number);
    } else if (flag == "--hang-seconds") {
      if (!ParseNumber(value, 86400, &number) || number == 0) {
        *error = "--hang-seconds must be a whole number from 1 to 86400";
        return false;
      }
      options->hangSeconds = static_cast<int>(number);
    } else {
      *error = "unknown argument " + flag;
      return false;
    }
  }
  if (options->workDir.empty()) options->workDir = ".";
  return true;
}

}  // namespace validator
