// The folder in which make runs the commands whose lines follow, taken from
// make's "Entering directory" and "Leaving directory" lines, so that a
// relative file name in a message opens from the folder it was written in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "messageline.h"

// Fed the output line by line. Understands
//   make: Entering directory '/p/sub'      make[2]: Leaving directory '/p/sub'
// from any make ("gmake", "/usr/bin/make", "mingw32-make"), the older
// quote "`" too, make's Japanese wording of the same lines, and the
// "unknown directory" variants (entered as no folder). A step's summary line
// forgets every folder, so a make that was stopped leaves nothing behind.
class MakeDirectoryTracker {
  public:
    void feed(std::string_view line);
    // The folder entered last and not yet left; empty for none (the
    // project folder then applies).
    std::string current() const;

  private:
    std::vector<std::string> entered_;
};

// The folder make reported for line `index` of the output: the lines
// before it, fed to a tracker.
std::string MakeDirectoryAt(const LineAt& lineAt, std::size_t index);

// The file name of a message as the editor gets it: a relative name under
// the make folder, an absolute one (or any name without a make folder) as
// it is.
std::string ResolveMessageFile(const std::string& fileName, const std::string& makeDirectory);
