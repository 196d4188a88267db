// The system's help viewer: WinHelp on Windows; elsewhere the desktop's
// viewer for the file, which takes no keyword, so searches open the file.
#pragma once

#include <memory>
#include <string>

#include "helpviewer.h"
#include "uiservices.h"

// A help file that cannot be found is reported through `ui`. `opener` is the
// program that opens a file with the desktop's viewer (not used on Windows).
std::unique_ptr<HelpViewer> CreateSystemHelpViewer(UiServices& ui,
                                                   const std::string& opener = "xdg-open");
