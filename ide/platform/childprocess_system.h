// The system's child processes behind the runner's seam: posix_spawn and
// pipes here, CreateProcessA and anonymous pipes on Windows.
#pragma once

#include <memory>
#include <string>

#include "childprocess.h"

class SystemChildProcesses : public ChildProcesses {
  public:
    std::unique_ptr<CapturedChild> newCapturedChild() override;
    bool startDetached(const std::string& commandLine, const std::string& workingFolder,
                       bool iconed) override;
};
