#pragma once
// A stand-in for the desktop's help viewer, browser and mail program that records every start.

#include <string>
#include <vector>

#include "platform/desktop_programs.h"

namespace lexora::test {

class RecordingDesktopPrograms : public DesktopPrograms {
 public:
  bool startHelpViewer(const std::string& commandLine) override {
    help.push_back(commandLine);
    return true;
  }
  bool startBrowser(const std::string& url) override {
    browser.push_back(url);
    return true;
  }
  bool startMail(const std::string& commandLine) override {
    mail.push_back(commandLine);
    return true;
  }

  std::vector<std::string> help;
  std::vector<std::string> browser;
  std::vector<std::string> mail;
};

}  // namespace lexora::test
