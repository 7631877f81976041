#include "options.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "loader/nearest_name.hpp"
#include "plugin_exports.hpp"

namespace validator {

namespace {

// The levels and what each adds, for --help.
const char* const kDescription =
    "Loads a Tervolin plug-in binary into the replacement host, as the host modeller would, and checks it.\n"
    "Levels (each includes the ones below it):\n"
    "  1   the export table, version negotiation, MQInit against good and bad hosts, the identity, and\n"
    "      the exports that must stay silent\n"
    "  5   random menu picks on random scenes with a scripted user (--picks), checking each result\n"
    "      against the operation's own arithmetic, and damaged settings files\n"
    "  10  loading and unloading 100 times, malformed events, random settings, clipboard and scene\n"
    "      files, a settings round trip, picks on a million vertices, and \"host faults\": picks while\n"
    "      the host answers the failures it may answer (--host-faults)\n"
    "Prints PASS or FAIL per check and INFO lines, and closes with the counts of checks and of\n"
    "assertions (a check made once per pick has one assertion per pick). Exit status: 0 when every\n"
    "check passed, 1 when one failed or hung, 2 for a bad command line.";

// Decimal digits only (no sign, no base prefix), at most `limit`.
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

// A CLI11 check that the text is a whole number from `low` to `high`.
CLI::Validator WholeNumber(uint64_t low, uint64_t high) {
  return CLI::Validator(
      [low, high](std::string& text) -> std::string {
        uint64_t value = 0;
        if (!ParseNumber(text, high, &value) || value < low) {
          return "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high);
        }
        return {};
      },
      "", "");
}

// "--piks is not an option; did you mean --picks?" for the first argument
// that looks like an option and is none of `app`'s; empty when all are known.
std::string UnknownOption(const CLI::App& app, int argc, char** argv) {
  std::string nearest;
  const std::string unknown = loader::FirstUnknownOption(loader::OptionNamesOf(app), argc, argv, &nearest);
  if (unknown.empty()) return {};
  return unknown + " is not an option" + (nearest.empty() ? "" : "; did you mean " + nearest + "?");
}

// Why an output file cannot be made where it is named, or empty: its folder
// is missing or is no folder. A link is judged where it leads, when written.
std::string OutputFolderProblem(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path file = fs::u8path(path);  // NOLINT: u8path is what takes UTF-8 in C++17
  if (fs::symlink_status(file, error).type() == fs::file_type::symlink) return {};
  const fs::path folder = file.parent_path();
  if (folder.empty()) return {};
  const fs::file_status status = fs::status(folder, error);
  if (status.type() == fs::file_type::not_found) return "the folder " + folder.u8string() + " does not exist";
  if (!fs::is_directory(status)) return folder.u8string() + " is not a folder";
  return {};
}

}  // namespace

bool ParseOptions(int argc, char** argv, Options* options, std::string* error, bool* help) {
  *help = false;
  const std::string dir = ExecutableDir();
  options->pluginPath = dir + TERVOLIN_PLUGIN_FILE_NAME;
  options->incompleteHostPath = dir + TERVOLIN_INCOMPLETE_HOST_FILE_NAME;
  std::error_code ignored;
  options->workDir = std::filesystem::temp_directory_path(ignored).string();

  CLI::App app{kDescription, "tervolin-validate"};
  app.allow_windows_style_options(false);
  app.set_version_flag("--version", std::string(TERVOLIN_VERSION), "print the version and exit");
  app.add_option("--plugin", options->pluginPath,
                 "the plug-in binary to check (default: the one built beside)")
      ->option_text("FILE");
  app.add_option("--level", options->level, "how much to check: 1, 5 or 10 (default 1)")
      ->option_text("1|5|10")
      ->check(CLI::IsMember({1, 5, 10}));
  app.add_option("--picks", options->picks, "menu picks at level 5 and up (default 1000)")
      ->option_text("N")
      ->check(WholeNumber(0, 100000000));
  app.add_option("--host-faults", options->hostFaults,
                 "menu picks of the \"host faults\" stage at level 10, each followed by one without faults "
                 "(default 200)")
      ->option_text("N")
      ->check(WholeNumber(0, 100000000));
  app.add_option("--seed", options->seed,
                 "seed of the random scenes and users (fixed by default); give a run's back to replay it")
      ->option_text("S")
      ->check(WholeNumber(0, UINT64_MAX));
  app.add_flag_callback(
      "--far-origins", [options] { options->farOrigins = true; },
      "random frames include origins 1e13 to 1e30 away (the default)");
  app.add_flag_callback(
      "--near-origins", [options] { options->farOrigins = false; }, "random frames keep their origins near");
  app.add_option("--trace-pick", options->tracePick, "print pick K's scene before and after")
      ->option_text("K")
      ->check(WholeNumber(0, 100000000));
  app.add_option("--hang-seconds", options->hangSeconds,
                 "fail a check that makes no progress for this long (default 30)")
      ->option_text("N")
      ->check(WholeNumber(1, 86400));
  app.add_option(
         "--work-dir", options->workDir,
         "folder for scratch files (default: the temporary folder); each run works in a private folder "
         "it makes there and removes at the end")
      ->option_text("DIR");
  app.add_option("--junit", options->junitPath, "also write the results as a JUnit XML file")
      ->option_text("FILE");
  app.add_flag("--json", options->json, "print the results as one JSON document instead of lines");
  app.add_flag("-q,--quiet", options->quiet, "show no progress on standard error");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    *help = true;
    *error = app.help();
    return true;
  } catch (const CLI::CallForVersion&) {
    *help = true;
    *error = std::string("tervolin-validate ") + TERVOLIN_VERSION + "\n";
    return true;
  } catch (const CLI::ParseError& failure) {
    *error = UnknownOption(app, argc, argv);
    if (error->empty()) *error = failure.what();
    return false;
  }
  if (options->workDir.empty()) options->workDir = ".";

  // An option that cannot change this run is refused, not ignored: the picks,
  // their frames and their trace belong to level 5 and up. (The seed also
  // names level 1's scratch files.)
  if (options->level < 5) {
    for (const char* name : {"--picks", "--far-origins", "--near-origins", "--trace-pick"}) {
      if (app.count(name) == 0) continue;
      *error = std::string(name) + " does nothing at level " + std::to_string(options->level) +
               ": it sets the random picks of level 5 and up; give --level 5 or 10, or leave it out";
      return false;
    }
  }
  if (app.count("--trace-pick") > 0 && (options->tracePick < 1 || options->tracePick > options->picks)) {
    *error = "--trace-pick " + std::to_string(options->tracePick) + " does nothing: the run makes " +
             std::to_string(options->picks) + " picks, counted from 1";
    return false;
  }
  // Checked before the first check runs, so that no run's results are lost.
  if (!options->junitPath.empty()) {
    const std::string problem = OutputFolderProblem(options->junitPath);
    if (!problem.empty()) {
      *error = "--junit " + options->junitPath + ": " + problem;
      return false;
    }
  }
  return true;
}

}  // namespace validator
