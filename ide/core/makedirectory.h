// The folder in which make runs the commands whose lines follow, taken from
// make's "Entering directory" and "Leaving directory" lines, so that a
// relative file name in a message opens from the folder it was written in;
// and the file on this machine that a message's file name stands for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"
#include "outputline.h"

// Fed the output line by line. Understands
//   make: Entering directory '/p/sub'      make[2]: Leaving directory '/p/sub'
// from any make ("gmake", "/usr/bin/make", "mingw32-make"), the older
// quote "`" too, make's Japanese wording of the same lines, and the
// "unknown directory" variants (entered as no folder). One tracker follows
// one run: whatever a child prints, only make's own lines move it.
class MakeDirectoryTracker {
  public:
    void feed(std::string_view line);
    // The folder entered last and not yet left; empty for none (the
    // project folder then applies).
    const std::string& current() const;

  private:
    std::vector<std::string> entered_;
};

// The file a message names, as a path on this machine. The name as written
// is taken relative to the folder make reported for the line (and given
// under it), else to the project folder, the editor's working folder (and
// given relative to it); an absolute name stays as it is. When no file of
// that name exists, the name is looked up the way a DOS compiler means it:
// "\" as a folder separator and letters in any case ("SRC\HELLO.C" finds
// src/hello.c), passing over links. When that finds nothing either, the
// name is given as written.
std::string ResolveMessageFile(const MessageReading& message, const std::string& projectFolder,
                               common::CodePage cp = common::activeCodePage());
