// The folder of one run below the temporary folder: made with mkdtemp
// (mode 0700), held with a lock for as long as its dosrun lives, removed
// with everything in it when the run ends. A dosrun that was killed cannot
// remove its own: the next one removes every such folder whose lock nobody
// holds, and never one whose dosrun still runs.
#pragma once

#include <string>

namespace dosrun {

class PrivateFolder {
  public:
    // In `base`: the name "dosrun-XXXXXX". Check path().
    explicit PrivateFolder(const std::string& base);
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    // Empty when no folder could be made.
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    int lock_ = -1;  // the folder itself, opened and locked
};

// The temporary folder: $TMPDIR where it is an absolute path DOSBox can
// mount, else /tmp.
std::string TemporaryFolder();

// Removes the folders in `base` that dosruns of this user left when they
// were killed: folders named as dosrun names them and marked as its own
// (never a link) that nobody holds locked.
void RemoveLeftFolders(const std::string& base);

}  // namespace dosrun
