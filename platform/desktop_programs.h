#pragma once
// The desktop's own programs that Lexora hands things to: the help viewer, the web browser and
// the mail program. Each call starts the program and returns at once; nothing waits for it.

#include <string>

namespace lexora {

class DesktopPrograms {
 public:
  virtual ~DesktopPrograms() = default;

  // Opens the help file at a topic. `commandLine` is "file:" + the help file's name (looked up
  // in the program's folder) + "#" + the topic's anchor, e.g. "file:Lexora.htm#Interface".
  // False when the viewer could not be started.
  virtual bool startHelpViewer(const std::string& commandLine) = 0;
  // Opens the web address `url` in the user's browser.
  virtual bool startBrowser(const std::string& url) = 0;
  // Opens the user's mail program on `commandLine`, a "mailto:" address.
  virtual bool startMail(const std::string& commandLine) = 0;
};

}  // namespace lexora
