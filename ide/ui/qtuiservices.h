// The window system's services for the IDE's logic, with Qt: message boxes,
// the file and font choosers, the clipboard, the busy cursor and the
// processing of pending events.
#pragma once

#include "uiservices.h"

class QWidget;

class QtUiServices : public UiServices {
  public:
    // Boxes and choosers are centred over the main window once it is set.
    void setParentWindow(QWidget* window) { parent_ = window; }

    void showMessage(const UiText& text, const UiText& caption, MessageIcon icon) override;
    std::optional<std::string> chooseFile(const UiText& title, const std::string& initialFolder,
                                          const std::string& filter) override;
    std::optional<FontChoice> chooseFont(const FontChoice& current) override;
    void setClipboardText(const std::string& text) override;
    void setBusyCursor(bool busy) override;
    void processEvents() override;

  private:
    QWidget* parent_ = nullptr;
};
