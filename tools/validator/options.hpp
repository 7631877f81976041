// The validator's command line.
#pragma once

#include <cstdint>
#include <string>

namespace validator {

struct Options {
  std::string pluginPath;          // --plugin PATH; default: the plug-in built beside the validator
  std::string incompleteHostPath;  // the host build lacking one name, built beside the validator
  int level = 1;                   // --level 1|5|10
  int picks = 1000;                // --picks N (level 5 and up)
  int hostFaults = 200;            // --host-faults N: picks under host faults (level 10)
  uint64_t seed = 20261208;        // --seed S; fixed by default, so that runs repeat
  int hangSeconds = 30;            // --hang-seconds N: the watchdog's limit
  bool farOrigins = true;  // scenes also hold frames whose origin is 1e13 to 1e30 away (--near-origins: not)
  int tracePick = 0;       // --trace-pick K: print pick K's scene before and after
  std::string workDir;     // --work-dir DIR: scratch files; default: the system's temporary folder
  std::string junitPath;   // --junit FILE: the results also as JUnit XML
  bool json = false;       // --json: the results as JSON on standard output
  bool quiet = false;      // --quiet: no progress on standard error
};

// Fills `options` from the command line. False with `error` set on a bad
// argument. For --help and --version, `help` is set and `error` holds the
// text to print.
bool ParseOptions(int argc, char** argv, Options* options, std::string* error, bool* help);

}  // namespace validator
