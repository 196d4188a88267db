// A HelpViewer that only records the requests, for tests.
#pragma once

#include <string>
#include <vector>

#include "helpviewer.h"

class FakeHelpViewer : public HelpViewer {
  public:
    enum class Command { Contents, Keyword, PartialKey, Quit };
    struct Request {
        Command command;
        std::string helpFile;
        std::string key;
    };

    void contents(const std::string& helpFile) override {
        requests.push_back({Command::Contents, helpFile, {}});
    }
    void keyword(const std::string& helpFile, const std::string& key) override {
        requests.push_back({Command::Keyword, helpFile, key});
    }
    void partialKey(const std::string& helpFile, const std::string& key) override {
        requests.push_back({Command::PartialKey, helpFile, key});
    }
    void quit(const std::string& helpFile) override {
        requests.push_back({Command::Quit, helpFile, {}});
    }

    std::vector<Request> requests;
};
