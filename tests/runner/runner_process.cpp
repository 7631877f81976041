#include "tests/runner/runner_process.hpp"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace runner_test {

namespace fs = std::filesystem;

namespace {

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

std::string Scene(const std::string& name) { return std::string(RUNNER_SCENES_DIR) + "/" + name; }

RunnerFolder::RunnerFolder(const std::string& name)
    : folder_((fs::temp_directory_path() / ("tervolin-runner-" + std::to_string(getpid()) + "-" + name))
                  .string()) {
  fs::remove_all(folder_);
  fs::create_directories(folder_);
}

RunnerFolder::~RunnerFolder() {
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

std::string RunnerFolder::Path(const std::string& file) const { return folder_ + "/" + file; }

void RunnerFolder::Write(const std::string& file, const std::string& text) const {
  std::ofstream(Path(file), std::ios::binary) << text;
}

std::string RunnerFolder::Read(const std::string& file) const {
  std::ifstream stream(Path(file), std::ios::binary);
  std::ostringstream text;
  text << stream.rdbuf();
  return text.str();
}

std::vector<std::string> RunnerFolder::Files() const {
  std::vector<std::string> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
    files.push_back(entry.path().filename().string());
  }
  return files;
}

RunResult RunnerFolder::Run(const std::vector<std::string>& arguments) const {
  // The home and configuration folders are the test's own, so that a file the
  // runner should not have written there shows in Files().
  std::string command = "HOME=" + ShellQuoted(folder_) + " XDG_CONFIG_HOME=" + ShellQuoted(Path(".config")) +
                        " " + ShellQuoted(RUNNER_FILE);
  for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
  // The runner's own files stay out of the folder the tests look at.
  const std::string out = folder_ + ".stdout";
  const std::string err = folder_ + ".stderr";
  command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err);
  RunResult result;
  const int status = std::system(command.c_str());
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream outStream(out, std::ios::binary);
  std::ifstream errStream(err, std::ios::binary);
  std::ostringstream outText;
  std::ostringstream errText;
  outText << outStream.rdbuf();
  errText << errStream.rdbuf();
  result.out = outText.str();
  result.err = errText.str();
  fs::remove(out);
  fs::remove(err);
  return result;
}

}  // namespace runner_test
