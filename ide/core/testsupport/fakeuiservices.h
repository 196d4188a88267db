// A UiServices that records what the logic asked of the window system and
// answers the choosers from a script, for tests without a window.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "uiservices.h"

class FakeUiServices : public UiServices {
  public:
    struct Message {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };
    struct FileRequest {
        std::string title;
        std::string initialFolder;
        std::string filter;
    };

    // Texts are recorded as their bytes in a row.
    void showMessage(const UiText& text, const UiText& caption, MessageIcon icon) override {
        messages.push_back({text.bytes(), caption.bytes(), icon});
        shownTexts.push_back(text);
    }

    std::optional<std::string> chooseFile(const UiText& title, const std::string& initialFolder,
                                          const std::string& filter) override {
        fileRequests.push_back({title.bytes(), initialFolder, filter});
        shownTexts.push_back(title);
        if (fileAnswers.empty()) return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

    std::optional<FontChoice> chooseFont(const FontChoice& current) override {
        fontRequests.push_back(current);
        return fontAnswer;
    }

    void setClipboardText(const std::string& text) override { clipboard = text; }

    void setBusyCursor(bool busy) override {
        busyCursor = busy;
        busyChanges.push_back(busy);
    }

    void processEvents() override {
        ++eventPasses;
        if (onProcessEvents) onProcessEvents();
    }

    std::vector<Message> messages;
    std::vector<UiText> shownTexts;  // message texts and chooser titles, with their parts
    std::vector<FileRequest> fileRequests;
    std::deque<std::optional<std::string>> fileAnswers;  // nullopt = cancel
    std::vector<FontChoice> fontRequests;
    std::optional<FontChoice> fontAnswer;
    std::string clipboard;
    bool busyCursor = false;
    std::vector<bool> busyChanges;
    long eventPasses = 0;
    std::function<void()> onProcessEvents;
};
