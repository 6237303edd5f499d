#pragma once
// The help file shown in the program's own window, so that F1 and the help links work on a
// desktop without a web browser (and say why when the help file is not there). Web and mail
// addresses still go to the desktop's programs, with a message when none could be started.

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <functional>
#include <string>

#include "platform/desktop_programs.h"

namespace lexora {

class HelpWindowPrograms : public DesktopPrograms {
 public:
  // How a failure is told to the user; the default is a warning box.
  using MessageShower = std::function<void(const QString& text)>;

  // `helpFolder` holds the help file and ends with '/'; `desktop` starts browsers and mail
  // (not owned, may be null).
  HelpWindowPrograms(std::string helpFolder, DesktopPrograms* desktop,
                     MessageShower showMessage = {});
  ~HelpWindowPrograms() override;

  // Shows the help file at the command line's topic ("file:Lexora.htm#Interface") in the help
  // window, opened once and raised again for later topics.
  bool startHelpViewer(const std::string& commandLine) override;
  bool startBrowser(const std::string& url) override;
  bool startMail(const std::string& commandLine) override;

  // The help window while it is open, or null.
  QDialog* window() const { return window_; }
  QTextBrowser* browser() const { return browser_; }

 private:
  std::string helpFolder_;
  DesktopPrograms* desktop_;
  MessageShower showMessage_;
  QPointer<QDialog> window_;
  QPointer<QTextBrowser> browser_;
};

}  // namespace lexora
