// A message's file name in DOS form with a drive letter ("C:\PROJ\HELLO.C",
// written by a compiler that dosrun ran inside DOSBox) as the host file,
// through dosrun's drives: its settings file's, its root being drive C:.
#pragma once

#include <string>

#include "codepage.h"

// The host path of a file name with a drive letter; any other name, and
// every name on Windows, where a drive letter is the system's own, comes
// back unchanged. Without a root in the settings file drive C: is the
// project folder, dosrun's current folder in a build step.
std::string HostFileOfDosDriveFile(const std::string& fileName, const std::string& projectFolder,
                                   common::CodePage cp);
