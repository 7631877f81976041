// Running tervolin-run as a process from a test, each test in a folder of its
// own, and reading back what it printed and wrote.
#pragma once

#include <string>
#include <vector>

namespace runner_test {

struct RunResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

class RunnerFolder {
 public:
  // A fresh, empty folder named after the test.
  explicit RunnerFolder(const std::string& name);
  ~RunnerFolder();
  RunnerFolder(const RunnerFolder&) = delete;
  RunnerFolder& operator=(const RunnerFolder&) = delete;

  std::string Path(const std::string& file) const;
  void Write(const std::string& file, const std::string& text) const;
  std::string Read(const std::string& file) const;
  // Every file in the folder, for "nothing else was left behind".
  std::vector<std::string> Files() const;

  // Runs the runner with these arguments, with the folder as its home.
  RunResult Run(const std::vector<std::string>& arguments) const;

 private:
  std::string folder_;
};

std::string Scene(const std::string& name);

}  // namespace runner_test
