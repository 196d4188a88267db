// The one way both programs open a file that a project folder hands them:
// only a regular file is opened, a link is never followed, and nothing is
// waited for, so a FIFO, a device or a link to one is never touched.
#pragma once

#include <cstdio>
#include <string>

namespace common {

// The file, open for reading in binary mode, when the entry under the path
// is a regular file; null for anything else or a file that does not open.
// The entry is looked at before it is opened (a tape rewinds and a watchdog
// arms at the open alone), and what was opened must be the very file that
// was looked at, so an entry swapped in between is not read either.
std::FILE* openRegularFile(const std::string& path);

}  // namespace common
