#pragma once
// The desktop programs of a Linux session, reached through the desktop's URL handlers
// (QDesktopServices, which runs xdg-open or the portal): the help file opens in the browser
// the user chose for local pages, web addresses in the default browser, "mailto:" addresses in
// the default mail program.

#include <QUrl>
#include <string>

#include "platform/desktop_programs.h"

namespace lexora {

class QtDesktopPrograms : public DesktopPrograms {
 public:
  // `helpFolder` holds the help file; it ends with '/' (the program's folder).
  explicit QtDesktopPrograms(std::string helpFolder);

  bool startHelpViewer(const std::string& commandLine) override;
  bool startBrowser(const std::string& url) override;
  bool startMail(const std::string& commandLine) override;

  // The local file URL that a help command line names: "file:NAME#ANCHOR" becomes
  // file://<helpFolder>NAME#ANCHOR. A name holding a '/' or ".." is refused (empty URL), so a
  // command line cannot reach outside the help folder.
  static QUrl helpUrl(const std::string& helpFolder, const std::string& commandLine);

 private:
  std::string helpFolder_;
};

}  // namespace lexora
