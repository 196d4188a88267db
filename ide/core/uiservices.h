// What the IDE's logic needs from the window system: modal boxes and
// choosers, the busy cursor and the processing of pending window events.
// The forms implement it with Qt; tests answer it from a script.
#pragma once

#include <optional>
#include <string>

#include "uitext.h"

enum class MessageIcon { None, Stop, Information };

struct FontChoice {
    std::string name;
    int size = 0;  // points
};

class UiServices {
  public:
    virtual ~UiServices() = default;

    // A modal message box with one OK button.
    virtual void showMessage(const UiText& text, const UiText& caption, MessageIcon icon) = 0;

    // A modal file-open dialog; nullopt when the user cancels. An empty
    // folder leaves the dialog's own default; filter is e.g. "makefile|*",
    // in the program's own words. The folder and the path chosen are data.
    virtual std::optional<std::string> chooseFile(const UiText& title,
                                                  const std::string& initialFolder,
                                                  const std::string& filter) = 0;

    // A modal font dialog preset with the current font; nullopt on cancel.
    virtual std::optional<FontChoice> chooseFont(const FontChoice& current) = 0;

    virtual void setClipboardText(const std::string& text) = 0;

    // The application-wide busy cursor, on or back to the default.
    virtual void setBusyCursor(bool busy) = 0;

    // Lets the window system handle every pending event, then returns.
    virtual void processEvents() = 0;
};
