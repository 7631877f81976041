// The validator's scratch folder. --work-dir DIR is made when missing, and
// refused with a clear message when it cannot be made or written in, before
// any check runs (a check would otherwise fail for the folder's sake and
// blame the plug-in).
//
// Inside DIR each run makes a folder of its own, under a name no other run
// holds and open to its owner alone, and removes it at the end. The scratch
// files in it keep fixed names: in a shared temporary folder, a link planted
// under such a name would otherwise have the validator write through it, and
// two runs at once would share their files.
#pragma once

#include <atomic>
#include <string>

namespace validator {

class ScratchFolder {
 public:
  ScratchFolder() = default;
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  // Removes the folder and everything in it.
  ~ScratchFolder();

  // False with `error` set ("--work-dir DIR: ...") when DIR is unusable.
  bool Make(const std::string& workDir, std::string* error);
  // Removes the folder now (also from another thread, when the run is
  // abandoned); later calls do nothing.
  void Remove();
  // The run's own folder inside DIR; empty until Make succeeds.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::atomic<bool> removed_{false};
};

}  // namespace validator
